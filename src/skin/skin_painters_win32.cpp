// The control painters that this program's skin settings create: push buttons, bit
// buttons, check boxes, radio buttons, group boxes, panels (recoloured only), up-down
// controls, progress bars and size grips. The painters of scroll bars, combo boxes, edits,
// tabs, headers, track bars, status bars, date-time pickers, media players, tool bars and
// speed buttons are not built: these settings never create them.
#include <windowsx.h>

#include "gui/control.h"
#include "gui/gdi.h"
#include "skin/skin_engine_win32.h"
#include "skin/skin_raster.h"

namespace skin {

namespace {

COLORREF TextColourFor(const TDataSkinObject& object, const TSkinModel& model, int frame, bool enabled) {
  if (!enabled) return GetSysColor(COLOR_BTNSHADOW);
  const auto& buttons = model.Buttons;
  if (frame == 2 && object.PressedColour >= 0) return static_cast<COLORREF>(object.PressedColour);
  if (frame == 2 && buttons.PressedColour2Given) return ToColorRef(buttons.PressedColour2);
  if (frame == 4 && object.MouseOverColour >= 0) return static_cast<COLORREF>(object.MouseOverColour);
  if (frame == 4 && buttons.MouseOverColour2Given) return ToColorRef(buttons.MouseOverColour2);
  if (object.NormalColour >= 0) return static_cast<COLORREF>(object.NormalColour);
  if (buttons.NormalColour2Given) return ToColorRef(buttons.NormalColour2);
  return ToColorRef(model.Colors[scButtonText]);
}

// Draws frame `frame` of a skin object over rect (nine-part rule) on an off-screen DC.
void DrawObjectFrame(HDC dc, const TDataSkinObject& object, int frame, const RECT& rect, bool stacked = false) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0 || object.Bitmap.Empty()) return;
  Offscreen part(w, h);
  BitBlt(part.dc(), 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
  part.Put(DrawSkinObject(object, stacked, frame, w, h), 0, 0, object.Trans != 0);
  part.BlitTo(dc, rect.left, rect.top);
}

// Messages after which the system's button procedure paints its own look at once (GetDC):
// the control is kept from drawing while they run and repainted by the skin after.
bool PaintsNatively(UINT msg) {
  switch (msg) {
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case BM_SETCHECK:
    case BM_CLICK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_UPDATEUISTATE:
    case WM_CAPTURECHANGED:
      return true;
    default:
      return false;
  }
}

// The shared frame of painters that draw the whole control.
class TPaintingSkin : public TSkinControl {
 protected:
  virtual bool Draws() const = 0;
  bool BeforeMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (!Draws()) return TSkinControl::BeforeMessage(msg, wp, lp, result);
    switch (msg) {
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = wp ? reinterpret_cast<HDC>(wp) : BeginPaint(Handle, &ps);
        PaintBuffered(dc);
        if (!wp) EndPaint(Handle, &ps);
        result = 0;
        return false;
      }
      case WM_PRINTCLIENT:
        PaintBuffered(reinterpret_cast<HDC>(wp));
        result = 0;
        return false;
      case WM_ERASEBKGND:
        result = 1;
        return false;
      case WM_MOUSELEAVE:
        Hot = Pressed = false;
        Repaint();
        return true;
      default:
        break;
    }
    if (PaintsNatively(msg)) {
      SetRedraw(false);
      result = CallDefault(msg, wp, lp);
      SetRedraw(true);
      AfterNative(msg, wp, lp);
      Repaint();
      return false;
    }
    return TSkinControl::BeforeMessage(msg, wp, lp, result);
  }
  void AfterMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (Draws() && msg == WM_MOUSEMOVE && !Hot && IsWindowEnabled(Handle)) {
      Hot = true;
      TrackLeave();
      Repaint();
    }
    TSkinControl::AfterMessage(msg, wp, lp, result);
  }
  virtual void AfterNative(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) Pressed = true;
    if (msg == WM_LBUTTONUP || msg == WM_CAPTURECHANGED) Pressed = false;
    if ((msg == WM_KEYDOWN || msg == WM_KEYUP) && wp == VK_SPACE) Pressed = msg == WM_KEYDOWN;
  }
  void DrawFocus(HDC dc, RECT text) {
    if (GetFocus() != Handle || SkinData->Options.Has(xoNoFocusRect)) return;
    InflateRect(&text, 2, 1);
    DrawFocusRect(dc, &text);
  }
};

