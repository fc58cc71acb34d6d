#include "cipher/cipher.h"

#include <algorithm>

#include "cipher/base64.h"
#include "cipher/burn.h"
#include "cipher/cipher_errors.h"
#include "cipher/sha1.h"

namespace cipher {

// Subclasses that hold key material burn it in their own destructors; here only the flag is left.
TCph_cipher::~TCph_cipher() = default;

void TCph_cipher::Init(const void* key, int sizeBits, const void* initVector) {
  if (initialized_) Burn();
  if (sizeBits < 1 || sizeBits % 4 != 0 || sizeBits > GetMaxKeySize()) throw Exception(kInvalidKeySize);
  initialized_ = true;
}

void TCph_cipher::InitStr(std::string_view password) {
  if (initialized_) Burn();
  TCph_sha1::Digest digest = TCph_sha1::Of(password);
  try {
    Init(digest.data(), std::min(GetMaxKeySize(), TCph_sha1::kHashSize), nullptr);
  } catch (...) {
    BurnBytes(digest.data(), digest.size(), 0xFF);
    throw;
  }
  BurnBytes(digest.data(), digest.size(), 0xFF);
}

void TCph_cipher::Burn() { initialized_ = false; }

std::string TCph_cipher::EncryptString(std::string_view bytes) {
  std::string out(bytes);
  Encrypt(out.data(), out.data(), out.size());
  return Base64EncodeStr(out);
}

std::string TCph_cipher::DecryptString(std::string_view base64) {
  std::string out = Base64DecodeStr(base64);
  Decrypt(out.data(), out.data(), out.size());
  return out;
}

}  // namespace cipher
