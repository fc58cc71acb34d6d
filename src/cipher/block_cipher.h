// The block cipher component: an initial vector IV, a chaining value CV and four chaining
// modes over the algorithm's EncryptECB / DecryptECB. Consecutive Encrypt or Decrypt calls
// form one stream until Reset puts CV back to IV.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cipher/cipher.h"

namespace cipher {

enum TCph_ciphermode { cmCBC = 0, cmCFB8bit = 1, cmCFBblock = 2, cmOFB = 3 };

class TCph_blockcipher : public TCph_cipher {
 public:
  ~TCph_blockcipher() override;

  virtual int GetBlockSize() const = 0;  // in bits (the published BlockSize)
  TCph_ciphermode CipherMode() const { return mode_; }
  void SetCipherMode(TCph_ciphermode mode) { mode_ = mode; }

  // CV := IV.
  void Reset() override;
  // IV, CV and the work block are overwritten with $FF, then the flag is cleared.
  void Burn() override;
  // By CipherMode. A final partial block (in the block modes) is XORed with E(CV).
  void Encrypt(const void* in, void* out, std::size_t size) override;
  void Decrypt(const void* in, void* out, std::size_t size) override;
  // Always 8-bit CFB from the current CV, whatever CipherMode says; Base64 text.
  std::string EncryptString(std::string_view bytes) override;
  std::string DecryptString(std::string_view base64) override;

  // One block of BlockSize bytes; in and out may be the same block.
  virtual void EncryptECB(const std::uint8_t* in, std::uint8_t* out) = 0;
  virtual void DecryptECB(const std::uint8_t* in, std::uint8_t* out) = 0;

  void EncryptCBC(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
  void DecryptCBC(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
  // Virtual so that an algorithm can keep the chaining value in registers.
  virtual void EncryptCFB8bit(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
  virtual void DecryptCFB8bit(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
  void EncryptCFBblock(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
  void DecryptCFBblock(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
  void EncryptOFB(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
  void DecryptOFB(const std::uint8_t* in, std::uint8_t* out, std::size_t size) { EncryptOFB(in, out, size); }

 protected:
  explicit TCph_blockcipher(int blockSizeBits);
  // The last step of every algorithm's Init: IV := the given vector, or the zero block
  // enciphered once; then Reset.
  void SetInitialVector(const void* initVector);
  void CheckInitialized() const;
  std::uint8_t* ChainingValue() { return cv_.data(); }

 private:
  template <bool kEncrypt>
  void Cfb8(const std::uint8_t* in, std::uint8_t* out, std::size_t size);
  // A final partial block: CV := E(CV), the bytes XORed with its first bytes.
  void FinalPartial(const std::uint8_t* in, std::uint8_t* out, std::size_t size);

  std::size_t blockBytes_;
  TCph_ciphermode mode_ = cmCBC;
  std::vector<std::uint8_t> iv_, cv_, work_;
};

}  // namespace cipher
