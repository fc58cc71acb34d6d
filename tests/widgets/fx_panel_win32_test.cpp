#include <gtest/gtest.h>

#include "widget_test_support_win32.h"
#include "widgets/fx_panel_win32.h"

using namespace widgets;
using namespace widget_tests;

namespace {
COLORREF Sys(int index) { return GetSysColor(index); }

struct PanelFixture : ::testing::Test {
  void SetUp() override {
    ASSERT_NE(parent.hwnd, nullptr) << parent.error;
    panel.Create(parent.hwnd, gui::ControlSpec{1, 10, 10, 60, 40});
    ASSERT_NE(panel.Handle(), nullptr) << GetLastError();
  }
  Parent parent;
  TFxPanel panel;
};
}  // namespace

TEST_F(PanelFixture, DefaultsAreThoseOfTheDesign) {
  EXPECT_EQ(panel.Alignment(), TAlignment::taCenter);
  EXPECT_EQ(panel.AlignmentVertical(), TAlignmentVertical::avCenter);
  EXPECT_EQ(panel.BorderOuter(), TFrameStyleEx::fsRaised);
  EXPECT_EQ(panel.BorderInner(), TFrameStyleEx::fsNone);
  EXPECT_EQ(panel.BorderSides(), kAllSides);
  EXPECT_EQ(panel.FlatColorAdjustment(), 30);
  EXPECT_EQ(panel.VisualStyle(), TFxVisualStyle::vsWinXP);
  EXPECT_EQ(panel.GradientDirection(), TGradientDirection::gdHorizontalEnd);
  EXPECT_EQ(panel.GridXSize(), 8);
  EXPECT_TRUE(panel.PaintClientArea());
  EXPECT_TRUE(panel.WordWrap());
  EXPECT_TRUE(panel.FullRepaint());
  EXPECT_FALSE(panel.Transparent());
}

TEST_F(PanelFixture, EachFrameStylePaintsItsRingColours) {
  struct Case {
    TFrameStyleEx style;
    std::vector<std::pair<COLORREF, COLORREF>> rings;  // (top, bottom) of each ring
  };
  const std::vector<Case> cases = {
      // The flat kinds take the flat colour made lighter by the adjustment.
      {TFrameStyleEx::fsFlat, {{Lighter(Sys(COLOR_BTNSHADOW), 30), Lighter(Sys(COLOR_BTNSHADOW), 30)}}},
      {TFrameStyleEx::fsFlatBold, {{Lighter(Sys(COLOR_BTNSHADOW), 30), Lighter(Sys(COLOR_BTNSHADOW), 30)},
                                   {Lighter(Sys(COLOR_BTNSHADOW), 30), Lighter(Sys(COLOR_BTNSHADOW), 30)}}},
      {TFrameStyleEx::fsGroove, {{Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT)}, {Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW)}}},
      {TFrameStyleEx::fsBump, {{Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW)}, {Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT)}}},
      {TFrameStyleEx::fsLowered, {{Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT)}, {Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT)}}},
      {TFrameStyleEx::fsButtonDown, {{Sys(COLOR_BTNTEXT), Sys(COLOR_BTNTEXT)}, {Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW)}}},
      {TFrameStyleEx::fsRaised, {{Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW)}, {Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW)}}},
      {TFrameStyleEx::fsButtonUp, {{Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_3DDKSHADOW)}, {Sys(COLOR_3DLIGHT), Sys(COLOR_BTNSHADOW)}}},
      {TFrameStyleEx::fsStatus, {{Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT)}}},
      {TFrameStyleEx::fsPopup, {{Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW)}}},
  };
  panel.SetColor(RGB(1, 2, 3));
  for (const Case& c : cases) {
    panel.SetBorderOuter(c.style);
    Picture picture(panel);
    ASSERT_EQ(picture.width, 60);
    for (size_t k = 0; k < c.rings.size(); ++k) {
      const int i = static_cast<int>(k);
      EXPECT_EQ(picture.At(30, i), c.rings[k].first) << static_cast<int>(c.style) << " ring " << k;
      EXPECT_EQ(picture.At(i, 20), c.rings[k].first) << static_cast<int>(c.style) << " ring " << k;
      EXPECT_EQ(picture.At(30, 39 - i), c.rings[k].second) << static_cast<int>(c.style) << " ring " << k;
      EXPECT_EQ(picture.At(59 - i, 20), c.rings[k].second) << static_cast<int>(c.style) << " ring " << k;
    }
    const int n = static_cast<int>(c.rings.size());
    EXPECT_EQ(picture.At(n, n), RGB(1, 2, 3)) << static_cast<int>(c.style);
  }
}

