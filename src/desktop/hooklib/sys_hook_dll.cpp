// SysHookDLL.dll: system-wide keyboard and mouse hooks that report to receiver windows.
//
// A process registers a receiver window with AttachReceiver; the first receiver of a hook
// type starts that type's hook, the last DetachReceiver stops it. The hooks are low-level
// ones (WH_KEYBOARD_LL, WH_MOUSE_LL) on a thread of their own inside the owning process: no
// other program loads this library, and no wait of the owner's GUI thread holds up anybody's
// input. The hook thread rebuilds the reports of the classic hooks (generic virtual keys with
// their keystroke flags, double clicks by the system's rule) and posts them to the receivers,
// or sends them to a receiver that may ask to drop the event.
//
// Built with QUILL_INJECTED_HOOKS it installs the classic WH_KEYBOARD and WH_MOUSE hooks
// instead, which the system injects into every hooked program; the tests and benchmarks
// compare the two.
//
// The receivers live in a section shared by every process that maps this file. One process
// owns a hook type at a time: the hook disappears with the process that set it, so receivers
// of other processes could not count on it. Another process's attempt gets
// kHookAlreadyInstalled; an owner that died without detaching is noticed and replaced.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "desktop/hook_protocol.h"
#include "desktop/low_level_reports.h"

using namespace desktop;

namespace {

constexpr int kMaxReceivers = 8;
// How long a program's input may wait for a filtering receiver's answer.
constexpr UINT kFilterAnswerTimeoutMs = 500;
// How long table changes wait for another process that is changing it.
constexpr DWORD kTableLockTimeoutMs = 5000;
const wchar_t kTableLockName[] = L"Local\\SysHookDLL.ReceiverTable";

struct Receiver {
  uintptr_t window;
  uint32_t allowFiltering;
};

struct HookTable {
  uintptr_t hook;  // the system hook, 0 when not installed
  uint32_t ownerProcess;
  uint64_t ownerStartTime;  // tells the owner from a later process given the same id
  Receiver receivers[kMaxReceivers];
};

struct SharedState {
  uint32_t layout;  // non-zero, so that the data is stored in the file's shared section
  HookTable tables[2];  // keyboard, mouse
};

}  // namespace

SharedState g_shared __attribute__((section(".shared"), shared)) = {1, {}};

namespace {

HINSTANCE g_module = nullptr;
int32_t g_lastError = 0;  // this process's last result of AttachReceiver or DetachReceiver

// The hook procedures read the table without the lock while an owner may be changing it:
// each field is read and written whole.
template <typename T>
T Load(const T& field) {
  return __atomic_load_n(&field, __ATOMIC_ACQUIRE);
}
template <typename T>
void Store(T& field, T value) {
  __atomic_store_n(&field, value, __ATOMIC_RELEASE);
}

HookTable* TableOf(int32_t hookType) {
  if (hookType == kKeyboardHookType) return &g_shared.tables[0];
  if (hookType == kMouseHookType) return &g_shared.tables[1];
  return nullptr;
}

class TableLock {
 public:
  TableLock() : mutex_(CreateMutexW(nullptr, FALSE, kTableLockName)) {
    if (!mutex_) return;
    const DWORD waited = WaitForSingleObject(mutex_, kTableLockTimeoutMs);
    // An abandoned lock belonged to a process that died: the table is still readable.
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  }
  ~TableLock() {
    if (held_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
  }
  bool Held() const { return held_; }
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;

 private:
  HANDLE mutex_;
  bool held_ = false;
};

uint64_t ProcessStartTime(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

bool OwnerAlive(const HookTable& table) {
  const DWORD owner = table.ownerProcess;
  if (owner == GetCurrentProcessId()) return true;
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, owner);
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours to look at
  const bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT && ProcessStartTime(process) == table.ownerStartTime;
  CloseHandle(process);
  return alive;
}

void ClearTable(HookTable& table) {
  for (Receiver& r : table.receivers) {
    Store(r.window, uintptr_t{0});
    Store(r.allowFiltering, 0u);
  }
  Store(table.hook, uintptr_t{0});
  table.ownerProcess = 0;
  table.ownerStartTime = 0;
}

bool HasReceivers(const HookTable& table) {
  for (const Receiver& r : table.receivers)
    if (r.window) return true;
  return false;
}

// Sends or posts one report to every receiver of the table; true when a receiver that
// allows filtering asked to drop the event.
bool Report(const HookTable& table, UINT message, WPARAM wParam, LPARAM lParam) {
  bool drop = false;
  for (const Receiver& r : table.receivers) {
    HWND window = reinterpret_cast<HWND>(Load(r.window));
    if (!window) continue;
    if (Load(r.allowFiltering)) {
      // Only an answer that comes in time counts: a busy or hung receiver must not
      // freeze the input of the program being typed into.
      DWORD_PTR answer = 0;
      if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kFilterAnswerTimeoutMs, &answer) &&
          answer == static_cast<DWORD_PTR>(kReportDropEvent))
        drop = true;
    } else {
      PostMessageW(window, message, wParam, lParam);
    }
  }
  return drop;
}

