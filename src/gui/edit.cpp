#include "gui/edit.h"

#include "gui/guard.h"
#include "gui/subclass.h"

namespace gui {

namespace {
constexpr UINT_PTR kEditLayer = 0x4564;  // "Ed"
}  // namespace

void Edit::Create(HWND parent, const ControlSpec& desc, HFONT font) {
  ControlSpec s = desc;
  s.style |= WS_TABSTOP | ES_AUTOHSCROLL;
  if (!s.exStyle) s.exStyle = WS_EX_CLIENTEDGE;
  CreateAs(L"EDIT", parent, s, font);
  if (!hwnd_) return;
  // WM_CHAR goes to the box itself, not to its parent: the box is subclassed to see it first.
  InstallSubclass(hwnd_, &Edit::SubclassProc, kEditLayer, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Edit::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<Edit*>(data);
  if (msg == WM_CHAR && self->OnKeyPress) {
    char16_t key = static_cast<char16_t>(wp);
    Guarded("edit key", [&] { self->OnKeyPress(key); });
    if (key == 0) return 0;
    wp = key;
  }
  return CallNextSubclass(hwnd, msg, wp, lp);
}

bool Edit::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
    if (OnChange) OnChange();
    result = 0;
    return true;
  }
  return false;
}

void Edit::SetMaxLength(int length) { SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(length), 0); }

void DigitsOnly(char16_t& key) {
  if (key == 8 || (key >= u'0' && key <= u'9')) return;
  key = 0;
}

}  // namespace gui
