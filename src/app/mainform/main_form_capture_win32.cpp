// TForm1: the capture of clipboard changes into the history, the check timer that repairs a
// lost place in the viewer chain, the monitoring switch, and the row click that puts an entry
// back on the clipboard.
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <utility>

#include "app/capture/clipboard_session_win32.h"
#include "app/mainform/main_form_win32.h"
#include "app/snapshot/snapshot_clipboard_win32.h"
#include "app/snapshot/snapshot_handlers_win32.h"
#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/guard.h"
#include "gui/modal_loop.h"
#include "gui/wide.h"

namespace app {

namespace {
// How long a capture waits for another program to let go of the clipboard: 40 tries 50 ms
// apart. Beyond that the change is skipped; the check timer catches it up later.
constexpr int kClipboardTries = 40;
constexpr unsigned kClipboardStepMs = 50;
constexpr char16_t kLogonWave[] = u"C:\\Windows\\Media\\Windows XP 登录音.wav";
constexpr char16_t kEntryNotPutText[] = u"剪切板被其他程序占用，条目没有放到剪切板上。";

// Whether a window of this process owns the clipboard: the program wrote it last.
bool ClipboardOwnedHere() {
  DWORD process = 0;
  const HWND owner = GetClipboardOwner();
  return owner && GetWindowThreadProcessId(owner, &process) && process == GetCurrentProcessId();
}
}  // namespace

ClipboardWait TForm1::WaitForClipboard() {
  ClipboardWait wait;
  wait.attempts = kClipboardTries;
  wait.step_ms = kClipboardStepMs;
  wait.between_tries = [] { gui::Application::Instance().ProcessMessages(); };
  return wait;
}

TForm1::ClipboardLook TForm1::LookAtOpenClipboard(bool pictureWithText) {
  ClipboardLook look;
  // The system makes CF_TEXT and CF_OEMTEXT from a Unicode text; a bitmap comes as a DIB.
  look.text = IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_OEMTEXT);
  if (look.text && !pictureWithText) return look;
  look.picture = IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_BITMAP) ||
                 IsClipboardFormatAvailable(CF_ENHMETAFILE) || IsClipboardFormatAvailable(CF_METAFILEPICT);
  return look;
}

std::optional<TForm1::ClipboardLook> TForm1::LookAtClipboard() {
  auto look = std::make_shared<ClipboardLook>();
  if (clipboardReader_.Run(WaitForClipboard(), [look](const std::atomic<bool>&) { *look = LookAtOpenClipboard(true); }) !=
      ClipboardReader::Outcome::Done) {
    return std::nullopt;
  }
  return *look;
}

gui::PastedText TForm1::ReadTextForPaste() {
  auto reads = std::make_shared<SnapshotReads>();
  const ClipboardReader::Outcome outcome = clipboardReader_.Run(
      WaitForClipboard(), [reads](const std::atomic<bool>&) { Clipboardbaocun::ReadOpenClipboardText(*reads); });
  gui::PastedText pasted;
  if (outcome == ClipboardReader::Outcome::Done) {
    const std::optional<ReadFormat> text = reads->Text();
    pasted.status = text ? gui::PastedText::Status::Text : gui::PastedText::Status::NoText;
    if (text) pasted.text = UnicodeTextUpToZero(text->data);
  } else if (outcome == ClipboardReader::Outcome::Late || clipboardReader_.Refusing()) {
    pasted.status = gui::PastedText::Status::Held;
  } else {
    pasted.status = gui::PastedText::Status::Busy;
  }
  return pasted;
}

bool TForm1::HandleMessagesWhileReading() {
  gui::Application& application = gui::Application::Instance();
  if (application.Terminated()) return false;
  application.ProcessMessages();
  return !application.Terminated();
}

std::optional<std::u16string> TForm1::ReadClipboardTextInTime() {
  auto reads = std::make_shared<SnapshotReads>();
  if (clipboardReader_.Run(WaitForClipboard(),
                           [reads](const std::atomic<bool>&) { Clipboardbaocun::ReadOpenClipboardText(*reads); }) !=
      ClipboardReader::Outcome::Done) {
    return std::nullopt;
  }
  const std::optional<ReadFormat> text = reads->Text();
  if (!text) return std::nullopt;
  return UnicodeTextUpToZero(text->data);
}

