#include "app/capture/clipboard_session_win32.h"

#include <cstring>
#include <string>

namespace app {

namespace {

// The system's own text for an error code, English where the system has it.
std::string SystemErrorText(DWORD code) {
  char* text = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  DWORD length = FormatMessageA(flags, nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                reinterpret_cast<char*>(&text), 0, nullptr);
  if (length == 0) length = FormatMessageA(flags, nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result;
  if (length != 0 && text != nullptr) {
    result.assign(text, length);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
      result.pop_back();
  }
  if (text != nullptr) LocalFree(text);
  return result;
}

}  // namespace

void ThrowLastSystemError() {
  const DWORD code = GetLastError();
  std::string message = "System Error.  Code: " + std::to_string(code) + ".";
  const std::string text = SystemErrorText(code);
  if (!text.empty()) message += "\r\n" + text;
  throw ClipboardError(message, code);
}

bool TryWithPauses(const ClipboardWait& wait, const std::function<bool()>& attempt) {
  for (int tried = 0;; ++tried) {
    if (attempt()) return true;
    if (tried + 1 >= wait.attempts) return false;
    Sleep(wait.step_ms);
    if (wait.between_tries) wait.between_tries();
  }
}

ClipboardSession::ClipboardSession(HWND owner, const ClipboardWait& wait) {
  // The last failed OpenClipboard's error is the one reported: no pause follows the last try.
  if (!TryWithPauses(wait, [owner] { return OpenClipboard(owner) != FALSE; }))
    throw ClipboardError(kCannotOpenClipboard, GetLastError());
}

ClipboardSession::~ClipboardSession() { CloseClipboard(); }

GlobalMemory::~GlobalMemory() {
  if (handle_ != nullptr) GlobalFree(handle_);
}

GlobalMemory& GlobalMemory::operator=(GlobalMemory&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) GlobalFree(handle_);
    handle_ = other.release();
  }
  return *this;
}

GlobalMemory GlobalMemory::CopyOf(std::span<const std::uint8_t> bytes) {
  GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, bytes.size()));
  if (block.get() == nullptr) ThrowLastSystemError();
  void* data = GlobalLock(block.get());
  if (data == nullptr) ThrowLastSystemError();  // the block is freed on the way out
  if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
  GlobalUnlock(block.get());
  return block;
}

GlobalMemoryLock::GlobalMemoryLock(HGLOBAL handle) : handle_(handle) {
  if (handle_ == nullptr) return;
  data_ = GlobalLock(handle_);
  if (data_ != nullptr) size_ = GlobalSize(handle_);
}

GlobalMemoryLock::~GlobalMemoryLock() {
  if (data_ != nullptr) GlobalUnlock(handle_);
}

}  // namespace app
