// Two writers of one file at once (two instances saving "set" together): a replace refused
// while the other holds or replaces the file is tried again, and a write does not take the
// other's temporary file for one left by a crash.
#include <gtest/gtest.h>

#include <cerrno>

#include "app/files/atomic_file.h"
#include "app/listfile/listfile_test_support.h"

using namespace app;
using namespace std::chrono_literals;
using apptest::FreshScratchDir;
using apptest::WriteAll;
namespace fs = std::filesystem;

namespace {
const std::error_code kDenied(EACCES, std::generic_category());
const std::error_code kMissing(ENOENT, std::generic_category());
}  // namespace

TEST(BusyFileReplace, IsTriedAgainUntilTheOtherLetsGoAndOnlyForABusyRefusal) {
  const fs::path target = FreshScratchDir() / u"set";
  WriteAll(target, "old");
  int tries = 0;
  EXPECT_FALSE(ReplaceWhenNotBusy(target, [&] { return ++tries < 3 ? kDenied : std::error_code(); }));
  EXPECT_EQ(tries, 3);

  tries = 0;
  EXPECT_EQ(ReplaceWhenNotBusy(target, [&] { return ++tries, kMissing; }), kMissing);
  EXPECT_EQ(tries, 1) << "a refusal that does not pass is reported at once";

  tries = 0;
  EXPECT_EQ(ReplaceWhenNotBusy(target, [&] { return ++tries, kDenied; }, 100ms), kDenied);
  EXPECT_GT(tries, 1);
  EXPECT_TRUE(IsBusyRefusal(std::error_code(EBUSY, std::generic_category())));

  // A read-only file refuses for good.
  fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  tries = 0;
  EXPECT_EQ(ReplaceWhenNotBusy(target, [&] { return ++tries, kDenied; }), kDenied);
  EXPECT_EQ(tries, 1);
  fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
}

TEST(BusyFileReplace, AWriteAndTheStartLeaveAnotherWritersRecentTemporaryFileAlone) {
  const fs::path dir = FreshScratchDir();
  const fs::path target = dir / u"set";
  const fs::path recent = dir / u"set.123.tmp", old = dir / u"set.456.tmp";
  WriteAll(recent, "another instance's write on its way");
  WriteAll(old, "left by a crash");
  fs::last_write_time(old, fs::file_time_type::clock::now() - kTemporaryInUseAge - 1min);

  ASSERT_FALSE(WriteFileAtomically(target, "new"));
  EXPECT_TRUE(fs::exists(recent));
  EXPECT_FALSE(fs::exists(old));

  // At start too: another instance in the folder may be writing.
  WriteAll(old, "left by a crash");
  fs::last_write_time(old, fs::file_time_type::clock::now() - kTemporaryInUseAge - 1min);
  const std::u16string names[] = {u"set"};
  RemoveStaleTemporaries(dir, names);
  EXPECT_TRUE(fs::exists(recent));
  EXPECT_FALSE(fs::exists(old));
  EXPECT_TRUE(fs::exists(target));
}
