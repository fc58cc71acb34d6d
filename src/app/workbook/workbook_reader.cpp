#include "app/workbook/workbook_reader.h"

#include <algorithm>

#include "app/workbook/compound_file.h"
#include "app/workbook/zip_archive.h"

namespace app {

std::u16string WorkbookErrorText(WorkbookError error) {
  switch (error) {
    case WorkbookError::None: return u"";
    case WorkbookError::NotAWorkbook:
      return u"无法导入！这个文件不是Excel表格（只能导入 .xlsx、.xlsm 和 Excel 97-2003 的 .xls 文件）";
    case WorkbookError::OldFormat: return u"无法导入！这是Excel 95或更早版本的表格，请先用Excel另存为新格式";
    case WorkbookError::Encrypted: return u"无法导入！这个Excel表格设有密码保护";
    case WorkbookError::OpenDocument: return u"无法导入！这是OpenDocument表格（.ods），请先另存为Excel格式";
    case WorkbookError::Damaged: return u"无法导入！Excel表格文件已损坏或不完整";
    case WorkbookError::TooLarge: return u"无法导入！Excel表格文件太大";
    case WorkbookError::TooManyCells: return u"无法导入！表格中的数据太多，单元格数超过100000个";
  }
  return u"无法导入！";
}

void SheetCells::add(std::uint32_t row, std::uint32_t col, std::u16string text) {
  if (cells_.size() >= maxCells_) throw WorkbookFailure(WorkbookError::TooManyCells);
  cells_.push_back({row, col, std::move(text)});
}

std::vector<std::u16string> UsedRangeTexts(std::vector<SheetCell> cells, std::size_t maxCells) {
  if (cells.empty()) return {};
  std::uint32_t top = UINT32_MAX, left = UINT32_MAX, bottom = 0, right = 0;
  for (const SheetCell& c : cells) {
    top = std::min(top, c.row);
    bottom = std::max(bottom, c.row);
    left = std::min(left, c.col);
    right = std::max(right, c.col);
  }
  const std::uint64_t rows = std::uint64_t(bottom) - top + 1, cols = std::uint64_t(right) - left + 1;
  if (rows * cols > maxCells) throw WorkbookFailure(WorkbookError::TooManyCells);
  // A later value for the same cell wins (a damaged file may name a cell twice).
  std::stable_sort(cells.begin(), cells.end(),
                   [](const SheetCell& a, const SheetCell& b) { return a.row != b.row ? a.row < b.row : a.col < b.col; });
  std::vector<std::u16string> texts(static_cast<std::size_t>(rows * cols));
  for (SheetCell& c : cells) {
    texts[static_cast<std::size_t>((c.row - top) * cols + (c.col - left))] = std::move(c.text);
  }
  return texts;
}

namespace {
// Excel 2 to 4 wrote a sheet as bare records: a BOF record (09 00, 09 02, 09 04) first.
bool LooksLikeBareBiff(std::string_view bytes) {
  if (bytes.size() < 4 || bytes[0] != 0x09) return false;
  const unsigned char high = static_cast<unsigned char>(bytes[1]);
  return high == 0x00 || high == 0x02 || high == 0x04 || high == 0x08;
}
}  // namespace

WorkbookRead ReadWorkbook(std::string_view bytes, const WorkbookLimits& limits) {
  WorkbookRead read;
  try {
    std::vector<SheetCell> cells;
    if (ZipArchive::LooksLikeZip(bytes)) {
      cells = ReadXlsxCells(bytes, limits);
    } else if (CompoundFile::LooksLikeCompoundFile(bytes)) {
      cells = ReadXlsCells(bytes, limits);
    } else if (LooksLikeBareBiff(bytes)) {
      throw WorkbookFailure(WorkbookError::OldFormat);
    } else {
      throw WorkbookFailure(WorkbookError::NotAWorkbook);
    }
    read.cells = UsedRangeTexts(std::move(cells), limits.maxCells);
  } catch (const WorkbookFailure& failure) {
    read.error = failure.error;
    read.cells.clear();
  } catch (const std::bad_alloc&) {
    read.error = WorkbookError::TooLarge;
    read.cells.clear();
  }
  return read;
}

}  // namespace app
