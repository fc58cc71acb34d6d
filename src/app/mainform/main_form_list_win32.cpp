// TForm1: the history list's interaction beyond the click: double click and Enter, the click
// hint, range checking with Shift, the hover frame, the edit box buttons and the small list
// commands.
#include <windows.h>
#include <shellapi.h>

#include "app/commands/folder_commands.h"
#include "app/mainform/list_interaction.h"
#include "app/mainform/main_form_win32.h"
#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/gdi.h"
#include "gui/wide.h"

namespace app {

namespace {
void ShellOpen(HWND owner, const std::u16string& file, const std::u16string& parameters, int show) {
  ShellExecuteW(owner, L"open", gui::W(file), parameters.empty() ? nullptr : gui::W(parameters), nullptr, show);
}
constexpr COLORREF kHoverFrameColor = RGB(86, 0, 79);
}  // namespace

void TForm1::BindListInteraction() {
  CheckListBox1.OnDblClick = [this] { CheckListBox1DblClick(); };
  CheckListBox1.OnKeyPress = [this](wchar_t& key) {
    if (key == 13) CheckListBox1DblClick();
    else if (key == 27) gui::Application::Instance().Minimize();
  };
  CheckListBox1.OnKeyDown = [this](WORD&, unicode::TShiftState shift) { rangeChecker_.ShiftDown(shift == unicode::ssShift); };
  CheckListBox1.OnKeyUp = [this](WORD&, unicode::TShiftState) { rangeChecker_.KeyUp(); };
  CheckListBox1.OnMouseMove = [this](unicode::TShiftState, int x, int y) { CheckListBox1MouseMove(x, y); };
  CheckListBox1.OnContextPopup = [this](POINT at, bool& handled) {
    HideClickHint(false);
    EraseHoverFrame();
    // Both follow the view the list shows now, whichever command last changed it (a list
    // opened from the fixed view leaves it without a button press).
    PopupMenu1.SetEnabled(u"tianjiadaogudintiaomu", !history_->fixedView());
    PopupMenu1.SetEnabled(u"zuanyidaosuqian", !history_->fixedView());
    if (at.x == -1 && at.y == -1) GetCursorPos(&at);
    PopupMenu1.Popup(Handle(), at.x, at.y);
    handled = true;
  };
  Memo1.OnKeyPress = [](wchar_t& key) {
    if (key == 27) gui::Application::Instance().Minimize();
  };
  Memo1.OnMouseMove = [this](unicode::TShiftState, int, int) { MouseLeftTheList(); };
  Panel3.OnMouseMove = [this](int, int) { MouseLeftTheList(); };
  Panel4.OnMouseMove = [this](int, int) { EraseHoverFrame(); };
  Button1.OnClick = [this] {
    const int row = SelectedRow();
    if (history_->rowCount() > 0 && row >= 0) Memo1.SetText(Memo1.Text() + std::u16string(history_->store().EntryTexts(row)));
  };
  Button2.OnClick = [this] { Memo1.SetText(u""); };
  Timer2.OnTimer = [this] { HideClickHint(true); };

  Bind(u"N55Click", [this] {
    for (int row = 0; row < history_->rowCount(); ++row) {
      history_->userSetChecked(row, false);
      CheckListBox1.SetChecked(row, false);
    }
  });
  Bind(u"N53Click", [this] {
    capture_.LastClipText.clear();
    capture_.CopyStepPending = false;
    capture_.CopyStepCaptured = false;
  });
}

// ---- Double click and Enter ---------------------------------------------------------------------

void TForm1::CheckListBox1DblClick() {
  if (SelectedRow() < 0) return;
  const bool onTop = Checked(u"menutop");
  const std::u16string& last = capture_.LastClipText;
  if (Checked(u"dakai")) {
    if (last == u"我的电脑" || last == u"计算机") {
      ShellOpen(Handle(), u"explorer.exe", u"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", SW_SHOWMAXIMIZED);
      if (!onTop) gui::Application::Instance().Minimize();
      return;
    }
    const std::u16string path = TrimBlanks(last);
    if (gui::FolderExists(path)) {
      OpenFolderInExplorer(path, SW_SHOWMAXIMIZED);
    } else if (gui::FileExists(path)) {
      ShellOpen(Handle(), u"Explorer.exe", ExplorerSelectArguments(path), SW_SHOWMAXIMIZED);
    } else {
      gui::ShowMessage(u"文件夹路径或文件路径不存在  " + last);
      return;
    }
    if (onTop) return;
  }
  if (Checked(u"menuinter")) {
    // Only a web address goes to the shell: any other text would be run as a program.
    if (IsWebAddress(last)) ShellOpen(Handle(), TrimBlanks(last), u"", SW_SHOWMAXIMIZED);
    if (onTop) return;
  }
  if (onTop) return;
  gui::Application::Instance().Minimize();
  if (Checked(u"zidongniantie")) {
    gui::Application::Instance().Wait(500);
    keybd_event(VK_CONTROL, static_cast<BYTE>(MapVirtualKeyW(VK_CONTROL, 0)), 0, 0);
    keybd_event('V', static_cast<BYTE>(MapVirtualKeyW('V', 0)), 0, 0);
    keybd_event('V', static_cast<BYTE>(MapVirtualKeyW('V', 0)), KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, static_cast<BYTE>(MapVirtualKeyW(VK_CONTROL, 0)), KEYEVENTF_KEYUP, 0);
    PlaySoundFile(u"自动粘贴.wav");
  }
}

// ---- The click hint ------------------------------------------------------------------------------

void TForm1::ShowClickHintFor(int row) {
  const std::u16string_view text = history_->store().EntryTexts(row);
  // One hint at a time: another row's click first hides the one shown; the same row's click
  // while the hint is up leaves it as it is.
  if (clickHint_.Handle()) {
    if (row != ClickHintRow) {
      HideClickHint(true);
    } else if (Timer2.Enabled()) {
      return;
    }
  }
  ClickHintRow = row;
  if (!Checked(u"danjihoucuxiantisi")) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const std::u16string caption = ClickHintCaption(row, text);
  gui::Application::Instance().Wait(100);
  if (!hintFont_) hintFont_ = gui::MakeFont(u"宋体", -16);
  clickHint_.SetFont(hintFont_.get());
  RECT r = clickHint_.CalcHintRect(GetSystemMetrics(SM_CXSCREEN) / 3, caption);
  OffsetRect(&r, cursor.x, cursor.y + 24);
  clickHint_.ActivateHint(r, caption, Handle());
  Timer2.SetEnabled(true);
}

void TForm1::HideClickHint(bool stopTimer) {
  if (clickHint_.Handle()) clickHint_.Hide();
  if (stopTimer) {
    Timer2.SetEnabled(false);
    HintMoveCount = 0;
  }
}

void TForm1::CloseClickHint() {
  if (Timer2.Enabled() || clickHint_.Visible()) HideClickHint(true);
}

void TForm1::MouseLeftTheList() {
  if (clickHint_.Visible()) HideClickHint(true);
  EraseHoverFrame();
}

// ---- Mouse over the list: first start, hint closing, hover frame --------------------------------

void TForm1::CheckListBox1MouseMove(int x, int y) {
  if (FirstStart) {
    FirstStart = false;
    ShowFirstStartIntroduction();
  }
  if (Timer2.Enabled() && ++HintMoveCount > 8) HideClickHint(true);
  if (!Checked(u"zisexvkuang")) return;
  const int row = CheckListBox1.ItemAtPos(POINT{x, y}, true);
  if (row < 0) {
    if (HoverFrameShown) EraseHoverFrame();
    return;
  }
  if (row == HoverRow) return;
  EraseHoverFrame();
  DrawRowFrame(row, kHoverFrameColor);
  HoverRow = row;
  HoverFrameShown = true;
}

void TForm1::DrawRowFrame(int row, COLORREF color) {
  RECT r = CheckListBox1.ItemRect(row);
  if (IsRectEmpty(&r)) return;
  r.left += CheckListBox1.CheckWidth();
  HDC dc = GetDC(CheckListBox1.Handle());
  gui::UniqueBrush brush(CreateSolidBrush(color));
  FrameRect(dc, &r, brush.get());
  ReleaseDC(CheckListBox1.Handle(), dc);
}

void TForm1::EraseHoverFrame() {
  if (HoverFrameShown && HoverRow >= 0 && HoverRow < history_->rowCount()) DrawRowFrame(HoverRow, RGB(255, 255, 255));
  HoverFrameShown = false;
  HoverRow = -1;
}

void TForm1::ShowFirstStartIntroduction() {
  // The introduction opens in the formatted view; the celebration window follows it.
  cakansoucijiesaoClick();
  relieqinzuClick();
}

}  // namespace app
