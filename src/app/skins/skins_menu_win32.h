// The skins menu's Windows side: the main window's skin component SkinData1 with the
// program's settings, and the switch among the classic look and the thirteen skins.
#pragma once

#include <functional>
#include <string>

#include "skin/skin_data.h"

namespace app {

class SkinsMenu {
 public:
  // baseDir: the program folder, below which "皮肤" holds the skin files.
  explicit SkinsMenu(std::u16string baseDir);
  ~SkinsMenu();
  SkinsMenu(const SkinsMenu&) = delete;
  SkinsMenu& operator=(const SkinsMenu&) = delete;

  // The classic look (skin number 1): skinning off.
  void jindianClick();
  // Skin 2..14: a skin already applied is taken off first (waiting until the engine has
  // done so, at most 2.1 s, with no command of the program running meanwhile), then the
  // skin's file is named and skinning switched on. A file that is missing or refused is
  // reported once (OnError) and the classic look stays.
  void ChooseSkin(int number);

  int SkinNumber = 2;        // the choice, saved in "set"
  int ActiveSkinNumber = 1;  // the number applied now (1: skinning off)

  // The text of a "出错" box.
  std::function<void(const std::u16string& text)> OnError;
  // The skin number whose row is now checked (after a fallback, 1).
  std::function<void(int number)> OnChecked;

  skin::TSkinData SkinData1;

 private:
  std::u16string baseDir_;
  std::u16string refusal_;
};

}  // namespace app
