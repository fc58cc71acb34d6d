// The cipher library's exceptions. Texts are English, as the components raise them.
#pragma once

#include <stdexcept>

namespace cipher {

// The general exception: raised for a key of a size the algorithm does not take.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ECph_cipher : public Exception {
 public:
  using Exception::Exception;
};

// A block operation or Reset before Init: "Cipher not initialized".
class ECph_blockcipher : public ECph_cipher {
 public:
  using ECph_cipher::ECph_cipher;
};

// Update or Final before Init: "Hash not initialized".
class ECph_hash : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr const char* kInvalidKeySize = "Invalid key size";
inline constexpr const char* kCipherNotInitialized = "Cipher not initialized";
inline constexpr const char* kHashNotInitialized = "Hash not initialized";

}  // namespace cipher
