// Reading a skin's INI into the model: defaults, the caption-button rules, the object
// sections, fixed frame counts and the derived images.
#include <gtest/gtest.h>

#include "skin/quick_ini.h"
#include "skin/skin_model_reader.h"
#include "skin/skin_reader.h"
#include "skin_test_support.h"

using namespace skin;
using namespace skin_test;

namespace {

// The model of an INI text whose images are the given entries.
TSkinModel Model(std::u16string_view ini, std::vector<SkinArchiveEntry> images = {}) {
  TSkinReader reader;
  EXPECT_TRUE(Load(reader, SkinFromIni(ini, std::move(images))));
  unicode::TMemoryStream entry;
  std::u16string name;
  reader.FindEntry(u".ini", entry, name);
  TQuickIni parsed;
  parsed.LoadFromStream(entry);
  return ReadSkinModel(parsed, reader);
}

SkinArchiveEntry Image(std::u16string name, int w, int h, TColor c = RGBColor(10, 20, 30)) {
  return {std::move(name), SolidBmp(w, h, c)};
}

const TDataSkinSysButton* ButtonNamed(const TSkinModel& m, std::u16string_view name) {
  for (const auto& b : m.SysButtons)
    if (b.Name == name) return &b;
  return nullptr;
}

}  // namespace

TEST(SkinModel, AnEmptySkinHasTheSystemLookAndNoObjects) {
  const TSkinModel m = Model(u"");
  EXPECT_EQ(m.SkinName, u"");
  EXPECT_EQ(m.Colors[scWindowText], clWindowText);
  EXPECT_EQ(m.Colors[scTitleTextActive], clCaptionText);
  EXPECT_EQ(m.Colors[scButtonFace], clBtnFace);
  EXPECT_EQ(m.Colors[scButtonlight], clBtnHighlight);
  EXPECT_EQ(m.Colors[scButtonDkShadow], cl3DDkShadow);
  EXPECT_EQ(m.Colors[scMenubar], clBtnFace);
  EXPECT_EQ(m.Colors[scScrollbar], clScrollBar);
  for (bool given : m.ColorGiven) EXPECT_FALSE(given);
  for (TColor c : m.CustomColors) EXPECT_EQ(c, clWhite);
  EXPECT_TRUE(m.Top.Bitmap.Empty());
  EXPECT_EQ(m.Top.Trans, 1);
  EXPECT_EQ(m.Top.Stretch, 1);
  EXPECT_EQ(m.Buttons.FrameCount, 5);
  EXPECT_EQ(m.Buttons.CheckButtonFrame, 4);
  EXPECT_EQ(m.Title.FontHeight, 14);
  EXPECT_FALSE(m.Title.ActiveText.has_value());
  EXPECT_FALSE(m.MenuItem.has_value());
  EXPECT_FALSE(m.Progress.has_value());
  ASSERT_EQ(m.SysButtons.size(), 3u);  // only the MDI child buttons, without pictures
  EXPECT_EQ(m.SysButtons[0].Action, 7);
  EXPECT_TRUE(m.SysButtons[0].Bitmap.Empty());
  // The built-in track channels and the tool-bar gradient are always there.
  EXPECT_EQ(m.Track.Margins, (TMargins{3, 3, 3, 3}));
  EXPECT_FALSE(m.Track.Bitmap.Empty());
  EXPECT_EQ(m.TrackVert.Bitmap.Height(), m.Track.Bitmap.Width());
  EXPECT_EQ(m.Toolbar.FrameCount, 1);
  EXPECT_FALSE(m.Toolbar.Bitmap.Empty());
}

TEST(SkinModel, ColoursListsAndCustomColours) {
  const TSkinModel m = Model(
      u"[Colours]\nButtonFace=1,2,3\nMenuText=300,0,0\nHilight=\n"
      u"[Colour1]\ncolor=9,9,9\n[COLOURS2]\n[colours]\nWindowText=4,4,4\n[Customcolors]\nColor3=7,8,9\n");
  EXPECT_EQ(m.Colors[scButtonFace], RGBColor(1, 2, 3));
  EXPECT_TRUE(m.ColorGiven[scButtonFace]);
  EXPECT_EQ(m.Colors[scMenubar], RGBColor(1, 2, 3));  // defaults to the face colour
  EXPECT_FALSE(m.ColorGiven[scMenubar]);
  EXPECT_EQ(m.Colors[scMenuText], RGBColor(255, 0, 0));
  EXPECT_EQ(m.Colors[scHilight], clHighlight);  // an empty value is the default
  EXPECT_FALSE(m.ColorGiven[scHilight]);
  EXPECT_EQ(m.Colors[scWindowText], clWindowText);  // only the first "Colours" section is read
  EXPECT_EQ(m.ColourList, (std::vector<TColor>{RGBColor(9, 9, 9), clWindowText}));
  EXPECT_EQ(m.CustomColors[3], RGBColor(7, 8, 9));
  EXPECT_EQ(m.CustomColors[4], clWhite);
}

