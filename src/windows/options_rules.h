// The options dialog's decisions, apart from its controls: what OK makes of the fields, when
// it refuses them, which switch handlers it runs and where the next continuous paste starts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace windows {

inline constexpr int kTextLimitMax = 320000;
inline constexpr int kTextLimitFallback = 300000;
inline constexpr int kStepMin = 1;
inline constexpr int kStepMax = 50;
inline constexpr int kFirstFunctionKey = 112;  // virtual-key code of F1
inline constexpr std::u16string_view kDefaultWindowTitle = u" Quillora12.6";

namespace optionstext {
inline constexpr std::u16string_view kBadIconPath = u"任务栏图标路径不存在，输入有误，请重新设置";
inline constexpr std::u16string_view kUnsavableText = u"标题或图标路径含有无法保存到set文件的字符，请修改";
}  // namespace optionstext

// The settings the dialog shows and edits (the main window's variables; flags -1 or 0).
struct OptionsValues {
  int MaxTextLength = 80000;
  std::u16string TrayIconFile;
  std::u16string WindowTitle{kDefaultWindowTitle};
  int ShowTrayIcon = -1;
  int ContinuousPaste = 0;
  int HotKeyIndex = 8;
  int HotKeyCode = 120;
  int HotKeyAlt = 0;
  int PasteStep = 1;
  int PasteAutoJump = 0;
  int PasteAutoSelect = -1;
  int JumpKey = 0;
  bool operator==(const OptionsValues&) const = default;
};

// `Edit0` to `MaxTextLength`: "0", more than 320000, or no number at all give 300000.
int TextLimitFromField(std::u16string_view text);

// A step field holds a whole number within 1..50.
std::optional<int> StepFromField(std::u16string_view text);
// Both step fields must hold one; otherwise both fall back to 1.
int StepFromFields(std::u16string_view edit3, std::u16string_view edit4);

// `HotKeyCode` of a key index (F1 = 112).
inline int HotKeyCodeOf(int hotKeyIndex) { return hotKeyIndex + kFirstFunctionKey; }

// The extension test of icon paths: ".ico" in any case.
bool HasIconExtension(std::u16string_view path);
// Whether the text survives the ANSI code page of "set" (code page 936) unchanged.
bool FitsSettingsFile(std::u16string_view text);

// Why OK refuses the fields, or nullopt when it takes them. iconUsable: the icon path names an
// existing file with the ".ico" extension that loads as an icon. An empty title is allowed
// (the title stays as it was).
std::optional<std::u16string_view> RefuseOk(std::u16string_view iconPath, bool iconUsable,
                                            std::u16string_view title);

// `PastePosition` after OK changed the step: when the list's selected row is not the paste
// position (a paste moved on from it), the position moves from one old step to one new step
// after the row last pasted; never below 0.
int RebasePastePosition(int pastePosition, int selectedRow, int oldStep, int newStep);

// The continuous paste and copy switches at OK. The paste row always takes the paste box.
struct SwitchChanges {
  bool runPasteSwitch = false;  // run `lianxvniantieClick`
  bool setCopyRow = false;      // `lianxvfuzi` := the copy box, then run `lianxvfuziClick`
  bool operator==(const SwitchChanges&) const = default;
};
SwitchChanges DecideSwitches(bool pasteBox, bool pasteRow, bool copyBox, bool copyRow);

}  // namespace windows