std::optional<std::u16string> TForm1::SnapshotText(std::span<const std::uint8_t> snapshot) {
  // No snapshot (a read that did not come) holds no text; it is no damaged stream.
  if (snapshot.empty()) return std::nullopt;
  return SnapshotUnicodeText(snapshot);
}

bool TForm1::CopyTextThroughMemo(std::u16string_view text) {
  // Another program may hold the clipboard a moment (a clipboard tool reading the last change):
  // the write waits for it as the program's other clipboard work does, or the user's command
  // would be lost.
  return TryWithPauses(WaitForClipboard(), [&] { return unicode::WriteClipboardTextThroughMemo(myUniMemo, text); });
}

CaptureSettings TForm1::CurrentCaptureSettings() const {
  CaptureSettings settings = captureSettings_;
  settings.monitoring = Checked(u"menuyouxiao");
  settings.refuseRepeats = Checked(u"bujilucongfu");
  return settings;
}

// ---- A close or the session's end inside a wait ---------------------------------------------------

bool TForm1::PutOffCloseWhileBusy() {
  // A wait that handles messages (a read of the clipboard, a paste step's pause) runs below, or
  // a box or dialog of the program runs its loop above: the close would write the exit record
  // and destroy the window under the code that waits, or under the box and the command that
  // opened it (a file dialog's own question crashed when its owner went). It comes again once
  // the outermost wait, or the outermost box, has ended. While the close's own question shows
  // (also inside a wait), a close is that question's (FormClose): it is not asked again.
  gui::Application& application = gui::Application::Instance();
  const bool insideWait = application.InsideWait();
  if (CloseQuestionOpen || (!insideWait && !gui::BoxLoopRuns())) return false;
  // One close waits at a time; the one posted again may land in a later wait and wait again.
  if (!closePutOff_) {
    closePutOff_ = true;
    auto again = [this] {
      closePutOff_ = false;
      PostMessageW(Handle(), WM_CLOSE, 0, 0);
    };
    if (insideWait) application.AfterWaits(std::move(again));
    else gui::AfterBoxLoops(std::move(again));
  }
  return true;
}

void TForm1::FinishRunningCapture() {
  // The session ends whatever happens here: a capture that fails now is lost quietly.
  if (runningCapture_) {
    const std::function<void(ClipboardReader::Outcome)> finish = std::move(runningCapture_);
    runningCapture_ = nullptr;
    try {
      finish(clipboardReader_.FinishRunning());
    } catch (...) {
    }
  }
  // The check timer repairs a copy it read and no capture has taken yet: it is stored now.
  const std::optional<MissedCopy> copy = std::exchange(missedCopyInRepair_, std::nullopt);
  if (copy && capture_.LastClipText != copy->text) {
    try {
      StoreMissedText(*copy);
    } catch (...) {
    }
  }
}

void TForm1::RunCaptureRead(const ClipboardReader::Read& read, std::function<void(ClipboardReader::Outcome)> finish) {
  // A capture runs one read at a time (CaptureBusy): this read is the one the session's end
  // finishes, whichever step of the capture it is.
  runningCapture_ = std::move(finish);
  const ClipboardReader::Outcome outcome = clipboardReader_.Run(WaitForClipboard(), read);
  if (!runningCapture_) return;  // finished already, from inside the wait
  const std::function<void(ClipboardReader::Outcome)> done = std::move(runningCapture_);
  runningCapture_ = nullptr;
  done(outcome);
}

// ---- WM_DRAWCLIPBOARD -----------------------------------------------------------------------

void TForm1::WMDrawClipboard() {
  // The notification of this window's own joining is taken as a change but not passed on: the
  // other viewers' clipboard did not change, and the successor is not known yet.
  const bool joining = std::exchange(joiningChain_, false);
  TakeClipboardChange(!joining);
}

void TForm1::TakeUpChangeLater() {
  if (!PostMessageW(Handle(), kPendingChangeMessage, 0, 0)) changePending_ = false;
}

void TForm1::TakeUpPendingChange() {
  if (!changePending_ || capture_.CaptureBusy) return;  // a running capture posts it again
  changePending_ = false;
  // Seen already: the capture or the check timer that ran read the clipboard after it changed.
  if (lastSeenSequence_ != 0 && GetClipboardSequenceNumber() == lastSeenSequence_) return;
  TakeClipboardChange(false);
}