TEST(SkinModel, BordersAndTheirMargins) {
  const TSkinModel m = Model(
      u"[TitlebarSkin]\nSkinName=新式绿皮\n[Personality]\nLeft=l.bmp\nLeftTopHeight=5\nLeftBotHeight=6\nLeftFrame=2\n"
      u"LeftStretch=7\nLeftTrans=0\nTop=t.bmp\nTopTopHeight=30\nTopBotHeight=31\nTopFrame=2\n",
      {Image(u"l.bmp", 8, 20), Image(u"t.bmp", 50, 40)});
  EXPECT_EQ(m.SkinName, u"新式绿皮");
  EXPECT_EQ(m.Left.Margins, (TMargins{0, 5, 0, 6}));
  EXPECT_EQ(m.Left.Stretch, 1);
  EXPECT_EQ(m.Left.Trans, 0);
  EXPECT_EQ(m.Left.Bitmap.Width(), 8);
  EXPECT_EQ(m.Top.Margins, (TMargins{30, 0, 31, 0}));
  EXPECT_EQ(m.Top.FrameCount, 2);
  EXPECT_EQ(m.Top.Trans, 1);
  EXPECT_EQ(m.Bottom.FrameCount, 1);
  EXPECT_EQ(m.CaptionColor, RGBColor(10, 20, 30));
}

TEST(SkinModel, ImagesLoadOnlyWithTheExactBmpExtension) {
  const TSkinModel m = Model(
      u"[Personality]\nLeft=L.BMP\nRight=r.bmp\nTop=.bmp\nBottom=b.png\n[MenuItem]\nImage=missing.bmp\n",
      {Image(u"l.bmp", 4, 4), Image(u"L.BMP", 4, 4), Image(u"R.bmp", 4, 4), Image(u".bmp", 4, 4), Image(u"b.png", 4, 4)});
  EXPECT_TRUE(m.Left.Bitmap.Empty());
  EXPECT_FALSE(m.Right.Bitmap.Empty());  // entry "R.bmp" answers "r.bmp"
  EXPECT_TRUE(m.Top.Bitmap.Empty());
  EXPECT_TRUE(m.Bottom.Bitmap.Empty());
  ASSERT_TRUE(m.MenuItem.has_value());  // the section names an image: the object exists, empty
  EXPECT_TRUE(m.MenuItem->Bitmap.Empty());
}

TEST(SkinModel, WhichSectionsAreCaptionButtons) {
  const TSkinModel m = Model(
      u"[BUTTONS]\nAction=2\nButtonImage=b.bmp\n[Button]\nAction=2\n[Button.Radio]\n[button.checkbox]\n"
      u"[Button.Min]\nAction=2\nButtonImage=b.bmp\n[ButtonHidden]\nAction=-1\n[ButtonHiddenToo]\nAction=-1\nVisibility=3\n"
      u"[ButtonShown]\nAction=-1\nVisibility=0\n[XButton]\nAction=0\n",
      {Image(u"b.bmp", 60, 10)});
  ASSERT_EQ(m.SysButtons.size(), 2u + 3u);
  EXPECT_EQ(m.SysButtons[0].Name, u"Button.Min");
  EXPECT_EQ(m.SysButtons[0].Action, 2);
  EXPECT_EQ(m.SysButtons[1].Name, u"ButtonShown");
  EXPECT_EQ(m.SysButtons[1].Visibility1, -1);
  EXPECT_EQ(m.SysButtons[0].Visibility1, 0);
  EXPECT_EQ(m.SysButtons[0].CombineOp, -1);
}

