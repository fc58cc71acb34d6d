// The exit record read ahead: it is handed over only for the file it read, once, and not when
// the file changed after the read began (the caller then reads it itself).
#include "app/listfile/exit_record_prefetch.h"

#include <gtest/gtest.h>

#include "listfile_test_support.h"

namespace {

TEST(ExitRecordPrefetch, HandsOverTheReadOnceForTheSameUnchangedFileOnly) {
  const auto dir = apptest::FreshScratchDir();
  const auto record = dir / "temp.txt";
  apptest::WriteAll(record, "\xEF\xBB\xBF" "第一条\r\nsecond\r\n");

  app::ExitRecordPrefetch prefetch;
  EXPECT_FALSE(prefetch.Take(record)) << "nothing was started";

  prefetch.Start(record);
  const auto read = prefetch.Take(record);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->entries, (std::vector<std::u16string>{u"第一条", u"second"}));
  EXPECT_FALSE(prefetch.Take(record)) << "a read is handed over once";

  prefetch.Start(record);
  EXPECT_FALSE(prefetch.Take(dir / "other.txt"));
  EXPECT_FALSE(prefetch.Take(record)) << "the read went with the refused take";

  // Written again after the read began: the read is stale.
  prefetch.Start(record);
  apptest::WriteAll(record, "\xEF\xBB\xBF" "第一条\r\nsecond\r\nthird\r\n");
  EXPECT_FALSE(prefetch.Take(record));

  // A record that appears after a start that found none is read by the caller.
  prefetch.Start(dir / "later.txt");
  apptest::WriteAll(dir / "later.txt", "\xEF\xBB\xBF" "new\r\n");
  EXPECT_FALSE(prefetch.Take(dir / "later.txt"));
}

}  // namespace
