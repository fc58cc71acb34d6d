// Single DES and triple DES (encrypt-decrypt-encrypt) block ciphers.
#pragma once

#include <cstdint>
#include <string_view>

#include "cipher/block_cipher.h"
#include "cipher/des_core.h"

namespace cipher {

// The DES key schedule and block functions shared by the two algorithms.
class TCph_customdes : public TCph_blockcipher {
 public:
  void EncryptCFB8bit(const std::uint8_t* in, std::uint8_t* out, std::size_t size) override;
  void DecryptCFB8bit(const std::uint8_t* in, std::uint8_t* out, std::size_t size) override;

 protected:
  TCph_customdes() : TCph_blockcipher(64) {}
  static des::KeySchedule Schedule(const std::uint8_t* key8) { return des::MakeKeySchedule(key8); }
  static void BurnSchedule(des::KeySchedule& schedule);
  // EncryptECB on a block held as a big-endian number.
  virtual std::uint64_t EncryptBlock(std::uint64_t block) const = 0;

 private:
  template <bool kEncrypt>
  void Cfb8(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
};

class TCph_des : public TCph_customdes {
 public:
  static constexpr int kId = 23;
  static constexpr std::string_view kAlgorithm = "DES";
  static constexpr int kMaxKeySize = 64;
  static constexpr int kBlockSize = 64;

  TCph_des() = default;
  ~TCph_des() override;

  int GetId() const override { return kId; }
  std::string_view GetAlgorithm() const override { return kAlgorithm; }
  int GetMaxKeySize() const override { return kMaxKeySize; }
  int GetBlockSize() const override { return kBlockSize; }
  // Published single-DES known-answer vectors, enciphered and deciphered.
  static bool SelfTest();

  // Size / 8 key bytes (at most 8) into a zeroed 8-byte key; IV as given or E(0).
  void Init(const void* key, int sizeBits, const void* initVector) override;
  void Burn() override;
  void EncryptECB(const std::uint8_t* in, std::uint8_t* out) override;
  void DecryptECB(const std::uint8_t* in, std::uint8_t* out) override;

 protected:
  std::uint64_t EncryptBlock(std::uint64_t block) const override;

 private:
  des::KeySchedule key_{};
};

class TCph_3des : public TCph_customdes {
 public:
  static constexpr int kId = 24;
  static constexpr std::string_view kAlgorithm = "3DES";
  static constexpr int kMaxKeySize = 192;
  static constexpr int kBlockSize = 64;

  TCph_3des() = default;
  ~TCph_3des() override;

  int GetId() const override { return kId; }
  std::string_view GetAlgorithm() const override { return kAlgorithm; }
  int GetMaxKeySize() const override { return kMaxKeySize; }
  int GetBlockSize() const override { return kBlockSize; }
  // A published three-key triple-DES known-answer vector, enciphered and deciphered.
  static bool SelfTest();

  // Size / 8 key bytes into a zeroed 24-byte key: k1 = bytes 0-7, k2 = 8-15, k3 = 16-23 for
  // keys longer than 128 bits, else k3 = k1. IV as given or E(0).
  void Init(const void* key, int sizeBits, const void* initVector) override;
  void Burn() override;
  // E_k3(D_k2(E_k1(block))) and its inverse.
  void EncryptECB(const std::uint8_t* in, std::uint8_t* out) override;
  void DecryptECB(const std::uint8_t* in, std::uint8_t* out) override;

 protected:
  std::uint64_t EncryptBlock(std::uint64_t block) const override;

 private:
  des::KeySchedule k1_{}, k2_{}, k3_{};
};

}  // namespace cipher
