#include "program_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include "clipboard_driver.h"
#include "tray_driver.h"

#include <fstream>
#include <iterator>
#include <thread>

namespace e2e {

namespace fs = std::filesystem;

fs::path ScratchFolder() {
  // Shards of this program run side by side (scripts/lanes.sh), and tests of two shards may
  // name one folder alike: each shard keeps its folders apart.
  const fs::path root(QUILL_SCRATCH_DIR);
  const char* shard = std::getenv("GTEST_SHARD_INDEX");
  return shard && *shard ? root / ("shard-" + std::string(shard)) : root;
}

fs::path PrepareRuntimeFolder(const std::string& name) { return PrepareRuntimeFolderIn(ScratchFolder(), name); }

fs::path PrepareRuntimeFolderIn(const fs::path& parent, const std::string& name) {
  const fs::path target = parent / ("e2e-" + name);
  std::error_code ec;
  fs::remove_all(target, ec);
  fs::create_directories(target);
  // The folder as shipped: the shipped data files and the built programs. (The build's own
  // runtime folder may hold a developer's settings and lists by now.) Copied entry by entry:
  // the C++ library's recursive copy trips over existing folders here.
  const fs::path data(QUILL_DATA_DIR);
  for (const auto& entry : fs::recursive_directory_iterator(data)) {
    const fs::path to = target / fs::relative(entry.path(), data);
    if (entry.is_directory()) fs::create_directories(to);
    else fs::copy_file(entry.path(), to);
  }
  for (const char* program : {"Quillora.exe", "SysHookDLL.dll", "copy_Key.dll"}) {
    fs::copy_file(fs::path(QUILL_RUNTIME_DIR) / program, target / program);
  }
  // The first-start introduction is made at build time too.
  fs::copy_file(fs::path(QUILL_RUNTIME_DIR) / L"首次启动介绍.liu", target / L"首次启动介绍.liu");
  // The classic look: a skinned menu bar is driven through Alt and the arrows, which costs
  // time per menu choice. The skins' own tests and the flows run in each look choose a skin.
  SetSkinNumber(target, 1);
  return target;
}

void SetSkinNumber(const fs::path& folder, int number) { SetSettingsLine(folder, 17, std::to_string(number)); }

void SetSettingsLine(const fs::path& folder, int line, const std::string& value) {
  const std::string text = ReadFile(folder / "set");
  std::string out;
  size_t start = 0;
  for (int at = 1; start < text.size(); ++at) {
    size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    out += at == line ? value + "\r\n" : text.substr(start, end - start);
    start = end;
  }
  WriteFile(folder / "set", out);
}

std::string SettingsLine(const fs::path& folder, int line) {
  const std::string text = ReadFile(folder / "set");
  size_t start = 0;
  for (int at = 1; at < line && start != std::string::npos; ++at) {
    start = text.find('\n', start);
    if (start != std::string::npos) ++start;
  }
  if (start == std::string::npos || start > text.size()) return {};
  return text.substr(start, text.find_first_of("\r\n", start) - start);
}

void WriteFile(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadFile(const fs::path& file) {
  // Opened as a reader that shares everything: a file the program has just renamed into place
  // is still held by the rename for a moment (under Wine), and a plain open fails then, which
  // would read as an empty file. A sharing failure is tried again for a short while.
  HANDLE handle = INVALID_HANDLE_VALUE;
  WaitUntil([&] {
    handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    return handle != INVALID_HANDLE_VALUE || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED);
  }, std::chrono::seconds(2));
  std::string bytes;
  if (handle == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(handle, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(handle);
  return bytes;
}

std::string Utf8(const std::wstring& text) {
  const int need = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(need), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), need, nullptr, nullptr);
  return out;
}

HWND CreateHiddenWindow(const wchar_t* windowClass, WNDPROC proc, HWND parent) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = windowClass;
  RegisterClassW(&wc);  // fails harmlessly when the class exists already
  return CreateWindowW(windowClass, L"", parent == HWND_MESSAGE ? 0 : WS_POPUP, 0, 0, 0, 0, parent, nullptr,
                       wc.hInstance, nullptr);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

void WaitForIdle(HWND window, std::chrono::milliseconds timeout) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout.count()), &answer);
}