TEST(SkinModel, CaptionButtonFramesAndPlaces) {
  const TSkinModel m = Model(
      u"[Button.Wide]\nAction=0\nButtonImage=wide.bmp\n"       // 60 x 10: six frames
      u"[Button.Square]\nAction=2\nButtonImage=square.bmp\n"   // 19 x 10: ratio 1.9, three frames
      u"[Button.Custom]\nAction=-5\nVisibility=0\nButtonImage=square.bmp\n"
      u"[Button.Said]\nAction=2\nframe=4\nButtonImage=wide.bmp\n"
      u"[Button.None]\nAction=2\n"
      u"[Button.Broken]\nAction=2\nframe=-3\nButtonImage=wide.bmp\n"
      u"[Button.Icon]\nAction=3\nButtonImage=square.bmp\n"
      u"[Button.IconFramed]\nAction=11\nframe=1\nButtonImage=square.bmp\n"
      u"[Button.Max]\nAction=1\nVisibility=2\nXcoord=40\nYcoord=3\n"
      u"[Button.Help]\nAction=4\nXcoord=9\nYcoord=9\n",
      {Image(u"wide.bmp", 60, 10), Image(u"square.bmp", 19, 10)});
  EXPECT_EQ(ButtonNamed(m, u"Button.Wide")->FrameCount, 6);
  EXPECT_EQ(ButtonNamed(m, u"Button.Square")->FrameCount, 3);
  EXPECT_EQ(ButtonNamed(m, u"Button.Custom")->FrameCount, 6);
  EXPECT_EQ(ButtonNamed(m, u"Button.Said")->FrameCount, 4);
  EXPECT_EQ(ButtonNamed(m, u"Button.None")->FrameCount, 6);
  EXPECT_EQ(ButtonNamed(m, u"Button.Broken")->FrameCount, 1);  // below 1 would divide by zero
  EXPECT_TRUE(ButtonNamed(m, u"Button.Icon")->Bitmap.Empty());  // shows the window icon
  EXPECT_FALSE(ButtonNamed(m, u"Button.IconFramed")->Bitmap.Empty());
  const TDataSkinSysButton* help = ButtonNamed(m, u"Button.Help");
  EXPECT_EQ(help->Xcoord, 40);
  EXPECT_EQ(help->Ycoord, 3);
}

TEST(SkinModel, MdiButtonsAreCutFromTwelveFrames) {
  const TSkinModel m = Model(
      u"[MDICONTROLS]\nImage=mdi.bmp\n",
      {{u"mdi.bmp", BmpFile(120, 8, [](int x, int) { return RGBColor(x / 10, 0, 0); })}});
  ASSERT_EQ(m.SysButtons.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& b = m.SysButtons[static_cast<size_t>(i)];
    EXPECT_EQ(b.Action, 7 + i);
    EXPECT_EQ(b.Align, 100);
    EXPECT_EQ(b.Visibility, 100);
    EXPECT_EQ(b.Visibility1, 100);
    EXPECT_EQ(b.FrameCount, 4);
    EXPECT_EQ(b.Xcoord, (3 - i) * 14);
    ASSERT_EQ(b.Bitmap.Width(), 40);
    EXPECT_EQ(b.Bitmap.Pixel(0, 0), RGBColor(4 * i, 0, 0));
    EXPECT_EQ(b.Bitmap.Pixel(39, 0), RGBColor(4 * i + 3, 0, 0));
  }
}

TEST(SkinModel, PushButtonsTitleAndProgress) {
  const TSkinModel m = Model(
      u"[Colours]\nButtonText=1,1,1\n"
      u"[Buttons]\nBitmap=b.bmp\nLeftWidth=3\nTopHeight=4\nRightWidth=5\nBottomHeight=6\nTrans=1\nTile=2\n"
      u"CheckButton=c.bmp\nRadioButton=r.bmp\nNormalColour=255\nPressedColour2=9,8,7\nRadioButtonFrame=6\nFrame=9\n"
      u"[Personality]\nTextBack=tb.bmp\nTextShift=20\nTextShiftVert=2\nTextRightClip=70\nTextAlignment=2\n"
      u"Textbackground=1\nTXTBackleft=8\nTXTBackRight=9\nActiveTextR=300\nActiveTextG=10\nActiveTextB=0\n"
      u"InActiveTextR=1\nInActiveTextG=-1\nInActiveTextB=1\n[Fonts]\nFontHeight=12\n"
      u"[Progress]\nBitmap=p.bmp\nStyle=1\nTile=5\n",
      {Image(u"b.bmp", 50, 10), Image(u"c.bmp", 80, 16), Image(u"r.bmp", 52, 13), Image(u"tb.bmp", 20, 20),
       Image(u"p.bmp", 10, 10)});
  const TDataSkinButton& b = m.Buttons;
  EXPECT_EQ(b.Margins, (TMargins{3, 4, 5, 6}));
  EXPECT_EQ(b.Trans, 1);
  EXPECT_EQ(b.Stretch, 0);  // "Tile" above 1 reads 0
  EXPECT_EQ(b.FrameCount, 5);
  EXPECT_EQ(b.CheckButtonFrame, 5);  // 80 / 16
  EXPECT_EQ(b.RadioButtonFrame, 6);
  EXPECT_EQ(b.NormalColour, 255);
  EXPECT_EQ(b.MouseOverColour, -1);
  EXPECT_EQ(b.PressedColour2, RGBColor(9, 8, 7));
  EXPECT_TRUE(b.PressedColour2Given);
  EXPECT_EQ(b.NormalColour2, RGBColor(1, 1, 1));  // the skin's ButtonText
  EXPECT_FALSE(b.NormalColour2Given);

  const TDataSkinTitle& t = m.Title;
  EXPECT_EQ(t.Margins, (TMargins{20, 2, 70, 0}));
  EXPECT_EQ(t.TextAlignment, 2);
  EXPECT_EQ(t.Textbackground, 1);
  EXPECT_EQ(t.TXTBackRight, 9);
  EXPECT_EQ(t.FontHeight, 12);
  EXPECT_EQ(t.FrameCount, 2);
  EXPECT_EQ(t.ActiveText, RGBColor(255, 10, 0));
  EXPECT_FALSE(t.InActiveText.has_value());

  ASSERT_TRUE(m.Progress.has_value());
  EXPECT_EQ(m.Progress->Stretch, 1);  // "Tile" above 1 reads 1 here
  EXPECT_EQ(m.Progress->FrameCount, 1);
}