TEST_F(PanelFixture, CelebrationPanelShowsBevelMaroonRingAndClientColour) {
  panel.SetBorderWidth(1);
  panel.SetBorderColor(clMaroon);
  panel.SetBorderShadow(clMaroon);
  panel.SetFlatColor(clMaroon);
  panel.SetGradientColorStart(clMaroon);
  panel.SetGradientColorStop(clMaroon);
  Picture picture(panel);
  EXPECT_EQ(picture.At(30, 0), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(picture.At(30, 39), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(picture.At(30, 1), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(picture.At(58, 20), Sys(COLOR_BTNSHADOW));
  for (auto [x, y] : std::vector<std::pair<int, int>>{{30, 2}, {2, 20}, {30, 37}, {57, 20}}) {
    EXPECT_EQ(picture.At(x, y), RGB(128, 0, 0)) << x << "," << y;
  }
  EXPECT_EQ(picture.At(30, 20), Sys(COLOR_BTNFACE));
  // Children aligned to the client go inside the three frame pixels.
  EXPECT_EQ(panel.ChildArea(), (Rect{3, 3, 57, 37}));
}

TEST_F(PanelFixture, DisabledCaptionIsGrayText) {
  panel.SetBorderOuter(TFrameStyleEx::fsNone);
  panel.SetColor(clWhite);
  WidgetFont font;
  font.height = 28;
  font.bold = true;
  font.color = RGB(255, 0, 0);
  panel.SetFont(font);
  panel.SetBounds(10, 10, 120, 50);
  panel.SetCaption(u"测试");
  {
    Picture enabled(panel);
    EXPECT_GT(enabled.Count(RGB(255, 0, 0)), 20);
  }
  EnableWindow(panel.Handle(), FALSE);
  Picture disabled(panel);
  EXPECT_EQ(disabled.Count(RGB(255, 0, 0)), 0);
  EXPECT_GT(disabled.Count(Sys(COLOR_GRAYTEXT)), 20);
}

TEST_F(PanelFixture, EmptyCaptionDrawsNoText) {
  panel.SetBorderOuter(TFrameStyleEx::fsNone);
  panel.SetColor(clWhite);
  Picture picture(panel);
  EXPECT_EQ(picture.Count(RGB(255, 255, 255)), 60 * 40);
}

TEST_F(PanelFixture, TransparentPanelShowsItsParent) {
  panel.SetColor(RGB(200, 0, 0));
  panel.SetBorderOuter(TFrameStyleEx::fsNone);
  {
    Picture opaque(panel);
    EXPECT_EQ(opaque.At(30, 20), RGB(200, 0, 0));
  }
  panel.SetTransparent(true);
  Picture transparent(panel);
  EXPECT_EQ(transparent.At(30, 20), kParentBackground);
  EXPECT_EQ(transparent.Count(RGB(200, 0, 0)), 0);
}

TEST_F(PanelFixture, GradientAndGridPaintTheClientArea) {
  panel.SetBorderOuter(TFrameStyleEx::fsNone);
  panel.SetVisualStyle(TFxVisualStyle::vsGradient);
  panel.SetGradientColorStyle(GradientColorStyle::Custom);
  panel.SetGradientColorStart(RGB(0, 0, 255));
  panel.SetGradientColorStop(RGB(255, 0, 0));
  {
    Picture picture(panel);
    EXPECT_EQ(picture.At(59, 0), RGB(0, 0, 255));
    EXPECT_EQ(picture.At(0, 39), RGB(255, 0, 0));
  }
  panel.SetShowGrid(true);
  panel.SetGridColor(RGB(0, 255, 0));
  Picture grid(panel);
  EXPECT_EQ(grid.At(7, 7), RGB(0, 255, 0));
  EXPECT_EQ(grid.At(15, 31), RGB(0, 255, 0));
  EXPECT_NE(grid.At(8, 7), RGB(0, 255, 0));
  EXPECT_EQ(grid.Count(RGB(0, 255, 0)), 7 * 5);
}

TEST_F(PanelFixture, DisablingRemembersWhichChildrenWereEnabled) {
  HWND a = CreateWindowExW(0, L"STATIC", L"a", WS_CHILD, 0, 0, 5, 5, panel.Handle(), nullptr, nullptr, nullptr);
  HWND b = CreateWindowExW(0, L"STATIC", L"b", WS_CHILD | WS_DISABLED, 0, 0, 5, 5, panel.Handle(), nullptr, nullptr, nullptr);
  EnableWindow(panel.Handle(), FALSE);
  EXPECT_FALSE(IsWindowEnabled(a));
  EXPECT_FALSE(IsWindowEnabled(b));
  HWND c = CreateWindowExW(0, L"STATIC", L"c", WS_CHILD | WS_DISABLED, 0, 0, 5, 5, panel.Handle(), nullptr, nullptr, nullptr);
  EnableWindow(panel.Handle(), TRUE);
  EXPECT_TRUE(IsWindowEnabled(a));
  EXPECT_FALSE(IsWindowEnabled(b));  // was disabled before the panel
  EXPECT_TRUE(IsWindowEnabled(c));   // not in the list: enabled
}

TEST_F(PanelFixture, FrameChangesRealignClientChildren) {
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, panel.Handle(), nullptr, nullptr, nullptr);
  panel.AlignToClient(child);
  EXPECT_EQ(gui::BoundsInParent(child).left, 2);
  panel.SetBorderWidth(3);
  RECT r = gui::BoundsInParent(child);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.bottom, 35);
  panel.SetBorderSides(sdLeft);
  r = gui::BoundsInParent(child);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 60);
  panel.SetBounds(10, 10, 100, 80);
  EXPECT_EQ(gui::BoundsInParent(child).bottom, 80);
}

TEST_F(PanelFixture, MouseEnterAndLeaveFireOnce) {
  int enters = 0, leaves = 0;
  panel.OnMouseEnter = [&] { ++enters; };
  panel.OnMouseLeave = [&] { ++leaves; };
  SendMessageW(panel.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageW(panel.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
  EXPECT_EQ(enters, 1);
  SendMessageW(panel.Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(leaves, 1);
  EXPECT_FALSE(panel.MouseInside());
}
