#include "windows/about_box_win32.h"

#include <shellapi.h>

#include <string>

#include "gui/application.h"
#include "windows/clipboard_text_win32.h"

namespace windows {

void ClickableLabel::Create(HWND parent, const gui::ControlSpec& desc, HFONT font) {
  gui::ControlSpec s = desc;
  s.style |= SS_NOTIFY;
  gui::Label::Create(parent, s, font);
}

bool ClickableLabel::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND) {
    if (HIWORD(wp) == STN_CLICKED && OnClick) OnClick();
    if (HIWORD(wp) == STN_DBLCLK && OnDblClick) OnDblClick();
    result = 0;
    return true;
  }
  if (msg == WM_CTLCOLORSTATIC) {
    HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, color);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
  }
  return false;
}

void ShellOpen(std::u16string_view target) {
  const std::u16string t(target);
  ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(t.c_str()), nullptr, nullptr, SW_SHOWNORMAL);
}

TAboutBox::TAboutBox()
    : SecondaryForm(gui::FormSpec{u"TAboutBox", u"About", 380, 250, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME},
                    false) {}

void TAboutBox::CreateControls() {
  HFONT font = Font();
  nameFont_ = gui::MakeFont(u"宋体", -16, FW_BOLD);
  linkFont_ = gui::MakeFont(u"宋体", -12, FW_NORMAL, GB2312_CHARSET, false, true);

  ProgramIcon.Create(hwnd_, gui::ControlSpec{1, 16, 16, 32, 32, u""});
  ProgramIcon.SetIcon(gui::Application::Instance().Icon() ? gui::Application::Instance().Icon()
                                                          : LoadIconW(nullptr, IDI_APPLICATION));
  ProductName.Create(hwnd_, gui::ControlSpec{2, 64, 18, 240, 20, AboutTexts::kProductName}, nameFont_.get());
  Version.Create(hwnd_, gui::ControlSpec{3, 64, 46, 250, 18, AboutTexts::kVersion}, font);
  Comments.Create(hwnd_, gui::ControlSpec{4, 16, 92, 350, 18, AboutTexts::kComments}, font);
  Label1.Create(hwnd_, gui::ControlSpec{5, 16, 120, 350, 18, AboutTexts::kWebPage}, linkFont_.get());
  Label1.color = RGB(0, 0, 255);
  OKButton.Create(hwnd_, gui::ControlSpec{IDOK, 150, 172, 75, 25, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP}, font);

  ProductName.OnDblClick = [this] { ProductNameDblClick(); };
  Version.OnDblClick = [this] { VersionDblClick(); };
  Comments.OnClick = [this] { CommentsClick(); };
  Comments.OnDblClick = [this] { CommentsDblClick(); };
  Label1.OnClick = [this] { Label1Click(); };
  OKButton.OnClick = [this] { OKButtonClick(); };
}

// The about box's copies are ordinary clipboard changes: the main window captures them.
void TAboutBox::ProductNameDblClick() { PutTextOnClipboard(hwnd_, ProductName.Text()); }
void TAboutBox::VersionDblClick() { PutTextOnClipboard(hwnd_, Version.Text()); }
void TAboutBox::CommentsClick() { PutTextOnClipboard(hwnd_, AboutTexts::kEmail); }
void TAboutBox::CommentsDblClick() { ShellOpen(std::u16string(u"mailto:") + AboutTexts::kEmail); }
void TAboutBox::Label1Click() { ShellOpen(AboutTexts::kWebPage); }
void TAboutBox::OKButtonClick() { Close(); }

}  // namespace windows
