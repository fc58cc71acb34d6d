#include "cipher/registry.h"

#include <cctype>

#include "cipher/des.h"
#include "cipher/sha1.h"

namespace cipher {

namespace {

std::string Lower(std::string_view name) {
  std::string s(name);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

template <class Cipher>
CipherClass Register(bool isBlockCipher) {
  return {Lower(Cipher::kAlgorithm), Cipher::kId, [] { return std::unique_ptr<TCph_cipher>(new Cipher); },
          isBlockCipher};
}

}  // namespace

const std::vector<CipherClass>& CipherClasses() {
  static const std::vector<CipherClass> classes = [] {
    std::vector<CipherClass> list;
    list.push_back(Register<TCph_des>(true));
    list.push_back(Register<TCph_3des>(true));
    return list;
  }();
  return classes;
}

const std::vector<HashClass>& HashClasses() {
  static const std::vector<HashClass> classes = [] {
    std::vector<HashClass> list;
    list.push_back({Lower(TCph_sha1::kAlgorithm), TCph_sha1::kId, [] { return std::unique_ptr<TCph_hash>(new TCph_sha1); }});
    return list;
  }();
  return classes;
}

}  // namespace cipher
