// TForm1: the fill-in mode, a small stay-on-top window for filling forms in other programs.
#include "app/mainform/main_form_win32.h"

namespace app {

void TForm1::menutianbiaoClick() {
  if (Maximized()) ShowWindow(Handle(), SW_RESTORE);
  SetChecked(u"menutianbiao", !Checked(u"menutianbiao"));
  const LONG style = GetWindowLongW(Handle(), GWL_STYLE);

  if (!FillModeActive) {
    FillModeSavedHint = Checked(u"danjihoucuxiantisi");
    SetChecked(u"danjihoucuxiantisi", false);
    // Stay on top through the list modes, so that the row, the button and the window agree
    // (this also renews the window's place in the viewer chain).
    if (!history_->listModes().menutop) history_->toggleStayOnTop();
    speedmosiqiehuan.SetDown(true);
    FillModeActive = true;
    SetWindowLongW(Handle(), GWL_STYLE, style & ~WS_MAXIMIZEBOX);
    const MainLayout small = FillModeLayout(rememberedLayout_, layoutGaps_);
    // The list, its strip and the progress bar shrink with Panel1, so the list keeps its
    // scroll bar in view.
    ApplyLayout(small);
    SetLayoutWindowSize(small.window);
    FillModeMemoText = u"要还原窗口\r\n请按 填表模式切换 按钮\r\n";
    Memo1.SetText(FillModeMemoText);
  } else {
    SetChecked(u"danjihoucuxiantisi", FillModeSavedHint);
    SetLayoutWindowSize(rememberedLayout_.window);
    ApplyLayout(rememberedLayout_);
    if (history_->listModes().menutop) history_->toggleStayOnTop();
    speedmosiqiehuan.SetDown(false);
    FillModeActive = false;
    SetWindowLongW(Handle(), GWL_STYLE, style | WS_MAXIMIZEBOX);
    if (Memo1.Text() == FillModeMemoText) Memo1.SetText(u"");
  }
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  InvalidateRect(CheckListBox1.Handle(), nullptr, TRUE);
}

}  // namespace app
