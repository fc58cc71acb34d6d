// Starting a program and timing it until its window shows, the same way for Quillora.exe and
// for the bare anchors it is compared with: from CreateProcess until a visible top-level window
// of the process with the given class exists and the process answers a message sent to it
// (its thread is back in its message loop, the window's first paint done).
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "bench_timing.h"

namespace bench {

struct StartedProgram {
  HANDLE process = nullptr;
  DWORD pid = 0;
  HWND window = nullptr;
  double msToWindow = 0;
};

// A file beside this benchmark program (the bare anchors are built there).
inline std::filesystem::path BesideThisProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path() / name;
}

namespace detail {
struct WindowQuery {
  DWORD pid;
  const wchar_t* windowClass;
  HWND found;
};
inline BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lp) {
  auto& query = *reinterpret_cast<WindowQuery*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != query.pid || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (lstrcmpW(name, query.windowClass) != 0) return TRUE;
  query.found = hwnd;
  return FALSE;
}
}  // namespace detail

// Polls every millisecond, so that the poll adds at most about a millisecond to either side.
inline bool StartAndWaitForWindow(const std::filesystem::path& exe, const std::filesystem::path& folder,
                                  const wchar_t* windowClass, StartedProgram& started,
                                  std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
  std::wstring command = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  const Clock::time_point start = Clock::now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.wstring().c_str(), &si,
                      &pi)) {
    return false;
  }
  CloseHandle(pi.hThread);
  started.process = pi.hProcess;
  started.pid = pi.dwProcessId;
  detail::WindowQuery query{pi.dwProcessId, windowClass, nullptr};
  while (!query.found) {
    if (Clock::now() - start > timeout) return false;
    EnumWindows(detail::FindVisible, reinterpret_cast<LPARAM>(&query));
    if (!query.found) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(query.found, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer)) return false;
  started.msToWindow = Since(start);
  started.window = query.found;
  return true;
}

// Closes the window as a user does and waits for the process to end (ended by force after 30 s).
inline void CloseAndWait(StartedProgram& started) {
  if (!started.process) return;
  if (started.window) PostMessageW(started.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(started.process, 30000) != WAIT_OBJECT_0) {
    TerminateProcess(started.process, 99);
    WaitForSingleObject(started.process, 5000);
  }
  CloseHandle(started.process);
  started = {};
}

}  // namespace bench
