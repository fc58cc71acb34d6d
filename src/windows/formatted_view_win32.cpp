#include "windows/formatted_view_win32.h"

#include <algorithm>
#include <set>
#include <span>

#include "gui/application.h"
#include "gui/clipboard_reads.h"
#include "gui/dialogs.h"
#include "gui/file_dialogs.h"
#include "gui/wide.h"
#include "htmledit/file_replace_win32.h"
#include "htmledit/source_generator.h"
#include "unicode/codepage.h"

namespace windows {

namespace {

constexpr int kToolBarHeight = 30;
enum : int {
  kToolBar1 = 6001, kToolButton1, kComboBoxFontName, kComboBoxFontHTMLSize, kToolButton5, kToolButton7, kToolButton8,
  kToolButton9, kHtmlEdit21,
};

// A stream file is read whole into this 32-bit process: larger ones are refused, not attempted.
constexpr size_t kMaxStreamFile = size_t{64} << 20;

using gui::MenuRowSpec;
constexpr MenuRowSpec kMainMenu1[] = {
    {0, u"wenjian", u"  文件  ", u"", gui::kMenuSubmenu},
    {1, u"dakai", u"打开 htm文件 ", u"dakaiClick"},
    {1, u"lincunwei", u"另存为 htm文件 。。。", u"lincunweiClick"},
    {1, u"dakailiuwenjian", u"打开流文件", u"dakailiuwenjianClick"},
    {1, u"baocunliu", u"另存为流文件。。。", u"baocunliuClick"},
};

constexpr const char16_t* kFontSizes[] = {u"1  (  8 pt)", u"2  (10 pt)", u"3  (12 pt)", u"4  (14 pt)",
                                          u"5  (18 pt)", u"6  (24 pt)", u"7  (36 pt)"};
constexpr char16_t kFontNamePrompt[] = u"字体名称";
constexpr char16_t kFontSizePrompt[] = u"字体大小";
constexpr char16_t kStreamFilter[] = u"流（*.liu）|*.liu";

constexpr char16_t kNotReady[] = u"格式视图还没有准备好，修改没有保存。";
constexpr char16_t kNoSource[] = u"无法读出格式视图的内容，修改没有保存。";
constexpr char16_t kCopyFailed[] = u"无法把格式视图的内容放到剪切板上，没有保存。";
constexpr char16_t kClipboardChanged[] = u"保存时剪切板被别的程序改写了，没有保存，请再保存一次。";
constexpr char16_t kEntryGone[] = u"这条记录已被删除，或列表已重新载入，无法保存修改。";
constexpr char16_t kNothingToSave[] = u"格式视图是空的，没有可保存的内容。";
constexpr char16_t kCannotWrite[] = u"无法写入文件：";
constexpr char16_t kCannotOpen[] = u"无法打开文件：";
constexpr char16_t kNotAStream[] = u"这不是一个有效的流文件（.liu），没有打开：";
constexpr char16_t kClipboardBusy[] = u"剪切板被其他程序占用，无法显示带格式的内容。";
constexpr char16_t kCannotShow[] = u"格式视图无法显示剪切板上的内容。";
constexpr char16_t kOwnerNotAnswering[] = u"复制这份内容的程序没有响应，无法显示带格式的内容。";
constexpr char16_t kOwnerNotAnsweringNoSave[] = u"复制剪切板上内容的程序没有响应，现在无法保存。";

// Whether another program has the clipboard open now (this thread can open it otherwise).
bool ClipboardHeldElsewhere(HWND window) {
  if (!OpenClipboard(window)) return true;
  CloseClipboard();
  return false;
}

// The face names of the screen's fonts (at most 32 characters each).
int CALLBACK AddFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM list) {
  std::string face(font->lfFaceName, strnlen(font->lfFaceName, LF_FACESIZE));
  if (!face.empty() && face.size() <= 32) reinterpret_cast<std::set<std::u16string>*>(list)->insert(unicode::AnsiToUtf16(face));
  return 1;  // to the end
}

std::vector<std::u16string> ScreenFaces() {
  std::set<std::u16string> faces;
  HDC dc = GetDC(nullptr);
  EnumFontsA(dc, nullptr, AddFace, reinterpret_cast<LPARAM>(&faces));
  ReleaseDC(nullptr, dc);
  return {faces.begin(), faces.end()};
}

}  // namespace

