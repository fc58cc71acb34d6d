#include "cipher/block_cipher.h"

#include <cstring>

#include "cipher/base64.h"
#include "cipher/burn.h"
#include "cipher/cipher_errors.h"

namespace cipher {

TCph_blockcipher::TCph_blockcipher(int blockSizeBits)
    : blockBytes_(static_cast<std::size_t>(blockSizeBits) / 8),
      iv_(blockBytes_),
      cv_(blockBytes_),
      work_(blockBytes_) {}

TCph_blockcipher::~TCph_blockcipher() { TCph_blockcipher::Burn(); }

void TCph_blockcipher::CheckInitialized() const {
  if (!initialized_) throw ECph_blockcipher(kCipherNotInitialized);
}

void TCph_blockcipher::Reset() {
  CheckInitialized();
  std::memcpy(cv_.data(), iv_.data(), blockBytes_);
}

void TCph_blockcipher::Burn() {
  BurnBytes(iv_.data(), iv_.size(), 0xFF);
  BurnBytes(cv_.data(), cv_.size(), 0xFF);
  BurnBytes(work_.data(), work_.size(), 0xFF);
  TCph_cipher::Burn();
}

void TCph_blockcipher::SetInitialVector(const void* initVector) {
  if (initVector) {
    std::memcpy(iv_.data(), initVector, blockBytes_);
  } else {
    std::memset(iv_.data(), 0, blockBytes_);
    EncryptECB(iv_.data(), iv_.data());
  }
  Reset();
}

void TCph_blockcipher::Encrypt(const void* in, void* out, std::size_t size) {
  const auto* i = static_cast<const std::uint8_t*>(in);
  auto* o = static_cast<std::uint8_t*>(out);
  switch (mode_) {
    case cmCBC: EncryptCBC(i, o, size); break;
    case cmCFB8bit: EncryptCFB8bit(i, o, size); break;
    case cmCFBblock: EncryptCFBblock(i, o, size); break;
    case cmOFB: EncryptOFB(i, o, size); break;
  }
}

void TCph_blockcipher::Decrypt(const void* in, void* out, std::size_t size) {
  const auto* i = static_cast<const std::uint8_t*>(in);
  auto* o = static_cast<std::uint8_t*>(out);
  switch (mode_) {
    case cmCBC: DecryptCBC(i, o, size); break;
    case cmCFB8bit: DecryptCFB8bit(i, o, size); break;
    case cmCFBblock: DecryptCFBblock(i, o, size); break;
    case cmOFB: DecryptOFB(i, o, size); break;
  }
}

void TCph_blockcipher::FinalPartial(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  EncryptECB(cv_.data(), cv_.data());
  for (std::size_t k = 0; k < size; ++k) out[k] = in[k] ^ cv_[k];
}

void TCph_blockcipher::EncryptCBC(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  CheckInitialized();
  const std::size_t B = blockBytes_;
  for (; size >= B; size -= B, in += B, out += B) {
    for (std::size_t k = 0; k < B; ++k) work_[k] = in[k] ^ cv_[k];
    EncryptECB(work_.data(), out);
    std::memcpy(cv_.data(), out, B);
  }
  if (size) FinalPartial(in, out, size);
}

void TCph_blockcipher::DecryptCBC(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  CheckInitialized();
  const std::size_t B = blockBytes_;
  for (; size >= B; size -= B, in += B, out += B) {
    std::memcpy(work_.data(), in, B);  // the ciphertext block, kept before out overwrites it
    DecryptECB(in, out);
    for (std::size_t k = 0; k < B; ++k) out[k] ^= cv_[k];
    std::memcpy(cv_.data(), work_.data(), B);
  }
  if (size) FinalPartial(in, out, size);
}

template <bool kEncrypt>
void TCph_blockcipher::Cfb8(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  CheckInitialized();
  const std::size_t B = blockBytes_;
  std::uint8_t* cv = cv_.data();
  std::uint8_t* t = work_.data();
  for (std::size_t k = 0; k < size; ++k) {
    EncryptECB(cv, t);
    const std::uint8_t c = in[k];
    const std::uint8_t o = static_cast<std::uint8_t>(c ^ t[0]);
    out[k] = o;
    std::memmove(cv, cv + 1, B - 1);
    cv[B - 1] = kEncrypt ? o : c;
  }
}

void TCph_blockcipher::EncryptCFB8bit(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  Cfb8<true>(in, out, size);
}

void TCph_blockcipher::DecryptCFB8bit(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  Cfb8<false>(in, out, size);
}

void TCph_blockcipher::EncryptCFBblock(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  CheckInitialized();
  const std::size_t B = blockBytes_;
  for (; size >= B; size -= B, in += B, out += B) {
    EncryptECB(cv_.data(), cv_.data());
    for (std::size_t k = 0; k < B; ++k) out[k] = in[k] ^ cv_[k];
    std::memcpy(cv_.data(), out, B);
  }
  if (size) FinalPartial(in, out, size);
}

void TCph_blockcipher::DecryptCFBblock(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  CheckInitialized();
  const std::size_t B = blockBytes_;
  for (; size >= B; size -= B, in += B, out += B) {
    EncryptECB(cv_.data(), work_.data());
    for (std::size_t k = 0; k < B; ++k) {
      const std::uint8_t c = in[k];
      out[k] = c ^ work_[k];
      cv_[k] = c;
    }
  }
  if (size) FinalPartial(in, out, size);
}

void TCph_blockcipher::EncryptOFB(const std::uint8_t* in, std::uint8_t* out, std::size_t size) {
  CheckInitialized();
  const std::size_t B = blockBytes_;
  for (; size >= B; size -= B, in += B, out += B) {
    EncryptECB(cv_.data(), cv_.data());
    for (std::size_t k = 0; k < B; ++k) out[k] = in[k] ^ cv_[k];
  }
  if (size) FinalPartial(in, out, size);
}

std::string TCph_blockcipher::EncryptString(std::string_view bytes) {
  std::string out(bytes);
  auto* p = reinterpret_cast<std::uint8_t*>(out.data());
  EncryptCFB8bit(p, p, out.size());
  return Base64EncodeStr(out);
}

std::string TCph_blockcipher::DecryptString(std::string_view base64) {
  std::string out = Base64DecodeStr(base64);
  auto* p = reinterpret_cast<std::uint8_t*>(out.data());
  DecryptCFB8bit(p, p, out.size());
  return out;
}

}  // namespace cipher
