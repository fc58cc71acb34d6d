// What the entry viewer needs of the window that owns the history: the entry to show, and
// writing an edited text back. The main window implements it, so the viewer does not depend
// on the history's own types.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace windows {

// One history entry as the viewer keeps it: its row when it was taken, and something that
// stays the same only while the entry does (the entry may move, be deleted or replaced by
// a reload while the viewer is open).
struct ViewedEntry {
  int row = -1;
  std::shared_ptr<const void> identity;
};

class EntryViewerHost {
 public:
  virtual ~EntryViewerHost() = default;
  // The entry of the list's selected row; nullopt when no row is selected.
  virtual std::optional<ViewedEntry> SelectedEntry() = 0;
  virtual std::u16string EntryText(const ViewedEntry& entry) = 0;
  // Writes the text into the entry where it now stands and ends with the entry-changed
  // step. Returns the entry as it is now; nullopt, with nothing changed, when the entry is
  // no longer in the list.
  virtual std::optional<ViewedEntry> SaveEntryText(const ViewedEntry& entry, std::u16string_view text) = 0;
};

}  // namespace windows
