// The entry database on disk: round trips of texts, flags and snapshots through the writer
// and the reader, files that are no usable database, and the writer's safe replacement.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/database/database_reader.h"
#include "app/database/database_texts.h"
#include "app/database/database_writer.h"
#include "app/snapshot/snapshot_stream.h"
#include "app/listfile/listfile_test_support.h"
#include "unicode/codepage.h"

using namespace app;
using apptest::FreshScratchDir;
using apptest::ReadAll;
using apptest::WriteAll;
namespace fs = std::filesystem;

namespace {

const std::u16string kTemplate = (fs::path(QUILL_DATA_DIR) / u"kongsujuku.mdb_bak").u16string();

std::vector<std::uint8_t> WideBytes(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

// A captured entry's snapshot: its text as CF_UNICODETEXT and a private format.
SharedSnapshot CapturedSnapshot(std::u16string_view text, std::vector<std::uint8_t> privateBytes) {
  const std::vector<std::uint8_t> wide = WideBytes(text);
  const SnapshotFormat formats[] = {{0xC1F0, "Quillora Private", privateBytes}, {13, "", wide}};
  return SnapshotBuffer::Make(EncodeSnapshot(formats));
}

std::vector<std::string> FolderListing(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class EntryDatabase : public ::testing::Test {
 protected:
  DatabaseWriteResult Write(const fs::path& file, std::span<const DatabaseRecord> records) {
    return WriteEntryDatabase(file.u16string(), kTemplate, records, connection_, query_);
  }
  DatabaseReadResult Read(const fs::path& file, std::size_t maxBytes = kMaxDatabaseReadBytes) {
    return ReadEntryDatabase(file.u16string(), connection_, query_, maxBytes);
  }
  // Runs SQL on a database of the test's own making.
  static void Sql(const fs::path& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(unicode::Utf16ToUtf8(file.u16string()).c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
  }
  // The read leaves the file byte for byte as it was and adds no file beside it.
  void ExpectUnchangedByRead(const fs::path& file, DatabaseReadStatus expected) {
    const std::string before = ReadAll(file);
    const std::vector<std::string> listing = FolderListing(file.parent_path());
    const DatabaseReadResult read = Read(file);
    EXPECT_EQ(read.status, expected);
    EXPECT_TRUE(read.list.entries.empty());
    EXPECT_EQ(ReadAll(file), before);
    EXPECT_EQ(FolderListing(file.parent_path()), listing);
  }

  TADOConnection connection_;
  TADOQuery query_{&connection_};
};

TEST_F(EntryDatabase, TextsFlagsSnapshotsAndOrderSurviveARoundTrip) {
  const fs::path file = FreshScratchDir() / u"条目; 数据库.mdb";  // ";" must be quoted in the connection string
  const std::u16string korean = u"한국어 😀";
  const std::u16string longText(70000, u'长');
  const std::u16string captured = u"带格式的文本\r\n第二行";
  std::vector<std::uint8_t> privateBytes(3000);
  for (std::size_t i = 0; i < privateBytes.size(); ++i) privateBytes[i] = static_cast<std::uint8_t>(i * 7);
  const SharedSnapshot snapshot = CapturedSnapshot(captured, privateBytes);
  const DatabaseRecord records[] = {{korean, nullptr}, {longText, nullptr}, {captured, snapshot}, {u"", nullptr}};

  const DatabaseWriteResult written = Write(file, records);
  ASSERT_TRUE(written.ok()) << unicode::Utf16ToUtf8(written.message);
  EXPECT_EQ(FolderListing(file.parent_path()), std::vector<std::string>{file.filename().string()});

  const DatabaseReadResult read = Read(file);
  ASSERT_EQ(read.status, DatabaseReadStatus::Read);
  EXPECT_TRUE(read.complete());
  EXPECT_EQ(read.list.entries, (std::vector<std::u16string>{korean, longText, captured, u""}));
  ASSERT_EQ(read.list.snapshots.size(), 4u);
  EXPECT_EQ(read.list.snapshots[0], nullptr);
  EXPECT_EQ(read.list.snapshots[1], nullptr);
  ASSERT_NE(read.list.snapshots[2], nullptr);
  EXPECT_TRUE(std::ranges::equal(read.list.snapshots[2]->span(), snapshot->span()));
  EXPECT_EQ(read.list.snapshots[3], nullptr);
}

TEST_F(EntryDatabase, TheSnapshotGivesTheTextAndABrokenSnapshotIsDropped) {
  const fs::path file = FreshScratchDir() / u"快照.mdb";
  const SharedSnapshot snapshot = CapturedSnapshot(u"快照里的全文", {1, 2, 3});
  const DatabaseRecord records[] = {{u"memo 里的文本", snapshot}};
  ASSERT_TRUE(Write(file, records).ok());
  EXPECT_EQ(Read(file).list.entries, std::vector<std::u16string>{u"快照里的全文"});

  // A flagged record whose bytes are no snapshot stream keeps its memo text, without snapshot.
  Sql(file, "update \"Quillora流格式保存表\" set liu = x'01020304'");
  const DatabaseReadResult read = Read(file);
  EXPECT_EQ(read.list.entries, std::vector<std::u16string>{u"memo 里的文本"});
  EXPECT_EQ(read.list.snapshots, std::vector<SharedSnapshot>{nullptr});
}

TEST_F(EntryDatabase, AnEmptyListGivesTheEmptyTableAndReadingItChangesNothing) {
  const fs::path file = FreshScratchDir() / u"空.mdb";
  ASSERT_TRUE(Write(file, {}).ok());
  EXPECT_EQ(ReadAll(file), ReadAll(fs::path(kTemplate)));
  ExpectUnchangedByRead(file, DatabaseReadStatus::Empty);
}

TEST_F(EntryDatabase, FilesThatAreNoUsableDatabaseChangeNothing) {
  const fs::path dir = FreshScratchDir();
  WriteAll(dir / u"文本.mdb", "这不是数据库\r\n只是一个文本文件\r\n");
  ExpectUnchangedByRead(dir / u"文本.mdb", DatabaseReadStatus::NotADatabase);
  WriteAll(dir / u"零字节.mdb", "");
  ExpectUnchangedByRead(dir / u"零字节.mdb", DatabaseReadStatus::NotADatabase);

  fs::copy_file(fs::path(kTemplate), dir / u"别的表.mdb");
  Sql(dir / u"别的表.mdb", "alter table \"Quillora流格式保存表\" rename to other");
  ExpectUnchangedByRead(dir / u"别的表.mdb", DatabaseReadStatus::NotADatabase);
  fs::copy_file(fs::path(kTemplate), dir / u"缺列.mdb");
  Sql(dir / u"缺列.mdb", "alter table \"Quillora流格式保存表\" drop column liu; "
                         "insert into \"Quillora流格式保存表\" values ('x', 0)");
  ExpectUnchangedByRead(dir / u"缺列.mdb", DatabaseReadStatus::NotADatabase);

  const DatabaseReadResult missing = Read(dir / u"没有.mdb");
  EXPECT_EQ(missing.status, DatabaseReadStatus::Missing);
  EXPECT_FALSE(fs::exists(dir / u"没有.mdb"));
}

TEST_F(EntryDatabase, ADamagedDatabaseLoadsTheRecordsBeforeTheDamage) {
  const fs::path file = FreshScratchDir() / u"损坏.mdb";
  const std::u16string text(1000, u'字');
  std::vector<DatabaseRecord> records(300, DatabaseRecord{text, nullptr});
  ASSERT_TRUE(Write(file, records).ok());
  std::string bytes = ReadAll(file);
  ASSERT_GT(bytes.size(), 4096u * 60);
  // Pages far into the table's leaves: junk that is no b-tree page.
  for (std::size_t i = 4096 * 40; i < 4096 * 60; ++i) bytes[i] = static_cast<char>(0xA5 ^ (i & 0x3F));
  WriteAll(file, bytes);
  const DatabaseReadResult read = Read(file);
  ASSERT_EQ(read.status, DatabaseReadStatus::Read);
  EXPECT_FALSE(read.complete());
  EXPECT_GT(read.list.entries.size(), 0u);
  EXPECT_LT(read.list.entries.size(), 300u);
  EXPECT_EQ(read.problem, dbtext::DamagedDatabaseText(static_cast<int>(read.list.entries.size())));
}

TEST_F(EntryDatabase, TheReadStopsAtTheStoreAndAtItsByteBudget) {
  const fs::path file = FreshScratchDir() / u"多.mdb";
  std::vector<DatabaseRecord> records(100003, DatabaseRecord{u"条目", nullptr});
  ASSERT_TRUE(Write(file, records).ok());
  const DatabaseReadResult all = Read(file);
  EXPECT_EQ(all.list.entries.size(), 100001u);
  EXPECT_TRUE(all.list.tooMany);
  EXPECT_EQ(all.list.messages, std::vector<ListMessage>{ListMessage::TooManyEntries});

  const DatabaseReadResult budget = Read(file, 40);  // four bytes an entry: ten fit
  EXPECT_EQ(budget.list.entries.size(), 10u);
  EXPECT_EQ(budget.problem, dbtext::TooMuchDataText(10));
}

TEST_F(EntryDatabase, TheWriterReplacesTheTargetOnlyWhenComplete) {
  const fs::path dir = FreshScratchDir();
  const fs::path file = dir / u"只读.mdb";
  const DatabaseRecord first[] = {{u"旧的", nullptr}};
  const DatabaseRecord second[] = {{u"新的", nullptr}, {u"第二条", nullptr}};
  ASSERT_TRUE(Write(file, first).ok());
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  ASSERT_TRUE(Write(file, second).ok());  // over a read-only file
  EXPECT_EQ(Read(file).list.entries, (std::vector<std::u16string>{u"新的", u"第二条"}));

  // Without its template nothing is written, and the message names the template.
  const std::string before = ReadAll(file);
  const DatabaseWriteResult noTemplate =
      WriteEntryDatabase(file.u16string(), (dir / u"没有模板.mdb_bak").u16string(), first, connection_, query_);
  EXPECT_EQ(noTemplate.status, DatabaseWriteStatus::TemplateMissing);
  EXPECT_NE(noTemplate.message.find(u"没有模板.mdb_bak"), std::u16string::npos);
  EXPECT_EQ(ReadAll(file), before);

  // A target that cannot be replaced (a folder with a file in it) stays, and so does nothing else.
  fs::create_directories(dir / u"是文件夹.mdb");
  WriteAll(dir / u"是文件夹.mdb" / u"里面.txt", "x");
  const DatabaseWriteResult failed = Write(dir / u"是文件夹.mdb", first);
  EXPECT_EQ(failed.status, DatabaseWriteStatus::Failed);
  EXPECT_NE(failed.message.find(u"是文件夹.mdb"), std::u16string::npos);
  EXPECT_TRUE(fs::is_directory(dir / u"是文件夹.mdb"));
  EXPECT_EQ(FolderListing(dir), (std::vector<std::string>{file.filename().string(), "是文件夹.mdb"}));
}

TEST(DatabaseConnectionString, NamesTheFileAndQuotesWhatNeedsIt) {
  EXPECT_EQ(DatabaseConnectionString(u"C:\\a\\b.mdb"),
            u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=C:\\a\\b.mdb;Mode=Share Deny None;"
            u"Extended Properties=\"\";Jet OLEDB:System database=\"\";Jet ");
  for (std::u16string_view file : {u"C:\\a;b\\c.mdb", u"C:\\plain.mdb", u" blank.mdb", u"x\"y.mdb"}) {
    const std::u16string s = DatabaseConnectionString(file);
    EXPECT_EQ(ConnectionStringValue(s, u"data source"), file);
    EXPECT_EQ(ConnectionStringValue(s, u"Mode"), u"Share Deny None");
    EXPECT_EQ(ConnectionStringValue(s, u"Extended Properties"), u"");
  }
}

}  // namespace
