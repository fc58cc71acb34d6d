#include "hexedit/hx_memory_stream.h"

#include <cstring>

#include "hexedit/hx_errors.h"
#include "hexedit/hx_units.h"

namespace hexedit {

void THxMemoryStream::CheckBounds(std::size_t position, std::size_t count) const {
  if (position > data_.size() || count > data_.size() - position) throw EHexEditor(kOutOfBounds);
}

void THxMemoryStream::ReadAt(void* buffer, std::size_t position, std::size_t count) const {
  CheckBounds(position, count);
  if (count) std::memcpy(buffer, data_.data() + position, count);
}

void THxMemoryStream::WriteAt(const void* buffer, std::size_t position, std::size_t count) {
  CheckBounds(position, count);
  if (count) std::memmove(data_.data() + position, buffer, count);
}

std::uint8_t THxMemoryStream::At(std::size_t position) const {
  CheckBounds(position, 1);
  return data_[position];
}

std::uint8_t* THxMemoryStream::Address(std::size_t position) {
  CheckBounds(position, 0);
  return data_.data() + position;
}

const std::uint8_t* THxMemoryStream::Address(std::size_t position) const {
  CheckBounds(position, 0);
  return data_.data() + position;
}

void THxMemoryStream::Move(std::size_t destination, std::size_t source, std::size_t count) {
  CheckBounds(source, count);
  CheckBounds(destination, count);
  if (count) std::memmove(data_.data() + destination, data_.data() + source, count);
}

void THxMemoryStream::Insert(std::size_t position, const std::uint8_t* bytes, std::size_t count) {
  CheckBounds(position, 0);
  data_.insert(data_.begin() + static_cast<std::ptrdiff_t>(position), bytes, bytes + count);
}

void THxMemoryStream::Erase(std::size_t position, std::size_t count) {
  CheckBounds(position, count);
  const auto first = data_.begin() + static_cast<std::ptrdiff_t>(position);
  data_.erase(first, first + static_cast<std::ptrdiff_t>(count));
}

void THxMemoryStream::Assign(std::vector<std::uint8_t> bytes) {
  data_ = std::move(bytes);
  position_ = 0;
}

void THxMemoryStream::SetSize(std::size_t size) { data_.resize(size); }

std::string THxMemoryStream::AsHex(std::size_t position, std::size_t count, bool swapNibbles) const {
  CheckBounds(position, count);
  return ConvertBinToHex(data_.data() + position, count, swapNibbles);
}

}  // namespace hexedit
