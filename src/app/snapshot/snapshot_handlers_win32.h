// The main window's snapshot capture and restore, as free functions over the shared
// snapshot `ClipSnapshot` so that the window can bind them as its handlers.
#pragma once

#include <windows.h>

#include <memory>

#include "app/capture/clipboard_reader_win32.h"
#include "app/capture/clipboard_wait.h"
#include "app/snapshot/snapshot_reads.h"
#include "app/snapshot/snapshot_stream.h"

namespace app {

// Snapshot capture: `ClipSnapshot` becomes a new buffer holding exactly the current
// clipboard's snapshot. Buffers shared earlier (by history entries) are left as they are.
void huodejianqiebaoClick(HWND owner, SharedSnapshot& ClipSnapshot, const ClipboardWait& wait = {});
// The same read on the reader's thread within its budget: what another program renders too late
// is left out, the text never (Clipboardbaocun::ReadOpenClipboardFormats). True when the
// snapshot holds every format. Throws ClipboardError when the clipboard cannot be opened.
bool huodejianqiebaoClick(ClipboardReader& reader, SharedSnapshot& ClipSnapshot, const ClipboardWait& wait);
// Its parts: the read of every format into `reads` on the reader's thread, and the failures it
// reports (a clipboard that stayed busy, a read that threw).
ClipboardReader::Read ReadSnapshotInto(std::shared_ptr<SnapshotReads> reads, unsigned ownerAnswerMs);
void ThrowUnlessRead(ClipboardReader::Outcome outcome);

// Snapshot restore: puts `ClipSnapshot` back on the clipboard; nothing happens without one.
// Callers that must not capture their own change set the own-write flag first.
void jianqiebaohuifuClick(HWND owner, const SharedSnapshot& ClipSnapshot, const ClipboardWait& wait = {});

}  // namespace app
