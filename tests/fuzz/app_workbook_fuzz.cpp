// The workbook reader as hostile input: any bytes give either cells or a named error, never
// a crash, a hang or an allocation beyond the limits; the used range never exceeds its limit.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/workbook/workbook_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  app::WorkbookLimits limits;
  limits.maxPartBytes = 8 << 20;
  limits.maxCells = 5000;
  const app::WorkbookRead read = app::ReadWorkbook(bytes, limits);
  if (read.ok() ? read.cells.size() > limits.maxCells : !read.cells.empty()) std::abort();
  if (!read.ok() && app::WorkbookErrorText(read.error).empty()) std::abort();
  return 0;
}
