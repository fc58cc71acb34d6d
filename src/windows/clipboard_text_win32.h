// Puts a text on the clipboard as CF_UNICODETEXT, as any program's copy would.
#pragma once

#include <windows.h>

#include <string_view>

namespace windows {

bool PutTextOnClipboard(HWND owner, std::u16string_view text);

}  // namespace windows
