#include "timer_probe_driver.h"

#include <sstream>
#include <string>

#include "program_driver.h"

namespace e2e {

namespace {
std::wstring g_answer;
bool g_answered = false;

LRESULT CALLBACK ReplyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    g_answer.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    g_answered = true;
    return TRUE;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

std::wstring LibraryPath() {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"timer_probe.dll";
}
}  // namespace

TimerProbe::TimerProbe(HWND anyWindowOfTheThread) : window_(anyWindowOfTheThread) {
  library_ = LoadLibraryW(LibraryPath().c_str());
  if (!library_) return;
  auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(library_, "TimerProbeHook")));
  if (!proc) return;
  hook_ = SetWindowsHookExW(WH_GETMESSAGE, proc, library_, GetWindowThreadProcessId(window_, nullptr));
  // The library enters the program with the next message it takes; counting starts there.
  Read(true);
}

TimerProbe::~TimerProbe() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (library_) FreeLibrary(library_);
}

TimerProbe::Counts TimerProbe::Read(bool reset) {
  static HWND reply = CreateHiddenWindow(L"QuilloraE2ETimerProbeReply", ReplyProc, HWND_MESSAGE);
  Counts counts;
  if (!hook_) return counts;
  g_answered = false;
  PostMessageW(window_, RegisterWindowMessageW(L"Quillora.E2E.TimerCounts"), reinterpret_cast<WPARAM>(reply),
               reset ? 1 : 0);
  if (!WaitUntil([] { return g_answered; }, std::chrono::seconds(10))) return counts;
  std::wistringstream lines(g_answer);
  std::wstring line;
  while (std::getline(lines, line)) {
    std::wistringstream fields(line);
    unsigned long long hwnd = 0, id = 0;
    long count = 0;
    if (fields >> hwnd >> id >> count) counts[{reinterpret_cast<HWND>(static_cast<UINT_PTR>(hwnd)), static_cast<UINT_PTR>(id)}] = count;
  }
  return counts;
}

long TimerProbe::ToWindowAndChildren(const Counts& counts, HWND window) {
  long total = 0;
  for (const auto& [key, count] : counts) {
    if (key.first == window || IsChild(window, key.first)) total += count;
  }
  return total;
}

long TimerProbe::ToWindow(const Counts& counts, HWND window, UINT_PTR id) {
  auto it = counts.find({window, id});
  return it == counts.end() ? 0 : it->second;
}

}  // namespace e2e
