// The Alt+C hot key's message test and id, and the drag counting of select-to-copy.
#include <gtest/gtest.h>

#include "app/hotkey/alt_c_hot_key.h"
#include "app/hotkey/select_to_copy.h"

using namespace app;
using desktop::TMouseButton;
using desktop::TSysMouseButtonMovement;

namespace {

TEST(AltCHotKey, OnlyAltAloneWithCActs) {
  EXPECT_TRUE(IsAltCHotKey(0x00430001));
  EXPECT_FALSE(IsAltCHotKey(0x00430003));  // Ctrl+Alt+C
  EXPECT_FALSE(IsAltCHotKey(0x00430005));  // Shift+Alt+C
  EXPECT_FALSE(IsAltCHotKey(0x00440001));  // Alt+D
  EXPECT_FALSE(IsAltCHotKey(0x00000001));
  EXPECT_EQ(HotKeyIdFromAtom(0xC000), 0);
  EXPECT_EQ(HotKeyIdFromAtom(0xFFFF), 0x3FFF);
  EXPECT_EQ(AtomOfHotKeyId(HotKeyIdFromAtom(0xC123)), 0xC123);
}

// A left press, `moves` moves, then a release of `button`; true when it copied.
bool Drag(MouseDragCounter& counter, int moves, TMouseButton release = TMouseButton::mbLeft) {
  bool copied = counter.Click(TMouseButton::mbLeft, TSysMouseButtonMovement::mbmDown);
  for (int i = 0; i < moves; ++i) counter.Move();
  copied = counter.Click(release, TSysMouseButtonMovement::mbmUp) || copied;
  return copied;
}

TEST(SelectToCopy, FiveMovesCopyFourDoNot) {
  MouseDragCounter counter;
  EXPECT_TRUE(Drag(counter, 5));
  EXPECT_EQ(counter.MouseDragCount(), 0);
  EXPECT_FALSE(Drag(counter, 4));
  EXPECT_FALSE(Drag(counter, 0));
  EXPECT_TRUE(Drag(counter, 8));
  // Moves without a press count nothing.
  for (int i = 0; i < 10; ++i) counter.Move();
  EXPECT_FALSE(counter.Click(TMouseButton::mbLeft, TSysMouseButtonMovement::mbmUp));
}

TEST(SelectToCopy, AnyReleaseEndsALongDragButDoubleClicksChangeNothing) {
  MouseDragCounter counter;
  EXPECT_TRUE(Drag(counter, 6, TMouseButton::mbRight));
  // A right release ends the count only when the drag was long enough; the left one ends it.
  counter.Click(TMouseButton::mbLeft, TSysMouseButtonMovement::mbmDown);
  counter.Move();
  EXPECT_FALSE(counter.Click(TMouseButton::mbRight, TSysMouseButtonMovement::mbmUp));
  EXPECT_EQ(counter.MouseDragCount(), 2);
  for (TMouseButton button : {TMouseButton::mbLeft, TMouseButton::mbRight, TMouseButton::mbMiddle}) {
    EXPECT_FALSE(counter.Click(button, TSysMouseButtonMovement::mbmDouble));
  }
  EXPECT_EQ(counter.MouseDragCount(), 2);
  for (int i = 0; i < 4; ++i) counter.Move();
  EXPECT_TRUE(counter.Click(TMouseButton::mbLeft, TSysMouseButtonMovement::mbmUp));
}

}  // namespace