class TSkinButton : public TPaintingSkin {
 protected:
  bool Draws() const override { return !Model().Buttons.Bitmap.Empty(); }
  bool BeforeMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (Draws() && !IsForeign) {
      // The control's own mouse handling does not run: the skin presses and clicks it.
      if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        if (GetFocus() != Handle) SetFocus(Handle);
        Pressed = true;
        SetCapture(Handle);
        Repaint();
        result = 0;
        return false;
      }
      if (msg == WM_LBUTTONUP) {
        const bool wasPressed = Pressed;
        Pressed = false;
        if (GetCapture() == Handle) ReleaseCapture();
        RECT r{};
        GetClientRect(Handle, &r);
        const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        Repaint();
        if (wasPressed && PtInRect(&r, p)) {
          PostMessageW(GetParent(Handle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle), BN_CLICKED),
                       reinterpret_cast<LPARAM>(Handle));
        }
        result = 0;
        return false;
      }
    }
    return TPaintingSkin::BeforeMessage(msg, wp, lp, result);
  }
  void Paint(HDC dc, const RECT& r) override {
    const TSkinModel& model = Model();
    const LONG style = GetWindowLongW(Handle, GWL_STYLE);
    const bool enabled = !(style & WS_DISABLED);
    const bool isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    const int frame = PushButtonFrame(GetFocus() == Handle, isDefault, Pressed, Hot, enabled);
    DrawObjectFrame(dc, model.Buttons, frame, r);
    HGDIOBJ old = SelectObject(dc, ControlFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColourFor(model.Buttons, model, frame, enabled));
    PaintContent(dc, r);
    SelectObject(dc, old);
  }
  virtual void PaintContent(HDC dc, const RECT& r) {
    const std::u16string text = Caption();
    RECT area{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    RECT measured = area;
    DrawTextWide(dc, text, measured, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER);
    const int h = measured.bottom - measured.top, w = measured.right - measured.left;
    RECT place{area.left + (area.right - area.left - w) / 2, area.top + (area.bottom - area.top - h) / 2, 0, 0};
    place.right = place.left + w;
    place.bottom = place.top + h;
    DrawTextWide(dc, text, place, DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER);
    DrawFocus(dc, place);
  }
};

