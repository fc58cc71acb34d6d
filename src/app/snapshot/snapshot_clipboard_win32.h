// Clipboardbaocun: the whole clipboard to a snapshot stream and back (snapshot_stream.h).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "app/capture/clipboard_wait.h"
#include "app/snapshot/snapshot_reads.h"
#include "app/snapshot/snapshot_stream.h"

namespace app::Clipboardbaocun {

// A snapshot of every format on the clipboard, in the clipboard's enumeration order.
// Formats whose handle is not plain data (bitmaps, palettes, metafiles, owner-display and
// private handles) and formats whose data cannot be had are left out; the rest is kept.
// Throws ClipboardError when the clipboard cannot be opened.
SnapshotBytes SaveClipboard(HWND owner, const ClipboardWait& wait = {});

// Puts a snapshot back: the clipboard is emptied and every restorable format set again,
// a named format under the number its name is registered as now. The whole stream is read
// and every block prepared before the clipboard is touched, so a malformed stream
// (SnapshotReadError) or a memory failure (ClipboardError) leaves the clipboard as it was.
// Returns the number of formats put on the clipboard.
std::size_t LoadClipboard(HWND owner, std::span<const std::uint8_t> snapshot, const ClipboardWait& wait = {});

// The routines below need the clipboard open (ClipboardSession) by the calling thread.

// SaveClipboard of the clipboard this thread holds open.
SnapshotBytes SaveOpenClipboard();

// Writes the record of one format; false when the format leaves no record.
bool SaveClipboardFormat(UINT format, SnapshotWriter& writer);

// The record of one format as a snapshot keeps it; no value when it leaves no record (see
// SaveClipboard). A format its owner promised is rendered first: this waits for the owner.
std::optional<ReadFormat> ReadClipboardFormat(UINT format);

// Whether the clipboard's owner answers at all, asked with a message (WM_NULL) before the first
// format it may have to render: an owner that does not answer in time is asked to render
// nothing. A copy of text alone asks the owner nothing. A clipboard without an owner, or owned
// by this program (which promises nothing), answers at once.
class OwnerQuestion {
 public:
  // Whether the answer came within `answerMs` of the question (asked now, unless it was
  // before); waits for it, handling this thread's messages (the answer comes through them).
  bool Answered(unsigned answerMs);

 private:
  void Ask();

  bool asked_ = false;
  unsigned question_ = 0;  // 0: no question on its way
  bool answered_ = false;
  DWORD askedAt_ = 0;
};

// The text (CF_UNICODETEXT) into `reads`; nothing when the clipboard has none.
void ReadOpenClipboardText(SnapshotReads& reads);

// The snapshot into `reads`, format by format in the clipboard's order: the text first (when
// it was not read before), the formats the system makes from the text, every other format only
// when the owner answered the question asked before (within `ownerAnswerMs` of it; it is waited
// for at the first such format), and no further format once `stop` is set; marked
// whole when every format was come to.
void ReadOpenClipboardFormats(SnapshotReads& reads, const std::atomic<bool>& stop, OwnerQuestion& owner,
                              unsigned ownerAnswerMs);

// Puts one decoded record on the clipboard; false when it cannot be restored (see
// clipformat::SnapshotRecordRestorable) or its name cannot be registered.
bool LoadClipboardFormat(const SnapshotFormat& record);

// The bytes of one format's global memory block; no value when the format has no data
// handle or the handle cannot be locked.
std::optional<SnapshotBytes> CopyClipboardFormatToStream(UINT format);

// Sets a copy of `bytes` as the data of one format. Throws ClipboardError when the memory
// cannot be allocated or the clipboard refuses it.
void CopyStreamToClipboardFormat(UINT format, std::span<const std::uint8_t> bytes);

}  // namespace app::Clipboardbaocun
