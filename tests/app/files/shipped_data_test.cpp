// The files shipped in the runtime folder read back cleanly with the program's own readers.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/listfile/listfile_io.h"
#include "app/settings/settings_file.h"

namespace fs = std::filesystem;
using namespace app;

TEST(ShippedData, SettingsFileHoldsTheDefaults) {
  const Settings defaults = DefaultSettings(u"C:\\程序");
  const SettingsReadResult read = LoadSettingsFile(fs::path(QUILL_DATA_DIR) / "set", defaults);
  EXPECT_EQ(read.status, SettingsReadStatus::Read);
  EXPECT_TRUE(read.message.empty());
  Settings expected = defaults;
  expected.TrayIconFile = u"图标\\系统托盘主图标.ico";  // found below the program folder wherever it is
  EXPECT_EQ(read.values, expected);
}

TEST(ShippedData, SampleTablesReadWithoutComplaint) {
  int tables = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(QUILL_DATA_DIR) / u"样例表格")) {
    const ListReadResult read = ReadListFileByKind(entry.path());
    EXPECT_EQ(read.status, ListReadStatus::Read);
    EXPECT_TRUE(read.messages.empty());
    EXPECT_GE(read.entries.size(), 4u);
    ++tables;
  }
  EXPECT_EQ(tables, 6);
}
