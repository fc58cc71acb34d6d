#include "gui/color_dialog.h"

#include <commdlg.h>

#include "gui/modal_loop.h"

namespace gui {

bool ColorDialog::Execute(HWND owner) {
  for (COLORREF& c : custom_)
    if (c == 0) c = RGB(255, 255, 255);
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.rgbResult = Color;
  choose.lpCustColors = custom_;
  choose.Flags = CC_RGBINIT | CC_ANYCOLOR;
  const ModalLoopScope modal;
  if (!ChooseColorW(&choose)) return false;
  Color = choose.rgbResult;
  return true;
}

}  // namespace gui
