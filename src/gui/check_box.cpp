#include "gui/check_box.h"

#include "gui/subclass.h"

namespace gui {

void CheckBox::Create(HWND parent, const ControlSpec& desc, HFONT font) {
  ControlSpec s = desc;
  s.style |= WS_TABSTOP | BS_AUTOCHECKBOX;
  CreateAs(L"BUTTON", parent, s, font);
  kind = ControlKind::CheckBox;
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

namespace {
constexpr UINT_PTR kGroupBoxLayer = 0x4762;  // "Gb"
}  // namespace

void GroupBox::Create(HWND parent, const ControlSpec& desc, HFONT font) {
  ControlSpec s = desc;
  // Clipped by the controls inside the frame, which are its siblings above it.
  s.style |= BS_GROUPBOX | WS_CLIPSIBLINGS;
  CreateAs(L"BUTTON", parent, s, font);
  kind = ControlKind::GroupBox;
  if (!hwnd_) return;
  InstallSubclass(hwnd_, &GroupBox::SubclassProc, kGroupBoxLayer, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK GroupBox::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_ERASEBKGND) {
    RECT area{};
    GetClientRect(hwnd, &area);
    FillRect(reinterpret_cast<HDC>(wp), &area, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  return CallNextSubclass(hwnd, msg, wp, lp);
}

bool GroupBox::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN) return false;
  SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
  result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  return true;
}

}  // namespace gui
