// The workbook import's reader: the active sheet of a .xlsx/.xlsm or an Excel 97-2003 .xls,
// told apart by content, never by the file's extension. It delivers the used range (the
// first to the last row and column holding a value) cell by cell, row by row, as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/workbook/workbook_error.h"

namespace app {

struct WorkbookLimits {
  std::size_t maxCells = 100000;               // cells of the used range (the list's rows)
  std::size_t maxPartBytes = std::size_t(128) << 20;  // one unpacked part or stream
};

// A cell holding a value; rows and columns count from 0.
struct SheetCell {
  std::uint32_t row = 0;
  std::uint32_t col = 0;
  std::u16string text;
};

// Collects the cells of one sheet, refusing more than the limit (the used range can only
// be larger than the cells in it).
class SheetCells {
 public:
  explicit SheetCells(std::size_t maxCells) : maxCells_(maxCells) {}
  void add(std::uint32_t row, std::uint32_t col, std::u16string text);
  std::vector<SheetCell>& cells() { return cells_; }

 private:
  std::size_t maxCells_;
  std::vector<SheetCell> cells_;
};

// The used range's texts: one per cell, row by row, empty cells as empty texts. Throws
// WorkbookFailure(TooManyCells) when the range holds more than maxCells cells.
std::vector<std::u16string> UsedRangeTexts(std::vector<SheetCell> cells, std::size_t maxCells);

struct WorkbookRead {
  WorkbookError error = WorkbookError::None;
  std::vector<std::u16string> cells;  // the used range, row by row
  bool ok() const { return error == WorkbookError::None; }
};

WorkbookRead ReadWorkbook(std::string_view fileBytes, const WorkbookLimits& limits = {});

// The two readers behind it: the cells of the active sheet (throwing WorkbookFailure).
std::vector<SheetCell> ReadXlsxCells(std::string_view fileBytes, const WorkbookLimits& limits);
std::vector<SheetCell> ReadXlsCells(std::string_view fileBytes, const WorkbookLimits& limits);

}  // namespace app
