// The settings file "set" of `BaseDir`: 30 lines of code page 936 text, one value per
// line in a fixed order, each line ended by CR LF. The reader returns the values and,
// as data, what the main window must do with them (check marks, captions, boxes); the
// writer returns the exact bytes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/settings/settings_values.h"
#include "windows/options_captions.h"

namespace app {

namespace settingstext {
inline constexpr std::u16string_view kErrorCaption = u"出错";
inline constexpr std::u16string_view kFriendlyCaption = u"友情提示";
inline constexpr std::u16string_view kMissingFile = u"出错！set设置文件不存在";
inline constexpr std::u16string_view kUnreadable =
    u"set设置文件数据出错，无法读取，你可以删除它，软件会自动重建的";
// `zidongniantieClick`, when the row is checked after the click (titled kFriendlyCaption).
inline constexpr std::u16string_view kAutoPasteHint =
    u"如果你选择主窗口方式操作，则双击后选中的文本自动粘贴到对应的文字编辑框，但是不支持托盘方式和填表模式，注意：这种方式可能会引起误操作，要小心！";
}  // namespace settingstext

inline constexpr int kSettingsLineCount = 30;
// "set" is a few hundred bytes; nothing past this is looked at.
inline constexpr std::size_t kMaxSettingsFileBytes = 64 * 1024;

// Menu rows whose check mark reading "set" sets (the stored ones, and `lianxvniantie`
// and `xiansituopan`, which follow the continuous-paste and tray-icon values).
enum class SettingsRow {
  xiansituopan, lianxvniantie, bujilucongfu, lianxvfuzi, diaoyongkuaisu, kaiqigudinkuaijie,
  jiansitupiangesi, ziciwordhtm, wusen, laosisen, Windowsminzong, zidongniantie,
  danjihoucuxiantisi, qidongjiazaisangcibaocun, jiyicuangtidaxiao, zisexvkuang,
  menu_tuicubaocunweisujuku,
};
std::string_view SettingsRowName(SettingsRow row);

struct RowCheck {
  SettingsRow row;
  bool checked;
  bool operator==(const RowCheck&) const = default;
};

enum class SettingsReadStatus {
  Read,     // all 30 lines read (values out of their range were replaced, see message)
  Missing,  // no file: nothing changes but the box kMissingFile
  Corrupt,  // reading stopped at a bad line: the lines before it are applied
};

struct SettingsReadResult {
  Settings values;  // the settings handed in, with every line read applied
  SettingsReadStatus status = SettingsReadStatus::Read;
  std::u16string_view message;  // a box titled settingstext::kErrorCaption, or empty
  int linesRead = 0;            // lines applied, in file order
  // Check marks set by the lines read, in file order (the features themselves are
  // started later by the main window's and the options dialog's creation).
  std::vector<RowCheck> rowChecks;
  bool hideTrayIcon = false;         // line 4 held 0: hide the tray icon
  bool applyListFont = false;        // line 10 was read: FontDialog1 and the list get the font
  std::u16string pasteStepCaption;   // caption of `xiayistep`, once line 12 was read
  std::u16string textLengthCaption;  // caption of `menucangdu`, unless the file is missing
};

std::filesystem::path SettingsFilePath(const std::filesystem::path& baseDir);

// `duruseziwenjianClick`. `current` holds the values before reading (the defaults at
// start-up); lines not read keep them. `truncated`: the bytes are only the file's start.
SettingsReadResult ParseSettingsFile(std::string_view bytes, const Settings& current, bool truncated = false);
SettingsReadResult LoadSettingsFile(const std::filesystem::path& file, const Settings& current);

// `mu_savesuxinClick`: the 30 lines, with the main window's current size on lines 27 and 28.
std::string FormatSettingsFile(const Settings& settings, int windowWidth, int windowHeight);
std::error_code SaveSettingsFile(const std::filesystem::path& file, const Settings& settings, int windowWidth,
                                  int windowHeight);

// The captions of `xiayistep` and `menucangdu` (shared with the options dialog).
using windows::PasteStepCaption;
using windows::TextLengthCaption;

// The first show's remembered size: only with `jiyicuangtidaxiao` checked, a saved size
// that is a real size, and a window at least that large.
bool ShouldRestoreSavedSize(const Settings& settings, int windowWidth, int windowHeight);

}  // namespace app
