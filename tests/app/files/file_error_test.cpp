// A failed write is named for what it is: the runtime's numbers become the Windows codes they
// stand for, and the message names the file and what was kept.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "app/files/atomic_file.h"
#include "app/files/file_error.h"
#ifdef _WIN32
#include "unicode/system_error_text.h"
#else
#include <sys/resource.h>

#include <csignal>
#endif

using namespace app;
namespace fs = std::filesystem;

TEST(FileError, AFullDiskAndADeniedWriteAreNamedForWhatTheyAre) {
  const std::error_code full(ENOSPC, std::generic_category());
  const std::error_code denied(EACCES, std::generic_category());
  EXPECT_EQ(WindowsErrorCodeFor(full), winerror::kDiskFull);
  EXPECT_EQ(WindowsErrorCodeFor(denied), winerror::kAccessDenied);
#ifdef _WIN32
  // The runtime's 28 and 13 taken for Windows codes would read "out of paper" and "invalid data".
  EXPECT_EQ(FileErrorReason(full), unicode::SystemErrorText(winerror::kDiskFull));
  EXPECT_NE(FileErrorReason(full), unicode::SystemErrorText(ENOSPC));
  EXPECT_EQ(FileErrorReason(denied), unicode::SystemErrorText(winerror::kAccessDenied));
  // A Windows call's own code is kept as it is.
  EXPECT_EQ(FileErrorReason(std::error_code(winerror::kDiskFull, std::system_category())),
            unicode::SystemErrorText(winerror::kDiskFull));
#endif

  EXPECT_EQ(WriteFailureText(WrittenFile::ExitRecord, u"C:\\q\\temp.txt", u"磁盘空间不足。", true),
            u"退出记录没有保存：C:\\q\\temp.txt\r\n磁盘空间不足。\r\n上次的退出记录保留未动。");
  EXPECT_EQ(WriteFailureText(WrittenFile::Settings, u"C:\\q\\set", u"拒绝访问。", false),
            u"设置没有保存：C:\\q\\set\r\n拒绝访问。");
}

#ifndef _WIN32
TEST(FileError, AnAppendThatCannotBeWrittenWholeLeavesTheFileAsItWas) {
  // A file size limit makes the write stop part of the way, as a disk that fills does.
  const fs::path dir = fs::path(QUILL_SCRATCH_DIR) / "append-cut";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path file = dir / "records.txt";
  {
    std::ofstream out(file, std::ios::binary);
    out << "first\r\n";
  }
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  rlimit limited = before;
  limited.rlim_cur = 5000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const std::error_code error = AppendToFile(file, std::string(8000, 'x'));
  setrlimit(RLIMIT_FSIZE, &before);
  EXPECT_TRUE(error);
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "first\r\n");
}
#endif
