#include "app/files/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <random>
#include <thread>
#include <vector>

#include "app/files/file_error.h"

namespace app {

namespace fs = std::filesystem;

fs::path TemporaryNameBeside(const fs::path& path) {
  thread_local std::mt19937 generator{std::random_device{}()};
  const unsigned suffix = generator();
  fs::path name = path.filename();
  name += u".";
  name += fs::path(std::to_string(suffix & 0xFFFFFF));
  name += u".tmp";
  return path.parent_path() / name;
}

namespace {

std::error_code LastIoError() {
  // The streams do not say why they failed; errno is the best account we have.
  const int code = errno != 0 ? errno : EIO;
  return std::error_code(code, std::generic_category());
}

}  // namespace

std::error_code WriteFileAtomically(const fs::path& path, std::string_view bytes) {
  RemoveStaleTemporaries(path);
  const fs::path temporary = TemporaryNameBeside(path);
  {
    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return LastIoError();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      const std::error_code error = LastIoError();
      out.close();
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return error;
    }
    out.close();
    if (out.fail()) {
      const std::error_code error = LastIoError();
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return error;
    }
  }
  const std::error_code error = ReplaceWhenNotBusy(path, [&] {
    std::error_code renamed;
    fs::rename(temporary, path, renamed);
    return renamed;
  });
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
  }
  return error;
}

bool IsBusyRefusal(const std::error_code& error) {
  switch (WindowsErrorCodeFor(error)) {
    case winerror::kAccessDenied:
    case winerror::kSharingViolation:
    case winerror::kLockViolation: return true;
    default: return false;
  }
}

std::error_code ReplaceWhenNotBusy(const fs::path& target, const std::function<std::error_code()>& replace,
                                   std::chrono::milliseconds patience) {
  constexpr std::chrono::milliseconds kStep{25};
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    const std::error_code error = replace();
    if (!error || !IsBusyRefusal(error) || std::chrono::steady_clock::now() >= deadline) return error;
    // A folder, or a read-only file, in the target's place refuses for good.
    std::error_code status_error;
    const fs::file_status status = fs::status(target, status_error);
    if (!status_error && (status.type() != fs::file_type::regular ||
                          (status.permissions() & fs::perms::owner_write) == fs::perms::none)) {
      return error;
    }
    std::this_thread::sleep_for(kStep);
  }
}

std::error_code AppendToFile(const fs::path& path, std::string_view bytes) {
  std::error_code size_error;
  const bool existed = fs::exists(path, size_error);
  const std::uintmax_t former = existed ? fs::file_size(path, size_error) : 0;
  if (size_error) return size_error;
  std::error_code error;
  {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) return LastIoError();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) error = LastIoError();
    out.close();
    if (!error && out.fail()) error = LastIoError();
  }
  if (error) {
    // Take the cut piece back: the file is as it was before the append.
    std::error_code ignored;
    if (existed) fs::resize_file(path, former, ignored);
    else fs::remove(path, ignored);
  }
  return error;
}

FileTail ReadFileTail(const fs::path& path, std::size_t maxBytes) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return {};
  const std::streamoff size = in.tellg();
  if (size <= 0) return {};
  const std::streamoff take = std::min<std::streamoff>(size, static_cast<std::streamoff>(maxBytes));
  in.seekg(size - take);
  FileTail tail{std::string(static_cast<std::size_t>(take), '\0'), static_cast<std::uintmax_t>(size)};
  in.read(tail.bytes.data(), take);
  tail.bytes.resize(static_cast<std::size_t>(in.gcount()));
  return tail;
}

