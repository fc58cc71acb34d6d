#include <gtest/gtest.h>

#include <vector>

#include "scripted_random.h"
#include "windows/water_effect.h"

using namespace windows;

namespace {
// A 24-bit picture in memory with its own row distance (padding or bottom-up order), guarded by
// sentinel bytes on both sides so that any write outside it shows.
struct Picture {
  Picture(int w, int h, int padding, bool bottomUp, std::uint8_t fill = 0)
      : stride(3 * w + padding), bytes(static_cast<size_t>(stride) * h + 2 * kGuard, kSentinel) {
    for (int y = 0; y < h; ++y) std::fill_n(&bytes[kGuard + static_cast<size_t>(y) * stride], 3 * w, fill);
    view.width = w;
    view.height = h;
    view.rowDistance = bottomUp ? -stride : stride;
    view.bits = &bytes[kGuard + (bottomUp ? static_cast<size_t>(h - 1) * stride : 0)];
  }
  std::uint8_t* Px(int x, int y) { return view.Row(y) + 3 * x; }
  bool GuardsIntact() const {
    for (int i = 0; i < kGuard; ++i) {
      if (bytes[i] != kSentinel || bytes[bytes.size() - 1 - i] != kSentinel) return false;
    }
    return true;
  }
  static constexpr int kGuard = 64;
  static constexpr std::uint8_t kSentinel = 0xA5;
  int stride;
  std::vector<std::uint8_t> bytes;
  Bitmap24 view;
};
}  // namespace

TEST(WaterEffect, SetSizeBelowOneIsEmptyAndDoesNothing) {
  ScriptedRandom random;
  TWaterEffect water(random);
  water.SetSize(0, 5);
  EXPECT_EQ(water.Width(), 0);
  EXPECT_EQ(water.Height(), 0);
  Picture source(4, 4, 0, false, 7), target(4, 4, 0, false, 9);
  water.Calc();
  water.Draw(source.view, target.view);
  water.Blob(-1, -1, 1, 50);  // no room: nothing, and no random number drawn
  EXPECT_EQ(*target.Px(0, 0), 9);
  EXPECT_TRUE(random.asked.empty());
  EXPECT_EQ(water.Damping, 20);
}

TEST(WaterEffect, CalcAveragesClampedNeighboursAndTruncatesTowardZero) {
  TWaterEffect water;
  water.SetSize(3, 2);
  water.Current(0, 0) = 8;
  water.Previous(1, 0) = 9;
  water.Calc();
  // (0,0): neighbours 8+8+0+8+0+0+0+0 = 24, 24 div 4 = 6, 6 x 204 = 1224, div 256 = 4.
  EXPECT_EQ(water.Current(0, 0), 4);
  // (1,0): 16 div 4 = 4, (4 - 9) x 204 = -1020, div 256 = -3 (a shift would give -4).
  EXPECT_EQ(water.Current(1, 0), -3);
  EXPECT_EQ(water.Current(2, 0), 0);
  EXPECT_EQ(water.Current(0, 1), 3);  // 16 div 4 x 204 = 816 -> 3
  EXPECT_EQ(water.Current(1, 1), 1);  // 8 div 4 x 204 = 408 -> 1
  EXPECT_EQ(water.Current(2, 1), 0);
  // The buffers swapped: the old current is now the previous one.
  EXPECT_EQ(water.Previous(0, 0), 8);
  EXPECT_EQ(water.Previous(1, 0), 0);
  water.Damping = 0;  // f = 256: no damping, still truncated division
  water.Calc();
  // (1,0) from current (4,-3,0 / 3,1,0): neighbours 4-3+0 +4+0 +3+1+0 = 9 -> 2; (2 - 0) x 256 / 256.
  EXPECT_EQ(water.Current(1, 0), 2);
}

TEST(WaterEffect, BlobIsClippedAtTheEdges) {
  ScriptedRandom random;
  TWaterEffect water(random);
  water.SetSize(5, 5);
  water.Blob(0, 0, 1, 10);
  EXPECT_EQ(water.Current(0, 0), 10);
  EXPECT_EQ(water.Current(1, 0), 10);
  EXPECT_EQ(water.Current(0, 1), 10);
  EXPECT_EQ(water.Current(1, 1), 0);  // outside the disc
  water.Blob(4, 4, 2, 1);
  EXPECT_EQ(water.Current(4, 4), 1);
  EXPECT_EQ(water.Current(2, 4), 1);
  EXPECT_EQ(water.Current(3, 3), 1);
  EXPECT_EQ(water.Current(2, 3), 0);  // 4 + 1 > 4
  EXPECT_TRUE(random.asked.empty());
}

