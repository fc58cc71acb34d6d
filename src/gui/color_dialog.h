// The common colour dialog: a colour chosen, or nothing on Cancel.
#pragma once

#include <windows.h>

namespace gui {

class ColorDialog {
 public:
  COLORREF Color = RGB(0, 0, 0);
  // True when a colour was chosen (then in Color).
  bool Execute(HWND owner);

 private:
  COLORREF custom_[16] = {};
};

}  // namespace gui
