// TForm1: the notification-area icon TrayIcon1 and its menu PopupMenu2: the icon's set-up at
// start and its release at close, the left click that hides or shows the program, the entry
// rows' click, and the tray commands.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "app/mainform/main_form_win32.h"
#include "app/tray/tray_entry_open.h"
#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/wide.h"

namespace app {

namespace {
constexpr char16_t kDesignHint[] = u"Quillora";

void ShellOpenMaximized(HWND owner, const std::u16string& file, const std::u16string& parameters) {
  ShellExecuteW(owner, L"open", gui::W(file), parameters.empty() ? nullptr : gui::W(parameters), nullptr,
                SW_SHOWMAXIMIZED);
}
}  // namespace

// ---- Start-up and close ---------------------------------------------------------------------

void TForm1::SetUpTrayIcon() {
  trayPlatform_ = desktop::MakeWin32TrayPlatform(Handle());
  trayPopup_ = std::make_unique<desktop::MenuTrayPopup>(PopupMenu2, Handle());
  TrayIcon1 = std::make_unique<desktop::TTrayIcon>(*trayPlatform_);
  // The component's form values: hide on minimise, the product name as hint, the tray menu,
  // the program's own picture.
  TrayIcon1->SetAutoHide(true);
  TrayIcon1->SetHint(kDesignHint);
  TrayIcon1->SetPopupMenu(trayPopup_.get());
  TrayIcon1->SetIcon(reinterpret_cast<uintptr_t>(gui::Application::Instance().Icon()));
  TrayIcon1->OnClick = [this](desktop::TTrayIcon&, desktop::TMouseButton, desktop::TShiftState, int, int) {
    TrayIcon1Click();
  };
  // "set" line 4 held 0.
  if (settings_.ShowTrayIcon == 0) TrayIcon1->SetActive(false);
  // Loaded (added to the tray) by StartTrayIcon.
}

bool TForm1::StartTrayIcon() {
  if (!TrayIcon1 || trayStarted_) return false;
  trayStarted_ = true;
  TrayIcon1->Loaded();
  return true;
}

void TForm1::ReleaseTrayIcon() {
  TrayIcon1.reset();
  trayPopup_.reset();
  trayPlatform_.reset();
}

void TForm1::BindTrayCommands() {
  Bind(u"tuopantuicuClick", [this] { tuopantuicuClick(); });
  Bind(u"xiansituopanClick", [this] { xiansituopanClick(); });
  Bind(u"tuopanjiansiClick", [this] { tuopanjiansiClick(); });
  Bind(u"rejianClick", [] {});
  gui::Application::Instance().OnMinimize = [this] { Minimize(); };
}

// ---- The icon and the tray commands -------------------------------------------------------------

void TForm1::TrayIcon1Click() {
  if (!TrayIcon1) return;
  if (!IsIconic(Handle())) TrayIcon1->HideApplication();
  else TrayIcon1->ShowApplication();
}

void TForm1::Minimize() {}

void TForm1::tuopantuicuClick() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

void TForm1::tuopanjiansiClick() {
  SetChecked(u"tuopanjiansi", !Checked(u"tuopanjiansi"));
  menuyouxiaoClick();
}

void TForm1::xiansituopanClick() {
  const bool show = !Checked(u"xiansituopan");
  SetChecked(u"xiansituopan", show);
  settings_.ShowTrayIcon = show ? -1 : 0;
  if (!TrayIcon1) return;
  if (show) TrayIcon1->ShowIcon();
  else TrayIcon1->HideIcon();
}

// ---- An entry row of the tray menu --------------------------------------------------------------

void TForm1::mytuopanClick(int entry) {
  if (entry < 0 || entry >= history_->rowCount()) return;
  listSelect(entry);
  PastePosition = entry;
  if (!PutEntryOnClipboard(history_->rowClickPayload(entry, Checked(u"ziciwordhtm")))) ReportEntryNotPut();
  const TrayOpen open = DecideTrayOpen(history_->store().EntryTexts(entry), Checked(u"dakai"), Checked(u"menuinter"),
                                       [](const std::u16string& path) { return gui::FolderExists(path); });
  switch (open.kind) {
    case TrayOpenKind::Nothing:
      break;
    case TrayOpenKind::FolderMissing:
      gui::ShowMessage(open.message);
      break;
    case TrayOpenKind::Computer:
    case TrayOpenKind::Folder:
    case TrayOpenKind::WebAddress:
      ShellOpenMaximized(Handle(), open.program, open.parameters);
      break;
  }
}

}  // namespace app
