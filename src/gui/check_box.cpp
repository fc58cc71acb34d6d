#include "gui/check_box.h"

namespace gui {

void CheckBox::Create(HWND parent, const ControlSpec& desc, HFONT font) {
  ControlSpec s = desc;
  s.style |= WS_TABSTOP | BS_AUTOCHECKBOX;
  CreateAs(L"BUTTON", parent, s, font);
}

bool CheckBox::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    if (OnClick) OnClick();
    result = 0;
    return true;
  }
  return false;
}

bool CheckBox::Checked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void CheckBox::SetChecked(bool checked) { SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

void GroupBox::Create(HWND parent, const ControlSpec& desc, HFONT font) {
  ControlSpec s = desc;
  s.style |= BS_GROUPBOX;
  CreateAs(L"BUTTON", parent, s, font);
}

}  // namespace gui
