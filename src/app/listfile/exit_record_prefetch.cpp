#include "app/listfile/exit_record_prefetch.h"

#include <utility>

namespace app {

ExitRecordPrefetch::Stamp ExitRecordPrefetch::StampOf(const std::filesystem::path& file) {
  std::error_code error;
  Stamp stamp;
  stamp.size = std::filesystem::file_size(file, error);
  if (error) return {};
  stamp.changed = std::filesystem::last_write_time(file, error);
  if (error) return {};
  stamp.exists = true;
  return stamp;
}

void ExitRecordPrefetch::Start(const std::filesystem::path& file) {
  Drop();
  file_ = file;
  // Taken before the read: a change made while it runs shows as a different stamp at Take.
  stamp_ = StampOf(file);
  if (!stamp_.exists) return;  // nothing to read ahead: the first start reads "no file" itself
  read_ = std::async(std::launch::async, [file] { return ReadExitRecord(file); });
}

std::optional<ListReadResult> ExitRecordPrefetch::Take(const std::filesystem::path& file) {
  if (!read_.valid()) return std::nullopt;
  ListReadResult read = read_.get();  // an exception of the read comes out here, as from a direct read
  if (file != file_ || StampOf(file) != stamp_) return std::nullopt;
  return read;
}

void ExitRecordPrefetch::Drop() {
  if (read_.valid()) read_.wait();
  read_ = {};
}

}  // namespace app
