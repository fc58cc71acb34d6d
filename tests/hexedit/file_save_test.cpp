// Saving and loading files: the backup of the old file, a read-only file refused, a file
// too large for the editor refused with the data left as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editor_test_support.h"

using namespace hexedit;
namespace fs = std::filesystem;

namespace {
fs::path Scratch(const char* name) {
  const fs::path folder = fs::path(QUILL_SCRATCH_DIR) / "hexedit";
  fs::create_directories(folder);
  const fs::path file = folder / name;
  fs::remove(file);
  fs::remove(fs::path(file.string() + ".bak"));
  return file;
}
std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
std::u16string U16(const fs::path& p) { return p.u16string(); }
}  // namespace

TEST(SaveToFile, KeepsTheOldFileAsABackupAndLoadsBack) {
  const fs::path file = Scratch("data.bin");
  std::ofstream(file, std::ios::binary) << "old";
  TestEditor e;
  e.LoadFromBuffer(BytesOf("new content"));
  e.Type(u"5");
  e.SaveToFile(U16(file));
  EXPECT_EQ(Contents(file), "^ew content");
  EXPECT_EQ(Contents(fs::path(file.string() + ".bak")), "old");
  EXPECT_FALSE(e.Modified());
  EXPECT_FALSE(e.ByteChanged(0));
  EXPECT_FALSE(e.CanUndo());
  // A second save replaces the previous backup.
  e.SaveToFile(U16(file));
  EXPECT_EQ(Contents(fs::path(file.string() + ".bak")), "^ew content");

  TestEditor loaded;
  loaded.LoadFromFile(U16(file));
  EXPECT_EQ(loaded.Text(), "^ew content");
  EXPECT_EQ(loaded.FileName, U16(file));

  TestEditor noBackup;
  noBackup.CreateBackup = false;
  const fs::path other = Scratch("plain.bin");
  std::ofstream(other, std::ios::binary) << "x";
  noBackup.LoadFromBuffer(BytesOf("y"));
  noBackup.SaveToFile(U16(other));
  EXPECT_FALSE(fs::exists(fs::path(other.string() + ".bak")));
  EXPECT_EQ(Contents(other), "y");
}

TEST(SaveToFile, AReadOnlyFileIsRefusedAndStaysAsItWas) {
  const fs::path file = Scratch("readonly.bin");
  std::ofstream(file, std::ios::binary) << "keep";
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove);
  TestEditor e;
  e.LoadFromBuffer(BytesOf("lost?"));
  try {
    e.SaveToFile(U16(file));
    ADD_FAILURE() << "saved over a read-only file";
  } catch (const EFOpenError& error) {
    EXPECT_NE(std::string(error.what()).find("Cannot save readonly file"), std::string::npos);
  }
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(Contents(file), "keep");
  EXPECT_FALSE(fs::exists(fs::path(file.string() + ".bak")));
}

TEST(LoadFromFile, AFileTooLargeIsRefusedAndTheDataStays) {
  const fs::path file = Scratch("huge.bin");
  {
    std::ofstream out(file, std::ios::binary);
    out.seekp(static_cast<std::streamoff>(kMaxLoadSize));
    out.put('x');
  }
  TestEditor e;
  e.LoadFromBuffer(BytesOf("mine"));
  EXPECT_THROW(e.LoadFromFile(U16(file)), EHexEditor);
  EXPECT_EQ(e.Text(), "mine");
  fs::remove(file);
}
