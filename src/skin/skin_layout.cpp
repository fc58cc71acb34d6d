#include "skin/skin_layout.h"

#include <algorithm>

namespace skin {

namespace {
int PerFrame(int extent, int frameCount) { return extent / std::max(frameCount, 1); }
}  // namespace

FrameBorders BordersOf(const TSkinModel& model) {
  return {PerFrame(model.Left.Bitmap.Width(), model.Left.FrameCount),
          PerFrame(model.Top.Bitmap.Height(), model.Top.FrameCount),
          PerFrame(model.Right.Bitmap.Width(), model.Right.FrameCount),
          PerFrame(model.Bottom.Bitmap.Height(), model.Bottom.FrameCount)};
}

SizeWH SkinnedWindowSize(int clientWidth, int clientHeight, const FrameBorders& borders, int menuBarHeight) {
  return {clientWidth + borders.Left + borders.Right, clientHeight + borders.Top + borders.Bottom + menuBarHeight};
}

TRect FrameRect(int width, int height, int frameCount, int frame, bool stacked) {
  const int count = std::max(frameCount, 1);
  const int f = std::clamp(frame, 1, count);
  if (stacked) {
    const int h = height / count;
    return {0, (f - 1) * h, width, f * h};
  }
  const int w = width / count;
  return {(f - 1) * w, 0, f * w, height};
}

std::vector<PartCopy> NinePartCopies(const TRect& s, const TMargins& margins, int w, int h, bool tileCentre) {
  int l = margins.Left, r = margins.Right, t = margins.Top, b = margins.Bottom;
  if (l + r > w) l = r = 0;
  if (t + b > h) t = b = 0;
  const PartCopy parts[] = {
      {{s.Left, s.Top, s.Left + l, s.Top + t}, {0, 0, l, t}},                                // top-left
      {{s.Left, s.Bottom - b, s.Left + l, s.Bottom}, {0, h - b, l, h}},                      // bottom-left
      {{s.Right - r, s.Top, s.Right, s.Top + t}, {w - r, 0, w, t}},                          // top-right
      {{s.Left, s.Top + t, s.Left + l, s.Bottom - b}, {0, t, l, h - b}},                     // left edge
      {{s.Left + l, s.Top, s.Right - r, s.Top + t}, {l, 0, w - r, t}},                       // top edge
      {{s.Left + l, s.Top + t, s.Right - r, s.Bottom - b}, {l, t, w - r, h - b}, tileCentre},  // centre
      {{s.Right - r, s.Bottom - b, s.Right, s.Bottom}, {w - r, h - b, w, h}},                // bottom-right
      {{s.Right - r, s.Top + t, s.Right, s.Bottom - b}, {w - r, t, w, h - b}},               // right edge
      {{s.Left + l, s.Bottom - b, s.Right - r, s.Bottom}, {l, h - b, w - r, h}},             // bottom edge
  };
  std::vector<PartCopy> out;
  for (const PartCopy& part : parts) {
    if (!part.Source.Empty() && !part.Dest.Empty()) out.push_back(part);
  }
  return out;
}

bool VisibilityAllows(int code, int action, const CaptionFacts& f) {
  switch (code) {
    case 0: return true;
    case 1: return f.Maximized;
    case 2: return !f.Maximized;
    case 3: return f.Active;
    case 4: return !f.Active;
    case 6:
    case 8: return (f.MinimizeBox || f.MaximizeBox) && f.SystemMenu;
    case 7: return !f.MaximizeBox;
    case 9: return !f.MinimizeBox;
    case 10: return f.HelpBox && !f.MinimizeBox && !f.MaximizeBox;
    case 100: return f.MdiFrameWithMaximizedChild;
    case 200: return f.DialogBorderOwnClass;
    default: break;
  }
  if (code >= 201 && code <= 999) return true;
  if (code >= 1000 && code <= 2000) return f.AskCustom && f.AskCustom(code, action) >= 1;
  return false;
}

bool CaptionButtonShown(const TDataSkinSysButton& button, const CaptionFacts& facts) {
  const bool first = VisibilityAllows(button.Visibility, button.Action, facts);
  const bool second = VisibilityAllows(button.Visibility1, button.Action, facts);
  return button.CombineOp == 1 ? (first || second) : (first && second);
}

int CaptionButtonFrame(int frameCount, bool active, bool enabled, int state) {
  if (frameCount < 4) return enabled ? std::clamp(state, 1, std::max(frameCount, 1)) : 1;
  if (!enabled) return 4;
  if (state == 2 || state == 3) return state;
  return active ? 1 : 4;
}

TRect CaptionButtonRect(const TDataSkinSysButton& b, int w, int h, int windowWidth, const TRect& text,
                        const FrameBorders& borders, int menuBarHeight, int menuBarRightMargin) {
  int x = b.Xcoord, y = b.Ycoord;
  switch (b.Align) {
    case 0: break;
    case 1: x = windowWidth - b.Xcoord; break;
    case 2:
    case 8: x = text.Left - b.Xcoord; break;
    case 3:
    case 9: x = text.Right + b.Xcoord; break;
    case 100:
      x = windowWidth - b.Xcoord - borders.Right - menuBarRightMargin;
      y = borders.Top + (menuBarHeight - h) / 2;
      break;
    default: break;
  }
  return {x, y, x + w, y + h};
}

TRect CaptionTextRect(const TDataSkinTitle& title, const FrameBorders& borders, const CaptionTextInput& in) {
  int right = in.WindowWidth - title.Margins.Right;
  if (in.Popup && in.LeftmostRightButton >= 0 && in.WindowWidth - in.LeftmostRightButton >= 6) {
    right = in.LeftmostRightButton - 5;
  }
  int left = 0;
  switch (title.TextAlignment) {
    case 1: left = std::max((in.WindowWidth - in.TextWidth) / 2, 0); break;
    case 2: left = right - in.TextWidth; break;
    default: left = title.Margins.Left - (in.DialogBorder ? 16 : 0); break;
  }
  left = std::max(left, 0);
  const int top = (borders.Top - in.TextHeight) / 2 + title.Margins.Top;
  return {left, top, std::max(left, std::min(left + in.TextWidth, right)), top + in.TextHeight};
}

std::vector<TRect> MenuBarLayout(const std::vector<int>& textWidths, const std::vector<bool>& visible, int barWidth,
                                 int barHeight, const std::optional<TMargins>& menuBarMargins) {
  (void)barWidth;
  int x = 6;
  if (menuBarMargins) {
    x = menuBarMargins->Left + 4;
    if (x > barHeight) x = 12;
  }
  std::vector<TRect> rects;
  for (size_t i = 0; i < textWidths.size(); ++i) {
    if (i < visible.size() && !visible[i]) {
      rects.push_back({});
      continue;
    }
    const int width = textWidths[i] > 0 ? textWidths[i] + 10 : 0;
    rects.push_back({x, 0, x + width, barHeight - 1});
    x += width;
  }
  return rects;
}

int NextMenuBarItem(const std::vector<bool>& usable, int open, bool forward) {
  const int n = static_cast<int>(usable.size());
  if (n == 0) return -1;
  int i = open < 0 ? (forward ? -1 : 0) : open;
  for (int step = 0; step < n; ++step) {
    i = ((forward ? i + 1 : i - 1) % n + n) % n;
    if (usable[static_cast<size_t>(i)]) return i;
  }
  return -1;
}

int MenuRowWidth(MenuRowKind kind, int ownWidth, int leftMargin, bool hasImages) {
  switch (kind) {
    case MenuRowKind::BarDropDown: return ownWidth + leftMargin + (hasImages ? 10 : 35);
    case MenuRowKind::Popup: return ownWidth + leftMargin + (hasImages ? 12 : 35);
    case MenuRowKind::Rebuilt: return ownWidth + 26 + leftMargin;
  }
  return ownWidth;
}

int RebuiltRowHeight(int proposedHeight, bool separator) { return separator ? 8 : proposedHeight + 4; }

int PushButtonFrame(bool focused, bool isDefault, bool pressed, bool hot, bool enabled) {
  int frame = 1;
  if (focused || isDefault) frame = 5;
  if (pressed) frame = 2;
  else if (hot) frame = 4;
  if (!enabled) frame = 3;
  return frame;
}

int CheckBoxFrame(CheckState state, bool indeterminate, bool disabled, int frameCount) {
  int frame = state == CheckState::Checked ? 2 : state == CheckState::Grayed ? 4 : 1;
  if (disabled && frame < 4) frame += 2;
  if (indeterminate) frame = 4;
  if (frameCount == 12) {
    if (indeterminate || state == CheckState::Grayed) return disabled ? 12 : 9;
    switch (frame) {
      case 2: return 5;
      case 3: return 4;
      case 4: return 8;
      default: return frame;
    }
  }
  return frame;
}

BitButtonPlaces BitButtonLayout(const BitButtonInput& in) {
  const bool horizontal = in.Layout == GlyphLayout::Left || in.Layout == GlyphLayout::Right;
  const int c = horizontal ? in.AreaWidth : in.AreaHeight;
  const int g = horizontal ? in.GlyphWidth : in.GlyphHeight;
  const int t = horizontal ? in.TextWidth : in.TextHeight;
  int margin = in.Margin, spacing = in.Spacing;
  const bool noGlyph = in.GlyphWidth <= 0 || in.GlyphHeight <= 0;
  const bool noText = in.TextWidth <= 0 || in.TextHeight <= 0;
  if (noGlyph || noText) spacing = 0;
  if (margin != -1 && !in.CentreAligned) {
    if (spacing == -1) spacing = (c - margin - g - t) / 2;
  } else if (spacing != -1) {
    margin = (c - g - spacing - t) / 2;
  } else {
    margin = spacing = (c - g - t) / 3;
  }
  int glyphAt = 0, textAt = 0;
  if (in.Layout == GlyphLayout::Left || in.Layout == GlyphLayout::Top) {
    glyphAt = margin;
    textAt = margin + g + spacing;
  } else {
    glyphAt = c - margin - g;
    textAt = glyphAt - spacing - t;
  }
  const int across = horizontal ? in.AreaHeight : in.AreaWidth;
  const int glyphAcross = (across - (horizontal ? in.GlyphHeight : in.GlyphWidth) + 1) / 2;
  const int textAcross = (across - (horizontal ? in.TextHeight : in.TextWidth) + 1) / 2;
  BitButtonPlaces out;
  if (horizontal) {
    out.Glyph = {glyphAt, glyphAcross, glyphAt + in.GlyphWidth, glyphAcross + in.GlyphHeight};
    out.Text = {textAt, textAcross, textAt + in.TextWidth, textAcross + in.TextHeight};
  } else {
    out.Glyph = {glyphAcross, glyphAt, glyphAcross + in.GlyphWidth, glyphAt + in.GlyphHeight};
    out.Text = {textAcross, textAt, textAcross + in.TextWidth, textAt + in.TextHeight};
  }
  return out;
}

}  // namespace skin