bool WaitUntilSettledInFront(HWND window, std::chrono::milliseconds timeout) {
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  int steady = 0;
  return WaitUntil([&] {
    WaitForIdle(window, timeout);
    GUITHREADINFO info{sizeof info};
    const bool inFront = GetForegroundWindow() == window && GetGUIThreadInfo(thread, &info) &&
                         info.hwndActive == window && !info.hwndCapture && !(info.flags & GUI_INMOVESIZE);
    steady = inFront ? steady + 1 : 0;
    if (steady < 4) WaitUntil([] { return false; }, std::chrono::milliseconds(100));
    return steady >= 4;
  }, timeout);
}

DWORD ProcessOfWindow(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

std::wstring WindowText(HWND hwnd) {
  wchar_t buffer[1024] = {};
  // WM_GETTEXT works across processes (GetWindowText would not ask another process's window).
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
  return buffer;
}

std::wstring WindowClass(HWND hwnd) {
  wchar_t buffer[256] = {};
  GetClassNameW(hwnd, buffer, 256);
  return buffer;
}

namespace {
struct FindState {
  DWORD pid;
  std::wstring cls;
  std::wstring title;
  HWND found = nullptr;
};
BOOL CALLBACK FindProc(HWND hwnd, LPARAM lp) {
  auto* state = reinterpret_cast<FindState*>(lp);
  if (state->pid && ProcessOfWindow(hwnd) != state->pid) return TRUE;
  if (WindowClass(hwnd) != state->cls) return TRUE;
  if (!state->title.empty() && WindowText(hwnd) != state->title) return TRUE;
  state->found = hwnd;
  return FALSE;
}
}  // namespace

HWND FindProcessWindow(DWORD processId, const std::wstring& windowClass, const std::wstring& title) {
  FindState state{processId, windowClass, title};
  EnumWindows(FindProc, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

HWND FindAnyWindow(const std::wstring& windowClass, const std::wstring& title) {
  return FindProcessWindow(0, windowClass, title);
}

namespace {
std::wstring g_probe_answer;
bool g_probe_answered = false;

LRESULT CALLBACK ProbeReplyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    g_probe_answer.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    while (!g_probe_answer.empty() && g_probe_answer.back() == L'\0') g_probe_answer.pop_back();
    g_probe_answered = true;
    return TRUE;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND ProbeReplyWindow() {
  static HWND window = CreateHiddenWindow(L"QuilloraE2EProbeReply", ProbeReplyProc, HWND_MESSAGE);
  return window;
}

std::wstring ProbeLibraryPath() {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"menu_probe.dll";
}
}  // namespace

// Posts a probe request to the window's thread through the probe hook and waits for the answer.
bool AskProbe(HWND hwnd, const wchar_t* messageName, LPARAM lp) {
  static HMODULE probe = LoadLibraryW(ProbeLibraryPath().c_str());
  if (!probe) return false;
  auto hookProc = reinterpret_cast<HOOKPROC>(GetProcAddress(probe, "MenuProbeHook"));
  const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, hookProc, probe, thread);
  if (!hook) return false;
  g_probe_answered = false;
  PostMessageW(hwnd, RegisterWindowMessageW(messageName), reinterpret_cast<WPARAM>(ProbeReplyWindow()), lp);
  // The answer is sent to this thread: take it as soon as it comes (a skinned bar is read
  // with many requests).
  const DWORD start = GetTickCount();
  while (!g_probe_answered && GetTickCount() - start < 10000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT | QS_SENDMESSAGE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  UnhookWindowsHookEx(hook);
  return g_probe_answered;
}

namespace {
std::vector<MenuRowInfo> ParseRows(const std::wstring& text, size_t start) {
  std::vector<MenuRowInfo> rows;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = text.substr(start, end - start);
    start = end + 1;
    const size_t tab1 = line.find(L'\t');
    const size_t tab2 = line.find(L'\t', tab1 + 1);
    if (tab1 == std::wstring::npos || tab2 == std::wstring::npos) continue;
    MenuRowInfo row;
    row.level = std::stoi(line.substr(0, tab1));
    const std::wstring flags = line.substr(tab1 + 1, tab2 - tab1 - 1);
    row.checked = flags.find(L'C') != std::wstring::npos;
    row.greyed = flags.find(L'G') != std::wstring::npos;
    row.caption = line.substr(tab2 + 1);
    rows.push_back(row);
  }
  return rows;
}

// A skinned window draws its menu bar itself (GetMenu is empty): its items are opened the
// user's way, Alt and then the arrow keys, and the rows read from the open drop-down.
bool IsSkinned(HWND hwnd) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(hwnd, 0x3523, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  return answer == 1;
}

void PressKey(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof input[0]);
}

// The open drop-down of a skinned bar: its menu handle (0: none open), its rows (level 1
// on) and how many drop-downs are open (its sub-menus count).
UINT_PTR OpenDropDown(HWND hwnd, std::vector<MenuRowInfo>* rows = nullptr, int* open = nullptr) {
  if (!AskProbe(hwnd, L"Quillora.E2E.OpenMenu", 0) || g_probe_answer.empty()) return 0;
  const size_t end = g_probe_answer.find(L'\n');
  const size_t blank = g_probe_answer.find(L' ');
  const UINT_PTR menu = static_cast<UINT_PTR>(std::stoull(g_probe_answer.substr(0, blank)));
  if (open) *open = std::stoi(g_probe_answer.substr(blank + 1, end - blank - 1));
  if (rows) *rows = ParseRows(g_probe_answer, end + 1);
  return menu;
}

// Escape closes the innermost open drop-down; pressed only while one is open (an Escape
// that reaches the list minimises the program).
void CloseDropDowns(HWND hwnd) {
  int open = 0;
  for (int i = 0; i < 6 && OpenDropDown(hwnd, nullptr, &open) != 0; ++i) {
    PressKey(VK_ESCAPE);
    const int before = open;
    WaitUntil([&] { return OpenDropDown(hwnd, nullptr, &open) == 0 || open < before; }, std::chrono::seconds(2));
  }
}

bool NoDropDownOpen(HWND hwnd) {
  return WaitUntil([&] { return OpenDropDown(hwnd) == 0; }, std::chrono::seconds(3));
}

UINT_PTR OpenFirstBarItem(HWND hwnd) {
  if (!NoDropDownOpen(hwnd)) return 0;
  // A pointer resting on a drop-down lights the row under it and closes a sub-menu that a key
  // opened, whenever the program gets to it: an Escape meant for that sub-menu then closed the
  // whole drop-down. The keys read the bar with the pointer off the window.
  RECT w{};
  GetWindowRect(hwnd, &w);
  MovePointer(POINT{std::min<LONG>(w.right + 40, GetSystemMetrics(SM_CXSCREEN) - 1),
                    std::min<LONG>(w.bottom + 40, GetSystemMetrics(SM_CYSCREEN) - 1)});
  SetForegroundWindow(hwnd);
  WaitUntil([&] { return GetForegroundWindow() == hwnd; }, std::chrono::seconds(2));
  UINT_PTR menu = 0;
  for (int attempt = 0; attempt < 2 && menu == 0; ++attempt) {
    // Alt reaches the bar only while the window is in front. A program that has just started
    // on a loaded machine is given activation late, and Alt pressed before that goes elsewhere:
    // it is pressed again once the window has settled in front (and no drop-down opened).
    if (attempt > 0 && (!NoDropDownOpen(hwnd) || !WaitUntilSettledInFront(hwnd, std::chrono::seconds(5)))) break;
    PressKey(VK_MENU);  // Alt alone opens the first item
    WaitUntil([&] { return (menu = OpenDropDown(hwnd)) != 0; }, std::chrono::seconds(attempt == 0 ? 3 : 5));
  }
  return menu;
}

// The right arrow moves to the next bar item, unless the highlighted row opens a sub-menu:
// then, as a user would, the sub-menu is closed again and the next row highlighted first.
// The sub-menu is seen as soon as it opens (waiting out the time a move takes cost most of
// the time of reading a skinned bar). A move that has not come yet is waited for: pressing on
// would move twice once the program, slow on a loaded machine, takes both keys.
UINT_PTR NextBarItem(HWND hwnd, UINT_PTR current) {
  UINT_PTR menu = 0;
  for (int attempt = 0; attempt < 8; ++attempt) {
    PressKey(VK_RIGHT);
    int open = 0;
    WaitUntil([&] {
      menu = OpenDropDown(hwnd, nullptr, &open);
      return (menu != 0 && menu != current) || open > 1;
    }, std::chrono::seconds(3));
    if (menu != 0 && menu != current) return menu;
    if (OpenDropDown(hwnd, nullptr, &open) == 0) return 0;
    if (open > 1) {
      // The next keys go to the drop-down only once the sub-menu has closed.
      PressKey(VK_ESCAPE);
      WaitUntil([&] { return OpenDropDown(hwnd, nullptr, &open) == 0 || open == 1; }, std::chrono::seconds(2));
    }
    PressKey(VK_DOWN);
  }
  return 0;
}

std::vector<MenuRowInfo> ReadSkinnedMenuBar(HWND hwnd) {
  std::vector<MenuRowInfo> rows;
  const UINT_PTR first = OpenFirstBarItem(hwnd);
  for (UINT_PTR current = first, item = 0; current != 0 && item < 30; ++item) {
    std::vector<MenuRowInfo> items;
    if (OpenDropDown(hwnd, &items) != current) break;
    rows.push_back({0, false, false, L""});  // the bar item's caption is the skin's drawing
    rows.insert(rows.end(), items.begin(), items.end());
    current = NextBarItem(hwnd, current);
    if (current == first) break;
  }
  CloseDropDowns(hwnd);
  return rows;
}

}  // namespace

bool OpenSkinnedMenuHolding(HWND hwnd, const std::wstring& caption) {
  const UINT_PTR first = OpenFirstBarItem(hwnd);
  for (UINT_PTR current = first, item = 0; current != 0 && item < 30; ++item) {
    std::vector<MenuRowInfo> items;
    OpenDropDown(hwnd, &items);
    if (FindMenuRow(items, caption)) return true;
    current = NextBarItem(hwnd, current);
    if (current == first) break;
  }
  CloseDropDowns(hwnd);
  return false;
}

bool OpenMenuRowPoint(HWND hwnd, const std::wstring& caption, POINT& at) {
  for (int depth = 0; depth < 5; ++depth) {
    const ATOM atom = GlobalAddAtomW(caption.c_str());
    const bool answered = AskProbe(hwnd, L"Quillora.E2E.RowPoint", atom);
    GlobalDeleteAtom(atom);
    if (!answered || g_probe_answer.size() < 5) return false;
    const wchar_t kind = g_probe_answer[0];
    const size_t blank = g_probe_answer.find(L' ', 2);
    at = POINT{std::stoi(g_probe_answer.substr(2, blank - 2)), std::stoi(g_probe_answer.substr(blank + 1))};
    if (kind == L'R') return true;
    // The click opens the sub-menu that holds the row. The probe's question is a posted message,
    // which the menu takes before input: asked at once, it finds the sub-menu still closed and
    // the next click (on the same row again) closes it as it opens. The sub-menu is waited for.
    int before = 0;
    OpenDropDown(hwnd, nullptr, &before);
    ClickAt(at);
    WaitUntil([&] {
      int open = 0;
      OpenDropDown(hwnd, nullptr, &open);
      return open > before;
    }, std::chrono::seconds(3));
  }
  return false;
}

namespace {
// Down through the open sub-menus that hold the row, then a click on the row itself.
bool ClickOpenMenuRow(HWND hwnd, const std::wstring& caption) {
  POINT at{};
  if (OpenMenuRowPoint(hwnd, caption, at)) {
    ClickAt(at);
    return NoDropDownOpen(hwnd);
  }
  CloseDropDowns(hwnd);
  return false;
}

bool ChooseSkinnedMenuRow(HWND hwnd, const std::wstring& caption) {
  // Alt reaches the bar only while the window is in front, which a loaded machine may give it
  // late: the bar is walked once more before anything is clicked (a click is never repeated).
  const bool found = OpenSkinnedMenuHolding(hwnd, caption) || OpenSkinnedMenuHolding(hwnd, caption);
  return found && ClickOpenMenuRow(hwnd, caption);
}
}  // namespace

bool ChooseOpenMenuRow(HWND hwnd, const std::wstring& caption) {
  if (!WaitUntil([&] { return OpenDropDown(hwnd) != 0; }, std::chrono::seconds(5))) return false;
  return ClickOpenMenuRow(hwnd, caption);
}

bool ChooseMenuRow(HWND hwnd, const std::wstring& caption) {
  if (IsSkinned(hwnd)) return ChooseSkinnedMenuRow(hwnd, caption);
  const ATOM atom = GlobalAddAtomW(caption.c_str());
  const bool answered = AskProbe(hwnd, L"Quillora.E2E.MenuChoose", atom);
  GlobalDeleteAtom(atom);
  return answered && g_probe_answer == L"1";
}

std::vector<MenuRowInfo> ReadMenuBar(HWND hwnd) {
  if (IsSkinned(hwnd)) return ReadSkinnedMenuBar(hwnd);
  if (!AskProbe(hwnd, L"Quillora.E2E.MenuProbe", reinterpret_cast<LPARAM>(hwnd))) return {};
  return ParseRows(g_probe_answer, 0);
}

std::vector<std::wstring> MenuBarCaptions(HWND hwnd) {
  std::vector<std::wstring> captions;
  for (const MenuRowInfo& row : ReadMenuBar(hwnd)) {
    if (row.level == 0) captions.push_back(row.caption);
  }
  return captions;
}

std::optional<RECT> OpenContextMenuRowRect(HWND programWindow, const std::wstring& caption) {
  const ATOM atom = GlobalAddAtomW(caption.c_str());
  const bool answered = AskProbe(programWindow, L"Quillora.E2E.PopupRow", atom);
  GlobalDeleteAtom(atom);
  RECT r{};
  if (!answered || swscanf(g_probe_answer.c_str(), L"%ld %ld %ld %ld", &r.left, &r.top, &r.right, &r.bottom) != 4) {
    return std::nullopt;
  }
  return r;
}

namespace {
INPUT MouseInputAt(POINT screen) {
  const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
  const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = screen.x * 65535 / width;
  input.mi.dy = screen.y * 65535 / height;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}
}  // namespace

void MovePointer(POINT screen) {
  // Programs read the pointer's position when they take a click (as the click hint does).
  // SetCursorPos also moves the X server's pointer, whose later crossing events would
  // otherwise put Wine's cursor back where the X pointer was; every event carries the
  // position, so that no other pointer motion can come between.
  SetCursorPos(screen.x, screen.y);
  // The virtual desktop answers the X pointer's move with a move back to where the pointer was,
  // a few milliseconds later (docs/DEVELOPING.md): two round trips to the desktop's window let
  // that come first, so that the move below is the last and a program reading the pointer at a
  // click finds it on the target.
  for (int trip = 0; trip < 2; ++trip) {
    SendMessageTimeoutW(GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, nullptr);
  }
  INPUT move = MouseInputAt(screen);
  SendInput(1, &move, sizeof move);
  WaitUntil([&] {
    POINT now{};
    GetCursorPos(&now);
    return now.x == screen.x && now.y == screen.y;
  }, std::chrono::milliseconds(1000));
}

void ClickAt(POINT screen, bool rightButton) {
  MovePointer(screen);
  INPUT input[2] = {MouseInputAt(screen), MouseInputAt(screen)};
  input[0].mi.dwFlags |= rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags |= rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof input[0]);
}

void SendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

void PressKey(WORD key, std::initializer_list<WORD> modifiers) {
  for (WORD m : modifiers) SendKey(m, false);
  SendKey(key, false);
  SendKey(key, true);
  for (WORD m : modifiers) SendKey(m, true);
}

bool ChooseContextMenuRow(HWND programWindow, const std::wstring& caption) {
  std::optional<RECT> row;
  WaitUntil([&] { return (row = OpenContextMenuRowRect(programWindow, caption)).has_value(); },
            std::chrono::seconds(10));
  if (!row) return false;
  ClickAt(POINT{(row->left + row->right) / 2, (row->top + row->bottom) / 2});
  return true;
}

const MenuRowInfo* FindMenuRow(const std::vector<MenuRowInfo>& rows, const std::wstring& caption) {
  for (const MenuRowInfo& row : rows) {
    if (row.caption == caption) return &row;
  }
  return nullptr;
}

namespace {
struct BoxState {
  DWORD pid;
  std::vector<HWND> boxes;
};
BOOL CALLBACK BoxProc(HWND hwnd, LPARAM lp) {
  auto* state = reinterpret_cast<BoxState*>(lp);
  if (ProcessOfWindow(hwnd) == state->pid && WindowClass(hwnd) == L"#32770" && IsWindowVisible(hwnd)) {
    state->boxes.push_back(hwnd);
  }
  return TRUE;
}
}  // namespace

