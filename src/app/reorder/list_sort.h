// "自动排序": the order of the rows sorted by their captions as the list control compares
// them (case ignored in the user's locale).
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace app {

// A stable permutation: result[i] is the old index of the row that goes to place i. Rows
// whose captions compare equal keep their order.
std::vector<int> CaptionSortOrder(std::span<const std::u16string_view> captions);

// The inverse of a permutation: result[old index] = new index.
std::vector<int> InversePermutation(std::span<const int> order);

}  // namespace app
