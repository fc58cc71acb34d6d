#include "windows/clipboard_text_win32.h"

#include <cstring>

#include "gui/sent_message_pause.h"

namespace windows {

bool PutTextOnClipboard(HWND owner, std::u16string_view text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  if (!memory) return false;
  auto* bytes = static_cast<char16_t*>(GlobalLock(memory));
  std::memcpy(bytes, text.data(), text.size() * sizeof(char16_t));
  bytes[text.size()] = u'\0';
  GlobalUnlock(memory);
  // Another program may hold the clipboard for a moment.
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (OpenClipboard(owner)) {
      EmptyClipboard();
      const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
      CloseClipboard();
      if (!placed) GlobalFree(memory);
      return placed;
    }
    gui::PauseAnsweringSentMessages(50);
  }
  GlobalFree(memory);
  return false;
}

}  // namespace windows
