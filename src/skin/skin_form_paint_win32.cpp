// TWinSkinForm's non-client painting: border pieces, the caption (composed off screen and
// copied in one BitBlt), caption buttons and the menu bar strip.
#include "gui/application.h"
#include "gui/wide.h"
#include "skin/skin_engine_win32.h"
#include "skin/skin_raster.h"

namespace skin {

CaptionFacts TWinSkinForm::Facts() const {
  CaptionFacts f;
  f.Maximized = IsZoomed(Handle) != FALSE;
  f.Active = Active;
  f.MinimizeBox = minBox_;
  f.MaximizeBox = maxBox_;
  f.HelpBox = helpBox_;
  f.SystemMenu = sysMenuBox_;
  f.DialogBorderOwnClass = IsDialogBorder() && !isDialog_;
  HWND hwnd = Handle;
  f.AskCustom = [hwnd](int code, int action) {
    return static_cast<int>(SendMessageW(hwnd, kMsgCustomVisibility, static_cast<WPARAM>(code), action));
  };
  return f;
}

const Bitmap24& TWinSkinForm::Piece(int piece, int frame, int width, int height) {
  CachedPiece& cached = pieces_[piece];
  if (cached.frame != frame || cached.width != width || cached.height != height) {
    const TDataSkinObject& object = BorderPiece(Model(), piece);
    cached.picture = DrawBorderImage(object, piece >= 3, frame, width, height);
    cached.frame = frame;
    cached.width = width;
    cached.height = height;
  }
  return cached.picture;
}

void TWinSkinForm::LayoutCaption(HDC dc, int width, TRect& textRect) {
  const TSkinModel& model = Model();
  const CaptionFacts facts = Facts();
  int leftmostRight = -1;
  // Buttons anchored to the window's edges first: the caption text of a popup window ends
  // before them; then the text, then the buttons that follow the text.
  for (TWinSysButton& button : buttons_) {
    const TDataSkinSysButton& data = model.SysButtons[button.DataIndex];
    button.Visible = false;
    const int frames = std::max(data.FrameCount, 1);
    const bool iconButton = data.Action == 3 || data.Action == 11;
    if (data.Bitmap.Empty() && !iconButton) continue;
    if (!CaptionButtonShown(data, facts)) continue;
    if (iconButton && (!sysMenuBox_ || IsDialogBorder())) continue;
    button.Visible = true;
    if (data.Align == 1) {
      const int w = data.Bitmap.Width() / frames;
      const int x = width - data.Xcoord;
      if (leftmostRight < 0 || x < leftmostRight) leftmostRight = x;
      (void)w;
    }
  }
  const std::u16string caption = WindowTextW();
  SIZE extent{};
  HGDIOBJ old = SelectObject(dc, captionFont_);
  GetTextExtentPoint32W(dc, gui::W(caption), static_cast<int>(caption.size()), &extent);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  CaptionTextInput in;
  in.WindowWidth = width;
  in.TextWidth = extent.cx;
  in.TextHeight = tm.tmHeight;
  in.Popup = isPopup_;
  in.DialogBorder = IsDialogBorder();
  in.LeftmostRightButton = leftmostRight;
  textRect = CaptionTextRect(model.Title, Border, in);
  for (TWinSysButton& button : buttons_) {
    if (!button.Visible) continue;
    const TDataSkinSysButton& data = model.SysButtons[button.DataIndex];
    const int frames = std::max(data.FrameCount, 1);
    int w = data.Bitmap.Width() / frames, h = data.Bitmap.Height();
    if (data.Bitmap.Empty()) w = h = GetSystemMetrics(SM_CXSMICON);
    const int rightMargin = model.MenuBar ? model.MenuBar->Margins.Right : 0;
    button.Rect = CaptionButtonRect(data, w, h, width, textRect, Border, MenuBarHeight, rightMargin);
  }
}

void TWinSkinForm::PaintCaption(HDC target, int width, bool minimized, int height) {
  const TSkinModel& model = Model();
  const int stripHeight = minimized ? height : Border.Top;
  Offscreen caption(width, stripHeight);
  if (!caption.Valid()) return;
  const int frame = Active ? 1 : 2;
  caption.Put(Piece(3, frame, width, Border.Top), 0, 0);
  if (minimized && stripHeight > Border.Top) {
    caption.Fill(RECT{0, Border.Top, width, stripHeight}, ToColorRef(model.Colors[scButtonFace]));
  }
  LayoutCaption(caption.dc(), width, textRect_);

  // The text background, then the text.
  if (!model.Title.Bitmap.Empty() && !textRect_.Empty()) {
    const int h = model.Title.Bitmap.Height();
    const TRect back{textRect_.Left - model.Title.TXTBackleft, (Border.Top - h) / 2,
                     textRect_.Right + model.Title.TXTBackRight, (Border.Top - h) / 2 + h};
    caption.Put(DrawSkinImage(model.Title.Bitmap, {model.Title.TXTBackleft, 0, model.Title.TXTBackRight, 0}, false,
                              false, model.Title.FrameCount, frame, back.Width(), back.Height()),
                back.Left, back.Top, true);
  }
  const std::u16string text = WindowTextW();
  HGDIOBJ oldFont = SelectObject(caption.dc(), captionFont_);
  SetBkMode(caption.dc(), TRANSPARENT);
  TColor ink = Active ? model.Colors[scTitleTextActive] : model.Colors[scTitleTextNoActive];
  if (Active && model.Title.ActiveText) ink = *model.Title.ActiveText;
  if (!Active && model.Title.InActiveText) ink = *model.Title.InActiveText;
  SetTextColor(caption.dc(), ToColorRef(ink));
  RECT textRect{textRect_.Left, textRect_.Top, std::max(textRect_.Right, textRect_.Left), textRect_.Bottom};
  DrawTextWide(caption.dc(), text, textRect, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER);
  SelectObject(caption.dc(), oldFont);

  // Caption buttons; the system-menu button shows the window's icon.
  for (const TWinSysButton& button : buttons_) {
    if (!button.Visible) continue;
    const TDataSkinSysButton& data = model.SysButtons[button.DataIndex];
    if (data.Align == 100) continue;  // drawn by the menu bar
    if (data.Action == 3 || data.Action == 11) {
      HICON icon = reinterpret_cast<HICON>(SendMessageW(Handle, WM_GETICON, ICON_SMALL, 0));
      if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(Handle, WM_GETICON, ICON_BIG, 0));
      if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(Handle, GCLP_HICONSM));
      if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(Handle, GCLP_HICON));
      const int size = GetSystemMetrics(SM_CXSMICON);
      const int y = (textRect_.Top + textRect_.Bottom) / 2 - size / 2;
      if (icon) DrawIconEx(caption.dc(), 8, y, icon, size, size, 0, nullptr, DI_NORMAL);
      continue;
    }
    const int f = CaptionButtonFrame(data.FrameCount, Active, button.Enabled, button.State);
    const TRect source = FrameRect(data.Bitmap.Width(), data.Bitmap.Height(), data.FrameCount, f, false);
    caption.Put(data.Bitmap.Copy(source.Left, source.Top, source.Width(), source.Height()), button.Rect.Left,
                button.Rect.Top, true);
  }
  caption.BlitTo(target, 0, 0);
}

