// TSkinControl: the base of the control painters. It subclasses the control's window,
// switches skinning on and off (0x3506), recolours framework controls and offers the
// painters off-screen painting and the shared text rules.
#include "gui/control.h"
#include "gui/guard.h"
#include "gui/subclass.h"
#include "gui/wide.h"
#include "skin/skin_engine_win32.h"

namespace skin {

namespace {
constexpr UINT_PTR kSubclassId = 0x534B4E43;  // "SKNC"
constexpr UINT_PTR kRedrawTimer = 1;
}  // namespace

TSkinControl::~TSkinControl() { Detach(); }

void TSkinControl::Attach(HWND handle, TSkinData& data, TWinSkinForm& form, int kind) {
  Handle = handle;
  SkinData = &data;
  SkinForm = &form;
  Kind = kind;
  if (Subclasses()) {
    subclassed_ = gui::InstallSubclass(Handle, &TSkinControl::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  Attached();
  State = 1;
}

void TSkinControl::InitFromControl(TWinSkinForm& form, TSkinData& data, gui::Control& control, bool changeColor,
                                   int kind) {
  if (State != 0) return;
  Control = &control;
  ChangeColor = changeColor;
  if (changeColor) {
    savedColor_ = control.Color();
    control.SetColor(ToColorRef(data.Model().Colors[scButtonFace]));
  }
  Attach(control.Handle(), data, form, kind);
  InvalidateRect(Handle, nullptr, TRUE);
}

void TSkinControl::Subclass(HWND handle, TSkinData& data, TWinSkinForm& form, int kind) {
  if (State != 0) return;
  IsForeign = true;
  WindowText = gui::GetWindowTextU(handle);
  Attach(handle, data, form, kind);
  InvalidateRect(Handle, nullptr, TRUE);
}

void TSkinControl::Detach() {
  SetRedraw(true);
  if (subclassed_ && IsWindow(Handle)) gui::RemoveSubclass(Handle, &TSkinControl::Proc, kSubclassId);
  subclassed_ = false;
}

void TSkinControl::Unskin() {
  if (!SkinOn) return;
  SkinOn = false;
  SetRedraw(true);
  if (State != 6 && ChangeColor && Control) Control->SetColor(savedColor_);
  Detach();
  if (State != 6 && IsWindow(Handle)) InvalidateRect(Handle, nullptr, TRUE);
}

void TSkinControl::Refresh() {
  if (ChangeColor && Control) Control->SetColor(ToColorRef(Model().Colors[scButtonFace]));
  Repaint();
}

LRESULT CALLBACK TSkinControl::Proc(HWND, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<TSkinControl*>(ref);
  return gui::Guarded("skinned control", LRESULT{0}, [&] { return self->WndProc(msg, wp, lp); });
}

LRESULT TSkinControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kMsgSkinOnOff) {
    SkinOn = wp > 0;
    if (!SkinOn) SetRedraw(true);
    Repaint();
    return 0;
  }
  if (!SkinOn) return msg == kMsgIsSkinned ? 1 : CallDefault(msg, wp, lp);
  LRESULT result = 0;
  if (BeforeMessage(msg, wp, lp, result)) {
    result = CallDefault(msg, wp, lp);
    AfterMessage(msg, wp, lp, result);
  }
  return result;
}

bool TSkinControl::BeforeMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_NCDESTROY: {
      State = 6;
      result = CallDefault(msg, wp, lp);
      Detach();
      return false;
    }
    case kMsgIsSkinned:
      result = 1;
      return false;
    case WM_TIMER:
      if (wp == kRedrawTimer) {
        SetRedraw(true);
        Repaint();
        result = 0;
        return false;
      }
      return true;
    default:
      return true;
  }
}

void TSkinControl::AfterMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
  switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
      Repaint();
      break;
    default:
      break;
  }
}

LRESULT TSkinControl::CallDefault(UINT msg, WPARAM wp, LPARAM lp) {
  return gui::CallNextSubclass(Handle, msg, wp, lp);
}

void TSkinControl::Repaint() {
  if (!IsWindow(Handle)) return;
  InvalidateRect(Handle, nullptr, TRUE);
  UpdateWindow(Handle);
}

void TSkinControl::SetRedraw(bool allow) {
  if (!IsWindow(Handle)) return;
  if (!allow) {
    KillTimer(Handle, kRedrawTimer);
    const LONG style = GetWindowLongW(Handle, GWL_STYLE);
    if (!(style & WS_VISIBLE)) return;
    hiddenBySkin_ = true;
    SetWindowLongW(Handle, GWL_STYLE, style & ~WS_VISIBLE);
    SetTimer(Handle, kRedrawTimer, 100, nullptr);
  } else {
    KillTimer(Handle, kRedrawTimer);
    if (hiddenBySkin_) SetWindowLongW(Handle, GWL_STYLE, GetWindowLongW(Handle, GWL_STYLE) | WS_VISIBLE);
    hiddenBySkin_ = false;
  }
}

void TSkinControl::PaintNC(HDC dc) {
  RECT r{};
  GetWindowRect(Handle, &r);
  const RECT local{0, 0, r.right - r.left, r.bottom - r.top};
  HDC used = dc ? dc : GetWindowDC(Handle);
  Paint(used, local);
  if (!dc) ReleaseDC(Handle, used);
}

void TSkinControl::PaintBuffered(HDC dc) {
  RECT r{};
  GetClientRect(Handle, &r);
  Offscreen off(r.right, r.bottom);
  if (!off.Valid()) return;
  FillParentColor(off.dc(), r);
  Paint(off.dc(), r);
  off.BlitTo(dc, 0, 0);
}

void TSkinControl::FillParentColor(HDC dc, const RECT& r) {
  COLORREF colour = ToColorRef(Model().Colors[scButtonFace]);
  HWND parent = GetParent(Handle);
  if (gui::Control* control = gui::FindControl(parent); control && control->Color() != CLR_INVALID) {
    colour = control->Color();
  }
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

HFONT TSkinControl::ControlFont() const {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

std::u16string TSkinControl::Caption() const {
  std::u16string text = gui::GetWindowTextU(Handle);
  // "||" stands for a line break.
  for (size_t at = text.find(u"||"); at != std::u16string::npos; at = text.find(u"||", at + 2)) {
    text.replace(at, 2, u"\r\n");
  }
  return text;
}

void TSkinControl::TrackLeave() {
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle, 0};
  TrackMouseEvent(&track);
}

}  // namespace skin