void TForm1::TakeClipboardChange(bool fromChain) {
  // The program's own writes are told from other programs' copies by the clipboard's sequence
  // number, never by counting notifications (its own may come late, or after another's): while
  // a write of its own runs nothing is taken (a copy of another program that came meanwhile is
  // taken up after it), and a clipboard whose number the program has read or left itself
  // brings nothing new.
  if (ownWriteInProgress_ || ClipboardSeenAlready()) {
    if (ownWriteInProgress_) changePending_ = true;
    if (fromChain) ForwardClipboardMessage(WM_DRAWCLIPBOARD, 0, 0);
    return;
  }
  const CaptureSettings settings = CurrentCaptureSettings();
  // While long list work hands out paint messages, a capture would change the rows under it:
  // the change is passed on, and the check timer catches it up afterwards.
  // While a read given up is still inside its owner nothing is read: the change is taken up
  // when it comes back (kReadFreedMessage).
  const ChangeVerdict verdict =
      listBusy_ > 0 || clipboardReader_.Held() ? ChangeVerdict::Busy : BeginClipboardChange(capture_, settings);
  if (verdict != ChangeVerdict::Capture) {
    // A capture or the check timer handles messages while its reads wait (and the timer while it
    // looks for a late capture): a change that comes then is another program's copy (a picture
    // would be lost for good), taken up afterwards. So is one announced while a read given up is
    // held in its owner: the last such copy is taken when that read comes back.
    if (verdict == ChangeVerdict::Busy && listBusy_ == 0 &&
        (capture_.CaptureBusy || clipboardReader_.Waiting() || clipboardReader_.Held())) {
      changePending_ = true;
    }
    if (fromChain) ForwardClipboardMessage(WM_DRAWCLIPBOARD, 0, 0);
    return;
  }
  // Every notification is passed on, also when this capture fails.
  struct Finish {
    TForm1& form;
    bool fromChain;
    ~Finish() {
      if (fromChain) form.ForwardClipboardMessage(WM_DRAWCLIPBOARD, 0, 0);
      form.capture_.CaptureBusy = false;
      if (form.changePending_) form.TakeUpChangeLater();
    }
  } finish{*this, fromChain};

  // One opening and one hand-over to the reader's thread: the look at the formats, the text
  // and, when the text is going to be stored, its snapshot (huodejianqiebaoClick within the
  // same opening, so no other program can change the clipboard between the reads); then the
  // clipboard is closed, before the list and the sounds. They are read within the budget: the
  // owner may render late or hang (and under Wine a look waits for it too).
  auto change = std::make_shared<ChangeReads>();
  const CaptureForecast forecast{capture_, settings, history_->rowCount(), SelectedRow()};
  const unsigned answerMs = clipboardReader_.budget().ownerAnswerMs;
  RunCaptureRead(
      [change, forecast, answerMs](const std::atomic<bool>& stop) { ReadChange(*change, forecast, stop, answerMs); },
      [this, settings, change](ClipboardReader::Outcome outcome) { FinishCapture(settings, *change, outcome); });
}

void TForm1::ReadChange(ChangeReads& change, const CaptureForecast& forecast, const std::atomic<bool>& stop,
                        unsigned ownerAnswerMs) {
  change.sequence = GetClipboardSequenceNumber();
  change.look = LookAtOpenClipboard(false);
  if (change.look.text) {
    Clipboardbaocun::ReadOpenClipboardText(change.reads);
    const std::optional<ReadFormat> text = change.reads.Text();
    change.snapshotRead = text && forecast.WouldStore(UnicodeTextUpToZero(text->data));
  }
  change.textRead = true;
  if (change.snapshotRead) Clipboardbaocun::ReadOpenClipboardFormats(change.reads, stop, change.owner, ownerAnswerMs);
}

void TForm1::FinishCapture(const CaptureSettings& settings, ChangeReads& change, ClipboardReader::Outcome outcome) {
  // Another program holds the clipboard, or its owner kept the look or the text from coming in
  // time: the change counts as not seen, and the check timer catches it up.
  if (outcome == ClipboardReader::Outcome::Busy) return;
  if (!change.textRead) {
    lastSeenSequence_ = 0;
    if (outcome != ClipboardReader::Outcome::Failed) return;
  } else {
    lastSeenSequence_ = change.sequence;
  }
  try {
    if (outcome == ClipboardReader::Outcome::Failed) throw std::runtime_error("the clipboard could not be read");
    if (change.look.text) {
      CaptureText(settings, change);
    } else {
      CaptureWithoutText(change.look.picture);
    }
  } catch (...) {
    Timer1.SetEnabled(false);
    PlayWaveIfExists(kLogonWave);
    Timer1.SetEnabled(true);
  }
}

