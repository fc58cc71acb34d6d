// TForm1: its controls and their layout.
#include "app/mainform/main_form_win32.h"

#include <commctrl.h>

#include "app/history/history_captions.h"
#include "app/skins/skins_menu_win32.h"
#include "gui/application.h"
#include "gui/wide.h"

namespace app {

namespace {
// Control ids start above the ids the dialog manager reserves (IDOK, IDCANCEL, ...).
enum ControlId : int {
  kPanel1 = 1001, kPanel2, kPanel3, kPanel4, kCheckListBox1, kMemo1, kButton1, kButton2, kBitBtn2, kBitBtn3,
  kSpeedJianqie, kSpeedMosiqiehuan, kSpeedDkwenjian, kSpeedWldizi, kSpeedCuangkouzui, kSpeedQuanbu, kSpeedGudin,
  kSpinButton1, kImage1, kProgressBar1, kMyUniMemo,
};

// The designed size of the main window (before scaling to the screen).
constexpr int kDesignedWidth = 688;
constexpr int kDesignedHeight = 526;
constexpr int kLeftColumn = 100;  // Panel3 and the left edge of Panel1
constexpr int kMemoHeight = 72;
constexpr int kPanel2Height = 28;

gui::ControlSpec At(int id, int left, int top, int width, int height, std::u16string text = {}, DWORD style = 0,
                    DWORD exStyle = 0) {
  gui::ControlSpec desc;
  desc.id = id;
  desc.left = left, desc.top = top, desc.width = width, desc.height = height;
  desc.text = std::move(text);
  desc.style = style;
  desc.exStyle = exStyle;
  return desc;
}
}  // namespace

TForm1::TForm1() = default;
TForm1::~TForm1() {
  // The edit boxes' paste goes through this window's reader only while it lives.
  gui::SetPasteTextReader(nullptr);
  unicode::TUniCustomMemo::SetPasteHandler(nullptr);
}

void TForm1::Create() {
  gui::FormSpec desc;
  desc.windowClass = u"TForm1";
  desc.caption = u" Quillora12.6";
  desc.width = kDesignedWidth;
  desc.height = kDesignedHeight;
  desc.style = WS_OVERLAPPEDWINDOW;
  gui::Application::Instance().SetMainForm(this);
  gui::Form::Create(desc);
}

void TForm1::CreateControls() {
  HWND self = Handle();
  HFONT font = Font();
  BuildMenus();

  const int cw = ClientWidth();
  const int ch = ClientHeight();
  // Panel4 is as wide as Panel1's left edge plus 5: the resize rule keeps its right gap so.
  const int panel4Width = kLeftColumn + 5;
  const int panel4Left = cw - panel4Width - 4;
  const int panel1Top = 4 + kMemoHeight + 4;
  const int panel1Width = panel4Left - 4 - kLeftColumn;
  const int panel1Height = ch - panel1Top - 4;
  const int listHeight = panel1Height - kPanel2Height - 2;

  // The left column: the tool switches.
  Panel3.Create(self, At(kPanel3, 4, 4, kLeftColumn - 8, 7 * 30 + 8, {}, 0, WS_EX_STATICEDGE), font);
  struct Switch {
    gui::SpeedButton* button;
    int id;
    const char16_t* caption;
    const char16_t* hint;
  };
  const Switch switches[] = {
      {&speedjianqie, kSpeedJianqie, u"剪切板监视", u"剪切板监视有效"},
      {&speedmosiqiehuan, kSpeedMosiqiehuan, u"填表模式", u"填表模式切换"},
      {&speeddkwenjian, kSpeedDkwenjian, u"打开文件夹", u"打开文件夹有效"},
      {&speedwldizi, kSpeedWldizi, u"打开网址", u"打开网络地址有效"},
      {&speedcuangkouzui, kSpeedCuangkouzui, u"窗口最前", u"窗口保持最前面"},
      {&SpeedButton_quanbu, kSpeedQuanbu, u"全部历史", u"显示全部历史文本"},
      {&SpeedButton_gudin, kSpeedGudin, u"固定条目", u"显示固定条目（收藏夹）"},
  };
  int y = 4;
  for (const Switch& s : switches) {
    s.button->Create(Panel3.Handle(), At(s.id, 4, y, kLeftColumn - 18, 26, s.caption), font);
    s.button->hint = s.hint;
    y += 30;
  }
  Image1.Create(self, At(kImage1, 4 + (kLeftColumn - 8 - 32) / 2, panel1Top + listHeight - 40, 32, 32));
  Image1.SetIcon(gui::Application::Instance().Icon());

  // The edit box above the list, and the hidden memo that carries text to and from the clipboard.
  Memo1.SetFont(font);
  Memo1.Create(self, kMemo1, gui::MakeRect(kLeftColumn, 4, panel1Width, kMemoHeight), WS_VSCROLL);
  gui::HostControl(Memo1);
  myUniMemo.SetFont(font);
  myUniMemo.Create(self, kMyUniMemo, gui::MakeRect(0, 0, 10, 10));
  myUniMemo.SetVisible(false);

  // Panel1: a strip with the progress bar above the history list.
  Panel1.Create(self, At(kPanel1, kLeftColumn, panel1Top, panel1Width, panel1Height), font);
  Panel2.Create(Panel1.Handle(), At(kPanel2, 0, 0, panel1Width, kPanel2Height, {}, 0, WS_EX_STATICEDGE), font);
  ProgressBar1.Create(Panel2.Handle(), At(kProgressBar1, 4, 5, panel1Width - 12, kPanel2Height - 14));
  ProgressBar1.SetVisible(false);
  ApplyListFont();
  CheckListBox1.SetItemHeight(19);
  // Row i mirrors history slot i: its caption is read from the store, not kept twice.
  CheckListBox1.SetCaptionSource([this](int row) {
    return history_ && row < history_->rowCount() ? ListRowCaption(history_->store().EntryTexts(row))
                                                  : std::u16string_view();
  });
  CheckListBox1.Create(Panel1.Handle(), kCheckListBox1,
                       gui::MakeRect(0, kPanel2Height + 2, panel1Width, listHeight), WS_HSCROLL);
  gui::HostControl(CheckListBox1);

  // Panel4: the row and deletion buttons beside the list; the edit box's buttons above it.
  Button1.Create(self, At(kButton1, panel4Left, 8, panel4Width, 28, u"加入"), font);
  Button2.Create(self, At(kButton2, panel4Left, 44, panel4Width, 28, u"清除"), font);
  Button2.hint = u"清空编辑框";
  Panel4.Create(self, At(kPanel4, panel4Left, panel1Top + kPanel2Height + 2, panel4Width, listHeight), font);
  SpinButton1.Create(Panel4.Handle(), At(kSpinButton1, (panel4Width - 24) / 2, 4, 24, 48));
  BitBtn2.Create(Panel4.Handle(), At(kBitBtn2, 4, 60, panel4Width - 8, 28, u"删除未勾选"), font);
  BitBtn3.Create(Panel4.Handle(), At(kBitBtn3, 4, 94, panel4Width - 8, 28, u"全部删除"), font);
  BitBtn2.kind = BitBtn3.kind = gui::ControlKind::BitBtn;  // bit buttons of the design

  AddTimer(Timer1, 5000, true);
  AddTimer(Timer2, 20000, false);
  Timer1.OnTimer = [this] { Timer1Timer(); };

  BindHistoryCommands();
  Bind(u"menuyouxiaoClick", [this] { menuyouxiaoClick(); });
  BindPasteCommands();
  BindOptionsCommands();
  BindDataBoxCommands();
  BindFixedCommands();
  BindTrayCommands();
  BindHotKeyCommands();
  BindSnapshotCommands();
  Bind(u"yicunwenbenfasongClick", [this] { yicunwenbenfasongClick(); });
  speedjianqie.OnClick = [this] {
    speedjianqie.SetDown(!speedjianqie.Down());
    menuyouxiaoClick();
  };
  CheckListBox1.OnClick = [this] { CheckListBox1Click(); };
  BindListInteraction();
  BindListReorder();
}

namespace {
int HeightOf(HWND hwnd) {
  const RECT r = gui::BoundsInParent(hwnd);
  return r.bottom - r.top;
}
int WidthOf(HWND hwnd) {
  const RECT r = gui::BoundsInParent(hwnd);
  return r.right - r.left;
}
}  // namespace

void TForm1::ApplyListFont() {
  // The size is in points, as the font dialog gives it.
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(settings_.ListFontSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  const bool bold = listFontStyle_ == ListFontStyle::Bold;
  const bool underlined = listFontStyle_ == ListFontStyle::Underlined;
  listFont_ = gui::MakeFont(settings_.ListFontName, height, bold ? FW_BOLD : FW_NORMAL, GB2312_CHARSET, false,
                            underlined);
  CheckListBox1.SetFont(listFont_.get());
  CheckListBox1.SetFontColor(ListTextColor());
}

MainLayout TForm1::CurrentLayout() const {
  MainLayout l;
  l.window = LayoutWindowSize();
  l.panel1Left = Panel1.Left(), l.panel1Top = Panel1.Top();
  l.panel1Width = Panel1.Width(), l.panel1Height = Panel1.Height();
  l.panel2Height = Panel2.Height();
  l.listHeight = HeightOf(CheckListBox1.Handle());
  l.panel4Left = Panel4.Left(), l.panel4Width = Panel4.Width(), l.panel4Height = Panel4.Height();
  l.memoWidth = WidthOf(Memo1.Handle());
  l.image1Top = Image1.Top();
  return l;
}

void TForm1::ApplyLayout(const MainLayout& l) {
  Panel1.SetBounds(l.panel1Left, l.panel1Top, l.panel1Width, l.panel1Height);
  Panel2.SetWidth(l.panel1Width);
  ProgressBar1.SetWidth(l.panel1Width - 12);
  CheckListBox1.SetBounds(gui::MakeRect(0, l.panel2Height + 2, l.panel1Width, l.listHeight));
  Panel4.SetBounds(l.panel4Left, Panel4.Top(), l.panel4Width, l.panel4Height);
  Button1.SetLeft(l.panel4Left);
  Button2.SetLeft(l.panel4Left);
  const RECT memo = gui::BoundsInParent(Memo1.Handle());
  Memo1.SetBounds(gui::MakeRect(memo.left, memo.top, l.memoWidth, memo.bottom - memo.top));
  Image1.SetTop(l.image1Top);
}

void TForm1::RememberLayout() { rememberedLayout_ = CurrentLayout(); }

Size TForm1::LayoutWindowSize() const {
  return {ClientWidth() + layoutFrame_.width, ClientHeight() + layoutFrame_.height};
}

void TForm1::SetLayoutWindowSize(Size size) {
  SetBounds(Left(), Top(), size.width - layoutFrame_.width + Width() - ClientWidth(),
            size.height - layoutFrame_.height + Height() - ClientHeight());
}

void TForm1::FormResize() {
  if (ScalingActive || FillModeActive || !Panel1.Handle()) return;
  if (Minimized()) return;
  const MainLayout next = ApplyResizeRule(CurrentLayout(), layoutGaps_, LayoutWindowSize());
  ApplyLayout(next);
  RememberLayout();
}

}  // namespace app