TEST(WaterEffect, BlobOutsideLandsAtRandomAndNeedsRoom) {
  ScriptedRandom random;
  random.integers = {5, 2};
  TWaterEffect water(random);
  water.SetSize(5, 5);
  water.Blob(-1, 7, 1, 7);  // x: 5 mod (5-3) + 2 = 3; y: 2 mod 2 + 2 = 2
  EXPECT_EQ(random.asked, (std::vector<std::int64_t>{32767, 32767}));
  for (auto [x, y] : std::vector<std::pair<int, int>>{{3, 2}, {2, 2}, {4, 2}, {3, 1}, {3, 3}}) {
    EXPECT_EQ(water.Current(x, y), 7) << x << "," << y;
  }
  EXPECT_EQ(water.Current(2, 1), 0);

  // A buffer not larger than 2 x radius + 1 that way: nothing happens (no division by 0 or less).
  TWaterEffect narrow(random);
  narrow.SetSize(3, 9);
  narrow.Blob(-1, 4, 1, 5);
  narrow.Blob(1, 20, 4, 5);  // height 9 = 2 x 4 + 1
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(narrow.Current(x, y), 0);
  }
  EXPECT_EQ(random.asked.size(), 2u);
}

TEST(WaterEffect, DrawRefractsShiftsBrightnessAndClamps) {
  TWaterEffect water;
  water.SetSize(3, 3);
  Picture source(3, 3, 3, false), target(3, 3, 0, true);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      std::uint8_t* p = source.Px(x, y);
      p[0] = static_cast<std::uint8_t>(10 * x + y);
      p[1] = 100;
      p[2] = 200;
    }
  }
  source.Px(2, 1)[0] = 0;
  source.Px(2, 1)[2] = 255;
  water.Current(0, 1) = 1;
  water.Draw(source.view, target.view);
  // (1,1): dx = h(0,1) - h(2,1) = 1, dy = 0 -> source (2,1) minus 1, clamped at 0.
  EXPECT_EQ(target.Px(1, 1)[0], 0);
  EXPECT_EQ(target.Px(1, 1)[1], 99);
  EXPECT_EQ(target.Px(1, 1)[2], 254);
  // (0,1): dx = h(0,1) - h(1,1) = 1 (left neighbour clamped to itself) -> source (1,1) - 1.
  EXPECT_EQ(target.Px(0, 1)[0], 10);
  // (0,0): dy = h(0,0) - h(0,1) = -1 -> (0,-1) is outside: the source pixel as it is.
  EXPECT_EQ(target.Px(0, 0)[0], 0);
  EXPECT_EQ(target.Px(0, 0)[1], 100);
  // (0,2): dy = 1 -> outside below: copied.
  EXPECT_EQ(target.Px(0, 2)[0], 2);
  // Flat water copies.
  EXPECT_EQ(target.Px(2, 2)[0], 22);

  // The other slope brightens, clamped at 255.
  water.Current(0, 1) = 0;
  water.Current(2, 1) = 1;
  water.Draw(source.view, target.view);
  EXPECT_EQ(target.Px(1, 1)[0], 2);  // source (0,1) + 1
  EXPECT_EQ(target.Px(1, 1)[2], 201);
  EXPECT_TRUE(source.GuardsIntact());
  EXPECT_TRUE(target.GuardsIntact());
}

TEST(WaterEffect, DrawKeepsToTheCommonAreaOfMismatchedBitmaps) {
  ScriptedRandom random;
  random.integers = {1, 1, 3, 0};
  TWaterEffect water(random);
  water.SetSize(8, 6);
  water.Blob(-1, -1, 1, 300);
  Picture small(5, 4, 1, false, 50), big(10, 9, 2, true, 60);
  water.Render(big.view, small.view);  // source larger than the target
  water.Blob(-1, -1, 1, 300);
  water.Render(small.view, big.view);  // target larger than the source
  EXPECT_TRUE(small.GuardsIntact());
  EXPECT_TRUE(big.GuardsIntact());
  EXPECT_EQ(*big.Px(9, 8), 60);  // outside the common area: untouched
  EXPECT_EQ(*big.Px(5, 0), 60);
}
