#include "app/files/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <random>

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
  std::error_code error;
  fs::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
  }
  return error;
}

std::error_code AppendToFile(const fs::path& path, std::string_view bytes) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) return LastIoError();
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) return LastIoError();
  out.close();
  if (out.fail()) return LastIoError();
  return {};
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
