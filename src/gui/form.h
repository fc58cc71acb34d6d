// The base of every top-level window: it owns the HWND, finds its object from the HWND
// in one static window procedure, and dispatches to virtual handlers named after the
// design's events (FormCreate, FormShow, FormClose, FormResize). Menu choices, timers and
// control notifications are routed to the objects that own them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "gui/hint_tips.h"
#include "gui/menu.h"
#include "gui/timer.h"

namespace gui {

struct FormSpec {
  std::u16string windowClass;  // e.g. u"TForm1"
  std::u16string caption;
  int width = 400, height = 300;  // outer size, as the design gives it
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  bool centered = true;
};

enum class CloseAction { None, Hide, Free };

class Form {
 public:
  Form() = default;
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window (hidden), then runs CreateControls and FormCreate.
  void Create(const FormSpec& desc);
  HWND Handle() const { return hwnd_; }

  void Show();
  void Hide();
  bool Visible() const;
  void Close();  // as if the user closed it: FormCloseQuery, FormClose, then the close action
  void BringToFront();

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  int ClientWidth() const;
  int ClientHeight() const;
  void SetBounds(int left, int top, int width, int height);
  void SetWidth(int width);
  void SetHeight(int height);
  std::u16string Caption() const;
  void SetCaption(std::u16string_view caption);
  bool StayOnTop() const;
  void SetStayOnTop(bool onTop);
  bool Minimized() const;
  bool Maximized() const;

  // The menus whose choices this window dispatches (the bar and its popups).
  void SetMenuBar(Menu& menu);
  void AddPopupMenu(Menu& menu);
  Menu* MenuBar() const { return menu_bar_; }
  const std::vector<Menu*>& Menus() const { return menus_; }

  // The hints of this window's controls follow a mouse message the message loop takes off the queue.
  void RelayHint(const MSG& msg) { hints_.Relay(hwnd_, msg); }

  // Timers whose WM_TIMER this window dispatches.
  void AddTimer(Timer& timer, UINT interval, bool enabled);

  HFONT Font() const { return font_; }
  void SetFont(HFONT font) { font_ = font; }

  // The close action of a form whose FormClose did not change it: the main form ends the
  // program, every other form hides.
  bool isMainForm = false;
  int tag = 0;  // the design's Tag (99: never skinned)

  // The background colour (CLR_INVALID: the class colour, the system's button face).
  COLORREF Color() const { return color_; }
  void SetColor(COLORREF color);

  // While frozen, a change of the client size does not run FormResize; the last one runs when
  // the freeze ends. A skin changes a window's frame in several steps: the controls are placed
  // once, not at every step (a memo of 300000 characters wraps its lines anew at each size).
  void FreezeLayout() { ++layout_freezes_; }
  void ThawLayout();

 protected:
  virtual void CreateControls() {}
  virtual void FormCreate() {}
  virtual void FormShow() {}
  virtual bool FormCloseQuery() { return true; }
  virtual void FormClose(CloseAction& action) {}
  virtual void FormResize() {}
  virtual void FormDestroy() {}
  // First look at every message; return true when handled (result set).
  virtual bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  bool DispatchMenu(UINT msg, WPARAM wp, LPARAM lp);

  HintTips hints_;
  Menu* menu_bar_ = nullptr;
  std::vector<Menu*> menus_;
  std::vector<Timer*> timers_;
  UINT_PTR next_timer_id_ = 1;
  HFONT font_ = nullptr;
  COLORREF color_ = CLR_INVALID;
  HBRUSH brush_ = nullptr;
  int layout_freezes_ = 0;
  bool layout_pending_ = false;
  bool center_on_show_ = false;  // centred on the screen the first time it is shown, at its size then
};

// Freezes a form's layout for a scope (no form: nothing).
class LayoutFreeze {
 public:
  explicit LayoutFreeze(Form* form) : form_(form) {
    if (form_) form_->FreezeLayout();
  }
  ~LayoutFreeze() {
    if (form_) form_->ThawLayout();
  }
  LayoutFreeze(const LayoutFreeze&) = delete;
  LayoutFreeze& operator=(const LayoutFreeze&) = delete;

 private:
  Form* form_;
};

}  // namespace gui
