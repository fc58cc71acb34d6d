// TForm1: continuous paste and copy driven by the system-wide keyboard hook, the switches
// around them (the options dialog's creation switches the saved ones on).
#include <windows.h>

#include <string>

#include "app/capture/clipboard_session_win32.h"
#include "app/mainform/main_form_win32.h"
#include "desktop/send_keys_win32.h"
#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/guard.h"
#include "gui/wide.h"
#include "windows/options_form_win32.h"

namespace app {

namespace {
constexpr char16_t kHookFailed[] = u"键盘钩子启动失败，请重新启动程序";
constexpr char16_t kFriendlyCaption[] = u"友情提示";
constexpr char16_t kCyclicWarning[] =
    u"这将循环粘贴，没有终点，没有结束，要特别当心，这很容易误操作，也正因为如此，所以该设置不能保存，以免影响他人使用，最好不要开启这个选项！";
constexpr char16_t kWrapSoundWarning[] =
    u"跳回到第一行时发声提示你，并且停止一手，键按得快时也很容易误操作，要特别当心！也正因为如此，所以该设置不能保存，以免影响他人使用";
constexpr UINT kFixedPasteDelayMs = 300;
constexpr UINT kWrapPauseMs = 4000;
}  // namespace

// ---- The hooks ------------------------------------------------------------------------------

void TForm1::SetUpHooks() {
  // The library restored at start-up is the one loaded: it lies in the start-up folder.
  SysKeyboardHook1.Name = u"SysKeyboardHook1";
  SysKeyboardHook1.SetAllowFiltering(false);
  SysKeyboardHook1.SetHookDLL(paths_.BaseDir + u"\\SysHookDLL");
  SysKeyboardHook1.OnKeyAction = [this](desktop::TSysKeyboardHook&, int32_t vk, uint16_t, uint8_t, bool, bool alt,
                                        bool, bool pressed, bool&) { SysKeyboardHook1KeyAction(vk, alt, pressed); };
  SysMouseHook1.Name = u"SysMouseHook1";
  SysMouseHook1.SetHookDLL(paths_.BaseDir + u"\\SysHookDLL");
  AddTimer(FixedPasteTimer, kFixedPasteDelayMs, false);
  AddTimer(WrapPauseTimer, kWrapPauseMs, false);
  WrapPauseTimer.OnTimer = [this] {
    WrapPauseTimer.SetEnabled(false);
    paste_.WrapPauseActive = false;
  };
}

void TForm1::StopHooks() {
  SysKeyboardHook1.Stop();
  SysMouseHook1.Stop();
}

bool TForm1::StartKeyboardHook() {
  if (!SysKeyboardHook1.Active()) {
    std::u16string error;
    SysKeyboardHook1.Start(error);
  }
  if (!SysKeyboardHook1.Active()) gui::ShowMessage(kHookFailed);
  return SysKeyboardHook1.Active();
}

PasteSwitches TForm1::CurrentPasteSwitches() const {
  PasteSwitches s;
  s.fixedKeys = Checked(u"kaiqigudinkuaijie");
  s.continuousCopy = Checked(u"lianxvfuzi");
  s.continuousPaste = Checked(u"lianxvniantie");
  s.cyclicPaste = Checked(u"xunhuanniantie");
  s.wrapSound = Checked(u"xunhuanfasen");
  s.HotKeyCode = settings_.HotKeyCode;
  s.HotKeyAlt = settings_.HotKeyAlt != 0;
  return s;
}

// ---- The key decision carried out ----------------------------------------------------------------

void TForm1::SysKeyboardHook1KeyAction(int32_t VirtualKeyCode, bool altIsDown, bool keyIsBeingPressed) {
  PasteList list;
  list.rowCount = history_->rowCount();
  list.selectedRow = SelectedRow();
  list.PastePosition = PastePosition;
  list.FixedEntryCount = fixed_.FixedEntryCount();
  const KeyAction action =
      DecideKeyAction(paste_, CurrentPasteSwitches(), {VirtualKeyCode, altIsDown, keyIsBeingPressed}, list);
  switch (action.kind) {
    case KeyActionKind::None:
      return;
    case KeyActionKind::Alarm:
      PlaySoundFile(u"报警.wav");
      return;
    case KeyActionKind::PasteFixed:
      PasteFixedEntry(action.fixedDigit);
      return;
    case KeyActionKind::CopyStep:
    case KeyActionKind::PasteStep:
      fasongwenbenClick();
      return;
    case KeyActionKind::WrapAndPaste:
      listSelect(0);
      PastePosition = 0;
      fasongwenbenClick();
      return;
    case KeyActionKind::WrapAndPause:
      listSelect(0);
      PastePosition = 0;
      PlaySoundFile(u"现在跳回第一行.wav");
      // The next press after the pause pastes row 0; the ones during it paste nothing.
      paste_.WrapPauseActive = true;
      WrapPauseTimer.SetEnabled(true);
      return;
  }
}

void TForm1::SendKeyString(const std::string& keys, bool wait) {
  try {
    desktop::SendKeys(keys, wait);
  } catch (const desktop::SendKeysCountError&) {
    // Only our own key strings come here, and they hold no counts.
  }
}

// ---- One step -------------------------------------------------------------------------------------

void TForm1::fasongwenbenClick() {
  if (Checked(u"lianxvfuzi")) CopyStep();
  else PasteStepAtPosition();
}

void TForm1::CopyStep() {
  capture_.CopyStepPending = true;
  capture_.CopyStepCaptured = false;
  for (const std::string& keys : PlanCopyStep(Checked(u"zidongtiaodao"), settings_.JumpKey, settings_.PasteStep))
    SendKeyString(keys, false);
}

void TForm1::PasteStepAtPosition() {
  const int row = PastePosition;
  if (row < 0 || row >= history_->rowCount()) {
    PlaySoundFile(u"报警.wav");
    return;
  }
  listSelect(row);
  const std::u16string text(history_->store().EntryTexts(row));
  const PasteStepPlan plan =
      PlanPasteStep(text, PastePosition, settings_.PasteStep, settings_.PasteAutoJump != 0, settings_.JumpKey);
  if (plan.stopped) {
    PlaySoundFile(u"报警.wav");
    return;
  }
  // The keys would paste what the clipboard held before: the step is not made, and the
  // position stays for the next try.
  if (!PutPasteTextOnClipboard(row)) return SoundEntryNotPut();
  for (const std::string& keys : plan.keys) SendKeyString(keys, false);
  PlaySoundFile(u"按键.wav");
  PastePosition = plan.nextPosition;
}

bool TForm1::PutPasteTextOnClipboard(int row) {
  const std::u16string text(history_->store().EntryTexts(row));
  if (!text.empty()) return PutEntryOnClipboard(history_->rowClickPayload(row, Checked(u"ziciwordhtm")));
  // An empty entry pastes an empty text (the memo cannot copy an empty selection).
  bool opened = false;
  WriteClipboardOwn([&] {
    capture_.LastClipText.clear();
    opened = TryWithPauses(WaitForClipboard(), [this] { return OpenClipboard(Handle()) != FALSE; });
    if (!opened) return;
    EmptyClipboard();
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(wchar_t))) {
      *static_cast<wchar_t*>(GlobalLock(block)) = L'\0';
      GlobalUnlock(block);
      if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
    }
    CloseClipboard();
  });
  return opened;
}

