// The process-wide lists of the library's cipher and hash classes, filled at start-up and
// freed at the end of the process.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cipher/cipher.h"
#include "cipher/hash.h"

namespace cipher {

struct CipherClass {
  std::string name;  // the algorithm name in lower case
  int id;
  std::unique_ptr<TCph_cipher> (*create)();
  bool isBlockCipher;
};

struct HashClass {
  std::string name;
  int id;
  std::unique_ptr<TCph_hash> (*create)();
};

const std::vector<CipherClass>& CipherClasses();  // des, 3des
const std::vector<HashClass>& HashClasses();      // sha1

}  // namespace cipher