std::wstring MessageBoxText(HWND box) {
  // The message text is the static control with id 0xFFFF in a message box.
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : std::wstring();
}

void PressDialogButton(HWND dialog, int buttonId) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

std::vector<HWND> VisibleDialogs(DWORD processId) {
  BoxState state{processId};
  EnumWindows(BoxProc, reinterpret_cast<LPARAM>(&state));
  return state.boxes;
}

std::vector<std::wstring> MessageBoxTexts(DWORD processId) {
  std::vector<std::wstring> texts;
  for (HWND box : VisibleDialogs(processId)) texts.push_back(MessageBoxText(box));
  return texts;
}

bool AnswerMessageBox(DWORD processId, const std::wstring& textFragment, int buttonId) {
  for (HWND box : VisibleDialogs(processId)) {
    if (MessageBoxText(box).find(textFragment) == std::wstring::npos) continue;
    PressDialogButton(box, buttonId);
    return true;
  }
  return false;
}

namespace {
constexpr int kFileNameCombo = 0x47C;  // cmb13: the name box of the file dialogs
constexpr int kFileNameEdit = 0x480;   // edt1: the name box of older dialogs
constexpr int kFileTypeCombo = 0x470;  // cmb1: the file types
}  // namespace

HWND FileNameBox(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, kFileNameCombo)) {
    if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
    return combo;
  }
  return GetDlgItem(dialog, kFileNameEdit);
}

