#include "app/snapshot/snapshot_clipboard_win32.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "app/capture/clipboard_session_win32.h"
#include "app/snapshot/snapshot_formats.h"

namespace app::Clipboardbaocun {

namespace {

// Registered names fit 128 characters; the buffer has room for the terminating zero.
constexpr int kFormatNameBuffer = 129;

std::string FormatName(UINT format) {
  char buffer[kFormatNameBuffer] = {};
  const int length = GetClipboardFormatNameA(format, buffer, kFormatNameBuffer);
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

// The number a record goes back under now: looked up by name for registered formats,
// 0 when it cannot be restored.
UINT FormatNumberNow(const SnapshotFormat& record) {
  const auto id = static_cast<std::uint32_t>(record.id);
  if (!clipformat::SnapshotRecordRestorable(id, !record.name.empty())) return 0;
  if (record.name.empty()) return id;
  return RegisterClipboardFormatA(record.name.c_str());
}

// Hands a prepared block to the clipboard, which owns it from then on.
void SetFormatData(UINT format, GlobalMemory block) {
  if (SetClipboardData(format, block.get()) == nullptr) ThrowLastSystemError();
  block.release();
}

struct PreparedFormat {
  UINT format;
  GlobalMemory block;
};

}  // namespace

SnapshotBytes SaveClipboard(HWND owner, const ClipboardWait& wait) {
  const ClipboardSession session(owner, wait);
  return SaveOpenClipboard();
}

SnapshotBytes SaveOpenClipboard() {
  SnapshotWriter writer;
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
    SaveClipboardFormat(format, writer);
  return std::move(writer).Finish();
}

bool SaveClipboardFormat(UINT format, SnapshotWriter& writer) {
  const std::optional<ReadFormat> record = ReadClipboardFormat(format);
  if (!record) return false;
  writer.AddFormat(record->id, record->name, record->data);
  return true;
}

std::optional<ReadFormat> ReadClipboardFormat(UINT format) {
  if (!clipformat::ClipboardFormatHoldsData(format)) return std::nullopt;
  const GlobalMemoryLock lock(GetClipboardData(format));
  const auto bytes = lock.bytes();
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    return std::nullopt;
  return ReadFormat{static_cast<std::int32_t>(format), FormatName(format), SnapshotBytes(bytes.begin(), bytes.end())};
}

namespace {
// The questions this thread asked and the last one answered (numbers grow, so an answer that
// comes after its question was given up cannot be taken for a later one's).
thread_local unsigned tLastQuestion = 0;
thread_local unsigned tLastAnswer = 0;

void CALLBACK OwnerAnswered(HWND, UINT, ULONG_PTR question, LRESULT) {
  tLastAnswer = std::max(tLastAnswer, static_cast<unsigned>(question));
}

DWORD TimeLeft(DWORD deadline, DWORD now) {
  const auto left = static_cast<LONG>(deadline - now);
  return left > 0 ? static_cast<DWORD>(left) : 0;
}
}  // namespace

void OwnerQuestion::Ask() {
  asked_ = true;
  askedAt_ = GetTickCount();
  HWND owner = GetClipboardOwner();
  DWORD process = 0;
  if (owner != nullptr) GetWindowThreadProcessId(owner, &process);
  if (owner == nullptr || process == GetCurrentProcessId()) {
    answered_ = true;
    return;
  }
  const unsigned question = ++tLastQuestion;
  if (SendMessageCallbackW(owner, WM_NULL, 0, 0, OwnerAnswered, question)) question_ = question;
}

bool OwnerQuestion::Answered(unsigned answerMs) {
  if (!asked_) Ask();
  if (answered_ || question_ == 0) return answered_;
  for (;;) {
    // The answer comes to this thread as it looks at its messages (none else come to it).
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (tLastAnswer >= question_) return answered_ = true;
    const DWORD left = TimeLeft(askedAt_ + answerMs, GetTickCount());
    if (left == 0) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void ReadOpenClipboardText(SnapshotReads& reads) {
  if (std::optional<ReadFormat> text = ReadClipboardFormat(CF_UNICODETEXT)) reads.SetText(std::move(*text));
}

void ReadOpenClipboardFormats(SnapshotReads& reads, const std::atomic<bool>& stop, OwnerQuestion& owner,
                              unsigned ownerAnswerMs) {
  if (!reads.HasText()) ReadOpenClipboardText(reads);
  if (stop) return;
  const bool haveText = reads.HasText();
  for (UINT format = EnumClipboardFormats(0); format != 0 && !stop; format = EnumClipboardFormats(format)) {
    if (format == CF_UNICODETEXT && haveText) {
      reads.AddText();
      continue;
    }
    // The system makes the other text formats and the locale from the text and asks the owner
    // nothing for them. Any other format may be one the owner promised and renders only when it
    // is asked for: a silent owner would hold this thread in it, so only an owner that answered
    // is asked (the entry keeps what was read before).
    const bool madeFromText = haveText && (format == CF_TEXT || format == CF_OEMTEXT || format == CF_LOCALE);
    if (!madeFromText && !owner.Answered(ownerAnswerMs)) return;
    if (std::optional<ReadFormat> record = ReadClipboardFormat(format)) reads.Add(std::move(*record));
  }
  if (!stop) reads.MarkWhole();
}

std::optional<SnapshotBytes> CopyClipboardFormatToStream(UINT format) {
  const GlobalMemoryLock lock(GetClipboardData(format));
  if (!lock.locked()) return std::nullopt;
  const auto bytes = lock.bytes();
  return SnapshotBytes(bytes.begin(), bytes.end());
}

void CopyStreamToClipboardFormat(UINT format, std::span<const std::uint8_t> bytes) {
  SetFormatData(format, GlobalMemory::CopyOf(bytes));
}

bool LoadClipboardFormat(const SnapshotFormat& record) {
  if (record.data.empty()) return false;
  const UINT format = FormatNumberNow(record);
  if (format == 0) return false;
  CopyStreamToClipboardFormat(format, record.data);
  return true;
}

std::size_t LoadClipboard(HWND owner, std::span<const std::uint8_t> snapshot, const ClipboardWait& wait) {
  const DecodedSnapshot decoded = DecodeSnapshot(snapshot);
  std::vector<PreparedFormat> prepared;
  prepared.reserve(decoded.formats.size());
  for (const auto& record : decoded.formats) {
    if (record.data.empty()) continue;
    const UINT format = FormatNumberNow(record);
    if (format != 0) prepared.push_back({format, GlobalMemory::CopyOf(record.data)});
  }

  ClipboardSession session(owner, wait);
  if (!EmptyClipboard()) ThrowLastSystemError();
  for (auto& item : prepared) SetFormatData(item.format, std::move(item.block));
  return prepared.size();
}

}  // namespace app::Clipboardbaocun
