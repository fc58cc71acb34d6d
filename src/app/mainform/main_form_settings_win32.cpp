// TForm1: the settings file "set": read at start, written at exit, and the menu rows around it.
#include <windows.h>

#include "app/mainform/main_form_win32.h"
#include "app/settings/settings_file.h"
#include "gui/dialogs.h"
#include "unicode/codepage.h"

namespace app {

namespace {
std::u16string RowName(SettingsRow row) { return unicode::Utf8ToUtf16(SettingsRowName(row)); }
}  // namespace

std::filesystem::path TForm1::BaseFolder() const { return std::filesystem::path(paths_.BaseDir); }

COLORREF TForm1::ListTextColor() const {
  // Colours of the window framework: a negative value names a system colour by its low byte.
  const int value = settings_.ListFontColor;
  if (value < 0) return GetSysColor(value & 0xFF);
  return static_cast<COLORREF>(value);
}

void TForm1::ReadSettingsFile() { duruseziwenjianClick(); }

void TForm1::duruseziwenjianClick() {
  const SettingsReadResult read = LoadSettingsFile(SettingsFilePath(BaseFolder()), settings_);
  settings_ = read.values;
  for (const RowCheck& check : read.rowChecks) SetChecked(RowName(check.row), check.checked);
  // Line 4 as at start-up: the tray icon and its row follow it (the icon exists from the end
  // of start-up on, which reads the file first and makes the icon by the value).
  const bool showIcon = settings_.ShowTrayIcon != 0;
  SetChecked(u"xiansituopan", showIcon);
  if (TrayIcon1) TrayIcon1->SetActive(showIcon);
  if (read.applyListFont) ApplyListFont();
  if (!read.pasteStepCaption.empty()) MainMenu1.SetCaption(u"xiayistep", read.pasteStepCaption);
  if (!read.textLengthCaption.empty()) MainMenu1.SetCaption(u"menucangdu", read.textLengthCaption);
  captureSettings_.maxTextLength = settings_.MaxTextLength;
  if (!read.message.empty()) gui::MessageBoxU(read.message, settingstext::kErrorCaption, MB_OK);
}

SoundChoice TForm1::CurrentSoundChoice() const {
  if (Checked(u"laosisen")) return SoundChoice::laosisen;
  if (Checked(u"Windowsminzong")) return SoundChoice::Windowsminzong;
  return SoundChoice::wusen;
}

void TForm1::CollectStoredRows() {
  settings_.bujilucongfu = Checked(u"bujilucongfu");
  settings_.lianxvfuzi = Checked(u"lianxvfuzi");
  settings_.diaoyongkuaisu = Checked(u"diaoyongkuaisu");
  settings_.kaiqigudinkuaijie = Checked(u"kaiqigudinkuaijie");
  settings_.jiansitupiangesi = Checked(u"jiansitupiangesi");
  settings_.ziciwordhtm = Checked(u"ziciwordhtm");
  settings_.sound = CurrentSoundChoice();
  settings_.zidongniantie = Checked(u"zidongniantie");
  settings_.danjihoucuxiantisi = Checked(u"danjihoucuxiantisi");
  settings_.qidongjiazaisangcibaocun = Checked(u"qidongjiazaisangcibaocun");
  settings_.jiyicuangtidaxiao = Checked(u"jiyicuangtidaxiao");
  settings_.zisexvkuang = Checked(u"zisexvkuang");
  settings_.menu_tuicubaocunweisujuku = Checked(u"menu_tuicubaocunweisujuku");
}

void TForm1::WriteSettingsFile() { mu_savesuxinClick(); }

void TForm1::mu_savesuxinClick() {
  CollectStoredRows();
  // A minimised or maximised window is remembered at its normal size.
  WINDOWPLACEMENT placement{sizeof placement};
  GetWindowPlacement(Handle(), &placement);
  const RECT& normal = placement.rcNormalPosition;
  const auto file = SettingsFilePath(BaseFolder());
  if (const std::error_code error =
          SaveSettingsFile(file, settings_, normal.right - normal.left, normal.bottom - normal.top)) {
    ReportWriteFailure(WrittenFile::Settings, file.u16string(), error);
  }
}

void TForm1::jiyicuangtidaxiaoClick() {
  if (!Checked(u"jiyicuangtidaxiao")) SetBounds(Left(), Top(), ScaledWidth, ScaledHeight);
}

void TForm1::RestoreRememberedSize() {
  if (Checked(u"jiyicuangtidaxiao") && ShouldRestoreSavedSize(settings_, Width(), Height())) {
    SetBounds(Left(), Top(), settings_.SavedWidth, settings_.SavedHeight);
  }
}

void TForm1::zidongniantieClick() {
  if (Checked(u"zidongniantie")) {
    gui::MessageBoxU(settingstext::kAutoPasteHint, settingstext::kFriendlyCaption, MB_OK);
  }
}

void TForm1::BindSettingsCommands() {
  Bind(u"duruseziwenjianClick", [this] { duruseziwenjianClick(); });
  Bind(u"mu_savesuxinClick", [this] { mu_savesuxinClick(); });
  Bind(u"jiyicuangtidaxiaoClick", [this] { jiyicuangtidaxiaoClick(); });
  Bind(u"zidongniantieClick", [this] { zidongniantieClick(); });
}

}  // namespace app
