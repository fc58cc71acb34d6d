// Why a workbook could not be read, and the message the import shows for it.
#pragma once

#include <stdexcept>
#include <string>

namespace app {

enum class WorkbookError {
  None,
  NotAWorkbook,  // neither a .xlsx nor an Excel 97-2003 .xls by its content (CSV, text, ...)
  OldFormat,     // an .xls of Excel 95 or older
  Encrypted,     // protected by a password
  OpenDocument,  // an .ods
  Damaged,       // the structure does not hold together
  TooLarge,      // a part or stream beyond the reader's limits
  TooManyCells,  // the used range holds more cells than the list can take
};

std::u16string WorkbookErrorText(WorkbookError error);

// Thrown inside the readers; the entry point turns it into a result.
struct WorkbookFailure : std::runtime_error {
  explicit WorkbookFailure(WorkbookError e) : std::runtime_error("workbook"), error(e) {}
  WorkbookError error;
};

}  // namespace app
