// TForm1: the capture of clipboard changes into the history, the check timer that repairs a
// lost place in the viewer chain, the monitoring switch, and the row click that puts an entry
// back on the clipboard.
#include <windows.h>

#include "app/capture/clipboard_session_win32.h"
#include "app/mainform/main_form_win32.h"
#include "app/snapshot/snapshot_clipboard_win32.h"
#include "app/snapshot/snapshot_handlers_win32.h"
#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/guard.h"
#include "gui/wide.h"

namespace app {

namespace {
// How long a capture waits for another program to let go of the clipboard: 40 tries 50 ms
// apart. Beyond that the change is skipped; the check timer catches it up later.
constexpr int kClipboardTries = 40;
constexpr unsigned kClipboardStepMs = 50;
constexpr char16_t kLogonWave[] = u"C:\\Windows\\Media\\Windows XP 登录音.wav";
}  // namespace

ClipboardWait TForm1::WaitForClipboard() {
  ClipboardWait wait;
  wait.attempts = kClipboardTries;
  wait.step_ms = kClipboardStepMs;
  wait.between_tries = [] { gui::Application::Instance().ProcessMessages(); };
  return wait;
}

bool TForm1::ClipboardOpens() {
  try {
    const ClipboardSession session(Handle(), WaitForClipboard());
    return true;
  } catch (const ClipboardError&) {
    return false;
  }
}

std::optional<std::u16string> TForm1::ClipboardTextThroughMemo() {
  return unicode::ReadClipboardTextThroughMemo(myUniMemo);
}

void TForm1::CopyTextThroughMemo(std::u16string_view text) {
  // Another program may hold the clipboard a moment (a clipboard tool reading the last change):
  // the write waits for it as the program's other clipboard work does, or the user's command
  // would be lost.
  TryWithPauses(WaitForClipboard(), [&] { return unicode::WriteClipboardTextThroughMemo(myUniMemo, text); });
}

bool TForm1::ClipboardHasText() const {
  return IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_OEMTEXT);
}

CaptureSettings TForm1::CurrentCaptureSettings() const {
  CaptureSettings settings = captureSettings_;
  settings.monitoring = Checked(u"menuyouxiao");
  settings.refuseRepeats = Checked(u"bujilucongfu");
  return settings;
}

// ---- WM_DRAWCLIPBOARD -----------------------------------------------------------------------

void TForm1::WMDrawClipboard() {
  // The own-write flag belongs to one write. A flag still set from a write that never reached
  // the clipboard, or whose notification was turned away while a capture ran, must not
  // swallow the user's next copy: this change is the program's own only when the clipboard
  // is still as its write left it.
  if (capture_.SkipNextClipChange && !ownWriteInProgress_ && GetClipboardSequenceNumber() != ownWriteSequence_) {
    capture_.SkipNextClipChange = false;
  }
  const CaptureSettings settings = CurrentCaptureSettings();
  // While long list work hands out paint messages, a capture would change the rows under it:
  // the change is passed on, and the check timer catches it up afterwards.
  if (listBusy_ > 0 || BeginClipboardChange(capture_, settings) != ChangeVerdict::Capture) {
    ForwardClipboardMessage(WM_DRAWCLIPBOARD, 0, 0);
    return;
  }
  // Every notification is passed on, also when this capture fails.
  struct Finish {
    TForm1& form;
    ~Finish() {
      form.ForwardClipboardMessage(WM_DRAWCLIPBOARD, 0, 0);
      form.capture_.CaptureBusy = false;
    }
  } finish{*this};

  // The clipboard stays open from the wait until the text and its snapshot are read: one
  // opening instead of three, and no other program can change it between the two reads.
  std::optional<ClipboardSession> clipboard;
  try {
    clipboard.emplace(Handle(), WaitForClipboard());
  } catch (const ClipboardError&) {
    return;  // another program holds it: the check timer tries again
  }
  lastSeenSequence_ = GetClipboardSequenceNumber();
  try {
    if (ClipboardHasText()) {
      CaptureText(settings, clipboard);
    } else {
      clipboard.reset();
      CaptureWithoutText();
    }
  } catch (...) {
    clipboard.reset();
    Timer1.SetEnabled(false);
    PlayWaveIfExists(kLogonWave);
    Timer1.SetEnabled(true);
  }
}