TForm6::TForm6()
    : SecondaryForm(gui::FormSpec{u"TForm6", u"用带格式的浏览器查看当前文本", 700, 520, WS_OVERLAPPEDWINDOW}, true) {}

TForm6::~TForm6() = default;

void TForm6::CreateControls() {
  HWND self = Handle();
  HFONT font = Font();
  MainMenu1.Build(gui::Menu::Kind::Bar, kMainMenu1, 6100);
  SetMenuBar(MainMenu1);
  MainMenu1.Bind(u"dakaiClick", [this] { dakaiClick(); });
  MainMenu1.Bind(u"lincunweiClick", [this] { lincunweiClick(); });
  MainMenu1.Bind(u"dakailiuwenjianClick", [this] { dakailiuwenjianClick(); });
  MainMenu1.Bind(u"baocunliuClick", [this] { baocunliuClick(); });

  ToolBar1.Create(self, gui::ControlSpec{kToolBar1, 0, 0, ClientWidth(), kToolBarHeight}, font);
  HWND bar = ToolBar1.Handle();
  const int h = kToolBarHeight - 4;
  ToolButton1.Create(bar, gui::ControlSpec{kToolButton1, 2, 2, 80, h, u"保存修改"}, font);
  ToolButton1.hint = u"保存当前修改，但是并未保存到文件";
  ToolButton1.OnClick = [this] { ToolButton1Click(); };
  ComboBoxFontName.Create(bar, gui::ControlSpec{kComboBoxFontName, 88, 3, 170, h}, font, true, 300);
  ComboBoxFontName.hint = u"字体名称";
  ComboBoxFontName.OnChange = [this] {
    const int i = ComboBoxFontName.ItemIndex();
    ComboBoxFontNameChange(i >= 0 ? ComboBoxFontName.Item(i) : ComboBoxFontName.Text());
  };
  ComboBoxFontName.OnCloseUp = [this] { HtmlEdit21.SetFocus(); };
  ComboBoxFontHTMLSize.Create(bar, gui::ControlSpec{kComboBoxFontHTMLSize, 264, 3, 110, h}, font, false, 200);
  ComboBoxFontHTMLSize.hint = u"字体大小";
  for (const char16_t* item : kFontSizes) ComboBoxFontHTMLSize.AddItem(item);
  ComboBoxFontHTMLSize.OnChange = [this] {
    const int i = ComboBoxFontHTMLSize.ItemIndex();
    ComboBoxFontHTMLSizeChange(i >= 0 ? ComboBoxFontHTMLSize.Item(i) : ComboBoxFontHTMLSize.Text());
  };
  ComboBoxFontHTMLSize.OnCloseUp = [this] { HtmlEdit21.SetFocus(); };
  ToolButton5.Create(bar, gui::ControlSpec{kToolButton5, 380, 2, 72, h, u"字体颜色"}, font);
  ToolButton5.hint = u"设置字体颜色";
  ToolButton5.OnClick = [this] { ToolButton5Click(); };
  ToolButton7.Create(bar, gui::ControlSpec{kToolButton7, 458, 2, 28, h, u"B"}, font);
  ToolButton7.hint = u"粗体";
  ToolButton7.OnClick = [this] { ToolButton7Click(); };
  ToolButton8.Create(bar, gui::ControlSpec{kToolButton8, 488, 2, 28, h, u"I"}, font);
  ToolButton8.hint = u"斜体";
  ToolButton8.OnClick = [this] { ToolButton8Click(); };
  ToolButton9.Create(bar, gui::ControlSpec{kToolButton9, 518, 2, 28, h, u"U"}, font);
  ToolButton9.hint = u"下划线";
  ToolButton9.OnClick = [this] { ToolButton9Click(); };

  // A right-button press on the editor opens the browser's edit menu there.
  HtmlEdit21.OnMouseDown = [this](htmledit::TCustomHtmlEdit&, htmledit::TMouseButton, htmledit::TShiftState shift,
                                  int x, int y) {
    if (shift == htmledit::ssRight) HtmlEdit21.ShowContextMenu(x, y);
  };
  try {
    HtmlEdit21.Create(self, gui::ControlSpec{kHtmlEdit21, 0, kToolBarHeight, ClientWidth(),
                                             std::max(0, ClientHeight() - kToolBarHeight)});
    editorReady_ = true;
  } catch (const std::exception&) {
    editorReady_ = false;  // without a browser the view stays empty; the program goes on
  }
}

