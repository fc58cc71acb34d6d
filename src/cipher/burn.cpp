#include "cipher/burn.h"

namespace cipher {

void BurnBytes(void* data, std::size_t size, std::uint8_t value) {
  volatile std::uint8_t* p = static_cast<volatile std::uint8_t*>(data);
  for (std::size_t i = 0; i < size; ++i) p[i] = value;
}

}  // namespace cipher
