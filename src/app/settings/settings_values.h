// The settings of the main window: process-wide values and the check marks of the menu
// rows that the file "set" keeps, each with the value the main window's creation gives
// it before the file is read. Flags hold -1 (true) or 0 (false) and are tested for not zero.
#pragma once

#include <string>
#include <string_view>

namespace app {

// The three sound rows, one of them checked; the number is line 21 of "set".
enum class SoundChoice { wusen = 1, laosisen = 2, Windowsminzong = 3 };

// clWindowText: the system colour value $FF000008.
inline constexpr int kClWindowText = -16777208;

struct Settings {
  int MaxTextLength = 80000;
  std::u16string TrayIconFile;  // BaseDir + "\图标\系统托盘主图标.ico"
  std::u16string WindowTitle = u" Quillora12.6";
  int ShowTrayIcon = -1;
  int ContinuousPaste = 0;
  int HotKeyIndex = 8;   // 0..11 = F1..F12
  int HotKeyCode = 120;  // always HotKeyIndex + 112
  int ListFontSize = 14;
  std::u16string ListFontName = u"宋体";
  int ListFontColor = kClWindowText;
  int HotKeyAlt = 0;
  int PasteStep = 1;  // 1..50
  int PasteAutoJump = 0;
  int PasteAutoSelect = -1;
  int SkinNumber = 2;  // 1 classic, 2..14 the built-in skins
  int JumpKey = 0;     // 0 Tab, 1 Right arrow, any other Enter
  int SavedWidth = 0;
  int SavedHeight = 0;

  // Menu rows kept in the file (checked or not).
  bool bujilucongfu = true;
  bool lianxvfuzi = false;
  bool diaoyongkuaisu = true;
  bool kaiqigudinkuaijie = false;
  bool jiansitupiangesi = true;
  bool ziciwordhtm = true;
  SoundChoice sound = SoundChoice::Windowsminzong;
  bool zidongniantie = false;
  bool danjihoucuxiantisi = true;
  bool qidongjiazaisangcibaocun = true;
  bool jiyicuangtidaxiao = false;
  bool zisexvkuang = true;
  bool menu_tuicubaocunweisujuku = false;

  bool operator==(const Settings&) const = default;
};

// The defaults of a program started in baseDir (a Windows path text, without a final "\").
Settings DefaultSettings(std::u16string_view baseDir);

}  // namespace app
