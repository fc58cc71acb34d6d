// The shared, immutable bytes of one clipboard snapshot.
//
// A history of 100000 entries holds as many snapshots, and deleting many entries at once
// releases them all: the bytes therefore live in the same block as the reference count and
// the size, so a snapshot costs one allocation (a shared vector would cost two).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace app {

class SnapshotBuffer {
 public:
  // A new buffer holding a copy of `bytes`, exactly sized.
  static std::shared_ptr<const SnapshotBuffer> Make(std::span<const std::uint8_t> bytes);

  const std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const std::uint8_t* begin() const { return data_; }
  const std::uint8_t* end() const { return data_ + size_; }
  std::span<const std::uint8_t> span() const { return {data_, size_}; }
  operator std::span<const std::uint8_t>() const { return span(); }

  SnapshotBuffer(const SnapshotBuffer&) = delete;
  SnapshotBuffer& operator=(const SnapshotBuffer&) = delete;

  // Only Make can construct one (it hands over the bytes placed behind the object);
  // the key keeps the constructor usable by the shared-pointer machinery alone.
  class Key {
    friend class SnapshotBuffer;
    Key() = default;
  };
  SnapshotBuffer(Key, std::uint8_t* const& bytes, std::size_t size) : data_(bytes), size_(size) {}

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

using SharedSnapshot = std::shared_ptr<const SnapshotBuffer>;

}  // namespace app
