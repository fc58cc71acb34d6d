// The cipher component: the initialised flag, the key checks every algorithm runs first, and
// the key derived from a password. Byte strings are std::string.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cipher {

class TCph_cipher {
 public:
  virtual ~TCph_cipher();
  TCph_cipher(const TCph_cipher&) = delete;
  TCph_cipher& operator=(const TCph_cipher&) = delete;

  // The class values (the published Id, Algorithm and MaxKeySize read them).
  virtual int GetId() const = 0;
  virtual std::string_view GetAlgorithm() const = 0;
  virtual int GetMaxKeySize() const = 0;  // in bits

  // Burns a previous key, then checks the size: 1 <= sizeBits <= GetMaxKeySize(), a multiple
  // of 4, else the general exception "Invalid key size". Each algorithm runs this first and
  // then builds its key schedule. initVector may be null.
  virtual void Init(const void* key, int sizeBits, const void* initVector);
  // The key is the SHA-1 digest of the password's bytes as given, min(GetMaxKeySize(), 160)
  // bits of it, with no initial vector.
  void InitStr(std::string_view password);
  // Forgets the key: the initialised flag is cleared.
  virtual void Burn();
  virtual void Reset() = 0;
  // Continue the stream from the current state (in and out may be the same buffer).
  virtual void Encrypt(const void* in, void* out, std::size_t size) = 0;
  virtual void Decrypt(const void* in, void* out, std::size_t size) = 0;
  // The bytes enciphered, as Base64 text; and back.
  virtual std::string EncryptString(std::string_view bytes);
  virtual std::string DecryptString(std::string_view base64);

  bool Initialized() const { return initialized_; }

 protected:
  TCph_cipher() = default;
  bool initialized_ = false;
};

}  // namespace cipher
