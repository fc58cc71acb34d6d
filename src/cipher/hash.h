// The hash component: an initialised flag and the operations every hash algorithm provides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cipher {

class TCph_hash {
 public:
  virtual ~TCph_hash() = default;
  TCph_hash(const TCph_hash&) = delete;
  TCph_hash& operator=(const TCph_hash&) = delete;

  // The class values.
  virtual int GetId() const = 0;
  virtual std::string_view GetAlgorithm() const = 0;
  virtual int GetHashSize() const = 0;  // in bits

  virtual void Init() = 0;
  // Writes GetHashSize() / 8 bytes; the component must be initialised again afterwards.
  virtual void Final(std::uint8_t* digest) = 0;
  virtual void Burn() = 0;
  virtual void Update(const void* buffer, std::size_t size) = 0;
  void UpdateStr(std::string_view s) { Update(s.data(), s.size()); }

  bool Initialized() const { return initialized_; }

 protected:
  TCph_hash() = default;
  bool initialized_ = false;
};

}  // namespace cipher
