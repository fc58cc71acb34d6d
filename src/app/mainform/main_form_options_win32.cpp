// TForm1: the options dialog's side of the main window: the rows that open it, what the dialog
// reads and writes through windows::OptionsHost, and the check boxes the switches mirror.
#include "app/mainform/main_form_win32.h"
#include "app/startup/secondary_windows_win32.h"
#include "gui/application.h"
#include "gui/file_dialogs.h"
#include "gui/wide.h"
#include "windows/options_control_ids.h"
#include "windows/options_form_win32.h"

namespace app {

namespace {
const char16_t* RowName(windows::OptionsRow row) {
  using windows::OptionsRow;
  switch (row) {
    case OptionsRow::kaiqigudinkuaijie: return u"kaiqigudinkuaijie";
    case OptionsRow::lianxvniantie: return u"lianxvniantie";
    case OptionsRow::lianxvfuzi: return u"lianxvfuzi";
    case OptionsRow::zidongtiaodao: return u"zidongtiaodao";
    case OptionsRow::xiansituopan: return u"xiansituopan";
    case OptionsRow::menucangdu: return u"menucangdu";
    case OptionsRow::menurejiandinyi: return u"menurejiandinyi";
    case OptionsRow::menutiaogeseziwei: return u"menutiaogeseziwei";
    case OptionsRow::xiayistep: return u"xiayistep";
  }
  return u"";
}
}  // namespace

void TForm1::BindOptionsCommands() {
  namespace id = windows::optionsid;
  Bind(u"menusuxinClick", [this] { OpenOptions(-1); });
  Bind(u"menucangduClick", [this] { OpenOptions(id::kLengthTab); });
  for (const char16_t* handler : {u"N78Click", u"menurejiandinyiClick", u"menutiaogeseziweiClick"}) {
    Bind(handler, [this] { OpenOptions(id::kPasteTab); });
  }
  Bind(u"N71Click", [this] { OpenOptions(id::kCopyTab); });
}

void TForm1::OpenOptions(int tab) {
  NeedWindow(SecondaryWindow::Options);
  if (Form2) Form2->OpenOnTab(tab);
}

void TForm1::MirrorSwitchBoxes(std::optional<bool> pasteBox, std::optional<bool> copyBox) {
  // While the dialog is being created its boxes are loaded by the creation itself.
  if (!Form2 || Form2->OptionsFormPending) return;
  if (pasteBox) Form2->SetPasteBox(*pasteBox);
  if (copyBox) Form2->SetCopyBox(*copyBox);
}

windows::OptionsValues TForm1::OptionValues() const {
  windows::OptionsValues v;
  v.MaxTextLength = settings_.MaxTextLength;
  v.TrayIconFile = settings_.TrayIconFile;
  v.WindowTitle = settings_.WindowTitle;
  v.ShowTrayIcon = settings_.ShowTrayIcon;
  v.ContinuousPaste = settings_.ContinuousPaste;
  v.HotKeyIndex = settings_.HotKeyIndex;
  v.HotKeyCode = settings_.HotKeyCode;
  v.HotKeyAlt = settings_.HotKeyAlt;
  v.PasteStep = settings_.PasteStep;
  v.PasteAutoJump = settings_.PasteAutoJump;
  v.PasteAutoSelect = settings_.PasteAutoSelect;
  v.JumpKey = settings_.JumpKey;
  return v;
}

void TForm1::SetOptionValues(const windows::OptionsValues& v) {
  settings_.MaxTextLength = v.MaxTextLength;
  settings_.TrayIconFile = v.TrayIconFile;
  settings_.WindowTitle = v.WindowTitle;
  settings_.ShowTrayIcon = v.ShowTrayIcon;
  settings_.ContinuousPaste = v.ContinuousPaste;
  settings_.HotKeyIndex = v.HotKeyIndex;
  settings_.HotKeyCode = v.HotKeyCode;
  settings_.HotKeyAlt = v.HotKeyAlt;
  settings_.PasteStep = v.PasteStep;
  settings_.PasteAutoJump = v.PasteAutoJump;
  settings_.PasteAutoSelect = v.PasteAutoSelect;
  settings_.JumpKey = v.JumpKey;
  // The next capture measures against the new limit.
  captureSettings_.maxTextLength = settings_.MaxTextLength;
}

bool TForm1::RowChecked(windows::OptionsRow row) const { return Checked(RowName(row)); }
void TForm1::SetRowChecked(windows::OptionsRow row, bool checked) { SetChecked(RowName(row), checked); }
void TForm1::SetRowCaption(windows::OptionsRow row, std::u16string_view caption) {
  MainMenu1.SetCaption(RowName(row), caption);
}

void TForm1::SetApplicationTitle(std::u16string_view title) {
  gui::Application::Instance().SetTitle(std::u16string(title));
  SetCaption(title);
}

void TForm1::SetApplicationIcon(const std::u16string& iconFile) {
  gui::UniqueIcon big(static_cast<HICON>(LoadImageW(nullptr, gui::W(iconFile), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                    GetSystemMetrics(SM_CYICON), LR_LOADFROMFILE)));
  if (!big) return;
  gui::UniqueIcon small(static_cast<HICON>(LoadImageW(nullptr, gui::W(iconFile), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                      LR_LOADFROMFILE)));
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small.get() : big.get()));
  gui::Application::Instance().SetIcon(big.get());
  Image1.SetIcon(big.get());
  appIconBig_ = std::move(big);
  appIconSmall_ = std::move(small);
}

void TForm1::TrayShowIcon() {
  if (TrayIcon1) TrayIcon1->ShowIcon();
}
void TForm1::TrayHideIcon() {
  if (TrayIcon1) TrayIcon1->HideIcon();
}
void TForm1::TraySetHint(std::u16string_view hint) {
  if (TrayIcon1) TrayIcon1->SetHint(hint);
}
void TForm1::TraySetUseAppIcon(bool use) {
  if (TrayIcon1) TrayIcon1->SetUseAppIcon(use);
}
void TForm1::TraySetAutoHide(bool autoHide) {
  if (TrayIcon1) TrayIcon1->SetAutoHide(autoHide);
}

std::optional<std::u16string> TForm1::BrowseForFile(std::u16string_view filter, std::u16string_view folder) {
  // The list dialogs are described afresh each time (folder "保存", filter "text(*.txt)|*.txt"),
  // so this one changes nothing they use.
  gui::FileDialogSpec dialog;
  dialog.filter = std::u16string(filter);
  dialog.initialDir = std::u16string(folder);
  const gui::FileDialogResult result = gui::OpenFileDialog(Handle(), dialog);
  if (!result.ok) return std::nullopt;
  return result.file;
}

}  // namespace app