void TForm1::CaptureText(const CaptureSettings& settings, std::optional<ClipboardSession>& clipboard) {
  // A text that could not be read is no empty entry; the change counts as not seen, and the
  // check timer catches it up.
  const std::optional<std::u16string> read = ClipboardTextThroughMemo();
  if (!read) {
    lastSeenSequence_ = 0;
    return;
  }
  const std::u16string& text = *read;
  const int rows = history_->rowCount();
  const CaptureState before = capture_;
  switch (DecideTextCapture(capture_, settings, text, rows, SelectedRow())) {
    case TextVerdict::RefuseRepeat:
      if (!Checked(u"wusen")) PlaySoundFile(u"拒绝添加重复.wav");
      return;
    case TextVerdict::ListFull:
    case TextVerdict::TooLong:
    case TextVerdict::RefuseCopyRepeat:
      return;
    case TextVerdict::Store:
      break;
  }
  CaptureAppend added;
  try {
    // The snapshot of the clipboard the text was read from (huodejianqiebaoClick within the
    // opening above); the clipboard goes back before the list and the sounds.
    ClipSnapshot = SnapshotBuffer::Make(Clipboardbaocun::SaveOpenClipboard());
    clipboard.reset();
    // The new row and the rows its selection touches are drawn once, at the next paint.
    const unicode::TUniCheckListBox::TRowPaintDeferral paintLater(CheckListBox1);
    added = history_->appendCapture(text, ClipSnapshot);
  } catch (...) {
    // Nothing was stored (the snapshot failed): the change stays unseen, so that the check
    // timer takes it up later.
    UndoTextCapture(capture_, before, text);
    lastSeenSequence_ = 0;
    throw;
  }
  if (added.row >= 0) PastePosition = added.row;

  // The autosave record is written before the handler returns (a program that sees the new row
  // may read the file at once); the sound and the focus follow one turn of the message loop
  // later, after a program waiting for the row has had its answer, still before the row is
  // painted. A failed record is heard after them, as before.
  const CaptureEffects effects{CurrentSoundChoice(),
                               !SuppressListFocus && !gui::Application::Instance().Minimized()};
  try {
    if (Checked(u"menuquang")) AppendAutoSaveRecord(text);
  } catch (...) {
    CaptureEffectsNow(effects);
    throw;
  }
  PostCaptureEffects(effects);
}

void TForm1::PostCaptureEffects(const CaptureEffects& effects) {
  if (!PostMessageW(Handle(), kCaptureEffectsMessage, static_cast<WPARAM>(effects.sound), effects.focusList)) {
    CaptureEffectsNow(effects);
  }
}

void TForm1::CaptureEffectsNow(const CaptureEffects& effects) {
  sounds_->PlayAddSound(effects.sound);
  if (effects.focusList && !gui::Application::Instance().Minimized()) CheckListBox1.SetFocus();
}

void TForm1::CaptureWithoutText() {
  // A change without text never becomes an entry; its picture may go to the picture slots.
  if (DecidePictureChange(capture_, Checked(u"jiansitupiangesi"))) StoreClipboardPicture();
}

// ---- The check timer --------------------------------------------------------------------------

void TForm1::Timer1Timer() {
  if (!Checked(u"menuyouxiao")) return;
  try {
    if (capture_.ListFullPending) {
      Timer1.SetEnabled(false);
      gui::Application::Instance().Restore();
      gui::ShowMessage(u"文本太多大于>100000，无法添加");
      capture_.ListFullPending = false;
      Timer1.SetEnabled(true);
      return;
    }
    if (capture_.CaptureBusy) return;
    capture_.CaptureBusy = true;
    Timer1.SetEnabled(false);
    if (ClipboardOpens()) {
      if (PictureRepairDue()) RepairClipboardPicture();
      if (ClipboardHasText()) RepairMissedText();
    }
    capture_.CaptureBusy = false;
    Timer1.SetEnabled(true);
  } catch (...) {
    capture_.CaptureBusy = false;
    Timer1.SetEnabled(true);
  }
}

