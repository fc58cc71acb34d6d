// The thirteen skins in the runtime folder load whole, and together they take every
// branch of the reader: all versions, shaped and plain frames, the three title alignments,
// a text background, 3- and 6-frame caption buttons, a 12-frame check box, capital names.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "skin/lzh.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"
#include "skin/skin_text.h"
#include "unicode/codepage.h"
#include "skin_test_support.h"
#include "unicode/uni_file_stream.h"

using namespace skin;

namespace {

struct Shipped {
  const char16_t* file;
  const char16_t* name;
};
constexpr Shipped kShipped[] = {
    {u"mxskin2.skn", u"新式绿皮"},           {u"mxskin9.skn", u"淡黄"},
    {u"mxskin39.skn", u"酷兰"},              {u"mxskin17.skn", u"雅白"},
    {u"蓝色office_office2003.skn", u"蓝色office"}, {u"白苍色酷_Skin42.skn", u"白苍色酷"},
    {u"白靛青酷_Skin30.skn", u"白靛青酷"},   {u"白琥珀酷_Skin44.skn", u"白琥珀酷"},
    {u"白黄酷_Skin54.skn", u"白黄酷"},       {u"白兰酷_Skin59.skn", u"白兰酷"},
    {u"白兰黄酷_Skin83.skn", u"白兰黄酷"},   {u"白亮绿_Skin48.skn", u"白亮绿"},
    {u"白绿酷_Skin73.skn", u"白绿酷"}};

std::u16string SkinPath(const char16_t* file) { return skin_test::DataPath(u"皮肤", file); }

std::vector<uint8_t> ReadAll(const std::u16string& path) {
  unicode::TUniFileStream in(path, unicode::fmOpenRead | unicode::fmShareDenyNone);
  std::vector<uint8_t> bytes(static_cast<size_t>(in.Size()));
  in.ReadBuffer(bytes.data(), bytes.size());
  return bytes;
}

// The archive's version and its entry names as written (before the reader lower-cases them).
void RawNames(const std::vector<uint8_t>& file, uint32_t& version, std::string& names) {
  const uint32_t size = file[0] | file[1] << 8 | file[2] << 16 | static_cast<uint32_t>(file[3]) << 24;
  std::vector<uint8_t> archive;
  ASSERT_TRUE(LzhUnpack(file.data() + 4, file.size() - 4, size, archive));
  version = archive[0] | archive[1] << 8 | archive[2] << 16 | static_cast<uint32_t>(archive[3]) << 24;
  const uint32_t length = archive[4] | archive[5] << 8;
  const size_t at = 16 + static_cast<size_t>(SkinVersionBlockSize(version));
  names.assign(archive.begin() + static_cast<std::ptrdiff_t>(at), archive.begin() + static_cast<std::ptrdiff_t>(at + length));
}

bool HasMagenta(const Bitmap24& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) == clMagenta) return true;
  return false;
}

const TDataSkinSysButton* WithAction(const TSkinModel& m, int action) {
  for (const auto& b : m.SysButtons)
    if (b.Action == action && !b.Bitmap.Empty()) return &b;
  return nullptr;
}

}  // namespace

TEST(ShippedSkins, EachLoadsIntoAFullModelWithoutAMessage) {
  for (const Shipped& s : kShipped) {
    SCOPED_TRACE(unicode::Utf16ToUtf8(s.file));
    TSkinData data;
    std::vector<std::u16string> messages;
    data.OnMessage = [&](const std::u16string& m) { messages.push_back(m); };
    data.SetSkinFile(SkinPath(s.file));
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(data.Loading());
    const TSkinModel& m = data.Model();
    EXPECT_EQ(m.SkinName, s.name);
    for (const TDataSkinObject* border : {&m.Left, &m.Right, &m.Top, &m.Bottom}) {
      EXPECT_FALSE(border->Bitmap.Empty()) << unicode::Utf16ToUtf8(border->Name);
      EXPECT_EQ(border->FrameCount, 2);
    }
    // Left and right frames side by side, top and bottom frames stacked.
    EXPECT_EQ(m.Left.Bitmap.Width() % 2, 0);
    EXPECT_EQ(m.Top.Bitmap.Height() % 2, 0);
    for (int action : {0, 1, 2, 3}) EXPECT_NE(WithAction(m, action), nullptr) << action;
    EXPECT_FALSE(m.Buttons.Bitmap.Empty());
    EXPECT_FALSE(m.Buttons.CheckBitmap.Empty());
    EXPECT_FALSE(m.Buttons.RadioBitmap.Empty());
    EXPECT_EQ(m.Buttons.CheckBitmap.Width() % m.Buttons.CheckButtonFrame, 0);
    ASSERT_TRUE(m.MenuBar.has_value());
    EXPECT_FALSE(m.MenuBar->Bitmap.Empty());
    ASSERT_TRUE(m.UpDownVert && m.UpDownHorz && m.Progress);
    EXPECT_EQ(m.UpDownVert->Bitmap.Width() % 8, 0);
    EXPECT_FALSE(m.Progress->Bitmap.Empty());
    EXPECT_TRUE(std::all_of(m.ColorGiven.begin(), m.ColorGiven.begin() + scButtonDkShadow + 1, [](bool g) { return g; }));
    EXPECT_TRUE(m.Title.ActiveText.has_value());
    for (const TDataSkinObject* o : AllObjects(m)) EXPECT_GE(o->FrameCount, 1);
  }
}

TEST(ShippedSkins, TogetherTheyTakeEveryBranch) {
  std::set<uint32_t> versions;
  std::set<int> alignments, captionFrames;
  int shaped = 0, plain = 0, textBack = 0, twelve = 0, capitals = 0, withoutMenuImages = 0;
  for (const Shipped& s : kShipped) {
    const std::vector<uint8_t> file = ReadAll(SkinPath(s.file));
    uint32_t version = 0;
    std::string names;
    RawNames(file, version, names);
    versions.insert(version);
    if (names.find("SKIN.INI") != std::string::npos) ++capitals;

    TSkinData data;
    data.SkinStream = unicode::TMemoryStream(file);
    ASSERT_TRUE(data.ReadSkin());
    const TSkinModel& m = data.Model();
    alignments.insert(m.Title.TextAlignment);
    if (m.Top.Trans != 0 && HasMagenta(m.Top.Bitmap)) ++shaped;
    if (m.Top.Trans == 0 && !HasMagenta(m.Top.Bitmap)) ++plain;
    if (!m.Title.Bitmap.Empty()) ++textBack;
    if (m.Buttons.CheckButtonFrame == 12) ++twelve;
    if (!m.MenuItem && !m.MenuBackground) ++withoutMenuImages;
    if (const TDataSkinSysButton* close = WithAction(m, 0)) captionFrames.insert(close->FrameCount);
  }
  EXPECT_EQ(versions, std::set<uint32_t>(kSkinVersions.begin(), kSkinVersions.end()));
  EXPECT_EQ(alignments, (std::set<int>{0, 1, 2}));
  EXPECT_EQ(captionFrames, (std::set<int>{3, 6}));
  EXPECT_GE(shaped, 1);
  EXPECT_GE(plain, 1);
  EXPECT_GE(textBack, 1);
  EXPECT_GE(twelve, 1);
  EXPECT_GE(capitals, 1);
  EXPECT_EQ(withoutMenuImages, 1);
}