HWND WaitForFileDialog(DWORD processId, std::chrono::milliseconds timeout) {
  HWND dialog = nullptr;
  WaitUntil([&] {
    for (HWND box : VisibleDialogs(processId)) {
      if (FileNameBox(box)) {
        dialog = box;
        return true;
      }
    }
    return false;
  }, timeout);
  return dialog;
}

bool EndSessionAsWindowsDoes(HWND window) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer) &&
         SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, &answer);
}

bool FillFileDialog(DWORD processId, const std::wstring& file, int filterIndex) {
  HWND dialog = WaitForFileDialog(processId);
  if (!dialog) return false;
  if (filterIndex > 0) {
    HWND types = GetDlgItem(dialog, kFileTypeCombo);
    SendMessageW(types, CB_SETCURSEL, filterIndex - 1, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
    // Wine's dialog takes the new filter index on CBN_SELENDOK, as a choice made with the mouse ends.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeCombo, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
  }
  SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
  PressDialogButton(dialog, IDOK);
  return WaitUntil([&] { return !IsWindow(dialog); }, std::chrono::seconds(20));
}

bool CloseRestartedProgram(DWORD previousProcess) {
  HWND again = nullptr;
  if (!WaitUntil([&] {
        again = FindAnyWindow(L"TForm1", L" Quillora12.6");
        return again != nullptr && ProcessOfWindow(again) != previousProcess;
      }, std::chrono::seconds(30))) {
    return false;
  }
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, ProcessOfWindow(again));
  if (!process) return false;
  PostMessageW(again, WM_CLOSE, 0, 0);
  const bool ended = WaitForSingleObject(process, 20000) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

namespace {

// The stacks of a program's threads, from Wine's debugger, for a program that did not end when
// asked: what it waits for is the trace of the fault. Empty when the debugger cannot be run.
std::string StacksOf(DWORD processId) {
  wchar_t folder[MAX_PATH];
  if (!GetTempPathW(MAX_PATH, folder)) return {};
  const std::wstring base = std::wstring(folder) + L"quillora-stacks-" + std::to_wstring(processId);
  const std::wstring script = base + L".txt", output = base + L".log";
  char id[16];
  std::snprintf(id, sizeof id, "%04lx", processId);
  WriteFile(script, std::string("attach 0x") + id + "\nbt all\ndetach\nquit\n");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return {};
  std::wstring command = L"winedbg.exe --file \"" + script + L"\"";
  STARTUPINFOW si{sizeof si};
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = out;
  PROCESS_INFORMATION pi{};
  const bool started =
      CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
  CloseHandle(out);
  if (!started) return {};
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // "bt all" goes through every process: only the program's threads are kept.
  std::string stacks;
  const std::string text = ReadFile(output), ours = std::string("in process ") + id + " ";
  bool keep = false;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = text.substr(start, end - start);
    if (line.rfind("Backtracing for thread", 0) == 0) keep = line.find(ours) != std::string::npos;
    if (keep) stacks += line + "\n";
    start = end + 1;
  }
  DeleteFileW(script.c_str());
  DeleteFileW(output.c_str());
  return stacks;
}

}  // namespace