// ---- The switches ------------------------------------------------------------------------------

void TForm1::lianxvniantieClick() {
  const bool both = Checked(u"lianxvniantie") && Checked(u"lianxvfuzi");
  if (both) SetChecked(u"lianxvfuzi", false);
  MirrorSwitchBoxes(Checked(u"lianxvniantie"), both ? std::optional<bool>(false) : std::nullopt);
  const bool on = Checked(u"lianxvniantie");
  settings_.ContinuousPaste = on ? -1 : 0;
  if (on) StartKeyboardHook();
  // The hook is never stopped here: it runs until the program ends.
  paste_.HookActionArmed = HookActionArmedFor(CurrentPasteSwitches());
}

void TForm1::lianxvfuziClick() {
  const bool both = Checked(u"lianxvfuzi") && Checked(u"lianxvniantie");
  if (both) {
    SetChecked(u"lianxvniantie", false);
    settings_.ContinuousPaste = 0;
  }
  MirrorSwitchBoxes(both ? std::optional<bool>(false) : std::nullopt, Checked(u"lianxvfuzi"));
  if (Checked(u"lianxvfuzi")) {
    // Copy steps repeat texts, which refusing repeats would throw away.
    SetChecked(u"bujilucongfu", false);
    StartKeyboardHook();
  }
  paste_.HookActionArmed = HookActionArmedFor(CurrentPasteSwitches());
}

