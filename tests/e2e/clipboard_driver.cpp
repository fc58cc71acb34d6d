#include "clipboard_driver.h"

#include <algorithm>
#include <chrono>

#include "program_driver.h"

namespace e2e {

HWND TestWindow() {
  static HWND window = CreateHiddenWindow(L"QuilloraE2EClipboardOwner", DefWindowProcW);
  return window;
}

namespace {
bool OpenWithRetry(HWND owner) {
  return WaitUntil([&] { return OpenClipboard(owner) != FALSE; }, std::chrono::seconds(10));
}
}  // namespace

UINT RegisteredFormat(const std::wstring& name) { return RegisterClipboardFormatW(name.c_str()); }

bool SetClipboardFormats(const std::vector<ClipFormat>& formats) {
  if (!OpenWithRetry(TestWindow())) return false;
  EmptyClipboard();
  bool ok = true;
  for (const ClipFormat& f : formats) {
    const UINT id = f.id ? f.id : RegisteredFormat(f.name);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, f.bytes.size() ? f.bytes.size() : 1);
    if (!block) {
      ok = false;
      continue;
    }
    void* p = GlobalLock(block);
    memcpy(p, f.bytes.data(), f.bytes.size());
    GlobalUnlock(block);
    if (!SetClipboardData(id, block)) {
      GlobalFree(block);
      ok = false;
    }
  }
  CloseClipboard();
  return ok;
}

bool SetClipboardText(const std::wstring& text) {
  std::string bytes(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
  return SetClipboardFormats({{CF_UNICODETEXT, L"", bytes}});
}

std::optional<std::string> ReadClipboardFormat(UINT format) {
  if (!OpenWithRetry(TestWindow())) return std::nullopt;
  std::optional<std::string> result;
  if (HANDLE data = GetClipboardData(format)) {
    const SIZE_T size = GlobalSize(data);
    if (const void* p = GlobalLock(data)) {
      result = std::string(static_cast<const char*>(p), size);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return result;
}

std::optional<std::wstring> ReadClipboardText() {
  const auto bytes = ReadClipboardFormat(CF_UNICODETEXT);
  if (!bytes) return std::nullopt;
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes->data()), bytes->size() / sizeof(wchar_t));
  const size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

int ClipboardFormatCount() { return CountClipboardFormats(); }

namespace {
BOOL CALLBACK FindListProc(HWND hwnd, LPARAM lp) {
  if (WindowClass(hwnd) == L"ListBox") {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindHistoryList(HWND mainWindow) {
  HWND list = nullptr;
  EnumChildWindows(mainWindow, FindListProc, reinterpret_cast<LPARAM>(&list));
  return list;
}

std::wstring ListRow(HWND list, int row) {
  // LB_GETTEXT names no buffer size: across processes the row's text as it is when the list
  // answers is copied whole into the buffer. A row the program replaces meanwhile may be longer
  // than the length read before (a short row's buffer, kept inside the string object on the
  // stack, was overrun so, and the test crashed), hence a buffer with room to spare.
  constexpr size_t kSpare = 1 << 16;
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, row, 0);
  std::vector<wchar_t> buffer((length > 0 ? static_cast<size_t>(length) : 0) + kSpare);
  const LRESULT got = SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(buffer.data()));
  return std::wstring(buffer.data(), got > 0 ? std::min(static_cast<size_t>(got), buffer.size()) : 0);
}

std::vector<std::wstring> ListRows(HWND list) {
  std::vector<std::wstring> rows;
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) rows.push_back(ListRow(list, i));
  return rows;
}

int SelectedListRow(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

namespace {
LPARAM RowPoint(HWND list, int row) {
  const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  RECT client{};
  GetClientRect(list, &client);
  const int visible = height > 0 ? client.bottom / height : 1;
  if (row < top || row >= top + visible) {
    SendMessageW(list, LB_SETTOPINDEX, row, 0);
    top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  }
  const int x = 80;  // on the text, right of the check box
  const int y = (row - top) * height + height / 2;
  return MAKELPARAM(x, y);
}
}  // namespace

void ClickListRow(HWND list, int row) {
  const LPARAM at = RowPoint(list, row);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
}

void OpenListRowMenu(HWND list, int row) {
  const LPARAM at = RowPoint(list, row);
  POINT screen{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  ClientToScreen(list, &screen);
  // Both clicks are real input that carries the row's position. Moving the pointer makes the
  // virtual desktop queue, a few milliseconds later, a move to where the pointer was (see
  // docs/DEVELOPING.md): a click sent with SendMessage let that move reach the list while it held
  // the mouse, and the row the pointer had left was chosen. Real presses come after it in the
  // queue, and each puts the pointer back on the row first.
  ClickAt(screen);
  ClickAt(screen, true);
}

void DoubleClickListRow(HWND list, int row) {
  const LPARAM at = RowPoint(list, row);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
}

bool WaitForRowCount(HWND list, int count, int timeoutMs) {
  return WaitUntil([&] { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)) == count; },
                   std::chrono::milliseconds(timeoutMs));
}

}  // namespace e2e