void TWinSkinForm::PaintBorders(HDC dc, int width, int height) {
  const int frame = Active ? 1 : 2;
  auto blit = [&](int piece) {
    const TRect place = BorderPieceRect(piece, Border, width, height);
    if (place.Empty()) return;
    const Bitmap24& picture = Piece(piece, frame, place.Width(), place.Height());
    Offscreen off(place.Width(), place.Height());
    off.Put(picture, 0, 0);
    off.BlitTo(dc, place.Left, place.Top);
  };
  blit(1);
  blit(2);
  blit(4);
}

void TWinSkinForm::PaintNC(HDC given) {
  if ((State != 1 && State != 3) || !HasFrame() || !FrameSkinned) return;
  HDC dc = given ? given : GetWindowDC(Handle);
  if (!dc) return;
  RECT r{};
  GetWindowRect(Handle, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (IsIconic(Handle)) {
    PaintCaption(dc, width, true, height);
  } else {
    PaintBorders(dc, width, height);
    PaintCaption(dc, width, false, height);
    if (MenuBarHeight > 0) {
      if (MenuBar) {
        MenuBar->Layout();
        MenuBar->Paint(dc);
      } else {
        RECT strip{Border.Left, Border.Top, width - Border.Right, Border.Top + MenuBarHeight};
        HBRUSH brush = CreateSolidBrush(ToColorRef(Model().Colors[scButtonFace]));
        FillRect(dc, &strip, brush);
        DeleteObject(brush);
      }
    }
  }
  if (!given) ReleaseDC(Handle, dc);
}

void TWinSkinForm::RepaintButton(TWinSysButton&) {
  // The caption is composed in one piece: repainting it whole costs one BitBlt.
  if (State != 1 || !HasFrame()) return;
  HDC dc = GetWindowDC(Handle);
  RECT r{};
  GetWindowRect(Handle, &r);
  PaintCaption(dc, r.right - r.left, IsIconic(Handle) != FALSE, r.bottom - r.top);
  ReleaseDC(Handle, dc);
}

void TWinSkinForm::PaintMenuBar() {
  if (State != 1 || !MenuBar || MenuBarHeight <= 0) return;
  HDC dc = GetWindowDC(Handle);
  MenuBar->Layout();
  MenuBar->Paint(dc);
  ReleaseDC(Handle, dc);
}

}  // namespace skin
