// Owned handles for clipboard work: the open clipboard, a global memory block and its lock.
// Each releases what it holds when it goes out of scope, also on an exception.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "app/capture/clipboard_wait.h"

namespace app {

inline constexpr char kCannotOpenClipboard[] = "Cannot open clipboard";

// A clipboard or memory failure; `code` is the system error code (0 when there is none).
class ClipboardError : public std::runtime_error {
 public:
  ClipboardError(const std::string& message, DWORD code) : std::runtime_error(message), code_(code) {}
  DWORD code() const { return code_; }

 private:
  DWORD code_;
};

// Throws ClipboardError for the calling thread's last system error.
[[noreturn]] void ThrowLastSystemError();

// Runs `attempt` until it returns true, at most wait.attempts times (at least once), with the
// wait's pause and its work before each further try; true when an attempt returned true.
bool TryWithPauses(const ClipboardWait& wait, const std::function<bool()>& attempt);

// The clipboard, open for the lifetime of the object.
class ClipboardSession {
 public:
  // Tries OpenClipboard(owner) as `wait` says; throws ClipboardError "Cannot open clipboard"
  // when every try fails.
  ClipboardSession(HWND owner, const ClipboardWait& wait);
  ~ClipboardSession();
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
};

// A global memory block that is freed unless ownership is handed on with release().
class GlobalMemory {
 public:
  GlobalMemory() = default;
  explicit GlobalMemory(HGLOBAL handle) : handle_(handle) {}
  ~GlobalMemory();
  GlobalMemory(GlobalMemory&& other) noexcept : handle_(other.release()) {}
  GlobalMemory& operator=(GlobalMemory&& other) noexcept;
  GlobalMemory(const GlobalMemory&) = delete;
  GlobalMemory& operator=(const GlobalMemory&) = delete;

  // A movable, shareable block holding a copy of `bytes`; throws ClipboardError when the
  // block cannot be allocated or locked.
  static GlobalMemory CopyOf(std::span<const std::uint8_t> bytes);

  HGLOBAL get() const { return handle_; }
  HGLOBAL release() {
    HGLOBAL h = handle_;
    handle_ = nullptr;
    return h;
  }

 private:
  HGLOBAL handle_ = nullptr;
};

// A locked view of a global memory block that someone else owns (for example the clipboard).
class GlobalMemoryLock {
 public:
  explicit GlobalMemoryLock(HGLOBAL handle);
  ~GlobalMemoryLock();
  GlobalMemoryLock(const GlobalMemoryLock&) = delete;
  GlobalMemoryLock& operator=(const GlobalMemoryLock&) = delete;

  bool locked() const { return data_ != nullptr; }
  // The whole block as GlobalSize reports it; empty when not locked.
  std::span<std::uint8_t> bytes() const { return {static_cast<std::uint8_t*>(data_), size_}; }

 private:
  HGLOBAL handle_;
  void* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace app
