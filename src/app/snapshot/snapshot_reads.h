// A snapshot read format by format on one thread while another waits for it up to a time
// budget (a clipboard owner may render a promised format late, or never). Whatever the reading
// thread got so far is kept when the waiting thread goes on without it, and what a snapshot
// then keeps is decided here: the formats read, always with the text.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/snapshot/snapshot_stream.h"

namespace app {

// One format read whole from the clipboard.
struct ReadFormat {
  std::int32_t id = 0;
  std::string name;  // registered name in code page 936; empty for predefined formats
  SnapshotBytes data;
};

// The snapshot of what was read: the formats in the order they were read (the clipboard's
// order), and the text (CF_UNICODETEXT) last when the reads stopped before they came to it,
// so that putting the entry back never loses its text. Records without data are left out.
SnapshotBytes KeptSnapshot(const std::vector<ReadFormat>& read, const std::optional<ReadFormat>& text);

// The reads of one snapshot, shared by the thread that reads and the one that waits; safe to
// use from both at once.
class SnapshotReads {
 public:
  // The text, read before anything else (the capture decides on it).
  void SetText(ReadFormat text);
  bool HasText() const;
  std::optional<ReadFormat> Text() const;
  // The next format in the clipboard's order; AddText puts the text read before in its place.
  void Add(ReadFormat format);
  void AddText();
  // Every format was read (the reads did not stop early).
  void MarkWhole();
  bool Whole() const;
  // KeptSnapshot of what has been read up to now.
  SnapshotBytes Kept() const;

 private:
  mutable std::mutex mutex_;
  std::optional<ReadFormat> text_;
  std::vector<ReadFormat> read_;
  bool whole_ = false;
};

}  // namespace app
