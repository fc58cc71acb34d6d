// What the formatted view needs of the window that owns the history: the clipboard as the
// program uses it (its own writes, the hidden memo's text, snapshot capture and restore), and
// the entry it shows and writes back. The main window implements it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "windows/entry_viewer_host.h"

namespace windows {

class FormattedViewHost {
 public:
  virtual ~FormattedViewHost() = default;
  // The folder the program started in (BaseDir).
  virtual std::u16string ProgramFolder() = 0;
  // Runs a write of the program's own to the clipboard (the next change is not captured);
  // true when the clipboard changed.
  virtual bool OwnClipboardWrite(const std::function<void()>& write) = 0;
  // The text a snapshot stream holds (its Unicode text up to the first zero); nothing when it
  // holds none.
  virtual std::optional<std::u16string> SnapshotText(std::span<const std::uint8_t> snapshot) = 0;
  // Every format on the clipboard as a snapshot stream; empty when the clipboard cannot be had.
  virtual std::vector<std::uint8_t> CaptureClipboard() = 0;
  // Whether bytes are a whole snapshot stream.
  virtual bool IsSnapshotStream(std::span<const std::uint8_t> bytes) = 0;
  // Puts a snapshot stream on the clipboard as the program's own write; false, with the
  // clipboard left alone, for bytes that are no stream or a clipboard that stays busy.
  virtual bool RestoreSnapshot(std::span<const std::uint8_t> stream) = 0;
  // Writes text and snapshot into the entry where it now stands and ends with the
  // entry-changed step; the program's last clipboard text becomes the text. An empty snapshot
  // leaves the entry text only. nullopt, with nothing changed, when the entry is gone.
  virtual std::optional<ViewedEntry> SaveEntryContent(const ViewedEntry& entry, std::u16string_view text,
                                                      std::span<const std::uint8_t> snapshot) = 0;
  // Selects the entry's row again and puts the entry on the clipboard as a click does
  // (nothing when it is gone).
  virtual void RestoreEntryToClipboard(const ViewedEntry& entry) = 0;
};

}  // namespace windows
