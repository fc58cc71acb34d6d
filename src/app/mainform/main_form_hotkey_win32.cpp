// TForm1: the Alt+C hot key that brings the window to the front from any program, and
// select-to-copy, which sends Ctrl+C after a mouse drag anywhere on the desktop.
#include <windows.h>

#include "app/hotkey/alt_c_hot_key.h"
#include "app/mainform/main_form_win32.h"
#include "gui/application.h"
#include "gui/dialogs.h"

namespace app {

namespace {
constexpr char16_t kFriendlyCaption[] = u"友情提示";
constexpr char16_t kSelectToCopyWarning[] =
    u"这将启动划词复制功能，鼠标拖动选择一段文字后自动复制，由于可能引起误操作，该设置不能被保存！";
constexpr char16_t kMouseHookFailed[] = u"鼠标钩子启动失败，本功能已无法使用，请重新启动本程序";
constexpr char16_t kHotKeyFailed[] =
    u"Alt+C 热键注册失败（可能已被其他程序占用），“调用快速窗口”暂时无法使用。该选项仍会保存，下次启动时再试。";
}  // namespace

// ---- Alt+C ---------------------------------------------------------------------------------------

void TForm1::RegisterAltCHotKey() {
  if (Checked(u"diaoyongkuaisu")) diaoyongkuaisuClick();
}

void TForm1::UnregisterAltCHotKey() {
  // At close, after the settings were written: the saved choice stays.
  if (!Checked(u"diaoyongkuaisu")) return;
  SetChecked(u"diaoyongkuaisu", false);
  diaoyongkuaisuClick();
}

void TForm1::diaoyongkuaisuClick() {
  if (Checked(u"diaoyongkuaisu")) {
    if (hotKeyRegistered_) return;
    const ATOM atom = GlobalAddAtomW(reinterpret_cast<const wchar_t*>(kHotKeyAtomName));
    HotKeyId = HotKeyIdFromAtom(atom);
    hotKeyRegistered_ = atom != 0 && RegisterHotKey(Handle(), HotKeyId, kModAlt, kKeyC);
    if (hotKeyRegistered_) return;
    // Another program holds Alt+C: the row keeps the user's choice, the atom goes, and the
    // user hears of it once.
    if (atom) GlobalDeleteAtom(atom);
    if (!hotKeyFailureShown_) {
      hotKeyFailureShown_ = true;
      gui::MessageBoxU(kHotKeyFailed, kFriendlyCaption, MB_OK | MB_ICONWARNING);
    }
    return;
  }
  if (!hotKeyRegistered_) return;
  UnregisterHotKey(Handle(), HotKeyId);
  GlobalDeleteAtom(AtomOfHotKeyId(HotKeyId));
  hotKeyRegistered_ = false;
}

bool TForm1::WMHotKey(LPARAM lp) {
  if (!IsAltCHotKey(static_cast<uint32_t>(lp))) return false;
  if (TrayIcon1 && TrayIcon1->ApplicationHidden()) {
    TrayIcon1->ShowApplication();
  } else if (IsIconic(Handle()) || !Visible()) {
    ShowWindow(Handle(), SW_RESTORE);
  }
  BringToFront();
  CheckListBox1.SetFocus();
  return true;
}

// ---- Select-to-copy -------------------------------------------------------------------------------

void TForm1::huacifuziClick() {
  // Unchecking leaves the hook running: its events are not looked at then.
  if (!Checked(u"huacifuzi")) return;
  gui::MessageBoxU(kSelectToCopyWarning, kFriendlyCaption, MB_OK);
  if (MouseHookStarted || SysMouseHook1.Active()) return;
  std::u16string error;
  SysMouseHook1.Start(error);
  if (!SysMouseHook1.Active()) {
    SysMouseHook1.Stop();
    SetChecked(u"huacifuzi", false);
    gui::ShowMessage(kMouseHookFailed);
    return;
  }
  MouseHookStarted = true;
}

void TForm1::SysMouseHook1MouseClick(desktop::TMouseButton button, desktop::TSysMouseButtonMovement movement) {
  if (!Checked(u"huacifuzi")) return;
  if (mouseDrag_.Click(button, movement)) SendKeyString("^c", false);
}

void TForm1::SysMouseHook1MouseMove() {
  if (Checked(u"huacifuzi")) mouseDrag_.Move();
}

void TForm1::BindHotKeyCommands() {
  Bind(u"diaoyongkuaisuClick", [this] { diaoyongkuaisuClick(); });
  Bind(u"huacifuziClick", [this] { huacifuziClick(); });
  SysMouseHook1.OnMouseClick = [this](desktop::TSysMouseHook&, uint32_t, int32_t, int32_t, desktop::TMouseButton button,
                                      desktop::TSysMouseButtonMovement movement) {
    SysMouseHook1MouseClick(button, movement);
  };
  SysMouseHook1.OnMouseMove = [this](desktop::TSysMouseHook&, uint32_t, int32_t, int32_t) { SysMouseHook1MouseMove(); };
}

}  // namespace app
