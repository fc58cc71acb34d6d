// The Unicode hint window: a small topmost pop-up that shows a UTF-16 hint text with
// word breaks, as the click hint of the history list uses it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace unicode {

class TUniCustomHintWindow {
 public:
  TUniCustomHintWindow() = default;
  ~TUniCustomHintWindow();
  TUniCustomHintWindow(const TUniCustomHintWindow&) = delete;
  TUniCustomHintWindow& operator=(const TUniCustomHintWindow&) = delete;

  // Not owned; the system's status font when none is set.
  void SetFont(HFONT font);
  // 0xFF000000 stands for the system's tool-tip colour.
  void SetColors(COLORREF text, COLORREF background);

  // The window size that shows hint broken into lines no wider than maxWidth pixels:
  // (0, 0, width, height).
  RECT CalcHintRect(int maxWidth, std::u16string_view hint) const;
  // Shows hint in the window at rect (screen coordinates; moved inside the monitor's
  // work area when it sticks out), without taking the focus.
  void ActivateHint(RECT rect, std::u16string_view hint, HWND owner);
  void Hide();
  void ReleaseHandle();

  bool Visible() const;
  HWND Handle() const { return hwnd_; }
  const std::u16string& Caption() const { return caption_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HDC dc);
  HFONT UsedFont() const;

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  mutable HFONT systemFont_ = nullptr;
  COLORREF textColor_ = 0xFF000000;
  COLORREF background_ = 0xFF000000;
  std::u16string caption_;
};

}  // namespace unicode
