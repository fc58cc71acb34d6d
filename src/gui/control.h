// Child controls. A control object owns its window; the window it sits in reflects the
// notifications about it (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*,
// scroll messages) back to the object, so that each control handles its own.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace gui {

// Anything that wants reflected notifications for a window it owns.
class ReflectTarget {
 public:
  virtual ~ReflectTarget() = default;
  virtual bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;
};

// Connects a window to its reflect target (kept in a window property).
void AttachReflectTarget(HWND control, ReflectTarget* target);
void DetachReflectTarget(HWND control);

// A child window's rectangle in its parent's client coordinates.
RECT BoundsInParent(HWND hwnd);
inline RECT MakeRect(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }

// Controls built outside this layer (the Unicode controls) answer reflected notifications
// through a handler of their own and may recreate their window: they are found by asking
// each for its current handle.
using ReflectHandler = std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)>;
void RegisterReflectedControl(const void* owner, std::function<HWND()> handle, ReflectHandler handler);
void UnregisterReflectedControl(const void* owner);

// Hosts such a control: any class with Handle() and HandleParentMessage(msg, wp, lp, result).
template <class T>
void HostControl(T& control) {
  RegisterReflectedControl(
      &control, [&control] { return control.Handle(); },
      [&control](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
        return control.HandleParentMessage(msg, wp, lp, result);
      });
}

// Called by every container window procedure: hands a notification to the control it is about.
bool ReflectToControl(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// What a control was designed as: the skin engine picks its painter by it.
enum class ControlKind {
  Other, Button, BitBtn, SpeedButton, Panel, CheckBox, RadioButton, GroupBox, SpinButton, ProgressBar, ComboBox, Edit,
  Memo, ListBox, Label, Image
};

// Where and how a control is created: one small struct per creation, so that a window's
// description is data.
struct ControlSpec {
  int id = 0;
  int left = 0, top = 0, width = 0, height = 0;
  std::u16string text;
  DWORD style = 0;
  DWORD exStyle = 0;
};

class Control : public ReflectTarget {
 public:
  Control() = default;
  ~Control() override;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND Handle() const { return hwnd_; }
  int Id() const { return id_; }

  // Creates the window of a system control class as a child of parent.
  void CreateAs(const wchar_t* windowClass, HWND parent, const ControlSpec& desc, HFONT font);

  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override { return false; }

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
  void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  std::u16string Text() const;
  void SetText(std::u16string_view text);
  void SetFocus();
  void Invalidate();

  std::u16string hint;  // tool-tip text
  ControlKind kind = ControlKind::Other;  // set by Create; a form may refine it (a Button designed as BitBtn)
  int tag = 0;                            // the design's Tag (99: never skinned)

  // The background colour (CLR_INVALID: the class colour, the system's button face).
  COLORREF Color() const { return color_; }
  void SetColor(COLORREF color);
  // The brush of Color(), or nullptr for the class colour.
  HBRUSH ColorBrush();

 protected:
  // Takes over a window created elsewhere (for example by a control class of another subsystem).
  void Adopt(HWND hwnd, int id);
  HWND hwnd_ = nullptr;
  int id_ = 0;

 private:
  COLORREF color_ = CLR_INVALID;
  HBRUSH brush_ = nullptr;
};

// The control object of a window made by this layer, or nullptr.
Control* FindControl(HWND hwnd);

// A push button; OnClick runs on BN_CLICKED.
class Button : public Control {
 public:
  void Create(HWND parent, const ControlSpec& desc, HFONT font);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  std::function<void()> OnClick;
};

// A button that stays down or up (a tool-bar switch). Clicking flips it and runs OnClick;
// SetDown changes the state without running anything.
class SpeedButton : public Button {
 public:
  void Create(HWND parent, const ControlSpec& desc, HFONT font);
  bool Down() const;
  void SetDown(bool down);
};

class Label : public Control {
 public:
  void Create(HWND parent, const ControlSpec& desc, HFONT font);
};

class ProgressBar : public Control {
 public:
  void Create(HWND parent, const ControlSpec& desc);
  void SetRange(int low, int high);
  void SetPosition(int position);
  int Position() const;
  void SetStep(int step);
  void StepIt();
};

// An up-down arrow pair (not attached to a buddy); OnUp/OnDown run on each click.
class SpinButton : public Control {
 public:
  void Create(HWND parent, const ControlSpec& desc);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  std::function<void()> OnUpClick;
  std::function<void()> OnDownClick;
};

// A picture: an icon drawn centred.
class Image : public Control {
 public:
  void Create(HWND parent, const ControlSpec& desc);
  void SetIcon(HICON icon);
};

// A framed container for other controls. It reflects its children's notifications.
class Panel : public Control {
 public:
  void Create(HWND parent, const ControlSpec& desc, HFONT font);
  std::function<void(int x, int y)> OnMouseMove;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace gui
