// SHA-1 (160-bit digest, 512-bit blocks, big-endian words), which turns a password into key
// material.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "cipher/hash.h"

namespace cipher {

class TCph_sha1 : public TCph_hash {
 public:
  static constexpr int kId = 2;
  static constexpr std::string_view kAlgorithm = "SHA1";
  static constexpr int kHashSize = 160;
  using Digest = std::array<std::uint8_t, kHashSize / 8>;

  TCph_sha1() = default;
  ~TCph_sha1() override;

  int GetId() const override { return kId; }
  std::string_view GetAlgorithm() const override { return kAlgorithm; }
  int GetHashSize() const override { return kHashSize; }
  // The two standard test messages against their published digests.
  static bool SelfTest();

  void Init() override;
  void Final(std::uint8_t* digest) override;
  void Burn() override;
  void Update(const void* buffer, std::size_t size) override;

  // Init, UpdateStr and Final in one.
  static Digest Of(std::string_view bytes);

 private:
  void Compress();

  std::uint32_t lenHi_ = 0, lenLo_ = 0;  // the message length in bits
  std::uint32_t h_[5] = {};
  std::uint32_t index_ = 0;  // bytes waiting in buffer_
  std::uint8_t buffer_[64] = {};
};

}  // namespace cipher