void TForm1::CaptureText(const CaptureSettings& settings, ChangeReads& change) {
  // A text that could not be read is no empty entry; the change counts as not seen, and the
  // check timer catches it up.
  const std::optional<ReadFormat> textFormat = change.reads.Text();
  if (!textFormat) {
    lastSeenSequence_ = 0;
    return;
  }
  const std::u16string text = UnicodeTextUpToZero(textFormat->data);
  // What the owner has not rendered when the budget is spent is left out; the text stays.
  StoreClipboardText(settings, text, [&](const SnapshotStore& store) {
    if (change.snapshotRead) {
      store(change.reads.Kept());
    } else {
      ReadSnapshotOfUnchangedClipboard(change.sequence, *textFormat, store);
    }
  });
}

void TForm1::ReadSnapshotOfUnchangedClipboard(DWORD sequence, const ReadFormat& text, const SnapshotStore& store) {
  // The forecast turned the text down, but a message handled while the reads waited changed
  // what the decision goes by. The snapshot is read now from the same clipboard only; a
  // clipboard changed meanwhile leaves the entry its text alone.
  auto reads = std::make_shared<SnapshotReads>();
  reads->SetText(text);
  const unsigned answerMs = clipboardReader_.budget().ownerAnswerMs;
  RunCaptureRead(
      [reads, sequence, answerMs](const std::atomic<bool>& stop) {
        if (GetClipboardSequenceNumber() != sequence) return;
        Clipboardbaocun::OwnerQuestion owner;
        Clipboardbaocun::ReadOpenClipboardFormats(*reads, stop, owner, answerMs);
      },
      [reads, store](ClipboardReader::Outcome) { store(reads->Kept()); });
}

void TForm1::StoreClipboardText(const CaptureSettings& settings, const std::u16string& text,
                                const SnapshotTaker& takeSnapshot) {
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
  bool stored = false;
  try {
    // The snapshot may come from a read that the session's end finishes from inside its wait:
    // then the entry is stored there, before the exit record is written.
    takeSnapshot([&](SnapshotBytes snapshot) {
      ClipSnapshot = SnapshotBuffer::Make(std::move(snapshot));
      {
        // The new row and the rows its selection touches are drawn once, at the next paint.
        const unicode::TUniCheckListBox::TRowPaintDeferral paintLater(CheckListBox1);
        const CaptureAppend added = history_->appendCapture(text, ClipSnapshot);
        if (added.row >= 0) PastePosition = added.row;
      }
      stored = true;
      RecordStoredText(text);
    });
  } catch (...) {
    // Nothing was stored (the snapshot failed): the change stays unseen, so that the check
    // timer takes it up later.
    if (!stored) {
      UndoTextCapture(capture_, before, text);
      lastSeenSequence_ = 0;
    }
    throw;
  }
}

void TForm1::RecordStoredText(const std::u16string& text) {
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

void TForm1::CaptureWithoutText(bool picture) {
  // A change without text never becomes an entry; its picture may go to the picture slots.
  // Only a change that holds a picture opens the clipboard again (an emptied one does not).
  if (DecidePictureChange(capture_, Checked(u"jiansitupiangesi")) && picture) StoreClipboardPicture();
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
    // Under a menu's or a box's own loop the look waits: its wait would hold that loop up
    // (and the owner may be slow). The next tick after the loop looks.
    // After the session's end (its steps ran inside a wait) nothing more is read or stored.
    if (capture_.CaptureBusy || gui::ModalLoopRuns() || SessionEnding) return;
    capture_.CaptureBusy = true;
    Timer1.SetEnabled(false);
    if (const std::optional<ClipboardLook> look = LookAtClipboard(); look && !SessionEnding) {
      if (look->picture && PictureRepairDue()) {
        RepairClipboardPicture();
        capture_.CaptureBusy = true;  // its put-back was captured; the text's repair runs alone
      }
      if (look->text && !SessionEnding) RepairMissedText();
    }
    capture_.CaptureBusy = false;
    Timer1.SetEnabled(true);
  } catch (...) {
    capture_.CaptureBusy = false;
    Timer1.SetEnabled(true);
  }
  if (changePending_) TakeUpChangeLater();
}

