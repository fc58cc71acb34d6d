#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/files/spare_copy.h"

namespace fs = std::filesystem;

namespace {
fs::path Scratch(const char* name) {
  fs::path dir = fs::path(QUILL_SCRATCH_DIR) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}
void Write(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}
std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
}  // namespace

TEST(SpareCopy, RestoresTheExactBytesAndLeavesNoTemporaryFile) {
  const fs::path dir = Scratch("spare-ok");
  std::string bytes(300000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  Write(dir / "copy_Key.dll", bytes);
  ASSERT_TRUE(app::RestoreFromSpareCopy(dir / "copy_Key.dll", dir / "SysHookDLL.dll"));
  EXPECT_EQ(Read(dir / "SysHookDLL.dll"), bytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST(SpareCopy, FailureLeavesTheTargetAsItWas) {
  const fs::path dir = Scratch("spare-fail");
  EXPECT_FALSE(app::RestoreFromSpareCopy(dir / "copy_Key.dll", dir / "SysHookDLL.dll"));
  EXPECT_FALSE(fs::exists(dir / "SysHookDLL.dll"));
  // A spare copy larger than the limit is refused without touching an existing target.
  Write(dir / "copy_Key.dll", std::string(2000, 'x'));
  Write(dir / "SysHookDLL.dll", "old");
  EXPECT_FALSE(app::RestoreFromSpareCopy(dir / "copy_Key.dll", dir / "SysHookDLL.dll", 1000));
  EXPECT_EQ(Read(dir / "SysHookDLL.dll"), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}
