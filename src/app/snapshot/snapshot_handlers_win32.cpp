#include "app/snapshot/snapshot_handlers_win32.h"

#include <memory>

#include "app/snapshot/snapshot_clipboard_win32.h"

namespace app {

void huodejianqiebaoClick(HWND owner, SharedSnapshot& ClipSnapshot, const ClipboardWait& wait) {
  // A fresh buffer each time: writing over a shared one would change (or leave stale
  // bytes in) the snapshots that entries already hold.
  ClipSnapshot = SnapshotBuffer::Make(Clipboardbaocun::SaveClipboard(owner, wait));
}

void jianqiebaohuifuClick(HWND owner, const SharedSnapshot& ClipSnapshot, const ClipboardWait& wait) {
  if (!ClipSnapshot) return;
  Clipboardbaocun::LoadClipboard(owner, *ClipSnapshot, wait);
}

}  // namespace app
