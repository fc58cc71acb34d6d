// The settings as text: the 65 names in order, round trips, case, bad values.
#include <gtest/gtest.h>

#include "editor_test_support.h"

using namespace hexedit;

TEST(SettingsText, SixtyFiveNamesInTheirOrder) {
  const auto names = SettingsNames();
  ASSERT_EQ(names.size(), 65u);
  EXPECT_EQ(names[0], u"ShowRuler");
  EXPECT_EQ(names[13], u"OffsetFormat");
  EXPECT_EQ(names[28], u"Colors.Background");
  EXPECT_EQ(names[37], u"Colors.OffsetBackGround");
  EXPECT_EQ(names[40], u"PrintFont.Charset");
  EXPECT_EQ(names[51], u"PrintOptions.Flags");
  EXPECT_EQ(names[56], u"Font.Style");
  EXPECT_EQ(names[64], u"FindProgress");
  TestEditor e;
  const std::u16string text = e.GetPropertiesAsText();
  std::size_t at = 0;
  for (std::u16string_view name : names) {
    ASSERT_EQ(text.compare(at, name.size() + 1, std::u16string(name) + u"="), 0) << "at " << at;
    at = text.find(u"\r\n", at) + 2;
  }
  EXPECT_EQ(at, text.size());
}

TEST(SettingsText, DefaultsReadAsTheirValues) {
  TestEditor e;
  const std::u16string text = e.GetPropertiesAsText();
  for (const char16_t* line : {u"BytesPerRow=16\r\n", u"BytesPerColumn=2\r\n", u"Translation=tkAsIs\r\n",
                               u"OffsetFormat=-!10:0x|\r\n", u"CaretKind=ckAuto\r\n", u"MaskChar=.\r\n",
                               u"MaxUndo=1048576\r\n", u"Colors.ChangedBackground=$00A8FFFF\r\n",
                               u"Colors.ChangedText=clMaroon\r\n", u"Colors.OffsetBackGround=clBtnFace\r\n",
                               u"PrintOptions.Flags=[pfSelectionBold,pfMonochrome]\r\n", u"Font.Name=Courier New\r\n",
                               u"Font.Size=11\r\n", u"RulerBytesPerUnit=-1\r\n", u"BackupExtension=.bak\r\n",
                               u"WantTabs", u"ZoomOnWheel=True\r\n"}) {
    if (std::u16string_view(line) == u"WantTabs") {
      EXPECT_EQ(text.find(line), std::u16string::npos) << "not a settings name";
      continue;
    }
    EXPECT_NE(text.find(line), std::u16string::npos) << std::string(line, line + std::char_traits<char16_t>::length(line));
  }
}

TEST(SettingsText, ARoundTripCarriesEveryValue) {
  TestEditor a;
  a.LoadFromBuffer(Bytes(64, 0));
  a.SetPropertiesFromText(
      u"ShowRuler=True\r\nCreateBackup=False\r\nBackupExtension=.old\r\nClipboardAsHexText=True\r\n"
      u"BytesPerRow=8\r\nBytesPerColumn=4\r\nTranslation=tkBCD\r\nOffsetFormat=8!A:[|]\r\nCaretKind=ckLeft\r\n"
      u"MaskChar=*\r\nGutterWidth=77\r\nMaxUndo=5000\r\nHexLowerCase=True\r\nColors.Background=$00123456\r\n"
      u"Colors.Grid=clRed\r\nPrintFont.Name=宋体\r\nPrintFont.Style=[fsBold,fsUnderline]\r\n"
      u"PrintOptions.PageHeader=Page \\\\ one\\r\\nline two \r\nPrintOptions.Flags=[]\r\nFont.Size=15\r\n"
      u"Font.Charset=GB2312_CHARSET\r\nBytesPerUnit=4\r\nRulerBytesPerUnit=8\r\nBytesPerBlock=32\r\n");
  EXPECT_EQ(a.BytesPerRow(), 8);
  EXPECT_EQ(a.Translation(), THxTranslationKind::tkBCD);
  EXPECT_EQ(a.PrintOptions.PageHeader, u"Page \\ one\r\nline two ");
  EXPECT_EQ(a.PrintFont.Name, u"宋体");
  EXPECT_EQ(a.Font().Charset, 134);
  EXPECT_EQ(a.Colors().Grid, clRed);
  const std::u16string text = a.GetPropertiesAsText();
  TestEditor b;
  b.LoadFromBuffer(Bytes(64, 0));
  b.SetPropertiesFromText(text);
  EXPECT_EQ(b.GetPropertiesAsText(), text);
  EXPECT_EQ(b.OffsetFormatText(), "8!A:[|]");
  EXPECT_EQ(b.MaxUndo(), 5000u);
  EXPECT_EQ(b.PrintOptions.Flags, 0u);
  EXPECT_EQ(b.PrintFont.Style, fsBold | fsUnderline);
}

TEST(SettingsText, NamesAreCaseBlindAndOnlyPublicOnesApply) {
  TestEditor e;
  EXPECT_TRUE(e.IsPublicProperty(u"colors.background"));
  EXPECT_TRUE(e.IsPublicProperty(u"BYTESPERROW"));
  EXPECT_FALSE(e.IsPublicProperty(u"WantTabs"));
  EXPECT_FALSE(e.IsPublicProperty(u"Colors"));
  e.OnQueryPublicProperty = [](std::u16string_view name, bool& isPublic) {
    if (name == u"ReadOnlyView") isPublic = false;
  };
  e.SetPropertiesFromText(u"bytesperrow=4\nReadOnlyView=True\nWantTabs=False\nnot a line\n=x\n");
  EXPECT_EQ(e.BytesPerRow(), 4);
  EXPECT_FALSE(e.ReadOnlyView());
  EXPECT_TRUE(e.WantTabs());
  EXPECT_EQ(e.GetPropertiesAsText().find(u"ReadOnlyView="), std::u16string::npos);
}

TEST(SettingsText, ABadValueStopsThereAndPaintingResumes) {
  TestEditor e;
  const int repaints = e.repaints;
  EXPECT_THROW(e.SetPropertiesFromText(u"BytesPerRow=4\r\nBytesPerColumn=0\r\nShowRuler=True\r\n"), EHexEditor);
  EXPECT_FALSE(e.SettingsUpdating());
  EXPECT_GT(e.repaints, repaints);
  EXPECT_EQ(e.BytesPerRow(), 4);
  EXPECT_FALSE(e.ShowRuler());
  for (const char16_t* bad : {u"ShowRuler=yes", u"BytesPerRow=12x", u"Translation=tkNone", u"MaskChar=ab",
                              u"Colors.Grid=clNothing", u"Font.Style=[fsHeavy]", u"Font.Style=fsBold",
                              u"OffsetFormat=-!10:0x", u"MaxUndo=-1", u"Font.Size=0", u"BytesPerUnit=3",
                              // counts beyond what a row can show
                              u"OffsetFormat=2f34621A!2:|", u"GutterWidth=2147483647", u"BytesPerBlock=2147483647"}) {
    EXPECT_THROW(e.SetPropertiesFromText(bad), EHexEditor);
    EXPECT_FALSE(e.SettingsUpdating());
  }
}