void TForm1::bujilucongfuClick() {
  if (Checked(u"bujilucongfu") && Checked(u"lianxvfuzi")) {
    gui::ShowMessage(u"连续复制将被关闭，你已无法使用连续复制");
    SetChecked(u"lianxvfuzi", false);
    lianxvfuziClick();
  }
  capture_.CopyStepCaptured = false;
}

void TForm1::zidongtiaodaoClick() {
  if (Form2) Form2->SetJumpBoxes(Checked(u"zidongtiaodao"));
  settings_.PasteAutoJump = Checked(u"zidongtiaodao") ? -1 : 0;
}

void TForm1::xunhuanniantieClick() {
  if (Checked(u"xunhuanniantie")) gui::MessageBoxU(kCyclicWarning, kFriendlyCaption, MB_OK);
}

void TForm1::xunhuanfasenClick() {
  if (Checked(u"xunhuanfasen")) gui::MessageBoxU(kWrapSoundWarning, kFriendlyCaption, MB_OK);
}

void TForm1::kaiqigudinkuaijieClick() {
  if (Checked(u"kaiqigudinkuaijie")) StartKeyboardHook();
  paste_.HookActionArmed = HookActionArmedFor(CurrentPasteSwitches());
}

void TForm1::N74Click() {
  const int rows = history_->rowCount();
  if (rows <= 0) return;
  int checked = 0;
  for (int i = 0; i < rows; ++i) checked += history_->store().checked(i) ? 1 : 0;
  gui::ShowMessage(u"记录总数=" + gui::U(std::to_wstring(rows)) + u"\r\r打钩的记录总数=" +
                   gui::U(std::to_wstring(checked)));
}

void TForm1::BindPasteCommands() {
  Bind(u"fasongwenbenClick", [this] { fasongwenbenClick(); });
  Bind(u"lianxvniantieClick", [this] { lianxvniantieClick(); });
  Bind(u"lianxvfuziClick", [this] { lianxvfuziClick(); });
  Bind(u"bujilucongfuClick", [this] { bujilucongfuClick(); });
  Bind(u"zidongtiaodaoClick", [this] { zidongtiaodaoClick(); });
  Bind(u"xunhuanniantieClick", [this] { xunhuanniantieClick(); });
  Bind(u"xunhuanfasenClick", [this] { xunhuanfasenClick(); });
  Bind(u"kaiqigudinkuaijieClick", [this] { kaiqigudinkuaijieClick(); });
  Bind(u"N74Click", [this] { N74Click(); });
  Bind(u"N61Click", [this] { OpenInEditor(paths_.HelpDir + u"\\什么是连续粘贴.txt"); });
  Bind(u"N75Click", [this] { OpenInEditor(paths_.HelpDir + u"\\什么是连续复制.txt"); });
}

}  // namespace app