void TForm6::FormCreate() {
  SecondaryForm::FormCreate();  // scales itself
  ComboBoxFontName.SetItems(ScreenFaces());
  ShowPrompts();
}

void TForm6::ShowPrompts() {
  const int face = ComboBoxFontName.IndexOf(HtmlEdit21.GetFontName());
  if (face >= 0) ComboBoxFontName.SetItemIndex(face);
  else ComboBoxFontName.SetText(kFontNamePrompt);
  const int size = static_cast<int>(HtmlEdit21.GetFontSize()) - 1;
  if (size >= 0) ComboBoxFontHTMLSize.SetItemIndex(size);
  else ComboBoxFontHTMLSize.SetText(kFontSizePrompt);
}

void TForm6::FormResize() {
  const int width = ClientWidth(), height = ClientHeight();
  ToolBar1.SetBounds(0, 0, width, kToolBarHeight);
  if (editorReady_) HtmlEdit21.SetBounds(0, kToolBarHeight, width, std::max(0, height - kToolBarHeight));
}

void TForm6::FormClose(gui::CloseAction&) { SetIntroductionMode(false); }

bool TForm6::HandleMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
  // The focus that comes to the form (a dialog closing hands it to its owner) goes on to the
  // editor, where the user was.
  if (msg != WM_SETFOCUS || !editorReady_) return false;
  HtmlEdit21.SetFocus();
  result = 0;
  return true;
}

void TForm6::SetIntroductionMode(bool on) {
  introduction_ = on;
  ToolButton1.SetEnabled(!on);
  MainMenu1.SetEnabled(u"wenjian", !on);
}

void TForm6::Complain(std::u16string_view text) { gui::MessageBoxU(text, u"出错", MB_OK | MB_ICONERROR); }

std::u16string TForm6::SaveFolder() const { return (host_ ? host_->ProgramFolder() : std::u16string()) + u"\\保存"; }

void TForm6::ShowEntry(const ViewedEntry& entry) {
  entry_ = entry;
  SetStayOnTop(true);
  Show();
  BringToFront();
  if (ComboBoxFontName.ItemIndex() < 0) ComboBoxFontName.SetText(kFontNamePrompt);
  if (ComboBoxFontHTMLSize.ItemIndex() < 0) ComboBoxFontHTMLSize.SetText(kFontSizePrompt);
  if (const std::u16string_view failure = ShowClipboardContent(); !failure.empty()) return GiveUpShowing(failure);
  HtmlEdit21.SetFocus();
}

void TForm6::ReportEntryNotOnClipboard() { Complain(kClipboardBusy); }

void TForm6::GiveUpShowing(std::u16string_view why) {
  // An empty view would say nothing, and saving it would empty the entry.
  entry_.reset();
  SetIntroductionMode(false);
  Hide();
  Complain(why);
}

