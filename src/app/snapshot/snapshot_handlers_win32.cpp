#include "app/snapshot/snapshot_handlers_win32.h"

#include <memory>
#include <stdexcept>

#include "app/capture/clipboard_session_win32.h"
#include "app/snapshot/snapshot_clipboard_win32.h"

namespace app {

void huodejianqiebaoClick(HWND owner, SharedSnapshot& ClipSnapshot, const ClipboardWait& wait) {
  // A fresh buffer each time: writing over a shared one would change (or leave stale
  // bytes in) the snapshots that entries already hold.
  ClipSnapshot = SnapshotBuffer::Make(Clipboardbaocun::SaveClipboard(owner, wait));
}

ClipboardReader::Read ReadSnapshotInto(std::shared_ptr<SnapshotReads> reads, unsigned ownerAnswerMs) {
  return [reads = std::move(reads), ownerAnswerMs](const std::atomic<bool>& stop) {
    Clipboardbaocun::OwnerQuestion owner;
    Clipboardbaocun::ReadOpenClipboardFormats(*reads, stop, owner, ownerAnswerMs);
  };
}

void ThrowUnlessRead(ClipboardReader::Outcome outcome) {
  if (outcome == ClipboardReader::Outcome::Busy) throw ClipboardError(kCannotOpenClipboard, 0);
  if (outcome == ClipboardReader::Outcome::Failed) throw std::runtime_error("the clipboard's snapshot failed");
}

bool huodejianqiebaoClick(ClipboardReader& reader, SharedSnapshot& ClipSnapshot, const ClipboardWait& wait) {
  auto reads = std::make_shared<SnapshotReads>();
  const ClipboardReader::Outcome outcome = reader.Run(wait, ReadSnapshotInto(reads, reader.budget().ownerAnswerMs));
  ThrowUnlessRead(outcome);
  ClipSnapshot = SnapshotBuffer::Make(reads->Kept());
  return outcome == ClipboardReader::Outcome::Done && reads->Whole();
}

void jianqiebaohuifuClick(HWND owner, const SharedSnapshot& ClipSnapshot, const ClipboardWait& wait) {
  if (!ClipSnapshot) return;
  Clipboardbaocun::LoadClipboard(owner, *ClipSnapshot, wait);
}

}  // namespace app