void TForm1::RepairMissedText() {
  // Only a clipboard that changed since the program last looked at it can hold a missed text
  // (emptying the last text with "清除最后一条记录记忆" must not re-post what is there).
  if (GetClipboardSequenceNumber() == lastSeenSequence_) return;
  const std::optional<std::u16string> read = ReadClipboardTextInTime();
  if (!read || SessionEnding || !ClipboardTextMissed(capture_, CurrentCaptureSettings(), *read)) return;
  // Its snapshot is read before the look for a late capture: should the session end during the
  // look or the put-back, the copy is stored from it before the exit record is written.
  const std::optional<MissedCopy> copy = ReadMissedCopy(*read);
  if (!copy) return;
  missedCopyInRepair_ = copy;
  struct EndOfRepair {
    std::optional<MissedCopy>& copy;
    ~EndOfRepair() { copy.reset(); }
  } endOfRepair{missedCopyInRepair_};
  switch (LookForLateCapture(*copy)) {
    case LateCapture::Came:
    case LateCapture::SessionEnded:
      return;
    case LateCapture::Announced:
      // The chain works and the change is taken up after the timer, when it is still the copy's
      // and can be read: not when the clipboard changed since (a row click wrote it during the
      // look) or when the snapshot's read was given up (a clipboard whose owner did not give
      // what was asked for is not read again). Then the copy is stored as it was read.
      if (copy->givenUp || GetClipboardSequenceNumber() != copy->sequence) StoreMissedText(*copy);
      return;
    case LateCapture::Missed:
      break;
  }
  // The change was missed: this window lost its place in the viewer chain. Join again and
  // put the clipboard's content back, which raises a fresh change that is captured.
  JoinClipboardChain();
  PlaySoundFile(u"出错.wav");
  ClipSnapshot = copy->snapshot;
  // Not when the owner renders late or not at all (putting back what was read would take from
  // the clipboard what it has not rendered yet), nor when the clipboard changed since the read:
  // the text is stored with what was read, as the capture of the change would have stored it.
  if (!copy->whole || GetClipboardSequenceNumber() != copy->sequence) return StoreMissedText(*copy);
  capture_.CaptureBusy = false;
  capture_.SkipNextClipChange = false;
  jianqiebaohuifuClick(Handle(), ClipSnapshot, WaitForClipboard());
}

std::optional<TForm1::MissedCopy> TForm1::ReadMissedCopy(const std::u16string& text) {
  auto reads = std::make_shared<SnapshotReads>();
  auto sequence = std::make_shared<std::atomic<DWORD>>(0);
  const ClipboardReader::Read readSnapshot = ReadSnapshotInto(reads, clipboardReader_.budget().ownerAnswerMs);
  std::optional<MissedCopy> copy;
  RunCaptureRead(
      [readSnapshot, sequence](const std::atomic<bool>& stop) {
        *sequence = GetClipboardSequenceNumber();
        readSnapshot(stop);
      },
      [this, reads, sequence, text, &copy](ClipboardReader::Outcome outcome) {
        ThrowUnlessRead(outcome);
        const bool whole = outcome == ClipboardReader::Outcome::Done && reads->Whole();
        const MissedCopy read{text, SnapshotBuffer::Make(reads->Kept()), *sequence, whole,
                              outcome == ClipboardReader::Outcome::Late};
        // Finished by the session's end from inside the read's wait: stored now, nothing more.
        if (SessionEnding) return StoreMissedText(read);
        copy = read;
      });
  return copy;
}

TForm1::LateCapture TForm1::LookForLateCapture(const MissedCopy& copy) {
  // News of a change that comes meanwhile shows the window is in the chain: that change is
  // taken up once the timer is done (changePending_).
  for (int check = 0; check < 10; ++check) {
    if (check > 0) {
      Sleep(50);
      gui::Application::Instance().ProcessMessages();
    }
    if (SessionEnding) return LateCapture::SessionEnded;
    if (capture_.LastClipText == copy.text) return LateCapture::Came;
    if (changePending_) return LateCapture::Announced;
  }
  return LateCapture::Missed;
}

