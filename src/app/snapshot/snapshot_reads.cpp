#include "app/snapshot/snapshot_reads.h"

#include "app/snapshot/snapshot_formats.h"

namespace app {

SnapshotBytes KeptSnapshot(const std::vector<ReadFormat>& read, const std::optional<ReadFormat>& text) {
  SnapshotWriter writer;
  bool textKept = false;
  for (const ReadFormat& format : read) {
    writer.AddFormat(format.id, format.name, format.data);
    if (format.name.empty() && static_cast<std::uint32_t>(format.id) == clipformat::kUnicodeText) textKept = true;
  }
  if (text && !textKept) writer.AddFormat(text->id, text->name, text->data);
  return std::move(writer).Finish();
}

void SnapshotReads::SetText(ReadFormat text) {
  const std::lock_guard<std::mutex> lock(mutex_);
  text_ = std::move(text);
}

bool SnapshotReads::HasText() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return text_.has_value();
}

std::optional<ReadFormat> SnapshotReads::Text() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return text_;
}

void SnapshotReads::Add(ReadFormat format) {
  const std::lock_guard<std::mutex> lock(mutex_);
  read_.push_back(std::move(format));
}

void SnapshotReads::AddText() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (text_) read_.push_back(*text_);
}

void SnapshotReads::MarkWhole() {
  const std::lock_guard<std::mutex> lock(mutex_);
  whole_ = true;
}

bool SnapshotReads::Whole() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return whole_;
}

SnapshotBytes SnapshotReads::Kept() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return KeptSnapshot(read_, text_);
}

}  // namespace app
