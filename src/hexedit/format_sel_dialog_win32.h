// TFormatSelDialog: "Select Data Format", the modal choice among the clipboard formats
// that a paste or drop could use, with the option "Hex Text" for the text formats.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "hexedit/hx_clipboard_data.h"

namespace hexedit {

struct FormatSelection {
  unsigned format = 0;
  bool hexText = false;
};

class TFormatSelDialog {
 public:
  // A dialog a quarter of the screen wide and high, centred on its owner. nullopt on Cancel
  // (or when nothing was chosen).
  static std::optional<FormatSelection> Execute(HWND owner, const std::vector<OfferedFormat>& formats,
                                                const RegisteredFormats& registered);
};

}  // namespace hexedit