TEST(SkinModel, GlyphFramesFromThePictureWhenNotGiven) {
  const TSkinModel small = Model(u"[Buttons]\nCheckButton=c.bmp\nRadioButton=r.bmp\n",
                                 {Image(u"c.bmp", 39, 13), Image(u"r.bmp", 104, 13)});
  EXPECT_EQ(small.Buttons.CheckButtonFrame, 4);  // 39 / 13 = 3, at least 4
  EXPECT_EQ(small.Buttons.RadioButtonFrame, 8);
  const TSkinModel twelve = Model(u"[Buttons]\nCheckButton=c.bmp\n", {Image(u"c.bmp", 192, 16)});
  EXPECT_EQ(twelve.Buttons.CheckButtonFrame, 12);
}

TEST(SkinModel, FixedFrameCountsWinOverFrameKeys) {
  std::u16string ini;
  const char16_t* sections[] = {u"Progress.Chunk", u"GroupBoxEdge", u"GroupBox", u"Tabs", u"StatusBarEdges", u"Tab.Pane",
                                u"ToolBars", u"ComboButton", u"SunkEdge", u"ExtraImages", u"MenuItem", u"MenuBackground",
                                u"Scrollbar", u"HorzScroll", u"VertScroll", u"Trackbar.ThumbHorz", u"Trackbar.ThumbDown",
                                u"UpDown.Horz", u"UpDown.Vert", u"HorzScrollThumb", u"Headerbar", u"Track"};
  for (const char16_t* s : sections) ini += u"[" + std::u16string(s) + u"]\nImage=i.bmp\nFrame=7\n";
  ini += u"[VertScrollThumb]\nImage=i.bmp\nFrameCount=0\n[Progress]\nBitmap=i.bmp\nFrame=7\n";
  ini += u"[Personality]\nmenuBar=i.bmp\n";
  const TSkinModel m = Model(ini, {Image(u"i.bmp", 92, 10)});
  EXPECT_EQ(m.ProgressChunk->FrameCount, 7);  // no fixed count: the key holds
  EXPECT_EQ(m.GroupBoxEdge->FrameCount, 2);
  EXPECT_EQ(m.GroupBox->FrameCount, 1);
  EXPECT_EQ(m.Tabs->FrameCount, 5);
  EXPECT_EQ(m.StatusBarEdges->FrameCount, 3);
  EXPECT_EQ(m.TabPane->FrameCount, 1);
  EXPECT_EQ(m.ToolBars->FrameCount, 5);
  EXPECT_EQ(m.ComboButton->FrameCount, 4);
  EXPECT_EQ(m.SunkEdge->FrameCount, 4);
  EXPECT_EQ(m.ExtraImages->FrameCount, 5);
  EXPECT_EQ(m.MenuItem->FrameCount, 5);
  EXPECT_EQ(m.MenuBackground->FrameCount, 1);
  EXPECT_EQ(m.Scrollbar->FrameCount, 23);
  EXPECT_EQ(m.HorzScroll->FrameCount, 4);
  EXPECT_EQ(m.VertScroll->FrameCount, 4);
  EXPECT_EQ(m.ThumbHorz->FrameCount, 5);
  EXPECT_EQ(m.ThumbDown->FrameCount, 5);
  EXPECT_EQ(m.UpDownHorz->FrameCount, 8);
  EXPECT_EQ(m.UpDownVert->FrameCount, 8);
  EXPECT_EQ(m.HorzScrollThumb->FrameCount, 3);  // from its own "FrameCount" key, default 3
  EXPECT_EQ(m.VertScrollThumb->FrameCount, 1);  // a count of 0 becomes 1
  EXPECT_EQ(m.Headerbar->FrameCount, 7);        // 5 only when the skin gives none
  EXPECT_EQ(m.Track.FrameCount, 7);
  EXPECT_EQ(m.Progress->FrameCount, 2);         // Style 0
  EXPECT_EQ(m.MenuBar->FrameCount, 2);
  EXPECT_EQ(Model(u"[Headerbar]\nImage=i.bmp\n").Headerbar->FrameCount, 5);
  EXPECT_EQ(m.ScrollbarParts.size(), 23u);
  EXPECT_EQ(m.ScrollbarParts[22].Width(), 4);
}

