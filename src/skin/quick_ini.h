// The skin's INI text, parsed once in memory and looked up by section and key without
// regard to letter case. The text is code page 936.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "unicode/stream.h"

namespace skin {

class TQuickIni {
 public:
  // Parses the stream's bytes from its position to its end: every line trimmed, empty
  // lines and lines starting with ";" dropped, "[...]" lines also taken as sections.
  void LoadFromStream(unicode::TStream& stream);
  void LoadFromText(std::u16string_view text);

  // The value after the first "=" of the first line in the section whose key matches, trimmed;
  // Default when the section or key is missing or the value is empty. Only the first of
  // repeated sections is read.
  std::u16string ReadString(std::u16string_view section, std::u16string_view key, std::u16string_view defaultValue) const;
  // Decimal, "$" hexadecimal or (longer than two characters) "0x" hexadecimal; Default when
  // the text is not a number or does not fit 32 bits.
  int ReadInteger(std::u16string_view section, std::u16string_view key, int defaultValue) const;
  // Section names in file order, without the brackets, trimmed.
  std::vector<std::u16string> ReadSections() const;
  // Index in Lines of the line "[" + section + "]" (any letter case), or -1.
  int SectionIndex(std::u16string_view section) const;

  const std::vector<std::u16string>& Lines() const { return lines_; }

 private:
  struct Section {
    std::u16string line;
    int index;
  };
  std::vector<std::u16string> lines_;
  std::vector<Section> sections_;
};

// An integer written as an optional "+" or "-", then either decimal digits or "$" followed
// by hexadecimal digits (either letter case); nothing else, not even blanks, may stand in it.
// False when it does not convert or overflows 32 bits (hexadecimal up to 8 digits may wrap
// into the sign, as "$FFFFFFFF" is -1).
bool ParseInteger(std::u16string_view text, int& value);

}  // namespace skin
