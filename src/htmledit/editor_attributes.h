// The editor's portable data model: source code options, the attributes of new tables
// and cells, tag substitutions and the Timeout rule.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "htmledit/html_tables.h"
#include "htmledit/module_routines.h"

namespace htmledit {

enum class THtmlEditSourceCodeOption : uint8_t {
  LowercaseElementNames, TerminateEmptyElements, AddSpaceInTerminatedEmptyElements, TerminateComments,
  LowercaseAttributeNames, QuoteAttributeValues, UnminimizeBooleanAttributes, LowercaseStylePropertyNames,
  UseEntityReferences, Preserve8BitCharacters, HideBaseElement, ExcludeFileProtocol, ExcludeBaseURL,
  UseBackSlashAsPathDelimiter, IndentSource, AddNbsp
};

// A set of the sixteen options, bit n for option n; all set is 65535.
class THtmlEditSourceCodeOptions {
 public:
  constexpr THtmlEditSourceCodeOptions() = default;
  constexpr explicit THtmlEditSourceCodeOptions(uint16_t bits) : bits_(bits) {}
  static constexpr THtmlEditSourceCodeOptions All() { return THtmlEditSourceCodeOptions(0xFFFF); }
  static constexpr THtmlEditSourceCodeOptions None() { return THtmlEditSourceCodeOptions(0); }

  constexpr bool Has(THtmlEditSourceCodeOption o) const { return (bits_ >> static_cast<int>(o)) & 1; }
  constexpr THtmlEditSourceCodeOptions With(THtmlEditSourceCodeOption o) const {
    return THtmlEditSourceCodeOptions(static_cast<uint16_t>(bits_ | (1u << static_cast<int>(o))));
  }
  constexpr THtmlEditSourceCodeOptions Without(THtmlEditSourceCodeOption o) const {
    return THtmlEditSourceCodeOptions(static_cast<uint16_t>(bits_ & ~(1u << static_cast<int>(o))));
  }
  constexpr uint16_t Bits() const { return bits_; }
  constexpr bool operator==(const THtmlEditSourceCodeOptions&) const = default;

 private:
  uint16_t bits_ = 0xFFFF;
};

struct THtmlEditTableAttrs {
  THTMLAlign Align = THTMLAlign::haDefault;
  std::u16string Background;
  TColor BgColor = clNone;
  TColor BorderColor = clNone;
  uint8_t BorderSize = 1;
  uint8_t CellPadding = 1;
  uint8_t CellSpacing = 1;
  uint16_t Width = 75;
  bool WidthInPercent = true;
};

struct THtmlEditTableCellAttrs {
  THTMLAlign Align = THTMLAlign::haDefault;
  THTMLVAlign VAlign = THTMLVAlign::haVDefault;
  std::u16string Background;
  TColor BgColor = clNone;
  TColor BorderColor = clNone;
  bool NoWrap = false;
  uint16_t Width = 0;
  bool WidthInPercent = false;
  uint16_t Height = 0;
  bool HeightInPercent = false;
  std::u16string ObjectClass;
};

struct THtmlEditTagsSubstitutionItem {
  std::u16string OriginalTag;
  std::u16string ReplacementTag;
  void Assign(const THtmlEditTagsSubstitutionItem& other) { *this = other; }
};
using THtmlEditTagsSubstitution = std::vector<THtmlEditTagsSubstitutionItem>;

// Timeout in seconds: a new value is kept only when it is a number greater than 0 (0,
// negatives, NaN and infinity leave the old value).
class TimeoutSetting {
 public:
  double Get() const { return value_; }
  void Set(double v) {
    if (v > 0 && std::isfinite(v)) value_ = v;
  }
  // Round(Timeout × 1000), the wait limit in milliseconds; a limit beyond what a 64-bit
  // count holds is the largest one (rounding it would give a negative limit: no wait at all).
  int64_t LimitMs() const {
    const double ms = value_ * 1000.0;
    return ms >= 9.0e18 ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(std::llround(ms));
  }

 private:
  double value_ = 30.0;
};

}  // namespace htmledit
