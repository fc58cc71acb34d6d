#include "windows/entry_viewer_win32.h"

#include <span>

#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/wide.h"
#include "unicode/codepage.h"
#include "windows/clipboard_text_win32.h"

namespace windows {

namespace {

constexpr int kToolBarHeight = 30;
enum : int { kToolBar1 = 3001, kToolButton1, kToolButtonsiliujinzisitu, kMemo1, kHexEditorEx1 };

using gui::kMenuHidden;
using gui::MenuRowSpec;

constexpr MenuRowSpec kMainMenu1[] = {
    {0, u"N1", u"  编辑  ", u"", gui::kMenuSubmenu},
    {1, u"wenbensitu", u"文本视图", u"wenbensituClick"},
    {1, u"siliujinzisitu", u"十六进制视图", u"siliujinzisituClick"},
    {1, u"kaobeisiliujinzisuju", u"拷贝选择的十六进制数据", u"kaobeisiliujinzisujuClick", kMenuHidden},
    {1, u"xiansisujuwenben", u"显示选择的数据文本", u"xiansisujuwenbenClick", kMenuHidden},
};

constexpr MenuRowSpec kPopupMenu1[] = {
    {0, u"N3", u"拷贝选择的十六进制数据", u"kaobeisiliujinzisujuClick"},
    {0, u"N6", u"显示选择的数据文本", u"xiansisujuwenbenClick"},
};

constexpr char16_t kEntryGone[] = u"这条记录已被删除，或列表已重新载入，无法保存修改。";

}  // namespace

TForm3::TForm3()
    : SecondaryForm(gui::FormSpec{u"TForm3", u"查看/修改（单条记录，无格式）", 600, 450, WS_OVERLAPPEDWINDOW,
                                  WS_EX_TOPMOST},
                    true) {}

TForm3::~TForm3() = default;

void TForm3::CreateControls() {
  HWND self = Handle();
  HFONT font = Font();
  MainMenu1.Build(gui::Menu::Kind::Bar, kMainMenu1, 3100);
  PopupMenu1.Build(gui::Menu::Kind::Popup, kPopupMenu1, 3200);
  SetMenuBar(MainMenu1);
  AddPopupMenu(PopupMenu1);
  BindHandlers();

  ToolBar1.Create(self, gui::ControlSpec{kToolBar1, 0, 0, ClientWidth(), kToolBarHeight}, font);
  ToolButton1.Create(ToolBar1.Handle(), gui::ControlSpec{kToolButton1, 2, 2, 90, kToolBarHeight - 4, u"保存修改"}, font);
  ToolButton1.hint = u"保存当前修改，但是并未保存到文件";
  ToolButton1.OnClick = [this] { ToolButton1Click(); };
  ToolButtonsiliujinzisitu.Create(
      ToolBar1.Handle(), gui::ControlSpec{kToolButtonsiliujinzisitu, 96, 2, 110, kToolBarHeight - 4, u"十六进制视图"},
      font);
  ToolButtonsiliujinzisitu.hint = u"切换十六进制视图";
  ToolButtonsiliujinzisitu.OnClick = [this] { ToolButtonsiliujinzisituClick(); };

  const RECT client = gui::MakeRect(0, kToolBarHeight, ClientWidth(), ClientHeight() - kToolBarHeight);
  memoFont_ = gui::MakeFont(u"宋体", -16);
  Memo1.SetFont(memoFont_.get());
  Memo1.Create(self, kMemo1, client, WS_VSCROLL);
  gui::HostControl(Memo1);

  HexEditorEx1.Create(self, kHexEditorEx1, client);
  HexEditorEx1.SetReadOnlyView(true);
  HexEditorEx1.SetBytesPerRow(16);
  HexEditorEx1.SetTranslation(hexedit::THxTranslationKind::tkAsIs);
  HexEditorEx1.SetOffsetFormat("-!10:0x|");
  HexEditorEx1.SetFocusFrame(true);
  HexEditorEx1.SetDrawGridLines(false);
  hexedit::THxFont hexFont = HexEditorEx1.Font();
  hexFont.Name = u"Courier New";
  hexFont.Size = 11;  // 15 pixels at 96 dots per inch
  HexEditorEx1.SetFont(hexFont);
  HexEditorEx1.PopupMenu = &PopupMenu1;
  HexEditorEx1.OnSelectionChanged = [] {};
}

void TForm3::Bind(std::u16string_view handler, std::function<void()> action) {
  MainMenu1.Bind(handler, action);
  PopupMenu1.Bind(handler, action);
}

void TForm3::BindHandlers() {
  Bind(u"wenbensituClick", [this] { wenbensituClick(); });
  Bind(u"siliujinzisituClick", [this] { siliujinzisituClick(); });
  Bind(u"kaobeisiliujinzisujuClick", [this] { kaobeisiliujinzisujuClick(); });
  Bind(u"xiansisujuwenbenClick", [this] { xiansisujuwenbenClick(); });
}

void TForm3::FormCreate() {
  SecondaryForm::FormCreate();  // scales itself
  HexEditorEx1.SetVisible(false);
  MainMenu1.SetVisible(u"kaobeisiliujinzisuju", false);
  MainMenu1.SetVisible(u"xiansisujuwenben", false);
}

void TForm3::FormResize() {
  const int width = ClientWidth(), height = ClientHeight();
  ToolBar1.SetBounds(0, 0, width, kToolBarHeight);
  const RECT client = gui::MakeRect(0, kToolBarHeight, width, std::max(0, height - kToolBarHeight));
  Memo1.SetBounds(client);
  HexEditorEx1.SetBounds(client.left, client.top, client.right - client.left, client.bottom - client.top);
}

void TForm3::ShowEntryOfSelectedRow() {
  if (!host_) return;
  const std::optional<ViewedEntry> entry = host_->SelectedEntry();
  if (!entry) return;
  entry_ = entry;
  Show();
  // A skin takes the window over by a message posted on activation: its frame is put on
  // before a long text keeps the program busy, so nothing moves under the pointer afterwards
  // and the memo is not wrapped again for a new size.
  gui::Application::Instance().ProcessPostedMessages(Handle());
  Memo1.SetText(host_->EntryText(*entry));
  // Whichever view is up shows the new entry, and it takes the keys.
  if (HexEditorEx1.Visible()) siliujinzisituClick();
  FocusVisibleView();
}

void TForm3::FocusVisibleView() {
  if (HexEditorEx1.Visible()) HexEditorEx1.SetFocus();
  else Memo1.SetFocus();
}

void TForm3::ToolButton1Click() {
  if (!host_ || !entry_) return;
  const std::u16string text = Memo1.Text();
  std::optional<ViewedEntry> saved = host_->SaveEntryText(*entry_, text);
  if (!saved) {
    gui::MessageBoxU(kEntryGone, u"出错", MB_OK | MB_ICONERROR);
    return;
  }
  entry_ = std::move(saved);
}

void TForm3::siliujinzisituClick() {
  // Over the memo: the memo steps back while the hex view shows, so neither paints over the other.
  Memo1.SetVisible(false);
  HexEditorEx1.SetVisible(true);
  // The hex view always shows the memo's current text, edited or not.
  HexEditorEx1.LoadFromString(unicode::Utf16ToAnsi(Memo1.Text()));
  ToolButtonsiliujinzisitu.SetDown(true);
  FocusVisibleViewIfFocusIsHere();
}

void TForm3::wenbensituClick() {
  if (!HexEditorEx1.Visible()) return;
  HexEditorEx1.SetVisible(false);
  Memo1.SetVisible(true);
  ToolButtonsiliujinzisitu.SetDown(false);
  FocusVisibleViewIfFocusIsHere();
}

void TForm3::FocusVisibleViewIfFocusIsHere() {
  // The view that went away had the focus, or the tool button that switched took it: the keys
  // typed into the viewer go to the view that shows.
  const HWND focus = GetFocus();
  if (focus && (focus == Handle() || IsChild(Handle(), focus))) FocusVisibleView();
}

void TForm3::ToolButtonsiliujinzisituClick() {
  if (ToolButtonsiliujinzisitu.Down()) siliujinzisituClick();
  else wenbensituClick();
}

void TForm3::kaobeisiliujinzisujuClick() {
  const std::string hex = HexEditorEx1.GetSelectionAsHex();
  if (hex.empty()) return;
  // Not marked as the program's own write: the main window takes it like any other copy.
  PutTextOnClipboard(Handle(), std::u16string(hex.begin(), hex.end()));
}

void TForm3::xiansisujuwenbenClick() {
  const std::string text = HexEditorEx1.GetSelectionAsText();
  if (text.empty()) return;
  gui::ShowMessage(unicode::AnsiToUtf16(text));
}

void TForm3::FormClose(gui::CloseAction& action) {
  // The viewer always opens again in the text view.
  HexEditorEx1.SetVisible(false);
  Memo1.SetVisible(true);
  ToolButtonsiliujinzisitu.SetDown(false);
}

}  // namespace windows