class TSkinBitButton : public TSkinButton {
 protected:
  void PaintContent(HDC dc, const RECT& r) override {
    const std::u16string text = Caption();
    BitButtonInput in;
    in.AreaWidth = r.right - r.left - 4;
    in.AreaHeight = r.bottom - r.top - 4;
    RECT measured{0, 0, in.AreaWidth, in.AreaHeight};
    if (!text.empty()) DrawTextWide(dc, text, measured, DT_CALCRECT | DT_WORDBREAK);
    in.TextWidth = text.empty() ? 0 : measured.right;
    in.TextHeight = text.empty() ? 0 : measured.bottom;
    HBITMAP glyph = reinterpret_cast<HBITMAP>(SendMessageW(Handle, BM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    if (glyph && GetObjectW(glyph, sizeof info, &info)) {
      in.GlyphWidth = info.bmWidth;
      in.GlyphHeight = info.bmHeight;
    }
    const BitButtonPlaces places = BitButtonLayout(in);
    if (glyph && in.GlyphWidth > 0) {
      HDC src = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(src, glyph);
      BitBlt(dc, r.left + 2 + places.Glyph.Left, r.top + 2 + places.Glyph.Top, in.GlyphWidth, in.GlyphHeight, src, 0, 0,
             SRCCOPY);
      SelectObject(src, old);
      DeleteDC(src);
    }
    RECT place{r.left + 2 + places.Text.Left, r.top + 2 + places.Text.Top, r.left + 2 + places.Text.Right,
               r.top + 2 + places.Text.Bottom};
    DrawTextWide(dc, text, place, DT_WORDBREAK | DT_CENTER);
    DrawFocus(dc, place);
  }
};

class TSkinCheckBox : public TPaintingSkin {
 public:
  explicit TSkinCheckBox(bool radio) : radio_(radio) {}

 protected:
  const Bitmap24& Glyph() const { return radio_ ? Model().Buttons.RadioBitmap : Model().Buttons.CheckBitmap; }
  int GlyphFrames() const {
    const int frames = radio_ ? Model().Buttons.RadioButtonFrame : Model().Buttons.CheckButtonFrame;
    return frames > 0 ? frames : 4;
  }
  bool Draws() const override { return !Glyph().Empty(); }
  void Paint(HDC dc, const RECT& r) override {
    const LONG style = GetWindowLongW(Handle, GWL_STYLE);
    const LRESULT check = SendMessageW(Handle, BM_GETCHECK, 0, 0);
    const bool indeterminate = check == BST_INDETERMINATE;
    const CheckState state = check == BST_CHECKED ? CheckState::Checked : CheckState::Unchecked;
    const int frames = GlyphFrames();
    const int frame = CheckBoxFrame(state, indeterminate, (style & WS_DISABLED) != 0, frames);
    const Bitmap24& glyph = Glyph();
    const TRect source = FrameRect(glyph.Width(), glyph.Height(), frames, frame, false);
    const Bitmap24 picture = glyph.Copy(source.Left, source.Top, source.Width(), source.Height());
    const bool textLeft = (style & BS_LEFTTEXT) != 0;
    const int gx = textLeft ? r.right - picture.Width() : r.left;
    const int gy = r.top + (r.bottom - r.top - picture.Height()) / 2;
    Offscreen glyphBox(picture.Width(), picture.Height());
    BitBlt(glyphBox.dc(), 0, 0, picture.Width(), picture.Height(), dc, gx, gy, SRCCOPY);
    glyphBox.Put(picture, 0, 0, true);
    glyphBox.BlitTo(dc, gx, gy);
    HGDIOBJ old = SelectObject(dc, ControlFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (style & WS_DISABLED) ? GetSysColor(COLOR_BTNSHADOW) : ToColorRef(Model().Colors[scButtonText]));
    RECT text = textLeft ? RECT{r.left, r.top, gx - 2, r.bottom} : RECT{gx + picture.Width() + 2, r.top, r.right, r.bottom};
    const std::u16string caption = Caption();
    RECT measured = text;
    DrawTextWide(dc, caption, measured, DT_CALCRECT | DT_SINGLELINE);
    DrawTextWide(dc, caption, text, DT_SINGLELINE | DT_VCENTER | (textLeft ? DT_RIGHT : DT_LEFT));
    SelectObject(dc, old);
    const int th = measured.bottom - measured.top;
    RECT focus{text.left, r.top + (r.bottom - r.top - th) / 2, text.left + measured.right - measured.left, 0};
    focus.bottom = focus.top + th;
    DrawFocus(dc, focus);
  }

 private:
  bool radio_;
};

class TSkinGroupBox : public TPaintingSkin {
 protected:
  bool Draws() const override {
    return IsForeign ? (GetWindowLongW(Handle, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX : true;
  }
  void Paint(HDC dc, const RECT& r) override {
    HGDIOBJ oldFont = SelectObject(dc, ControlFont());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    HPEN pen = CreatePen(PS_SOLID, 1, ToColorRef(Model().Colors[scButtonShadow]));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, 1, tm.tmHeight / 2 - 1, r.right - 1, r.bottom - 1, 5, 5);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    const std::u16string caption = Caption();
    if (!caption.empty()) {
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, ToColorRef(Model().Colors[scButtonFace]));
      SetTextColor(dc, ToColorRef(Model().Colors[scButtonText]));
      RECT text{8, 0, r.right - 8, tm.tmHeight};
      DrawTextWide(dc, caption, text, DT_SINGLELINE | DT_LEFT);
    }
    SelectObject(dc, oldFont);
  }
};

// Panels and containers: recoloured, never painted.
class TSkinBox : public TSkinControl {
 protected:
  bool Subclasses() const override { return false; }
};

class TSkinUpDown : public TPaintingSkin {
 protected:
  bool Draws() const override { return true; }
  void AfterNative(UINT msg, WPARAM wp, LPARAM lp) override {
    TPaintingSkin::AfterNative(msg, wp, lp);
    if (msg == WM_LBUTTONDOWN) pressedHalf_ = HalfAt(lp);
  }
  void AfterMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg == WM_MOUSEMOVE) {
      const int half = HalfAt(lp);
      if (half != hotHalf_) {
        hotHalf_ = half;
        Hot = false;  // repaint for the new half
      }
    }
    if (msg == WM_MOUSELEAVE) hotHalf_ = -1;
    TPaintingSkin::AfterMessage(msg, wp, lp, result);
  }
  int HalfAt(LPARAM lp) const {
    RECT r{};
    GetClientRect(Handle, &r);
    const bool horizontal = (GetWindowLongW(Handle, GWL_STYLE) & UDS_HORZ) != 0;
    return horizontal ? (GET_X_LPARAM(lp) >= r.right / 2 ? 1 : 0) : (GET_Y_LPARAM(lp) >= r.bottom / 2 ? 1 : 0);
  }
  void Paint(HDC dc, const RECT& r) override {
    const TSkinModel& model = Model();
    const LONG style = GetWindowLongW(Handle, GWL_STYLE);
    const bool horizontal = (style & UDS_HORZ) != 0;
    const bool disabled = (style & WS_DISABLED) != 0;
    const std::optional<TDataSkinObject>& object = horizontal ? model.UpDownHorz : model.UpDownVert;
    HBRUSH face = CreateSolidBrush(ToColorRef(model.Colors[scButtonFace]));
    FillRect(dc, &r, face);
    DeleteObject(face);
    for (int arrow = 0; arrow < 2; ++arrow) {
      RECT half = r;
      if (horizontal) (arrow == 0 ? half.right : half.left) = (r.left + r.right) / 2;
      else (arrow == 0 ? half.bottom : half.top) = (r.top + r.bottom) / 2;
      int state = 1;
      if (disabled) state = 3;
      else if (Pressed && pressedHalf_ == arrow) state = 2;
      else if (hotHalf_ == arrow) state = 4;
      if (object && !object->Bitmap.Empty()) {
        DrawObjectFrame(dc, *object, UpDownFrame(arrow, state), half);
      } else {
        UINT kind = horizontal ? (arrow == 0 ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                               : (arrow == 0 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
        if (state == 2) kind |= DFCS_PUSHED;
        if (disabled) kind |= DFCS_INACTIVE;
        DrawFrameControl(dc, &half, DFC_SCROLL, kind);
      }
    }
  }

 private:
  int pressedHalf_ = -1, hotHalf_ = -1;
};

class TSkinProgress : public TPaintingSkin {
 protected:
  bool Draws() const override { return Model().Progress && !Model().Progress->Bitmap.Empty(); }
  void Paint(HDC dc, const RECT& r) override {
    const TDataSkinObject& progress = *Model().Progress;
    const bool stacked = progress.Style == 0;
    DrawObjectFrame(dc, progress, 1, r, stacked);
    PBRANGE range{};
    SendMessageW(Handle, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const int position = static_cast<int>(SendMessageW(Handle, PBM_GETPOS, 0, 0));
    const int span = range.iHigh - range.iLow;
    if (span <= 0) return;
    const bool vertical = (GetWindowLongW(Handle, GWL_STYLE) & PBS_VERTICAL) != 0;
    RECT filled = r;
    if (vertical) filled.top = r.bottom - (r.bottom - r.top) * (position - range.iLow) / span;
    else filled.right = r.left + (r.right - r.left) * (position - range.iLow) / span;
    if (filled.right <= filled.left || filled.bottom <= filled.top) return;
    if (Model().ProgressChunk && !Model().ProgressChunk->Bitmap.Empty()) {
      const Bitmap24& chunk = Model().ProgressChunk->Bitmap;
      Bitmap24 tiled(filled.right - filled.left, filled.bottom - filled.top);
      TilePart(chunk, {0, 0, chunk.Width(), chunk.Height()}, tiled, {0, 0, tiled.Width(), tiled.Height()});
      Offscreen off(tiled.Width(), tiled.Height());
      off.Put(tiled, 0, 0);
      off.BlitTo(dc, filled.left, filled.top);
    } else {
      DrawObjectFrame(dc, progress, 2, filled, stacked);
    }
  }
};

// Size grips: filled with the face colour.
class TSkinSizer : public TPaintingSkin {
 protected:
  bool Draws() const override { return true; }
  void Paint(HDC dc, const RECT& r) override {
    HBRUSH face = CreateSolidBrush(ToColorRef(Model().Colors[scButtonFace]));
    FillRect(dc, &r, face);
    DeleteObject(face);
  }
};

}  // namespace

std::unique_ptr<TSkinControl> MakeSkinControl(PainterKind kind) {
  switch (kind) {
    case PainterKind::Box: return std::make_unique<TSkinBox>();
    case PainterKind::Button: return std::make_unique<TSkinButton>();
    case PainterKind::BitButton: return std::make_unique<TSkinBitButton>();
    case PainterKind::CheckBox: return std::make_unique<TSkinCheckBox>(false);
    case PainterKind::RadioButton: return std::make_unique<TSkinCheckBox>(true);
    case PainterKind::GroupBox:
    case PainterKind::BoxH: return std::make_unique<TSkinGroupBox>();
    case PainterKind::UpDown: return std::make_unique<TSkinUpDown>();
    case PainterKind::Progress: return std::make_unique<TSkinProgress>();
    case PainterKind::Sizer: return std::make_unique<TSkinSizer>();
    default: return nullptr;
  }
}

}  // namespace skin
