// The skinned look of a running Quillora as another program sees it: whether a window answers
// the skin's query, the frame a skin file gives a window, and the client area it leaves.
#pragma once

#include <windows.h>

#include <filesystem>

namespace e2e {

// Every skinned window, control and popup menu answers 1 to this message.
inline constexpr UINT kSkinQuery = 0x3523;

// The answer of a window to a message (0 when it gives none within 5 s).
LRESULT Ask(HWND hwnd, UINT msg);
SIZE ClientSize(HWND hwnd);
// What the window's frame adds to its client area.
SIZE FrameExtra(HWND hwnd);
// The frame a skin file's borders and the skinned menu bar make.
SIZE SkinFrame(const std::filesystem::path& runtimeFolder, const wchar_t* skinFile);
// The program has taken every message sent so far, and its paints are on the screen.
void Settle(HWND hwnd);

}  // namespace e2e