#ifdef QUILL_INJECTED_HOOKS

// ---- The classic hooks, run inside every hooked program ------------------------------------

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  const HookTable& table = g_shared.tables[0];
  // HC_NOREMOVE is a look at a key that will come again with HC_ACTION.
  if (code == HC_ACTION && Report(table, kReportMessageBase + kKeyReportCode, wParam, lParam)) return 1;
  return CallNextHookEx(reinterpret_cast<HHOOK>(Load(table.hook)), code, wParam, lParam);
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  const HookTable& table = g_shared.tables[1];
  if (code == HC_ACTION) {
    const auto* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    if (const auto reportCode = MouseReportCode(static_cast<uint32_t>(wParam))) {
      if (Report(table, kReportMessageBase + *reportCode, PackMousePoint(mouse->pt.x, mouse->pt.y),
                 reinterpret_cast<LPARAM>(mouse->hwnd)))
        return 1;
    }
  }
  return CallNextHookEx(reinterpret_cast<HHOOK>(Load(table.hook)), code, wParam, lParam);
}

// The hook of a type, or a system error code.
int32_t StartHook(int32_t hookType, uintptr_t& hook) {
  HHOOK h = SetWindowsHookExW(hookType == kKeyboardHookType ? WH_KEYBOARD : WH_MOUSE,
                              hookType == kKeyboardHookType ? KeyboardProc : MouseProc, g_module, 0);
  if (!h) return static_cast<int32_t>(GetLastError());
  hook = reinterpret_cast<uintptr_t>(h);
  return kHookNoError;
}

void StopHook(int32_t, uintptr_t hook) { UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook)); }

#else

// ---- The low-level hooks on a thread of the owning process ---------------------------------

// This process's hook threads, by table. Only the owner has them; only the thread itself
// touches the report builders.
struct HookThread {
  HANDLE handle;
  DWORD id;
};
HookThread g_threads[2];
KeyReportBuilder g_keyReports;
DoubleClickTracker g_doubleClicks({500, 4, 4});

LRESULT CALLBACK LowLevelKeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const RebuiltKeyReport report = g_keyReports.Build(key->vkCode, key->scanCode, key->flags);
    if (Report(g_shared.tables[0], kReportMessageBase + kKeyReportCode, report.wParam, report.lParam)) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool TakesDoubleClicks(HWND window) {
  return window && (GetClassLongW(window, GCL_STYLE) & CS_DBLCLKS) != 0;
}

std::optional<MouseButtonKind> ButtonPressed(WPARAM message) {
  switch (message) {
    case WM_LBUTTONDOWN: return MouseButtonKind::Left;
    case WM_RBUTTONDOWN: return MouseButtonKind::Right;
    case WM_MBUTTONDOWN: return MouseButtonKind::Middle;
    default: return std::nullopt;
  }
}

LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    HWND window = WindowFromPoint(mouse->pt);
    bool isDouble = false;
    if (const auto button = ButtonPressed(wParam)) {
      g_doubleClicks.SetRule({GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK), GetSystemMetrics(SM_CYDOUBLECLK)});
      isDouble = g_doubleClicks.Press({*button, mouse->pt.x, mouse->pt.y, mouse->time,
                                       reinterpret_cast<uintptr_t>(window), TakesDoubleClicks(window)});
    }
    if (const auto reportCode = LowLevelMouseReportCode(static_cast<uint32_t>(wParam), isDouble)) {
      if (Report(g_shared.tables[1], kReportMessageBase + *reportCode, PackMousePoint(mouse->pt.x, mouse->pt.y),
                 reinterpret_cast<LPARAM>(window)))
        return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct ThreadStart {
  int32_t hookType;
  HANDLE ready;
  HHOOK hook;
  DWORD error;
};

DWORD WINAPI HookThreadMain(void* parameter) {
  auto* start = static_cast<ThreadStart*>(parameter);
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts to it
  const bool keyboard = start->hookType == kKeyboardHookType;
  if (keyboard) g_keyReports = KeyReportBuilder();
  HHOOK hook = SetWindowsHookExW(keyboard ? WH_KEYBOARD_LL : WH_MOUSE_LL,
                                 keyboard ? LowLevelKeyboardProc : LowLevelMouseProc, g_module, 0);
  start->hook = hook;
  start->error = hook ? 0 : GetLastError();
  SetEvent(start->ready);  // start belongs to the caller again from here on
  if (hook) {
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    UnhookWindowsHookEx(hook);
  }
  // The thread's own reference to this library: it stays loaded until the thread is gone.
  FreeLibraryAndExitThread(g_module, 0);
  return 0;
}

int32_t StartHook(int32_t hookType, uintptr_t& hook) {
  HMODULE reference = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&HookThreadMain),
                          &reference))
    return static_cast<int32_t>(GetLastError());
  ThreadStart start{hookType, CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr, 0};
  if (!start.ready) {
    const DWORD error = GetLastError();
    FreeLibrary(reference);
    return static_cast<int32_t>(error);
  }
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, HookThreadMain, &start, 0, &id);
  if (!thread) {
    const DWORD error = GetLastError();
    CloseHandle(start.ready);
    FreeLibrary(reference);
    return static_cast<int32_t>(error);
  }
  WaitForSingleObject(start.ready, INFINITE);
  CloseHandle(start.ready);
  if (!start.hook) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return static_cast<int32_t>(start.error ? start.error : ERROR_HOOK_NOT_INSTALLED);
  }
  g_threads[hookType == kKeyboardHookType ? 0 : 1] = {thread, id};
  hook = reinterpret_cast<uintptr_t>(start.hook);
  return kHookNoError;
}