bool IsTemporaryNameOf(std::u16string_view name, std::u16string_view target) {
  if (target.empty() || name.size() <= target.size() || name.substr(0, target.size()) != target) return false;
  std::u16string_view rest = name.substr(target.size());
  if (rest == u".tmp~") return true;
  // One or two ".<number>.tmp" steps: the writer's own, or the database's copy written atomically.
  const auto numberedStep = [&rest] {
    if (rest.empty() || rest.front() != u'.') return false;
    std::size_t digits = 0;
    while (1 + digits < rest.size() && rest[1 + digits] >= u'0' && rest[1 + digits] <= u'9') ++digits;
    if (digits == 0 || digits > 8 || rest.substr(1 + digits, 4) != u".tmp") return false;
    rest.remove_prefix(1 + digits + 4);
    return true;
  };
  if (!numberedStep()) return false;
  if (rest.empty()) return true;
  return numberedStep() && rest.empty();
}

namespace {

// Removes the temporary files of the named files last written before `writtenBefore`.
void RemoveTemporaries(const fs::path& folder, std::span<const std::u16string> fileNames,
                       fs::file_time_type writtenBefore) {
  std::error_code error;
  fs::directory_iterator entries(folder.empty() ? fs::path(u".") : folder, error);
  if (error) return;
  std::vector<fs::path> stale;
  for (const fs::directory_entry& entry : entries) {
    const std::u16string name = entry.path().filename().u16string();
    const bool ours = std::any_of(fileNames.begin(), fileNames.end(),
                                  [&](const std::u16string& target) { return IsTemporaryNameOf(name, target); });
    std::error_code type_error;
    if (!ours || !entry.is_regular_file(type_error)) continue;
    std::error_code time_error;
    const fs::file_time_type written = entry.last_write_time(time_error);
    if (time_error || written >= writtenBefore) continue;
    stale.push_back(entry.path());
  }
  for (const fs::path& file : stale) fs::remove(file, error);
}

}  // namespace

void RemoveStaleTemporaries(const fs::path& folder, std::span<const std::u16string> fileNames) {
  RemoveTemporaries(folder, fileNames, fs::file_time_type::clock::now() - kTemporaryInUseAge);
}

void RemoveStaleTemporaries(const fs::path& path) {
  const std::u16string name = path.filename().u16string();
  RemoveStaleTemporaries(path.parent_path(), std::span<const std::u16string>(&name, 1));
}

FileReadResult ReadFileBounded(const fs::path& path, std::size_t maxBytes) {
  FileReadResult result;
  std::error_code status_error;
  const fs::file_status status = fs::status(path, status_error);
  if (status.type() == fs::file_type::not_found) {
    result.missing = true;
    result.error = std::make_error_code(std::errc::no_such_file_or_directory);
    return result;
  }
  if (status.type() == fs::file_type::directory) {
    result.error = std::make_error_code(std::errc::is_a_directory);
    return result;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    result.error = LastIoError();
    return result;
  }
  // The size reported before reading is only a hint (the file may change under us):
  // read that much at once, then go on in steps until the end or the limit.
  std::error_code size_error;
  const auto reported = fs::file_size(path, size_error);
  std::size_t want = size_error ? std::size_t(0) : static_cast<std::size_t>(std::min<std::uintmax_t>(reported, maxBytes));
  constexpr std::size_t kStep = 1 << 20;
  for (;;) {
    if (want == 0) {
      // Read all that was reported: only a file that grew meanwhile has more.
      if (in.peek() == std::char_traits<char>::eof()) break;
      want = std::min(kStep, maxBytes - result.bytes.size());
      if (want == 0) break;
    }
    const std::size_t old_size = result.bytes.size();
    result.bytes.resize(old_size + want);
    in.read(result.bytes.data() + old_size, static_cast<std::streamsize>(want));
    const std::size_t got = static_cast<std::size_t>(in.gcount());
    result.bytes.resize(old_size + got);
    if (got < want) break;
    want = 0;
  }
  if (in.bad()) {
    result.error = LastIoError();
    result.bytes.clear();
    return result;
  }
  if (result.bytes.size() == maxBytes && in.good()) {
    result.truncated = in.peek() != std::char_traits<char>::eof();
  }
  return result;
}

}  // namespace app
