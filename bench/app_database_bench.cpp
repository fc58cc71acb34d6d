// Saving and loading 100000 entries with 1 KB snapshots as an entry database, beside the
// anchor: a bare SQLite loop of prepared statements in one transaction on the same table.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/database/database_reader.h"
#include "app/database/database_writer.h"
#include "app/snapshot/snapshot_stream.h"
#include "unicode/codepage.h"

namespace {

namespace fs = std::filesystem;
constexpr int kEntries = 100000;

fs::path BenchDir() {
  const fs::path dir = fs::temp_directory_path() / "quill-database-bench";
  fs::create_directories(dir);
  return dir;
}

std::u16string TemplateFile() { return (fs::path(QUILL_SOURCE_DIR) / "data" / "kongsujuku.mdb_bak").u16string(); }

struct Entries {
  std::vector<std::u16string> texts;
  std::vector<app::SharedSnapshot> snapshots;
  std::vector<app::DatabaseRecord> records;
};

// Texts of about 100 characters, each with a snapshot of about 1 KB (its text and a private format).
const Entries& BenchEntries() {
  static const Entries entries = [] {
    Entries e;
    e.texts.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
      e.texts.push_back(u"剪切板历史条目 " + unicode::Utf8ToUtf16(std::to_string(i)) +
                        u" The quick brown fox jumps over the lazy dog 0123456789 带格式的文本");
      std::vector<std::uint8_t> wide;
      for (char16_t c : e.texts.back()) {
        wide.push_back(static_cast<std::uint8_t>(c));
        wide.push_back(static_cast<std::uint8_t>(c >> 8));
      }
      wide.insert(wide.end(), {0, 0});
      std::vector<std::uint8_t> privateBytes(1024 - wide.size() - 40, static_cast<std::uint8_t>(i));
      const app::SnapshotFormat formats[] = {{13, "", wide}, {0xC1F0, "Quillora Private", privateBytes}};
      e.snapshots.push_back(app::SnapshotBuffer::Make(app::EncodeSnapshot(formats)));
    }
    for (int i = 0; i < kEntries; ++i) e.records.push_back({e.texts[i], e.snapshots[i]});
    return e;
  }();
  return entries;
}

void BM_SaveDatabase(benchmark::State& state) {
  const Entries& e = BenchEntries();
  const fs::path file = BenchDir() / "saved.mdb";
  app::TADOConnection connection;
  app::TADOQuery query(&connection);
  for (auto _ : state) {
    const app::DatabaseWriteResult result = app::WriteEntryDatabase(file.u16string(), TemplateFile(), e.records,
                                                                    connection, query);
    if (!result.ok()) state.SkipWithError("write failed");
  }
}

// The anchor: the same rows with one prepared insert in one transaction, on a copy of the template.
void BM_SaveBareSqlite(benchmark::State& state) {
  const Entries& e = BenchEntries();
  const fs::path file = BenchDir() / "bare.mdb";
  for (auto _ : state) {
    fs::copy_file(fs::path(TemplateFile()), file, fs::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    sqlite3_open(file.string().c_str(), &db);
    sqlite3_exec(db, "pragma journal_mode = memory; begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "insert into \"Quillora流格式保存表\" (memo, liuyou, liu) values (?, ?, ?)", -1, &insert,
                       nullptr);
    for (int i = 0; i < kEntries; ++i) {
      sqlite3_bind_text16(insert, 1, e.texts[i].data(), static_cast<int>(e.texts[i].size() * 2), SQLITE_STATIC);
      sqlite3_bind_int(insert, 2, 1);
      sqlite3_bind_blob(insert, 3, e.snapshots[i]->data(), static_cast<int>(e.snapshots[i]->size()), SQLITE_STATIC);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
}

void EnsureSaved(const fs::path& file) {
  if (fs::exists(file)) return;
  app::TADOConnection connection;
  app::TADOQuery query(&connection);
  app::WriteEntryDatabase(file.u16string(), TemplateFile(), BenchEntries().records, connection, query);
}

void BM_LoadDatabase(benchmark::State& state) {
  const fs::path file = BenchDir() / "load.mdb";
  EnsureSaved(file);
  app::TADOConnection connection;
  app::TADOQuery query(&connection);
  for (auto _ : state) {
    app::DatabaseReadResult read = app::ReadEntryDatabase(file.u16string(), connection, query);
    if (read.list.entries.size() != kEntries) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(read);
  }
}

// The anchor: every record's text and bytes copied out by a bare prepared select.
void BM_LoadBareSqlite(benchmark::State& state) {
  const fs::path file = BenchDir() / "load.mdb";
  EnsureSaved(file);
  for (auto _ : state) {
    std::vector<std::u16string> texts;
    std::vector<std::vector<std::uint8_t>> blobs;
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "select * from \"Quillora流格式保存表\"", -1, &select, nullptr);
    while (sqlite3_step(select) == SQLITE_ROW) {
      const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(select, 0));
      texts.emplace_back(text, static_cast<std::size_t>(sqlite3_column_bytes16(select, 0)) / 2);
      const int flag = sqlite3_column_int(select, 1);
      const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(select, 2));
      if (flag) blobs.emplace_back(blob, blob + sqlite3_column_bytes(select, 2));
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    benchmark::DoNotOptimize(texts);
    benchmark::DoNotOptimize(blobs);
  }
}

BENCHMARK(BM_SaveDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveBareSqlite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadBareSqlite)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
