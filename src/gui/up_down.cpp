#include "gui/up_down.h"

#include <commctrl.h>

namespace gui {

void UpDown::Create(HWND parent, int id, HWND buddy, int min, int max) {
  min_ = min;
  max_ = max;
  ControlSpec s;
  s.id = id;
  s.style = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
  CreateAs(UPDOWN_CLASSW, parent, s, nullptr);
  kind = ControlKind::SpinButton;
  if (!hwnd_) return;
  SendMessageW(hwnd_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  SendMessageW(hwnd_, UDM_SETRANGE32, static_cast<WPARAM>(min), static_cast<LPARAM>(max));
  SendMessageW(hwnd_, UDM_SETPOS32, 0, min);
}

bool UpDown::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  // The up-down reports a finished move to its parent as a scroll message.
  if ((msg == WM_VSCROLL || msg == WM_HSCROLL) && LOWORD(wp) == SB_THUMBPOSITION) {
    if (OnClick) OnClick();
    result = 0;
    return true;
  }
  return false;
}

int UpDown::Position() const {
  BOOL failed = FALSE;
  const int position = static_cast<int>(SendMessageW(hwnd_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  return position;
}

void UpDown::SetPosition(int position) { SendMessageW(hwnd_, UDM_SETPOS32, 0, position); }

}  // namespace gui