std::u16string_view TForm6::ShowClipboardContent() {
  HtmlEdit21.SetSource(u"");
  // A read the program gave up is still inside its owner: any read would wait for it for good.
  if (gui::ClipboardReadsHeld()) return kOwnerNotAnswering;
  // At the view's first showing the editor's document is still being made (its creation ends
  // through posted messages) and the paste fails: while there is something to paste, it is
  // tried again, handling messages, for up to three seconds.
  const DWORD start = GetTickCount();
  bool pasted = false;
  while (!(pasted = HtmlEdit21.Paste()) && CountClipboardFormats() > 0 && GetTickCount() - start < 3000) {
    gui::Application::Instance().ProcessMessages();
    Sleep(25);
  }
  // An empty clipboard is shown as it is: empty.
  if (pasted || CountClipboardFormats() == 0) return {};
  return ClipboardHeldElsewhere(Handle()) ? kClipboardBusy : kCannotShow;
}

bool TForm6::ShowIntroduction(std::span<const std::uint8_t> stream, const std::optional<ViewedEntry>& current) {
  if (!host_ || !host_->IsSnapshotStream(stream)) return false;
  if (!host_->RestoreSnapshot(stream)) {
    Complain(kClipboardBusy);
    return true;
  }
  ComboBoxFontHTMLSize.SetItemIndex(0);
  SetIntroductionMode(true);
  entry_.reset();  // the introduction is no entry: nothing of it is saved
  const std::u16string_view failure = ShowClipboardContent();
  if (current) host_->RestoreEntryToClipboard(*current);
  if (!failure.empty()) {
    GiveUpShowing(failure);
    return true;
  }
  Show();
  BringToFront();
  HtmlEdit21.SetSelStart(0);
  HtmlEdit21.SetFocus();
  return true;
}

std::optional<DWORD> TForm6::CopyWholeContent() {
  bool copied = false;
  DWORD copiedAt = 0;
  const bool changed = host_->OwnClipboardWrite([&] {
    HtmlEdit21.SelectAll();
    copied = HtmlEdit21.Copy();
    // Taken at once: a write of another program from here on shows as a later number.
    copiedAt = GetClipboardSequenceNumber();
    HtmlEdit21.SetSelLength(0);
  });
  if (!copied || !changed) return std::nullopt;
  return copiedAt;
}

std::optional<std::vector<std::uint8_t>> TForm6::ContentThroughClipboard() {
  // While a read given up is still inside its owner nothing can be read back, so nothing is
  // written either.
  if (gui::ClipboardReadsHeld()) {
    Complain(kOwnerNotAnsweringNoSave);
    return std::nullopt;
  }
  const std::optional<DWORD> copiedAt = CopyWholeContent();
  if (!copiedAt) {
    if (entry_) host_->RestoreEntryToClipboard(*entry_);
    Complain(kCopyFailed);
    return std::nullopt;
  }
  // One read, which waits for a clipboard another program looks at after the copy.
  std::vector<std::uint8_t> snapshot = host_->CaptureClipboard();
  if (snapshot.empty() && gui::ClipboardReadsHeld()) {
    // A read given up during the copy's own write (it took another program's copy first) holds
    // every read now. The entry goes back on the clipboard.
    if (entry_) host_->RestoreEntryToClipboard(*entry_);
    Complain(kOwnerNotAnsweringNoSave);
    return std::nullopt;
  }
  // Whatever else is on the clipboard by then, from another program, never goes on.
  if (snapshot.empty() || GetClipboardSequenceNumber() != *copiedAt) {
    Complain(kClipboardChanged);
    return std::nullopt;
  }
  return snapshot;
}

void TForm6::ToolButton1Click() {
  if (!host_ || !entry_ || introduction_) return;
  const std::u16string source = HtmlEdit21.GetSource();
  // "BUSY" and "ERROR" say that there is no content to take: the entry stays as it is.
  if (source == htmledit::kBusyText) return Complain(kNotReady);
  if (source == htmledit::kErrorText) return Complain(kNoSource);
  std::u16string text;
  std::vector<std::uint8_t> snapshot;
  if (!source.empty() && !HtmlEdit21.BodyTextOfDocument().empty()) {
    // The content goes to the entry through the clipboard; the text is the snapshot's.
    std::optional<std::vector<std::uint8_t>> content = ContentThroughClipboard();
    if (!content) return;
    snapshot = std::move(*content);
    const std::optional<std::u16string> copied = host_->SnapshotText(snapshot);
    if (!copied) return Complain(kClipboardChanged);
    text = *copied;
  }
  // An empty view saves an empty entry, text only.
  std::optional<ViewedEntry> saved = host_->SaveEntryContent(*entry_, text, snapshot);
  if (!saved) return Complain(kEntryGone);
  entry_ = std::move(saved);
}