RunningProgram::~RunningProgram() {
  if (process_) {
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
      const std::string note = "the program (process " + std::to_string(pid_) +
                               ") did not end by itself: ended by force\n" + StacksOf(pid_);
      std::fprintf(stderr, "%s", note.c_str());
      // Also kept in a file: a run whose tests pass does not show what they wrote.
      std::ofstream(fs::path(QUILL_SCRATCH_DIR) / "programs-that-did-not-end.log", std::ios::app) << note;
      if (const char* hold = std::getenv("QUILL_E2E_HOLD_UNENDED")) Sleep(static_cast<DWORD>(std::atoi(hold)) * 1000);
      Kill();
    }
    CloseHandle(process_);
  }
}

bool RunningProgram::Start(const fs::path& folder) {
  std::wstring command = L"\"" + (folder / "Quillora.exe").wstring() + L"\"";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.wstring().c_str(), &si,
                      &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  pid_ = pi.dwProcessId;
  return true;
}

HWND RunningProgram::WaitForMainWindow(std::chrono::milliseconds timeout) {
  WaitUntil([&] {
    main_ = FindProcessWindow(pid_, L"TForm1", L" Quillora12.6");
    return main_ != nullptr && IsWindowVisible(main_);
  }, timeout);
  return main_;
}

bool RunningProgram::WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode) {
  bool ended = false;
  WaitUntil([&] { return ended = WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, timeout);
  if (ended && exitCode) GetExitCodeProcess(process_, exitCode);
  return ended;
}

void RunningProgram::Kill() {
  if (!process_) return;
  // A process ended by force leaves its tray icon behind in Wine's task bar (the shell hears
  // of no window's end), where it would push the next program's icon out of its place.
  HWND tray = FindTrayIconWindow(pid_);
  TerminateProcess(process_, 99);
  WaitForSingleObject(process_, 5000);
  if (tray) RemoveTrayIcon(tray);
}

}  // namespace e2e
