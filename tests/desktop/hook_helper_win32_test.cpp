// The helper side of the cross-process hook tests and the test program's entry point.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "desktop/hook_helper_win32.h"

namespace hooktest {

namespace {

using AttachReceiverProc = int32_t(WINAPI*)(int32_t, HWND, unsigned char);

void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A borderless top-level edit control of this process that has the keyboard focus.
HWND OpenFocusedEdit(int x, int y, int width, int height) {
  HWND edit = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, x, y,
                              width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!edit) return nullptr;
  SetForegroundWindow(edit);
  SetFocus(edit);
  if (!PumpUntil([&] { return GetForegroundWindow() == edit && GetFocus() == edit; }, 5000)) return nullptr;
  return edit;
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.dwFlags = flags;
  return in;
}

// type KEYS OUTFILE: types the keys (capital letters, as virtual keys) into its own edit
// control and writes what the control got to OUTFILE.
int TypeKeys(const std::string& keys, const std::string& outFile) {
  HWND edit = OpenFocusedEdit(100, 100, 300, 40);
  if (!edit) return 2;
  std::vector<INPUT> inputs;
  for (char key : keys) {
    inputs.push_back(KeyInput(static_cast<WORD>(key), false));
    inputs.push_back(KeyInput(static_cast<WORD>(key), true));
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  PumpFor(1500);
  char text[256] = {};
  GetWindowTextA(edit, text, sizeof text);
  WriteFileText(outFile, text);
  DestroyWindow(edit);
  return 0;
}

INPUT KeyInputEx(WORD vk, bool up, bool extended) {
  INPUT in = KeyInput(vk, up);
  if (extended) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  return in;
}

// keys: into its own edit control: Alt+1, F9 held (ten presses, one release), Right,
// Shift+Tab.
int Keys() {
  HWND edit = OpenFocusedEdit(100, 100, 300, 40);
  if (!edit) return 2;
  std::vector<INPUT> inputs = {KeyInput(VK_MENU, false), KeyInput('1', false), KeyInput('1', true),
                               KeyInput(VK_MENU, true)};
  for (int i = 0; i < 10; ++i) inputs.push_back(KeyInput(VK_F9, false));
  inputs.push_back(KeyInput(VK_F9, true));
  inputs.push_back(KeyInputEx(VK_RIGHT, false, true));
  inputs.push_back(KeyInputEx(VK_RIGHT, true, true));
  inputs.push_back(KeyInput(VK_SHIFT, false));
  inputs.push_back(KeyInput(VK_TAB, false));
  inputs.push_back(KeyInput(VK_TAB, true));
  inputs.push_back(KeyInput(VK_SHIFT, true));
  for (const INPUT& in : inputs) {
    SendInput(1, const_cast<INPUT*>(&in), sizeof(INPUT));
    PumpFor(20);
  }
  PumpFor(1000);
  DestroyWindow(edit);
  return 0;
}

// edit OUTFILE: an edit control of its own that has the focus, until what it got ends with
// "#" (or 15 s passed); what it got goes to OUTFILE.
int Edit(const std::string& outFile) {
  HWND edit = OpenFocusedEdit(100, 100, 300, 40);
  if (!edit) return 2;
  PumpUntil([&] {
    char text[256] = {};
    GetWindowTextA(edit, text, sizeof text);
    const std::string got = text;
    return !got.empty() && got.back() == '#';
  }, 15000);
  char text[256] = {};
  GetWindowTextA(edit, text, sizeof text);
  WriteFileText(outFile, text);
  DestroyWindow(edit);
  return 0;
}

// click: a double click with the left button at (kClickX, kClickY) into its own edit
// control, then a small move.
int Click() {
  HWND edit = OpenFocusedEdit(kClickX - 100, kClickY - 50, 200, 100);
  if (!edit) return 2;
  SetCursorPos(kClickX, kClickY);
  PumpFor(200);
  INPUT clicks[] = {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP),
                    MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)};
  SendInput(4, clicks, sizeof(INPUT));
  PumpFor(300);
  INPUT move = MouseInput(MOUSEEVENTF_MOVE, 5, 5);
  SendInput(1, &move, sizeof(INPUT));
  PumpFor(1200);
  DestroyWindow(edit);
  return 0;
}

// attach DLL TYPE [HOLDFILE]: registers a window of this process as receiver. Returns the
// result; with HOLDFILE it writes the result there instead and stays until killed.
int Attach(const std::string& dll, int32_t hookType, const std::string& holdFile) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  HMODULE library = LoadLibraryA(dll.c_str());
  if (!window || !library) return 1000;
  auto attach = reinterpret_cast<AttachReceiverProc>(reinterpret_cast<void*>(GetProcAddress(library, "AttachReceiver")));
  const int32_t result = attach(hookType, window, 0);
  if (holdFile.empty()) return result;
  WriteFileText(holdFile, std::to_string(result));
  for (;;) PumpFor(1000);
}

}  // namespace

int RunHookHelper(int argc, char** argv) {
  const std::string mode = argc > 2 ? argv[2] : "";
  if (mode == "type" && argc == 5) return TypeKeys(argv[3], argv[4]);
  if (mode == "click") return Click();
  if (mode == "keys") return Keys();
  if (mode == "edit" && argc == 4) return Edit(argv[3]);
  if (mode == "attach" && argc >= 5) return Attach(argv[3], std::atoi(argv[4]), argc > 5 ? argv[5] : "");
  return 1001;
}

HelperProcess::HelperProcess(const std::string& arguments) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string commandLine = "\"" + std::string(self) + "\" --hook-helper " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessA(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
}

HelperProcess::~HelperProcess() {
  if (!process_) return;
  if (!Exited()) Kill();
  CloseHandle(process_);
}

bool HelperProcess::Exited() const { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

int32_t HelperProcess::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<int32_t>(code);
}

void HelperProcess::Kill() {
  TerminateProcess(process_, 999);
  WaitForSingleObject(process_, 5000);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 20)), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

std::string HookLibraryPath() { return std::string(QUILL_RUNTIME_DIR) + "\\SysHookDLL.dll"; }

std::string InjectedHookLibraryPath() { return std::string(QUILL_SCRATCH_DIR) + "\\..\\hook-compare\\SysHookInjected.dll"; }

std::string ScratchFile(const char* name) {
  const std::string path = std::string(QUILL_SCRATCH_DIR) + "\\" + name;
  DeleteFileA(path.c_str());
  return path;
}

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace hooktest

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--hook-helper") return hooktest::RunHookHelper(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
