// The arithmetic of the main window's layout: scaling to the screen, the resize rule and
// the fill-in mode. Pure functions of sizes, so that they can be checked without a window.
#pragma once

namespace app {

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// Windows are designed for an 800 x 600 screen and grow in proportion on larger ones:
// only when the screen is wider than 800, or exactly 800 wide and higher than 600.
// Height first, then width, each by integer arithmetic with the multiplication first.
bool ScreenNeedsScaling(Size screen);
Size ScaleToScreen(Size designed, Size screen);

// The parts of the main window that the resize rule moves (positions in client coordinates,
// sizes in pixels; the window size is its outer size in the frame the layout was first
// measured in, so that every look, with any frame, leaves the list the same client area).
struct MainLayout {
  Size window;
  int panel1Left = 0, panel1Top = 0, panel1Width = 0, panel1Height = 0;
  int panel2Height = 0;
  int listHeight = 0;
  int panel4Left = 0, panel4Width = 0, panel4Height = 0;
  int memoWidth = 0;
  int image1Top = 0;
};

// Distances measured once before scaling: Panel4's right edge to the window's right edge,
// and Panel1's bottom to the window's bottom edge.
struct LayoutGaps {
  int right = 0;
  int bottom = 0;
};
LayoutGaps MeasureGaps(const MainLayout& layout);

// The resize rule for a window of the given outer size.
MainLayout ApplyResizeRule(const MainLayout& layout, const LayoutGaps& gaps, Size window);

// The fill-in mode: a small window for filling forms in other programs. dx and dy are half
// the difference between the gaps now and the gaps measured at creation.
MainLayout FillModeLayout(const MainLayout& layout, const LayoutGaps& measured);

}  // namespace app
