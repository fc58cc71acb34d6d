// The failures once more at the end of the run: a log shortened in its middle (as a build
// server's summary is) keeps the last lines, which then say where and why a test failed.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class FailureRecap : public testing::EmptyTestEventListener {
 public:
  void OnTestPartResult(const testing::TestPartResult& result) override {
    if (!result.failed()) return;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string line = test ? std::string(test->test_suite_name()) + "." + test->name() + ": " : std::string();
    line += std::string(result.file_name() ? result.file_name() : "?") + ":" + std::to_string(result.line_number()) +
            ": " + result.message();
    for (char& c : line) {
      if (c == '\n') c = ' ';  // one line per failure
    }
    constexpr std::size_t kLongest = 600;
    if (line.size() > kLongest) line = line.substr(0, kLongest) + " ...";
    failures_.push_back(std::move(line));
  }

  void OnTestProgramEnd(const testing::UnitTest&) override {
    if (failures_.empty()) return;
    std::printf("[  RECAP   ] the failures again:\n");
    for (const std::string& failure : failures_) std::printf("[  RECAP   ] %s\n", failure.c_str());
    std::fflush(stdout);
  }

 private:
  std::vector<std::string> failures_;
};

// Added before main runs: the listeners belong to the one test program, whoever writes main.
[[maybe_unused]] const bool kRecapAdded = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new FailureRecap);
  return true;
}();

}  // namespace