void TForm6::ComboBoxFontNameChange(const std::u16string& name) { HtmlEdit21.SetFontName(name); }

void TForm6::ComboBoxFontHTMLSizeChange(const std::u16string& item) {
  if (item.empty() || item[0] < u'1' || item[0] > u'7') return;
  HtmlEdit21.SetFontSize(static_cast<uint8_t>(item[0] - u'0'));
}

void TForm6::ToolButton5Click() {
  if (ColorDialog1.Execute(Handle())) HtmlEdit21.SetForeColor(static_cast<htmledit::TColor>(ColorDialog1.Color));
}

void TForm6::ToolButton7Click() { HtmlEdit21.SetBold(ToolButton7.Down()); }
void TForm6::ToolButton8Click() { HtmlEdit21.SetItalic(ToolButton8.Down()); }
void TForm6::ToolButton9Click() { HtmlEdit21.SetUnderline(ToolButton9.Down()); }

void TForm6::dakaiClick() {
  std::u16string file;
  HtmlEdit21.OpenDialog(SaveFolder(), file);
}

void TForm6::lincunweiClick() {
  std::u16string file;
  HtmlEdit21.SaveDialog(SaveFolder(), file);
}

void TForm6::baocunliuClick() {
  if (!host_) return;
  const std::u16string source = HtmlEdit21.GetSource();
  if (source == htmledit::kBusyText) return Complain(kNotReady);
  if (source == htmledit::kErrorText) return Complain(kNoSource);
  if (source.empty()) return;
  gui::FileDialogSpec dialog;
  dialog.filter = kStreamFilter;
  dialog.defaultExtension = u"liu";
  dialog.initialDir = SaveFolder();
  const gui::FileDialogResult chosen = gui::SaveFileDialog(Handle(), dialog);
  if (!chosen.ok) return;
  if (HtmlEdit21.BodyTextOfDocument().empty()) return Complain(kNothingToSave);
  const std::optional<std::vector<std::uint8_t>> stream = ContentThroughClipboard();
  if (!stream) return;
  // Written beside the target and put in its place only when whole.
  if (!htmledit::WriteFileReplacing(chosen.file, std::string(stream->begin(), stream->end())))
    Complain(std::u16string(kCannotWrite) + chosen.file);
  if (entry_) host_->RestoreEntryToClipboard(*entry_);
}

void TForm6::dakailiuwenjianClick() {
  if (!host_) return;
  gui::FileDialogSpec dialog;
  dialog.filter = kStreamFilter;
  dialog.initialDir = SaveFolder();
  dialog.fileName.clear();
  const gui::FileDialogResult chosen = gui::OpenFileDialog(Handle(), dialog);
  if (!chosen.ok) return;
  std::string bytes;
  if (!htmledit::ReadWholeFile(chosen.file, bytes, kMaxStreamFile, true))
    return Complain(std::u16string(kCannotOpen) + chosen.file);
  const std::span<const std::uint8_t> stream(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  // Checked before the clipboard is touched: a file that is no stream changes nothing.
  if (!host_->IsSnapshotStream(stream)) return Complain(std::u16string(kNotAStream) + chosen.file);
  if (!host_->RestoreSnapshot(stream)) return Complain(kClipboardBusy);
  const std::u16string_view failure = ShowClipboardContent();
  if (entry_) host_->RestoreEntryToClipboard(*entry_);
  if (!failure.empty()) GiveUpShowing(failure);
}

}  // namespace windows