void TForm1::RepairMissedText() {
  // Only a clipboard that changed since the program last looked at it can hold a missed text
  // (emptying the last text with "清除最后一条记录记忆" must not re-post what is there).
  if (GetClipboardSequenceNumber() == lastSeenSequence_) return;
  const std::optional<std::u16string> read = ClipboardTextThroughMemo();
  if (!read || !ClipboardTextMissed(capture_, CurrentCaptureSettings(), *read)) return;
  const std::u16string& text = *read;
  // A late capture may still arrive: look again a few times before calling it missed.
  for (int check = 0; check < 10; ++check) {
    if (check > 0) {
      Sleep(50);
      gui::Application::Instance().ProcessMessages();
    }
    if (capture_.LastClipText == text) return;
  }
  // The change was missed: this window lost its place in the viewer chain. Join again and
  // put the clipboard's content back, which raises a fresh change that is captured.
  JoinClipboardChain();
  PlaySoundFile(u"出错.wav");
  huodejianqiebaoClick(Handle(), ClipSnapshot, WaitForClipboard());
  capture_.CaptureBusy = false;
  capture_.SkipNextClipChange = false;
  jianqiebaohuifuClick(Handle(), ClipSnapshot, WaitForClipboard());
}

// ---- The monitoring switch --------------------------------------------------------------------

void TForm1::menuyouxiaoClick() {
  capture_.CaptureBusy = true;
  const bool on = !Checked(u"menuyouxiao");
  SetChecked(u"menuyouxiao", on);
  SetChecked(u"tuopanjiansi", on);
  speedjianqie.SetDown(on);
  capture_.CaptureBusy = false;
  if (on) {
    JoinClipboardChain();
    Timer1.SetEnabled(true);
  } else {
    // The window stays in the chain and only passes notifications on.
    Timer1.SetEnabled(false);
  }
}

// ---- Snapshot capture and restore as the hidden menu's subroutines --------------------------------

void TForm1::BindSnapshotCommands() {
  Bind(u"huodejianqiebaoClick", [this] { huodejianqiebaoClick(Handle(), ClipSnapshot, WaitForClipboard()); });
  Bind(u"jianqiebaohuifuClick", [this] { jianqiebaohuifuClick(Handle(), ClipSnapshot, WaitForClipboard()); });
}

// ---- A click on a row -------------------------------------------------------------------------

void TForm1::CheckListBox1Click() {
  const int row = SelectedRow();
  if (row < 0 || row >= history_->rowCount()) return;
  PastePosition = row;
  if (!history_->fixedView()) repaintBookmarks();
  PutEntryOnClipboard(history_->rowClickPayload(row, Checked(u"ziciwordhtm")));
  ShowClickHintFor(row);
}

void TForm1::yicunwenbenfasongClick() {
  // The row click with "支持带格式的文本" taken as off: the text alone goes to the clipboard.
  const bool allFormats = Checked(u"ziciwordhtm");
  SetChecked(u"ziciwordhtm", false);
  struct Restore {
    TForm1& form;
    bool value;
    ~Restore() { form.SetChecked(u"ziciwordhtm", value); }
  } restore{*this, allFormats};
  CheckListBox1Click();
}

void TForm1::PutEntryOnClipboard(const ClipboardPayload& payload) {
  capture_.LastClipText = payload.text;
  bool written = false;
  if (payload.snapshot) {
    ClipSnapshot = payload.snapshot;
    written = WriteClipboardOwn([&] { jianqiebaohuifuClick(Handle(), ClipSnapshot, WaitForClipboard()); });
  }
  // Without a snapshot, or when it could not be written (the clipboard stayed busy, or the
  // stream is damaged), the text alone goes.
  if (!written) WriteClipboardOwn([&] { CopyTextThroughMemo(payload.text); });
}

bool TForm1::WriteClipboardOwn(const std::function<void()>& write) {
  const DWORD before = GetClipboardSequenceNumber();
  capture_.SkipNextClipChange = true;
  ownWriteInProgress_ = true;
  bool failed = false;
  try {
    write();
  } catch (...) {
    failed = true;
  }
  ownWriteInProgress_ = false;
  ownWriteSequence_ = GetClipboardSequenceNumber();
  lastSeenSequence_ = ownWriteSequence_;
  // Nothing reached the clipboard (an empty text, or a write that failed): no change will come
  // to clear the flag, so it goes now.
  const bool changed = ownWriteSequence_ != before;
  if (!changed) capture_.SkipNextClipChange = false;
  return changed && !failed;
}

}  // namespace app
