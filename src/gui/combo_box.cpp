#include "gui/combo_box.h"

#include "gui/wide.h"

namespace gui {

void ComboBox::Create(HWND parent, const ControlSpec& desc, HFONT font, int dropHeight) {
  ControlSpec s = desc;
  s.style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
  // The height of a combo box window includes its dropped-down list.
  s.height = desc.height + dropHeight;
  CreateAs(L"COMBOBOX", parent, s, font);
}

bool ComboBox::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == CBN_SELCHANGE) {
    if (OnSelect) OnSelect();
    result = 0;
    return true;
  }
  return false;
}

void ComboBox::SetItems(const std::vector<std::u16string>& items) {
  SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
  for (const std::u16string& item : items) SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item)));
}

int ComboBox::ItemCount() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)); }

std::u16string ComboBox::ItemText(int index) const {
  const LRESULT length = SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return U(text);
}

int ComboBox::ItemIndex() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }
void ComboBox::SetItemIndex(int index) { SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

}  // namespace gui
