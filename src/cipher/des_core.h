// DES as FIPS 46-3 defines it, over precomputed tables: the key schedule turns a 64-bit key
// (parity bits ignored) into 16 round keys of two words each, and the block functions run
// the 16 rounds between the initial and final permutations.
#pragma once

#include <array>
#include <cstdint>

namespace cipher::des {

// 32 words: round r uses words 2r (S-boxes 1, 3, 5, 7) and 2r + 1 (S-boxes 2, 4, 6, 8).
using KeySchedule = std::array<std::uint32_t, 32>;

KeySchedule MakeKeySchedule(const std::uint8_t key[8]);

// Block halves between the permutations: a block is InitialPermutation'd once, then any number
// of EncryptRounds / DecryptRounds (each leaves the halves as the next one wants them), then
// FinalPermutation'd. One DES operation is one round pass; triple DES is three.
std::uint64_t InitialPermutation(std::uint64_t block);
std::uint64_t FinalPermutation(std::uint64_t block);
void EncryptRounds(std::uint32_t& left, std::uint32_t& right, const KeySchedule& keys);
void DecryptRounds(std::uint32_t& left, std::uint32_t& right, const KeySchedule& keys);

std::uint64_t LoadBlock(const std::uint8_t* p);
void StoreBlock(std::uint8_t* p, std::uint64_t block);

}  // namespace cipher::des
