// Names of picture files: the numbered files of "图片保存" and the name a save dialog's
// choice becomes.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace windows {

inline constexpr int kMaxPictureNumber = 65000;

// How an attempt to put a file under a number ended.
enum class PlaceOutcome { Placed, Taken, Failed };

struct NumberedSave {
  int number = 0;      // the number used; 0 when none
  bool full = false;   // every number from 1 to 65000 is taken
  bool failed = false; // the file could not be written
};

// The first number from 1 to 65000 whose file does not exist gets the picture. `place`
// creates the file without replacing one: when another program took the number between the
// test and the write, the next free number is tried.
NumberedSave SaveUnderFirstFreeNumber(const std::function<bool(int)>& exists,
                                      const std::function<PlaceOutcome(int)>& place);

// The save dialog's name with the filter's extension (".bmp" for filter 1, ".jpg" for
// filter 2), appended only when the name does not end in it already (in any case).
std::u16string WithPictureExtension(std::u16string_view name, int filterIndex);

// The question asked before a file is replaced (the save dialog's own question, for the name
// the extension made).
std::u16string ReplaceQuestion(std::u16string_view file);

// Filter 2 is JPEG; every other index saves a bitmap.
inline bool IsJpegFilter(int filterIndex) { return filterIndex == 2; }

}  // namespace windows
