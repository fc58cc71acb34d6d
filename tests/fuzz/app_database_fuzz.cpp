// The entry database reader on any bytes as the file: it never crashes, never takes more
// than its limits, leaves the file byte for byte as it was, and every snapshot it keeps is
// a whole snapshot stream.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/database/database_reader.h"
#include "app/history/history_store.h"
#include "app/snapshot/snapshot_stream.h"

using namespace app;
namespace fs = std::filesystem;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}

std::string ReadBack(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fs::path file = fs::temp_directory_path() / ("quill-db-fuzz-" + std::to_string(getpid()) + ".mdb");
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  TADOConnection connection;
  TADOQuery query(&connection);
  const DatabaseReadResult read = ReadEntryDatabase(file.u16string(), connection, query, 1 << 20);
  Require(!connection.Connected() && !query.Active());
  Require(read.list.entries.size() == read.list.snapshots.size());
  Require(read.list.entries.size() <= static_cast<std::size_t>(StoreSlots));
  if (read.status != DatabaseReadStatus::Read) Require(read.list.entries.empty());
  for (const SharedSnapshot& snapshot : read.list.snapshots) {
    if (snapshot) Require(ValidateSnapshot(snapshot->span()).valid);
  }
  Require(ReadBack(file) == bytes);
  return 0;
}
