#include "app/snapshot/snapshot_buffer.h"

#include <cstring>
#include <limits>
#include <new>

namespace app {

namespace {

// Hands std::allocate_shared a block with `tail` more bytes than the shared object needs,
// and reports where those bytes start. The block is allocated before the object is built,
// so the object's constructor can take that address.
template <typename T>
struct TailAllocator {
  using value_type = T;

  TailAllocator(std::size_t tail_bytes, std::uint8_t** tail_at) : tail(tail_bytes), at(tail_at) {}
  template <typename U>
  TailAllocator(const TailAllocator<U>& other) : tail(other.tail), at(other.at) {}

  T* allocate(std::size_t n) {
    if (n > (std::numeric_limits<std::size_t>::max() - tail) / sizeof(T)) throw std::bad_alloc();
    const std::size_t head = n * sizeof(T);
    auto* block = static_cast<std::uint8_t*>(::operator new(head + tail));
    *at = block + head;
    return reinterpret_cast<T*>(block);
  }
  void deallocate(T* p, std::size_t) { ::operator delete(p); }

  template <typename U>
  bool operator==(const TailAllocator<U>& other) const {
    return tail == other.tail && at == other.at;
  }

  std::size_t tail;
  std::uint8_t** at;
};

}  // namespace

std::shared_ptr<const SnapshotBuffer> SnapshotBuffer::Make(std::span<const std::uint8_t> bytes) {
  std::uint8_t* tail = nullptr;
  auto buffer = std::allocate_shared<SnapshotBuffer>(TailAllocator<SnapshotBuffer>(bytes.size(), &tail), Key(),
                                                     tail, bytes.size());
  if (!bytes.empty()) std::memcpy(tail, bytes.data(), bytes.size());
  return buffer;
}

}  // namespace app
