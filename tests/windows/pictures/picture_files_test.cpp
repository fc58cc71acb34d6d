#include "windows/pictures/picture_files.h"

#include <gtest/gtest.h>

#include <set>

namespace windows {
namespace {

TEST(PictureNumbers, FirstFreeNumberAndTheNextOnAClash) {
  std::set<int> present{1, 2, 3};
  std::vector<int> tried;
  auto exists = [&](int n) { return present.count(n) > 0; };
  auto place = [&](int n) {
    tried.push_back(n);
    return present.insert(n).second ? PlaceOutcome::Placed : PlaceOutcome::Taken;
  };
  EXPECT_EQ(SaveUnderFirstFreeNumber(exists, place).number, 4);
  // Another program creates 6 between the test and the write: the picture goes to 7.
  present.insert(5);
  auto racing = [&](int n) {
    tried.push_back(n);
    if (n == 6) return PlaceOutcome::Taken;
    return present.insert(n).second ? PlaceOutcome::Placed : PlaceOutcome::Taken;
  };
  EXPECT_EQ(SaveUnderFirstFreeNumber(exists, racing).number, 7);
  EXPECT_EQ(tried, (std::vector<int>{4, 6, 7}));
}

TEST(PictureNumbers, AllTakenOrAFailedWrite) {
  const NumberedSave full = SaveUnderFirstFreeNumber([](int) { return true; }, [](int) { return PlaceOutcome::Placed; });
  EXPECT_TRUE(full.full);
  EXPECT_EQ(full.number, 0);
  const NumberedSave lastOne =
      SaveUnderFirstFreeNumber([](int n) { return n < kMaxPictureNumber; }, [](int) { return PlaceOutcome::Placed; });
  EXPECT_EQ(lastOne.number, 65000);
  const NumberedSave failed =
      SaveUnderFirstFreeNumber([](int) { return false; }, [](int) { return PlaceOutcome::Failed; });
  EXPECT_TRUE(failed.failed);
  EXPECT_FALSE(failed.full);
}

TEST(PictureSaveAs, ExtensionAppendedOnlyWhenMissing) {
  EXPECT_EQ(WithPictureExtension(u"C:\\a\\图", 1), u"C:\\a\\图.bmp");
  EXPECT_EQ(WithPictureExtension(u"C:\\a\\图", 2), u"C:\\a\\图.jpg");
  EXPECT_EQ(WithPictureExtension(u"x.bmp", 1), u"x.bmp");
  EXPECT_EQ(WithPictureExtension(u"x.BMP", 1), u"x.BMP");
  EXPECT_EQ(WithPictureExtension(u"x.jpg", 1), u"x.jpg.bmp");  // the filter decides the kind
  EXPECT_EQ(WithPictureExtension(u"x.jpg", 2), u"x.jpg");
  EXPECT_EQ(WithPictureExtension(u"bmp", 1), u"bmp.bmp");
  EXPECT_TRUE(IsJpegFilter(2));
  EXPECT_FALSE(IsJpegFilter(1));
}

}  // namespace
}  // namespace windows
