// The hex editor window and the clipboard, drag and drop: its own formats through the real
// clipboard, plain text of another program through the format dialog, drags inside one
// control and to another, and files dropped on it.
#include <shlobj.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <optional>

#include "control_fixture_win32.h"

namespace hexedit {
namespace {

// What the clipboard holds in a format, as any program reads it.
std::optional<Bytes> ClipboardBytes(HWND owner, UINT format) {
  if (!OpenClipboard(owner)) return std::nullopt;
  std::optional<Bytes> out;
  if (HANDLE h = GetClipboardData(format)) {
    const auto* p = static_cast<const std::uint8_t*>(GlobalLock(h));
    out = Bytes(p, p + GlobalSize(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return out;
}

// Another program copies text: CF_UNICODETEXT, from which the system offers the others.
void CopyTextAsAnotherProgram(HWND owner, std::u16string_view text) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * 2);
  auto* p = static_cast<char16_t*>(GlobalLock(g));
  std::copy(text.begin(), text.end(), p);
  p[text.size()] = 0;
  GlobalUnlock(g);
  SetClipboardData(CF_UNICODETEXT, g);
  CloseClipboard();
}

// Answers the format dialog from another thread: chooses the row with `name`, sets
// "Hex Text", and presses OK (or Cancel when name is empty).
std::thread AnswerFormatDialog(std::wstring name, bool hexText, std::atomic<bool>& seen) {
  return std::thread([name, hexText, &seen] {
    HWND dialog = nullptr;
    for (int i = 0; i < 200 && !dialog; ++i) {
      Sleep(25);
      dialog = FindWindowW(L"#32770", L"Select Data Format");
    }
    if (!dialog) return;
    seen = true;
    Sleep(50);
    if (name.empty()) {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    HWND list = GetDlgItem(dialog, 100);
    const LRESULT row = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(list, LB_SETCURSEL, row, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(100, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    if (hexText) SendMessageW(GetDlgItem(dialog, 101), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
}

TEST_F(EditorWindowTest, CopyOffersTextUpToTheZeroTheOwnBlockAndAVirtualFile) {
  editor_.LoadFromBuffer(Bytes{0x41, 0x00, 0x42});
  PressKey('A', {VK_CONTROL});
  PressKey('C', {VK_CONTROL});
  const auto text = ClipboardBytes(window_, CF_TEXT);
  ASSERT_TRUE(text);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(text->data())), "A");
  const auto own = ClipboardBytes(window_, ClipboardFormats().own);
  ASSERT_TRUE(own);
  EXPECT_EQ(DecodeOwnBlock(own->data(), own->size()), (Bytes{0x41, 0x00, 0x42}));
  const auto group = ClipboardBytes(window_, ClipboardFormats().fileGroupDescriptor);
  ASSERT_TRUE(group && group->size() >= sizeof(FILEGROUPDESCRIPTORA));
  const auto* descriptor = reinterpret_cast<const FILEGROUPDESCRIPTORA*>(group->data());
  EXPECT_EQ(descriptor->fgd[0].nFileSizeLow, 3u);
  EXPECT_STREQ(descriptor->fgd[0].cFileName, "Dump of .bin");
  // With ClipboardAsHexText the text is the six hex digits.
  editor_.ClipboardAsHexText = true;
  PressKey('C', {VK_CONTROL});
  const auto hex = ClipboardBytes(window_, CF_TEXT);
  ASSERT_TRUE(hex);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(hex->data())), "410042");
}

TEST_F(EditorWindowTest, CutAndPasteCarryTheBytesToASecondEditor) {
  editor_.LoadFromBuffer(Bytes{1, 2, 0, 4, 5});
  editor_.SetSelStart(1);
  editor_.SetSelEnd(3);
  PressKey('X', {VK_CONTROL});
  EXPECT_EQ(editor_.Data().Bytes(), (Bytes{1, 5}));
  EXPECT_EQ(editor_.UndoDescription(), "Cut to Clipboard");
  HexEditorControl& second = Second();
  second.LoadFromBuffer(Bytes{9, 9});
  second.SetFocus();
  PumpFor(30);
  PressKey(VK_END, {VK_CONTROL});
  PressKey(VK_INSERT);
  PressKey(VK_END, {VK_CONTROL});
  PressKey('V', {VK_CONTROL});  // the own format is taken at once: no dialog
  EXPECT_EQ(second.Data().Bytes(), (Bytes{9, 9, 2, 0, 4}));
  EXPECT_EQ(second.UndoDescription(), "Paste from Clipboard");
}

TEST_F(EditorWindowTest, PlainTextOfAnotherProgramIsPastedInTheFormatChosen) {
  editor_.SetInsertMode(true);
  CopyTextAsAnotherProgram(window_, u"Hi中");
  std::atomic<bool> seen{false};
  std::thread answer = AnswerFormatDialog(L"Text", false, seen);
  PressKey('V', {VK_CONTROL});
  PumpUntil([&] { return editor_.DataSize() > 0; }, 5000);
  answer.join();
  EXPECT_TRUE(seen);
  EXPECT_EQ(Text(editor_), "Hi\xD6\xD0");

  // "Hex Text" reads the text as hex digits.
  CopyTextAsAnotherProgram(window_, u"41 4a");

  answer = AnswerFormatDialog(L"Unicode Text", true, seen);
  PressKey('V', {VK_CONTROL});
  PumpUntil([&] { return editor_.DataSize() > 4; }, 5000);
  answer.join();
  EXPECT_EQ(Text(editor_), "Hi\xD6\xD0" "AJ");

  // Cancel leaves the data alone.
  seen = false;
  answer = AnswerFormatDialog(L"", false, seen);
  PressKey('V', {VK_CONTROL});
  PumpFor(200);
  answer.join();
  EXPECT_TRUE(seen);
  EXPECT_EQ(Text(editor_), "Hi\xD6\xD0" "AJ");
}

TEST_F(EditorWindowTest, DraggingMovesDataInsideAControlAndCopiesItToAnother) {
  editor_.SetOleDragDrop(true);
  editor_.LoadFromBuffer(Bytes{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
  editor_.SetSelStart(0);
  editor_.SetSelEnd(1);
  PumpFor(50);
  std::thread drag = DragInBackground(CellCentre(editor_, editor_.CellOf(0, false, false)),
                                      CellCentre(editor_, editor_.CellOf(6, false, false)));
  PumpUntil([&] { return Text(editor_) != "abcdefgh"; }, 5000);
  drag.join();
  PumpFor(100);
  EXPECT_EQ(Text(editor_), "cdefabgh");
  EXPECT_EQ(editor_.UndoDescription(), "Data Moved");
  PressKey('Z', {VK_CONTROL});
  EXPECT_EQ(Text(editor_), "abcdefgh");

  HexEditorControl& second = Second();
  second.SetOleDragDrop(true);
  second.LoadFromBuffer(Bytes{'X', 'Y'});
  editor_.SetSelStart(2);
  editor_.SetSelEnd(4);
  PumpFor(50);
  drag = DragInBackground(CellCentre(editor_, editor_.CellOf(3, true, false)),
                          CellCentre(second, second.CellOf(1, false, false)));
  PumpUntil([&] { return second.DataSize() > 2; }, 5000);
  drag.join();
  PumpFor(100);
  EXPECT_EQ(Text(second), "XcdeY");
  EXPECT_EQ(second.UndoDescription(), "Data Dropped");
  EXPECT_EQ(Text(editor_), "abcdefgh");  // copied, not moved
}

// A file list as the shell drags it.
class FileDropSource final : public IDataObject {
 public:
  explicit FileDropSource(std::wstring file) : file_(std::move(file)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDataObject) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
    if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
    const size_t bytes = sizeof(DROPFILES) + (file_.size() + 2) * sizeof(wchar_t);
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(g));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(file_.begin(), file_.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(g);
    m->tymed = TYMED_HGLOBAL;
    m->hGlobal = g;
    m->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
    return f && f->cfFormat == CF_HDROP && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dir, IEnumFORMATETC** out) override {
    FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return dir == DATADIR_GET ? SHCreateStdEnumFmtEtc(1, &f, out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::wstring file_;
  ULONG refs_ = 1;
};

class DropSource final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    *out = (riid == IID_IUnknown || riid == IID_IDropSource) ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape) return DRAGDROP_S_CANCEL;
    return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// Drags a file from where the pointer starts onto a byte of the editor, as the shell would.
DWORD DropFile(HexEditorControl& editor, const std::wstring& file, std::int64_t onto) {
  // The drag starts on a bare part of the test window, as from a file window beside it.
  POINT start{800, 300};
  ClientToScreen(GetParent(editor.Handle()), &start);
  const POINT target = CellCentre(editor, editor.CellOf(onto, false, false));
  INPUT press[] = {MouseAt(start, 0), MouseAt(start, MOUSEEVENTF_LEFTDOWN)};
  SendInput(2, press, sizeof(INPUT));
  PumpFor(50);
  std::thread mover([target, start] {
    for (int i = 1; i <= 6; ++i) {
      Sleep(40);
      INPUT move = MouseAt(POINT{start.x + (target.x - start.x) * i / 6, start.y + (target.y - start.y) * i / 6}, 0);
      SendInput(1, &move, sizeof(INPUT));
    }
    Sleep(150);
    INPUT up = MouseAt(target, MOUSEEVENTF_LEFTUP);
    SendInput(1, &up, sizeof(INPUT));
  });
  FileDropSource data(file);
  DropSource source;
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
  mover.join();
  PumpFor(50);
  return effect;
}

std::wstring ScratchFile(const wchar_t* name) {
  std::wstring path = std::wstring(L"" QUILL_SCRATCH_DIR) + L"\\" + name;
  return path;
}

TEST_F(EditorWindowTest, ADroppedFileIsInsertedWhereItFallsAndATooLargeOneIsRefused) {
  editor_.SetOleDragDrop(true);
  editor_.LoadFromBuffer(Bytes{'1', '2', '3', '4'});
  const std::wstring small = ScratchFile(L"拖入的文件.bin");
  std::ofstream(std::filesystem::path(small), std::ios::binary) << "DATA";
  EXPECT_EQ(DropFile(editor_, small, 2), static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(Text(editor_), "12DATA34");
  EXPECT_EQ(editor_.UndoDescription(), "Data Dropped");

  // A file larger than the editor takes: a message, and the data stays as it was.
  const std::wstring big = ScratchFile(L"too_large.bin");
  HANDLE h = CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  LARGE_INTEGER size{};
  size.QuadPart = static_cast<LONGLONG>(kMaxLoadSize) + 1;
  SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
  SetEndOfFile(h);
  CloseHandle(h);
  std::atomic<bool> answered{false};
  std::thread answer([&] {
    for (int i = 0; i < 200 && !answered; ++i) {
      Sleep(25);
      HWND box = FindWindowW(L"#32770", L"出错");
      if (box) {
        answered = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
    }
  });
  DropFile(editor_, big, 0);
  answer.join();
  DeleteFileW(big.c_str());
  EXPECT_TRUE(answered);
  EXPECT_EQ(Text(editor_), "12DATA34");
}

TEST_F(EditorWindowTest, ClosingAfterACopyLeavesTheClipboardEmptyUnlessFlushing) {
  {
    HexEditorControl& second = Second();
    second.LoadFromBuffer(Bytes{'q'});
    second.SelectAll();
    second.CopyToClipboard();
    ASSERT_TRUE(ClipboardBytes(window_, CF_TEXT));
    second_.reset();
  }
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  HexEditorControl& again = Second();
  again.FlushClipboardAtShutDown = true;
  again.LoadFromBuffer(Bytes{'r'});
  again.SelectAll();
  again.CopyToClipboard();
  second_.reset();
  const auto kept = ClipboardBytes(window_, CF_TEXT);
  ASSERT_TRUE(kept);
  EXPECT_EQ((*kept)[0], 'r');
}

}  // namespace
}  // namespace hexedit