void TForm1::StoreMissedText(const MissedCopy& copy) {
  const std::optional<std::u16string> snapshotText = SnapshotUnicodeText(*copy.snapshot);
  if (snapshotText != copy.text) return;  // the clipboard changed meanwhile: that change comes on its own
  // The clipboard the snapshot was read from counts as seen, not what is on it now: another
  // program's copy since then is still to be taken. A later one the program read or wrote
  // itself meanwhile (a row click's) stays seen.
  if (lastSeenSequence_ == 0 || static_cast<LONG>(copy.sequence - lastSeenSequence_) > 0) {
    lastSeenSequence_ = copy.sequence;
  }
  ClipSnapshot = copy.snapshot;
  StoreClipboardText(CurrentCaptureSettings(), copy.text, [&](const SnapshotStore& store) {
    store(SnapshotBytes(copy.snapshot->begin(), copy.snapshot->end()));
  });
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
    // The window stayed in the chain while off (it passed notifications on); joining again
    // would put it in twice. What was copied meanwhile is taken now.
    TakeClipboardChange(false);
    Timer1.SetEnabled(true);
  } else {
    Timer1.SetEnabled(false);
  }
}

// ---- Snapshot capture and restore as the hidden menu's subroutines --------------------------------

void TForm1::BindSnapshotCommands() {
  Bind(u"huodejianqiebaoClick", [this] { huodejianqiebaoClick(clipboardReader_, ClipSnapshot, WaitForClipboard()); });
  Bind(u"jianqiebaohuifuClick", [this] { jianqiebaohuifuClick(Handle(), ClipSnapshot, WaitForClipboard()); });
}

// ---- A click on a row -------------------------------------------------------------------------

void TForm1::CheckListBox1Click() {
  const int row = SelectedRow();
  if (row < 0 || row >= history_->rowCount()) return;
  PastePosition = row;
  if (!history_->fixedView()) repaintBookmarks();
  if (!PutEntryOnClipboard(history_->rowClickPayload(row, Checked(u"ziciwordhtm")))) return ReportEntryNotPut();
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

bool TForm1::PutEntryOnClipboard(const ClipboardPayload& payload) {
  if (payload.snapshot && WriteClipboardOwn([&] {
        capture_.LastClipText = payload.text;
        ClipSnapshot = payload.snapshot;
        jianqiebaohuifuClick(Handle(), ClipSnapshot, WaitForClipboard());
      })) {
    return true;
  }
  // Without a snapshot, or when it could not be written (the clipboard stayed busy, or the
  // stream is damaged), the text alone goes. An empty text writes nothing: alone it fails
  // nothing, but in place of a snapshot it leaves the old content to be pasted.
  if (payload.snapshot && payload.text.empty()) return false;
  bool placed = false;
  WriteClipboardOwn([&] {
    capture_.LastClipText = payload.text;
    placed = CopyTextThroughMemo(payload.text);
  });
  return placed;
}

void TForm1::ReportEntryNotPut() {
  gui::MessageBoxU(kEntryNotPutText, u"出错", MB_OK | MB_ICONERROR);
}

void TForm1::SoundEntryNotPut() { PlaySoundFile(u"出错.wav"); }

bool TForm1::ClipboardSeenAlready() const {
  return lastSeenSequence_ != 0 && GetClipboardSequenceNumber() == lastSeenSequence_;
}

bool TForm1::WriteClipboardOwn(const std::function<void()>& write) {
  // Another program's copy that has not been taken yet (its notification may still be on its
  // way) would be lost under the write: it is taken first.
  if (!ownWriteInProgress_ && !ClipboardSeenAlready()) TakeClipboardChange(false);
  const DWORD before = GetClipboardSequenceNumber();
  const bool outer = !std::exchange(ownWriteInProgress_, true);
  bool failed = false;
  try {
    write();
  } catch (...) {
    failed = true;
  }
  if (outer) ownWriteInProgress_ = false;
  // What the write left counts as seen, so that its notification, whenever it comes, takes
  // nothing; not when the write changed nothing, or another program wrote after it.
  const DWORD after = GetClipboardSequenceNumber();
  const bool changed = after != before && ClipboardOwnedHere();
  if (changed) lastSeenSequence_ = after;
  if (outer && changePending_) TakeUpChangeLater();
  return changed && !failed;
}

}  // namespace app
