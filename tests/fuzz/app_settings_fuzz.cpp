// The settings file "set" as hostile input: whatever it holds, the values that come out
// are usable, and writing them gives a file that reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/settings/settings_file.h"

using namespace app;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}

void RequireUsable(const Settings& s) {
  Require(s.MaxTextLength >= 1 && s.MaxTextLength <= 320000);
  Require(s.HotKeyIndex >= 0 && s.HotKeyIndex <= 11 && s.HotKeyCode == s.HotKeyIndex + 112);
  Require(s.PasteStep >= 1 && s.PasteStep <= 50);
  Require(s.ShowTrayIcon == -1 || s.ShowTrayIcon == 0);
  Require(s.ContinuousPaste == -1 || s.ContinuousPaste == 0);
  Require(s.ListFontSize >= 1 && !s.ListFontName.empty() && s.ListFontName.size() <= 31);
  Require(s.SavedWidth >= 0 && s.SavedHeight >= 0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Settings defaults = DefaultSettings(u"C:\\Q");
  for (const bool truncated : {false, true}) {
    const SettingsReadResult read = ParseSettingsFile(bytes, defaults, truncated);
    RequireUsable(read.values);
    Require(read.linesRead >= 0 && read.linesRead <= kSettingsLineCount);
    Require((read.status == SettingsReadStatus::Read) == (read.linesRead == kSettingsLineCount));
    Require(read.status == SettingsReadStatus::Read || !read.message.empty());
  }
  // One write settles the text lines into code page 936; from then on writing and
  // reading change nothing.
  const Settings once = ParseSettingsFile(bytes, defaults).values;
  const Settings settled =
      ParseSettingsFile(FormatSettingsFile(once, once.SavedWidth, once.SavedHeight), defaults).values;
  const SettingsReadResult again =
      ParseSettingsFile(FormatSettingsFile(settled, settled.SavedWidth, settled.SavedHeight), defaults);
  Require(again.status == SettingsReadStatus::Read && again.message.empty());
  Require(again.values == settled);
  return 0;
}
