#include "cipher/des.h"

#include <cstring>

#include "cipher/burn.h"

namespace cipher {

namespace {

struct KnownAnswer {
  std::uint8_t key[24];
  std::uint8_t plain[8];
  std::uint8_t cipher[8];
};

template <class Cipher, std::size_t N>
bool Passes(const KnownAnswer (&vectors)[N], int keyBits) {
  for (const KnownAnswer& v : vectors) {
    Cipher c;
    c.Init(v.key, keyBits, nullptr);
    std::uint8_t block[8];
    c.EncryptECB(v.plain, block);
    if (std::memcmp(block, v.cipher, 8) != 0) return false;
    c.DecryptECB(block, block);
    if (std::memcmp(block, v.plain, 8) != 0) return false;
  }
  return true;
}

}  // namespace

void TCph_customdes::BurnSchedule(des::KeySchedule& schedule) { BurnBytes(schedule.data(), sizeof schedule); }

// 8-bit CFB as the base class does it, with the chaining value kept as a number: the per-byte
// shift of the register is then one shift instruction.
template <bool kEncrypt>
void TCph_customdes::Cfb8(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  CheckInitialized();
  std::uint8_t* cvBytes = ChainingValue();
  std::uint64_t cv = des::LoadBlock(cvBytes);
  for (std::size_t k = 0; k < size; ++k) {
    const std::uint8_t c = in[k];
    const std::uint8_t o = static_cast<std::uint8_t>(c ^ (EncryptBlock(cv) >> 56));
    out[k] = o;
    cv = (cv << 8) | (kEncrypt ? o : c);
  }
  des::StoreBlock(cvBytes, cv);
}

void TCph_customdes::EncryptCFB8bit(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  Cfb8<true>(in, out, size);
}

void TCph_customdes::DecryptCFB8bit(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  Cfb8<false>(in, out, size);
}

// ---- Single DES ---------------------------------------------------------------------------------

TCph_des::~TCph_des() { TCph_des::Burn(); }

void TCph_des::Burn() {
  BurnSchedule(key_);
  TCph_blockcipher::Burn();
}

void TCph_des::Init(const void* key, int sizeBits, const void* initVector) {
  TCph_cipher::Init(key, sizeBits, initVector);
  std::uint8_t k[8] = {};
  std::memcpy(k, key, static_cast<std::size_t>(sizeBits / 8));
  key_ = Schedule(k);
  BurnBytes(k, sizeof k);
  SetInitialVector(initVector);
}

std::uint64_t TCph_des::EncryptBlock(std::uint64_t block) const {
  const std::uint64_t permuted = des::InitialPermutation(block);
  std::uint32_t l = static_cast<std::uint32_t>(permuted >> 32), r = static_cast<std::uint32_t>(permuted);
  des::EncryptRounds(l, r, key_);
  return des::FinalPermutation(std::uint64_t{l} << 32 | r);
}

void TCph_des::EncryptECB(const std::uint8_t* in, std::uint8_t* out) {
  CheckInitialized();
  des::StoreBlock(out, EncryptBlock(des::LoadBlock(in)));
}

void TCph_des::DecryptECB(const std::uint8_t* in, std::uint8_t* out) {
  CheckInitialized();
  const std::uint64_t block = des::InitialPermutation(des::LoadBlock(in));
  std::uint32_t l = static_cast<std::uint32_t>(block >> 32), r = static_cast<std::uint32_t>(block);
  des::DecryptRounds(l, r, key_);
  des::StoreBlock(out, des::FinalPermutation(std::uint64_t{l} << 32 | r));
}

bool TCph_des::SelfTest() {
  static constexpr KnownAnswer kVectors[] = {
      {{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF},
       {0x4E, 0x6F, 0x77, 0x20, 0x69, 0x73, 0x20, 0x74},  // "Now is t"
       {0x3F, 0xA4, 0x0E, 0x8A, 0x98, 0x4D, 0x48, 0x15}},
      {{0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1},
       {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF},
       {0x85, 0xE8, 0x13, 0x54, 0x0F, 0x0A, 0xB4, 0x05}},
      {{0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01},
       {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
       {0x95, 0xF8, 0xA5, 0xE5, 0xDD, 0x31, 0xD9, 0x00}},
  };
  return Passes<TCph_des>(kVectors, kMaxKeySize);
}

// ---- Triple DES ---------------------------------------------------------------------------------

TCph_3des::~TCph_3des() { TCph_3des::Burn(); }

void TCph_3des::Burn() {
  BurnSchedule(k1_);
  BurnSchedule(k2_);
  BurnSchedule(k3_);
  TCph_blockcipher::Burn();
}

void TCph_3des::Init(const void* key, int sizeBits, const void* initVector) {
  TCph_cipher::Init(key, sizeBits, initVector);
  std::uint8_t k[24] = {};
  std::memcpy(k, key, static_cast<std::size_t>(sizeBits / 8));
  k1_ = Schedule(k);
  k2_ = Schedule(k + 8);
  k3_ = sizeBits > 128 ? Schedule(k + 16) : k1_;
  BurnBytes(k, sizeof k);
  SetInitialVector(initVector);
}

std::uint64_t TCph_3des::EncryptBlock(std::uint64_t block) const {
  const std::uint64_t permuted = des::InitialPermutation(block);
  std::uint32_t l = static_cast<std::uint32_t>(permuted >> 32), r = static_cast<std::uint32_t>(permuted);
  des::EncryptRounds(l, r, k1_);
  des::DecryptRounds(l, r, k2_);
  des::EncryptRounds(l, r, k3_);
  return des::FinalPermutation(std::uint64_t{l} << 32 | r);
}

void TCph_3des::EncryptECB(const std::uint8_t* in, std::uint8_t* out) {
  CheckInitialized();
  des::StoreBlock(out, EncryptBlock(des::LoadBlock(in)));
}

void TCph_3des::DecryptECB(const std::uint8_t* in, std::uint8_t* out) {
  CheckInitialized();
  const std::uint64_t block = des::InitialPermutation(des::LoadBlock(in));
  std::uint32_t l = static_cast<std::uint32_t>(block >> 32), r = static_cast<std::uint32_t>(block);
  des::DecryptRounds(l, r, k3_);
  des::EncryptRounds(l, r, k2_);
  des::DecryptRounds(l, r, k1_);
  des::StoreBlock(out, des::FinalPermutation(std::uint64_t{l} << 32 | r));
}

bool TCph_3des::SelfTest() {
  static constexpr KnownAnswer kVectors[] = {
      {{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x01,
        0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x01, 0x23},
       {0x54, 0x68, 0x65, 0x20, 0x71, 0x75, 0x66, 0x63},  // "The qufc"
       {0xA8, 0x26, 0xFD, 0x8C, 0xE5, 0x3B, 0x85, 0x5F}},
  };
  return Passes<TCph_3des>(kVectors, kMaxKeySize);
}

}  // namespace cipher