TEST(SkinModel, ObjectSectionsWithTheirOwnRules) {
  const TSkinModel m = Model(
      u"[Tab.Pane]\nImage=i.bmp\nLeftWidth=2\n[Tabs]\nImage=i.bmp\nBorder=j.bmp\n[UpDown.Vert]\nImage=i.bmp\nGlyphImage=j.bmp\n"
      u"[GroupBox]\nImage=i.bmp\nBackgroundAlignment=2\nBackgroundLeftShift=-3\n[SunkEdge]\nImage=i.bmp\nTile=3\n"
      u"LeftWidth=-4\nNormalColour2=1,2,3\n[Personality]\nmenuBar=i.bmp\nTileMenu=4\n[MenuItem]\nImage=\n",
      {Image(u"i.bmp", 8, 8), Image(u"j.bmp", 3, 3)});
  EXPECT_EQ(m.TabPane->Margins, (TMargins{2, 4, 4, 4}));
  EXPECT_EQ(m.Tabs->Bitmap2.Width(), 3);
  EXPECT_EQ(m.UpDownVert->Bitmap2.Width(), 3);
  EXPECT_EQ(m.GroupBox->BackgroundAlignment, 2);
  EXPECT_EQ(m.GroupBox->BackgroundLeftShift, -3);
  EXPECT_EQ(m.SunkEdge->Stretch, 0);
  EXPECT_EQ(m.SunkEdge->Margins.Left, 0);  // negative margins are taken as 0
  EXPECT_EQ(m.SunkEdge->NormalColour2, RGBColor(1, 2, 3));
  EXPECT_EQ(m.MenuBar->Stretch, 1);
  EXPECT_EQ(m.MenuBar->Margins, (TMargins{1, 0, 1, 0}));
  EXPECT_FALSE(m.MenuItem.has_value());
  EXPECT_FALSE(m.Tabs->Name.empty());
}

TEST(SkinModel, DerivedComboArrowCaptionColourAndToolbar) {
  const TSkinModel m = Model(
      u"[Colours]\nButtonFace=200,200,200\n[ComboButton]\nImage=i.bmp\n****=arrow.bmp\n"
      u"[Personality]\nTop=top.bmp\nTopFrame=2\n",
      {Image(u"i.bmp", 8, 8), Image(u"arrow.bmp", 16, 4, clMagenta),
       {u"top.bmp", BmpFile(30, 20, [](int x, int y) { return x == 10 && y == 3 ? RGBColor(0, 0, 255) : RGBColor(1, 1, 1); })}});
  ASSERT_TRUE(m.ComboxArrow.has_value());
  EXPECT_EQ(m.ComboxArrow->FrameCount, 4);
  EXPECT_EQ(m.ComboxArrow->Bitmap.Pixel(0, 0), RGBColor(200, 200, 200));
  // A third of the width (10) and a third of one frame's height (10 / 3 = 3).
  EXPECT_EQ(m.CaptionColor, RGBColor(0, 0, 255));
  // Light end: 15 per mille of the face on white. Saturated caption: the dark end is 45 %
  // of it on white ((225 - 255) * 25 div 140 + 50 = 45).
  const Bitmap24& bar = m.Toolbar.Bitmap;
  EXPECT_EQ(bar.Pixel(0, 0), RGBColor(247, 247, 247));
  EXPECT_EQ(bar.Pixel(0, bar.Height() - 1), RGBColor(140, 140, 255));
}
