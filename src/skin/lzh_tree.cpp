#include "skin/lzh_tree.h"

#include <algorithm>

namespace skin::lzh {

AdaptiveTree::AdaptiveTree() {
  for (int i = 0; i < N_CHAR; ++i) {
    freq_[i] = 1;
    son_[i] = static_cast<uint16_t>(i + T);
    parent_[i + T] = static_cast<uint16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    freq_[j] = static_cast<uint16_t>(freq_[i] + freq_[i + 1]);
    son_[j] = static_cast<uint16_t>(i);
    parent_[i] = parent_[i + 1] = static_cast<uint16_t>(j);
  }
  freq_[T] = 0xFFFF;
  parent_[R] = 0;
}

void AdaptiveTree::Rebuild() {
  ++rebuilds_;
  // Gather the leaves at the front with halved frequencies, rounding up so none drops to 0.
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (son_[i] >= T) {
      freq_[j] = static_cast<uint16_t>((freq_[i] + 1) / 2);
      son_[j] = son_[i];
      ++j;
    }
  }
  // Join neighbours pairwise, inserting each new node where its frequency keeps the order.
  for (int i = 0, k = N_CHAR; k < T; i += 2, ++k) {
    const uint16_t f = static_cast<uint16_t>(freq_[i] + freq_[i + 1]);
    int at = k - 1;
    while (f < freq_[at]) --at;
    ++at;
    std::copy_backward(freq_.begin() + at, freq_.begin() + k, freq_.begin() + k + 1);
    std::copy_backward(son_.begin() + at, son_.begin() + k, son_.begin() + k + 1);
    freq_[at] = f;
    son_[at] = static_cast<uint16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    const int s = son_[i];
    if (s >= T) {
      parent_[s] = static_cast<uint16_t>(i);
    } else {
      parent_[s] = parent_[s + 1] = static_cast<uint16_t>(i);
    }
  }
}

void AdaptiveTree::Update(int c) {
  if (freq_[R] == MAX_FREQ) Rebuild();
  int node = parent_[c + T];
  do {
    const uint16_t k = ++freq_[node];
    // Out of order: swap with the last node of a smaller frequency and go on from there.
    int l = node + 1;
    if (k > freq_[l]) {
      while (k > freq_[++l]) {
      }
      --l;
      freq_[node] = freq_[l];
      freq_[l] = k;

      const int i = son_[node];
      parent_[i] = static_cast<uint16_t>(l);
      if (i < T) parent_[i + 1] = static_cast<uint16_t>(l);
      const int j = son_[l];
      son_[l] = static_cast<uint16_t>(i);
      parent_[j] = static_cast<uint16_t>(node);
      if (j < T) parent_[j + 1] = static_cast<uint16_t>(node);
      son_[node] = static_cast<uint16_t>(j);
      node = l;
    }
    node = parent_[node];
  } while (node != 0);
}

namespace {

PositionTables MakePositionTables() {
  PositionTables t{};
  // Byte values per code length 3..8; each upper value of length L spans 2^(8-L) byte values.
  constexpr int kBytesPerLength[] = {32, 48, 64, 48, 48, 16};
  int byte = 0;
  int upper = 0;
  for (int n = 0; n < 6; ++n) {
    const int length = n + 3;
    const int span = 1 << (8 - length);
    for (int values = kBytesPerLength[n] / span; values > 0; --values, ++upper) {
      t.encodeCode[upper] = static_cast<uint8_t>(byte);
      t.encodeLength[upper] = static_cast<uint8_t>(length);
      for (int s = 0; s < span; ++s, ++byte) {
        t.decodeCode[byte] = static_cast<uint8_t>(upper);
        t.decodeLength[byte] = static_cast<uint8_t>(length);
      }
    }
  }
  return t;
}

}  // namespace

const PositionTables& Positions() {
  static const PositionTables tables = MakePositionTables();
  return tables;
}

}  // namespace skin::lzh
