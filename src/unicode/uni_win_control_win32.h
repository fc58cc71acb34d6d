// The base of the Unicode controls: a C++ object that owns one child window of a system
// class created with the wide API, subclasses it for mouse and keyboard events, and takes
// the notifications its parent reflects to it (HandleParentMessage).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace unicode {

// Modifier keys and mouse buttons held during an input event.
enum TShiftState : unsigned {
  ssNone = 0,
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
inline TShiftState operator|(TShiftState a, TShiftState b) { return TShiftState(unsigned(a) | unsigned(b)); }

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// What happens to a C++ exception that escapes a control's event handler: it must not
// unwind through the window procedure, so the control catches it and hands it here (the
// application reports it; by default it is dropped). The sink runs inside a catch block.
using ExceptionSink = void (*)(const char* where) noexcept;
void SetControlExceptionSink(ExceptionSink sink);

// The keyboard's modifier state now.
TShiftState KeyboardShiftState();

// "Use the system's colour" for the colour properties.
inline constexpr COLORREF kDefaultColor = 0xFF000000;

class TUniWinControl {
 public:
  TUniWinControl() = default;
  virtual ~TUniWinControl();
  TUniWinControl(const TUniWinControl&) = delete;
  TUniWinControl& operator=(const TUniWinControl&) = delete;

  // Creates the window as a child of parent (bounds in the parent's client coordinates).
  // extraStyle is added to the control's own style. Returns false when the system refuses.
  bool Create(HWND parent, int id, const RECT& bounds, DWORD extraStyle = 0);
  // Destroys the window; the control keeps its content for the next Create.
  void DestroyHandle();
  // Destroys the window and creates it again in the same place with the same style.
  bool RecreateWnd();

  HWND Handle() const { return hwnd_; }
  bool HandleAllocated() const { return hwnd_ != nullptr; }
  int Id() const { return id_; }

  // The parent window calls this for WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM,
  // WM_DELETEITEM and WM_CTLCOLOR* messages; true when the message was about this control
  // and is answered (result).
  virtual bool HandleParentMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // The font is not owned: the caller keeps it alive while the control uses it.
  void SetFont(HFONT font);
  HFONT Font() const { return font_; }
  // Background and text colours (kDefaultColor: the system's window colours).
  void SetColor(COLORREF color);
  void SetFontColor(COLORREF color);
  COLORREF Color() const;
  COLORREF FontColor() const;

  bool Visible() const;
  void SetVisible(bool visible);
  void SetBounds(const RECT& bounds);
  void SetFocus();

  // The control's tool-tip text.
  std::u16string Hint;

  std::function<void(WORD& key, TShiftState shift)> OnKeyDown;
  std::function<void(WORD& key, TShiftState shift)> OnKeyUp;
  std::function<void(wchar_t& key)> OnKeyPress;
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
  std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
  // screen position (-1, -1 from the keyboard); set handled to keep the default menu away.
  std::function<void(POINT position, bool& handled)> OnContextPopup;

  // Sees every message of the window before the control: true answers it with `result`. A
  // filter that must let the control go first calls Perform. (A second subclass would cost
  // every message of the window, a list's 100000 insertions included, two window-property
  // look-ups, which are server calls under Wine.)
  std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)> OnMessage;
  // The control's own handling of a message, without the filter.
  LRESULT Perform(UINT msg, WPARAM wp, LPARAM lp) { return WndProc(msg, wp, lp); }

 protected:
  struct CreateParams {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
  };
  virtual CreateParams GetCreateParams() const = 0;
  // The window exists now: bring it up to the control's state.
  virtual void CreateWnd() {}
  // The window is about to be destroyed while the control lives on: keep what it holds.
  virtual void DestroyWnd() {}
  // The subclassed window procedure; unhandled messages go to DefaultProc.
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp) const;
  // Whether a reflected message's control handle or id names this control.
  bool IsOwnCommand(LPARAM lp) const { return hwnd_ != nullptr && reinterpret_cast<HWND>(lp) == hwnd_; }
  HBRUSH BackgroundBrush();
  // Destroys the window for good (the object is going away: nothing is saved). The
  // destructors of the concrete controls call it while their own members still live.
  void FinalizeHandle();
  bool Finalizing() const { return finalizing_; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT Dispatch(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleInput(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  HWND parent_ = nullptr;
  int id_ = 0;
  RECT bounds_{};
  DWORD extraStyle_ = 0;
  WNDPROC original_ = nullptr;
  HFONT font_ = nullptr;
  COLORREF color_ = kDefaultColor;
  COLORREF fontColor_ = kDefaultColor;
  HBRUSH brush_ = nullptr;
  bool visible_ = true;
  bool finalizing_ = false;
};

}  // namespace unicode
