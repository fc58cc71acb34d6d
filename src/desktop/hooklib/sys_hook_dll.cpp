// SysHookDLL.dll: system-wide keyboard and mouse hooks that report to receiver windows.
//
// A process registers a receiver window with AttachReceiver; the first receiver of a hook
// type installs that type's system hook (WH_KEYBOARD or WH_MOUSE), the last DetachReceiver
// removes it. The system loads this library into every program whose input is hooked, and
// there the hook procedures send or post the reports (WM_USER + code) to the receivers.
// What all those copies must see alike, the hook handles and the receivers, lives in a
// section shared by every process that maps this file.
//
// One process owns a hook type at a time: the hook disappears with the process that set it,
// so receivers of other processes could not count on it. Another process's attempt gets
// kHookAlreadyInstalled; an owner that died without detaching is noticed and replaced.
#include <windows.h>

#include <cstdint>

#include "desktop/hook_protocol.h"

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
    HHOOK hook = SetWindowsHookExW(hookType == kKeyboardHookType ? WH_KEYBOARD : WH_MOUSE,
                                   hookType == kKeyboardHookType ? KeyboardProc : MouseProc, g_module, 0);
    if (!hook) return static_cast<int32_t>(GetLastError());
    table->ownerProcess = self;
    table->ownerStartTime = ProcessStartTime(GetCurrentProcess());
    Store(table->hook, reinterpret_cast<uintptr_t>(hook));
  }
  Store(free->allowFiltering, allowFiltering ? 1u : 0u);
  Store(free->window, reinterpret_cast<uintptr_t>(receiver));
  return kHookNoError;
}

void RemoveHookOf(HookTable& table, bool unhook) {
  if (unhook && table.hook) UnhookWindowsHookEx(reinterpret_cast<HHOOK>(table.hook));
  ClearTable(table);
}

int32_t Detach(int32_t hookType, HWND receiver) {
  HookTable* table = TableOf(hookType);
  if (!table) return ERROR_INVALID_PARAMETER;
  TableLock lock;
  if (!lock.Held()) return ERROR_TIMEOUT;
  if (table->ownerProcess != GetCurrentProcessId()) return kHookReceiverNotRegistered;
  for (Receiver& r : table->receivers) {
    if (receiver && r.window == reinterpret_cast<uintptr_t>(receiver)) {
      Store(r.window, uintptr_t{0});
      Store(r.allowFiltering, 0u);
      if (!HasReceivers(*table)) RemoveHookOf(*table, true);
      return kHookNoError;
    }
  }
  return kHookReceiverNotRegistered;
}

// The library leaves the process that owns hooks: nothing of that process may stay behind
// in the table, and a hook whose procedure is about to vanish must go.
void ReleaseOwnedHooks(bool processEnding) {
  const DWORD self = GetCurrentProcessId();
  bool owns = false;
  for (const HookTable& table : g_shared.tables) owns = owns || table.ownerProcess == self;
  // Most unloads are in hooked programs, which own nothing: they must not wait for the lock.
  if (!owns) return;
  TableLock lock;  // taken when possible; the owner's own entries are cleared either way
  for (HookTable& table : g_shared.tables)
    if (table.ownerProcess == self) RemoveHookOf(table, !processEnding);
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
