// Reads the workbook fixtures of tests/data/workbook (written by make_fixtures.py there).
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace app::test {

inline std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::filesystem::path(QUILL_TESTDATA_DIR) / "workbook" / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace app::test
