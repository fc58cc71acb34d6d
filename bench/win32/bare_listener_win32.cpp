// The least a clipboard history can do on a change: the anchor of the capture benchmark. A
// window in the clipboard viewer chain that, on each change, opens the clipboard, reads its
// Unicode text, adds it as a row of its list box and passes the notification on.
#include <windows.h>

namespace {
HWND nextViewer = nullptr;
HWND list = nullptr;

void AddClipboardText(HWND owner) {
  // Another program may hold the clipboard a moment longer: a few tries, as any listener makes.
  bool opened = false;
  for (int tries = 0; tries < 40 && !(opened = OpenClipboard(owner) != FALSE); ++tries) Sleep(50);
  if (!opened) return;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY,
                             8, 8, 400, 300, hwnd, nullptr, nullptr, nullptr);
      nextViewer = SetClipboardViewer(hwnd);
      return 0;
    case WM_DRAWCLIPBOARD:
      AddClipboardText(hwnd);
      if (nextViewer) SendMessageW(nextViewer, msg, wp, lp);
      return 0;
    case WM_CHANGECBCHAIN:
      if (reinterpret_cast<HWND>(wp) == nextViewer) nextViewer = reinterpret_cast<HWND>(lp);
      else if (nextViewer) SendMessageW(nextViewer, msg, wp, lp);
      return 0;
    case WM_DESTROY:
      ChangeClipboardChain(hwnd, nextViewer);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BareListener";
  RegisterClassExW(&wc);
  const HWND hwnd = CreateWindowExW(0, L"BareListener", L"Bare listener", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 440, 360, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
