// The exit record read on a thread of its own while the main window is being made: a start
// on a long history then waits only for what is left of the read when the list is filled.
#pragma once

#include <cstdint>
#include <filesystem>
#include <future>
#include <optional>

#include "app/listfile/listfile_io.h"

namespace app {

class ExitRecordPrefetch {
 public:
  ExitRecordPrefetch() = default;
  ExitRecordPrefetch(const ExitRecordPrefetch&) = delete;
  ExitRecordPrefetch& operator=(const ExitRecordPrefetch&) = delete;
  ~ExitRecordPrefetch() { Drop(); }

  // Starts reading `file` as ReadExitRecord does (a read already started is dropped); a
  // missing file is not read ahead.
  void Start(const std::filesystem::path& file);
  // The read started for this very file, once it is complete; nullopt when none was started
  // for it or when the file changed since (its size or time of change), so that the caller
  // reads it now. Either way the started read is used up.
  std::optional<ListReadResult> Take(const std::filesystem::path& file);
  // Waits for a started read and forgets it (the start did not need the file after all).
  void Drop();

 private:
  struct Stamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type changed{};
    bool exists = false;
    bool operator==(const Stamp&) const = default;
  };
  static Stamp StampOf(const std::filesystem::path& file);

  std::filesystem::path file_;
  Stamp stamp_;
  std::future<ListReadResult> read_;
};

}  // namespace app
