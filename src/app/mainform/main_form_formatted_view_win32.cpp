// TForm1: the formatted view's side of the main window. N152Click puts the entry on the
// clipboard as a click does and opens it in the view; the first-start introduction is a
// snapshot stream file shown there. The view keeps its own entry; a save finds the entry
// where it now stands and sets its text and snapshot in one step of the model.
#include <span>
#include <utility>

#include "app/files/atomic_file.h"
#include "app/mainform/main_form_win32.h"
#include "app/startup/secondary_windows_win32.h"
#include "app/snapshot/snapshot_clipboard_win32.h"
#include "app/snapshot/snapshot_handlers_win32.h"
#include "gui/dialogs.h"
#include "gui/wide.h"
#include "windows/formatted_view_win32.h"

namespace app {

namespace {
constexpr char16_t kIntroductionFile[] = u"首次启动介绍.liu";
constexpr size_t kMaxIntroduction = size_t{64} << 20;
}  // namespace

void TForm1::SetFormattedView(windows::TForm6* view) {
  Form6 = view;
  if (view) view->SetHost(this);
}

void TForm1::BindFormattedViewCommands() {
  Bind(u"N152Click", [this] { N152Click(); });
  Bind(u"cakansoucijiesaoClick", [this] { cakansoucijiesaoClick(); });
}

void TForm1::N152Click() {
  const int row = SelectedRow();
  if (!Form6 || row < 0 || row >= history_->rowCount()) return;
  NeedWindow(SecondaryWindow::FormattedView);
  // The entry goes on the clipboard as a click puts it: its snapshot only with all formats on.
  // Where it cannot, the view would show what the clipboard held before.
  if (!PutEntryOnClipboard(history_->rowClickPayload(row, Checked(u"ziciwordhtm"))))
    return Form6->ReportEntryNotOnClipboard();
  Form6->ShowEntry(windows::ViewedEntry{row, history_->store().entry(row).text.identity()});
}

void TForm1::cakansoucijiesaoClick() {
  const std::u16string path = paths_.BaseDir + u"\\" + kIntroductionFile;
  if (GetFileAttributesW(gui::W(path)) == INVALID_FILE_ATTRIBUTES) {
    gui::MessageBoxU(u"首次启动介绍.liu 这个文件不存在，无法调入！  " + path, u"出错", MB_OK | MB_ICONERROR);
    return;
  }
  const FileReadResult read = ReadFileBounded(std::filesystem::path(gui::W(path)), kMaxIntroduction);
  const std::span<const std::uint8_t> stream(reinterpret_cast<const std::uint8_t*>(read.bytes.data()), read.bytes.size());
  if (!Form6) return;
  NeedWindow(SecondaryWindow::FormattedView);
  if (read.error || read.truncated || stream.empty() || !Form6->ShowIntroduction(stream, SelectedEntry()))
    gui::MessageBoxU(u"首次启动介绍.liu 这个文件已经损坏，无法调入！  " + path, u"出错", MB_OK | MB_ICONERROR);
}

std::u16string TForm1::ProgramFolder() { return paths_.BaseDir; }

bool TForm1::OwnClipboardWrite(const std::function<void()>& write) { return WriteClipboardOwn(write); }

std::vector<std::uint8_t> TForm1::CaptureClipboard() {
  // The reader serves one read at a time: another program's copy that comes while this one
  // waits is taken up after it, as during a capture.
  const bool busy = std::exchange(capture_.CaptureBusy, true);
  struct TakeUpAfter {
    TForm1& form;
    bool busy;
    ~TakeUpAfter() {
      form.capture_.CaptureBusy = busy;
      if (!busy && form.changePending_) form.TakeUpChangeLater();
    }
  } takeUpAfter{*this, busy};
  try {
    huodejianqiebaoClick(clipboardReader_, ClipSnapshot, WaitForClipboard());
  } catch (...) {
    return {};  // the clipboard stayed busy
  }
  if (!ClipSnapshot) return {};
  return std::vector<std::uint8_t>(ClipSnapshot->begin(), ClipSnapshot->end());
}

bool TForm1::IsSnapshotStream(std::span<const std::uint8_t> bytes) { return ValidateSnapshot(bytes).valid; }

bool TForm1::RestoreSnapshot(std::span<const std::uint8_t> stream) {
  if (!IsSnapshotStream(stream)) return false;
  return WriteClipboardOwn([&] {
    ClipSnapshot = SnapshotBuffer::Make(stream);
    jianqiebaohuifuClick(Handle(), ClipSnapshot, WaitForClipboard());
  });
}

std::optional<windows::ViewedEntry> TForm1::SaveEntryContent(const windows::ViewedEntry& entry, std::u16string_view text,
                                                             std::span<const std::uint8_t> snapshot) {
  const int row = history_->store().findText(entry.row, entry.identity);
  if (row < 0) return std::nullopt;
  history_->changeEntryTexts({EntryTextChange{row, std::u16string(text),
                                              snapshot.empty() ? nullptr : SnapshotBuffer::Make(snapshot)}});
  capture_.LastClipText = std::u16string(text);
  return windows::ViewedEntry{row, history_->store().entry(row).text.identity()};
}

void TForm1::RestoreEntryToClipboard(const windows::ViewedEntry& entry) {
  const int row = history_->store().findText(entry.row, entry.identity);
  if (row < 0) return;
  listSelect(row);
  CheckListBox1Click();
}

}  // namespace app
