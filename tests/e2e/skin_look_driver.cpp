#include "skin_look_driver.h"

#include <chrono>

#include "program_driver.h"
#include "skin/skin_data.h"
#include "skin/skin_layout.h"

namespace e2e {

LRESULT Ask(HWND hwnd, UINT msg) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(hwnd, msg, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  return static_cast<LRESULT>(answer);
}

SIZE ClientSize(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return {r.right, r.bottom};
}

SIZE FrameExtra(HWND hwnd) {
  RECT w{};
  GetWindowRect(hwnd, &w);
  const SIZE client = ClientSize(hwnd);
  return {w.right - w.left - client.cx, w.bottom - w.top - client.cy};
}

SIZE SkinFrame(const std::filesystem::path& runtimeFolder, const wchar_t* skinFile) {
  skin::TSkinData data;
  data.SetSkinFile((runtimeFolder / L"皮肤" / skinFile).u16string());
  const skin::FrameBorders b = skin::BordersOf(data.Model());
  return {b.Left + b.Right, b.Top + b.Bottom + GetSystemMetrics(SM_CYMENU)};
}

void Settle(HWND hwnd) {
  Ask(hwnd, WM_NULL);
  WaitUntil([] { return false; }, std::chrono::milliseconds(300));
}

bool WaitForLook(HWND hwnd, const std::filesystem::path& runtimeFolder, const wchar_t* skinFile) {
  const SIZE frame = skinFile ? SkinFrame(runtimeFolder, skinFile) : SIZE{};
  const bool worn = WaitUntil([&] {
    if (!skinFile) return Ask(hwnd, kSkinQuery) == 0 && GetMenu(hwnd) != nullptr;
    const SIZE extra = FrameExtra(hwnd);
    return Ask(hwnd, kSkinQuery) == 1 && extra.cx == frame.cx && extra.cy == frame.cy;
  }, std::chrono::seconds(15));
  Settle(hwnd);
  return worn;
}

}  // namespace e2e
