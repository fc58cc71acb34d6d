// TForm1: the fill-in mode, a small stay-on-top window for filling forms in other programs.
#include "app/main_form_win32.h"

namespace app {

void TForm1::SetListHeight(int height) {
  const RECT r = gui::BoundsInParent(CheckListBox1.Handle());
  CheckListBox1.SetBounds(gui::MakeRect(r.left, r.top, r.right - r.left, height));
}

void TForm1::menutianbiaoClick() {
  if (Maximized()) ShowWindow(Handle(), SW_RESTORE);
  SetChecked(u"menutianbiao", !Checked(u"menutianbiao"));
  const LONG style = GetWindowLongW(Handle(), GWL_STYLE);

  if (!FillModeActive) {
    FillModeSavedHint = Checked(u"danjihoucuxiantisi");
    SetChecked(u"danjihoucuxiantisi", false);
    SetChecked(u"menutop", true);
    SetStayOnTop(true);
    JoinClipboardChain();
    speedcuangkouzui.SetDown(true);
    speedmosiqiehuan.SetDown(true);
    FillModeActive = true;
    SetWindowLongW(Handle(), GWL_STYLE, style & ~WS_MAXIMIZEBOX);
    const MainLayout small = FillModeLayout(rememberedLayout_, layoutGaps_);
    Image1.SetTop(small.image1Top);
    SetListHeight(small.listHeight);
    Panel1.SetWidth(small.panel1Width);
    SetBounds(Left(), Top(), small.window.width, small.window.height);
    FillModeMemoText = u"要还原窗口\r\n请按 填表模式切换 按钮\r\n";
    Memo1.SetText(FillModeMemoText);
  } else {
    SetChecked(u"danjihoucuxiantisi", FillModeSavedHint);
    const MainLayout& l = rememberedLayout_;
    Image1.SetTop(l.image1Top);
    SetBounds(Left(), Top(), l.window.width, l.window.height);
    SetListHeight(l.listHeight);
    Panel1.SetWidth(l.panel1Width);
    SetChecked(u"menutop", false);
    SetStayOnTop(false);
    JoinClipboardChain();
    speedcuangkouzui.SetDown(false);
    speedmosiqiehuan.SetDown(false);
    FillModeActive = false;
    SetWindowLongW(Handle(), GWL_STYLE, style | WS_MAXIMIZEBOX);
    if (Memo1.Text() == FillModeMemoText) Memo1.SetText(u"");
  }
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  InvalidateRect(CheckListBox1.Handle(), nullptr, TRUE);
}

}  // namespace app
