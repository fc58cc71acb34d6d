#include "app/mainform/main_layout.h"

#include <cstdlib>

namespace app {

bool ScreenNeedsScaling(Size screen) {
  return screen.width > 800 || (screen.width == 800 && screen.height > 600);
}

Size ScaleToScreen(Size designed, Size screen) {
  if (!ScreenNeedsScaling(screen)) return designed;
  Size scaled;
  scaled.height = screen.height * designed.height / 600;
  scaled.width = screen.width * designed.width / 800;
  return scaled;
}

LayoutGaps MeasureGaps(const MainLayout& layout) {
  return {layout.window.width - layout.panel4Left - layout.panel4Width,
          layout.window.height - layout.panel1Top - layout.panel1Height};
}

MainLayout ApplyResizeRule(const MainLayout& layout, const LayoutGaps& gaps, Size window) {
  MainLayout next = layout;
  next.window = window;
  next.panel1Height = window.height - gaps.bottom - layout.panel1Top;
  next.listHeight = next.panel1Height - layout.panel2Height - 2;
  next.image1Top = layout.image1Top + (next.listHeight - layout.listHeight);
  next.panel4Left = window.width - layout.panel1Left - gaps.right - 5;
  next.panel4Height = next.listHeight;
  const int widthChange = next.panel4Left - layout.panel4Left;
  next.panel1Width = layout.panel1Width + widthChange;
  next.memoWidth = layout.memoWidth + widthChange;
  return next;
}

MainLayout FillModeLayout(const MainLayout& layout, const LayoutGaps& measured) {
  const LayoutGaps now = MeasureGaps(layout);
  const int dx = std::abs(now.right - measured.right) / 2;
  const int dy = std::abs(now.bottom - measured.bottom) / 2;
  MainLayout next = layout;
  next.image1Top = layout.panel1Top + layout.listHeight - 146 - dy;
  next.listHeight = layout.listHeight - 120 - dy;
  next.panel1Width = layout.panel1Width - 350 - dx;
  next.window.height = next.listHeight + layout.panel1Top + 145;
  next.window.width = next.panel1Width + layout.panel1Left + 32;
  return next;
}

}  // namespace app
