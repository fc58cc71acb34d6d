// The bytes a hex editor edits: a memory stream whose every access at a position is
// bounds-checked first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hexedit {

class THxMemoryStream {
 public:
  std::size_t Size() const { return data_.size(); }
  bool Empty() const { return data_.empty(); }
  std::size_t Position() const { return position_; }
  void Seek(std::size_t position) { position_ = position; }

  // Raises EHexEditor "Data position/length out of data bounds" unless
  // position + count lies within the data.
  void CheckBounds(std::size_t position, std::size_t count) const;

  // Check, transfer; the stream position is left as it was.
  void ReadAt(void* buffer, std::size_t position, std::size_t count) const;
  void WriteAt(const void* buffer, std::size_t position, std::size_t count);
  std::uint8_t At(std::size_t position) const;

  // The memory of a position (checked); valid until the size changes.
  std::uint8_t* Address(std::size_t position);
  const std::uint8_t* Address(std::size_t position) const;
  // Moves count bytes inside the memory (the ranges may overlap).
  void Move(std::size_t destination, std::size_t source, std::size_t count);

  // Size changes: insert before position (0..size), erase a range, replace everything.
  void Insert(std::size_t position, const std::uint8_t* bytes, std::size_t count);
  void Erase(std::size_t position, std::size_t count);
  void Assign(std::vector<std::uint8_t> bytes);
  void SetSize(std::size_t size);

  // The bytes as 2 x count hex digits.
  std::string AsHex(std::size_t position, std::size_t count, bool swapNibbles) const;

  const std::vector<std::uint8_t>& Bytes() const { return data_; }

 private:
  std::vector<std::uint8_t> data_;
  std::size_t position_ = 0;
};

}  // namespace hexedit