// Ends the type's hook thread and waits for it. A report the thread is sending to a
// filtering receiver of this thread is answered meanwhile, so neither waits for the other.
void StopHook(int32_t hookType, uintptr_t) {
  HookThread& slot = g_threads[hookType == kKeyboardHookType ? 0 : 1];
  const HookThread thread = slot;
  slot = {};
  if (!thread.handle) return;
  PostThreadMessageW(thread.id, WM_QUIT, 0, 0);
  while (MsgWaitForMultipleObjects(1, &thread.handle, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(thread.handle);
}

#endif

int32_t Attach(int32_t hookType, HWND receiver, bool allowFiltering) {
  HookTable* table = TableOf(hookType);
  if (!table) return ERROR_INVALID_PARAMETER;
  if (!IsWindow(receiver)) return ERROR_INVALID_WINDOW_HANDLE;
  DWORD windowProcess = 0;
  GetWindowThreadProcessId(receiver, &windowProcess);
  // The hook lives as long as this process: a receiver must belong to it.
  if (windowProcess != GetCurrentProcessId()) return ERROR_ACCESS_DENIED;

  TableLock lock;
  if (!lock.Held()) return ERROR_TIMEOUT;
  const DWORD self = GetCurrentProcessId();
  if (table->ownerProcess != 0 && !OwnerAlive(*table)) ClearTable(*table);
  if (table->ownerProcess != 0 && table->ownerProcess != self) return kHookAlreadyInstalled;

  // Receivers whose windows were destroyed without detaching make room.
  Receiver* free = nullptr;
  for (Receiver& r : table->receivers) {
    if (r.window && !IsWindow(reinterpret_cast<HWND>(r.window))) Store(r.window, uintptr_t{0});
    if (r.window == reinterpret_cast<uintptr_t>(receiver)) return kHookReceiverAlreadyRegistered;
    if (!r.window && !free) free = &r;
  }
  if (!free) return kHookTooManyReceivers;

  if (!table->hook) {
    uintptr_t hook = 0;
    if (const int32_t started = StartHook(hookType, hook); started != kHookNoError) return started;
    table->ownerProcess = self;
    table->ownerStartTime = ProcessStartTime(GetCurrentProcess());
    Store(table->hook, hook);
  }
  Store(free->allowFiltering, allowFiltering ? 1u : 0u);
  Store(free->window, reinterpret_cast<uintptr_t>(receiver));
  return kHookNoError;
}

int32_t Detach(int32_t hookType, HWND receiver) {
  HookTable* table = TableOf(hookType);
  if (!table) return ERROR_INVALID_PARAMETER;
  uintptr_t hookToStop = 0;
  {
    TableLock lock;
    if (!lock.Held()) return ERROR_TIMEOUT;
    if (table->ownerProcess != GetCurrentProcessId()) return kHookReceiverNotRegistered;
    Receiver* found = nullptr;
    for (Receiver& r : table->receivers)
      if (receiver && r.window == reinterpret_cast<uintptr_t>(receiver)) found = &r;
    if (!found) return kHookReceiverNotRegistered;
    Store(found->window, uintptr_t{0});
    Store(found->allowFiltering, 0u);
    if (!HasReceivers(*table)) {
      hookToStop = table->hook;
      ClearTable(*table);
    }
  }
  // Stopped outside the table lock: the hook may be waiting for a receiver meanwhile.
  if (hookToStop) StopHook(hookType, hookToStop);
  return kHookNoError;
}

// The library leaves the process that owns hooks: nothing of that process may stay behind
// in the table. A low-level hook thread holds the library itself, so it is gone by now; a
// classic hook whose procedure is about to vanish must go.
void ReleaseOwnedHooks(bool processEnding) {
  const DWORD self = GetCurrentProcessId();
  bool owns = false;
  for (const HookTable& table : g_shared.tables) owns = owns || table.ownerProcess == self;
  // Most unloads are in hooked programs, which own nothing: they must not wait for the lock.
  if (!owns) return;
  TableLock lock;  // taken when possible; the owner's own entries are cleared either way
  for (HookTable& table : g_shared.tables) {
    if (table.ownerProcess != self) continue;
#ifdef QUILL_INJECTED_HOOKS
    if (!processEnding && table.hook) UnhookWindowsHookEx(reinterpret_cast<HHOOK>(table.hook));
#else
    (void)processEnding;
#endif
    ClearTable(table);
  }
}

}  // namespace

extern "C" {

// hookType 1 keyboard, 2 mouse; receiver a window of the calling process; allowFiltering a
// one-byte Boolean. 0, a hook error code (below 0) or a system error code (above 0).
__stdcall int32_t AttachReceiver(int32_t hookType, HWND receiver, unsigned char allowFiltering) {
  g_lastError = Attach(hookType, receiver, allowFiltering != 0);
  return g_lastError;
}

// Ends a receiver's reports; the last receiver of a type removes that type's hook.
__stdcall int32_t DetachReceiver(int32_t hookType, HWND receiver) {
  g_lastError = Detach(hookType, receiver);
  return g_lastError;
}

// The result of this process's last AttachReceiver or DetachReceiver call.
__stdcall int32_t LastError() { return g_lastError; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    // reserved is set when the whole process is ending: the system removes its hooks then.
    ReleaseOwnedHooks(reserved != nullptr);
  }
  return TRUE;
}

}  // extern "C"
