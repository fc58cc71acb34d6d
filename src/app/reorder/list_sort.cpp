#include "app/reorder/list_sort.h"

#include <algorithm>
#include <numeric>

#include "unicode/compare_strings.h"

namespace app {

std::vector<int> CaptionSortOrder(std::span<const std::u16string_view> captions) {
  std::vector<int> order(captions.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return unicode::CompareStringsIgnoreCase(captions[static_cast<std::size_t>(a)],
                                             captions[static_cast<std::size_t>(b)]) < 0;
  });
  return order;
}

std::vector<int> InversePermutation(std::span<const int> order) {
  std::vector<int> inverse(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) inverse[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
  return inverse;
}

}  // namespace app
