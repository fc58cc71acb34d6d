// The skins menu's choices: the classic look (1) and the thirteen skin files (2..14) in the
// folder "皮肤" below the program folder, with the menu rows and handlers that choose them.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace app {

struct SkinChoice {
  int number;
  std::u16string_view row;      // the menu row's name
  std::u16string_view handler;  // the handler the row calls
  std::u16string_view caption;
  std::u16string_view file;     // empty for the classic look
};

inline constexpr int kClassicSkin = 1;
inline constexpr int kDefaultSkinNumber = 2;

std::span<const SkinChoice> SkinChoices();
// The choice of a skin number, or nullptr for a number outside 1..14.
const SkinChoice* SkinChoiceFor(int number);
// baseDir + "\皮肤\" + the file of a skin number (2..14); empty for the classic look.
std::u16string SkinFilePath(const std::u16string& baseDir, int number);

// The text of the one "出错" box for a skin file that could not be applied: a missing file,
// or the reader's reason (for an archive of an unknown version, the reader's own text).
std::u16string MissingSkinText(const std::u16string& path);
std::u16string RefusedSkinText(const std::u16string& path, const std::u16string& reason);

}  // namespace app
