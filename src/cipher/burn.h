// Overwriting key material. The writes go through a volatile pointer, so the compiler cannot
// drop them as dead stores when the memory is about to be freed or go out of scope.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cipher {

void BurnBytes(void* data, std::size_t size, std::uint8_t value = 0);

}  // namespace cipher
