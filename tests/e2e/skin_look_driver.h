// The skinned look of a running Quillora as another program sees it: whether a window answers
// the skin's query, the frame a skin file gives a window, and the client area it leaves.
#pragma once

#include <windows.h>

#include <filesystem>

namespace e2e {

// Every skinned window, control and popup menu answers 1 to this message.
inline constexpr UINT kSkinQuery = 0x3523;
// The looks a user meets first (skin numbers of "set" line 17): the classic look, and skin 2,
// the one the program ships with, from this file of "皮肤".
inline constexpr int kClassicLook = 1;
inline constexpr int kShippedSkin = 2;
inline constexpr wchar_t kShippedSkinFile[] = L"mxskin2.skn";

// The answer of a window to a message (0 when it gives none within 5 s).
LRESULT Ask(HWND hwnd, UINT msg);
SIZE ClientSize(HWND hwnd);
// What the window's frame adds to its client area.
SIZE FrameExtra(HWND hwnd);
// The frame a skin file's borders and the skinned menu bar make.
SIZE SkinFrame(const std::filesystem::path& runtimeFolder, const wchar_t* skinFile);
// The program has taken every message sent so far, and its paints are on the screen.
void Settle(HWND hwnd);
// Waits until the window wears the skin of the file (it answers the skin's query and its frame
// is the skin's), or, for nullptr, the classic look (no answer, a native menu bar), then lets it
// settle; false when that does not come within 15 s. A skin starts by a message posted on
// activation and then moves the controls.
bool WaitForLook(HWND hwnd, const std::filesystem::path& runtimeFolder, const wchar_t* skinFile);

}  // namespace e2e
