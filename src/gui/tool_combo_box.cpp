#include "gui/tool_combo_box.h"

#include "gui/wide.h"

namespace gui {

void ToolComboBox::Create(HWND parent, const ControlSpec& desc, HFONT font, bool sorted, int dropDownHeight) {
  ControlSpec s = desc;
  s.style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | (sorted ? CBS_SORT : 0);
  s.height = dropDownHeight;  // a combo box's height is that of its open list
  CreateAs(L"COMBOBOX", parent, s, font);
}

bool ToolComboBox::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND) return false;
  switch (HIWORD(wp)) {
    case CBN_SELCHANGE:
    case CBN_EDITCHANGE:
      if (OnChange) OnChange();
      break;
    case CBN_CLOSEUP:
      if (OnCloseUp) OnCloseUp();
      break;
    default:
      return false;
  }
  result = 0;
  return true;
}

void ToolComboBox::Clear() { SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0); }

void ToolComboBox::AddItem(std::u16string_view text) {
  const std::u16string s(text);
  SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
}

void ToolComboBox::SetItems(const std::vector<std::u16string>& items) {
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  Clear();
  for (const std::u16string& item : items) AddItem(item);
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
}

int ToolComboBox::Count() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)); }

std::u16string ToolComboBox::Item(int index) const {
  const LRESULT n = SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == CB_ERR) return {};
  std::u16string text(static_cast<size_t>(n) + 1, u'\0');
  SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  return text;
}

int ToolComboBox::IndexOf(std::u16string_view text) const {
  const std::u16string s(text);
  for (int start = -1;;) {
    const LRESULT i = SendMessageW(hwnd_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(s.c_str()));
    if (i == CB_ERR || static_cast<int>(i) <= start) return -1;
    // The search ignores case: the row must match exactly.
    if (Item(static_cast<int>(i)) == s) return static_cast<int>(i);
    start = static_cast<int>(i);
  }
}

int ToolComboBox::ItemIndex() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }

void ToolComboBox::SetItemIndex(int index) { SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

std::u16string ToolComboBox::Text() const { return Control::Text(); }

void ToolComboBox::SetText(std::u16string_view text) {
  SetItemIndex(-1);
  Control::SetText(text);
}

}  // namespace gui
