#include "windows/pictures/picture_slots.h"

#include <gtest/gtest.h>

namespace windows {
namespace {

Picture P(std::uint8_t tag) { return std::make_shared<const std::vector<std::uint8_t>>(1, tag); }

TEST(PictureSlots, EmptySlotsFillFirstThenUsedOnesFromNextPictureSlot) {
  PictureSlots slots;
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(slots.store(P(i)), i);
  EXPECT_EQ(slots.NextPictureSlot(), 1);  // 10 + 1 wraps to 1
  // All used, NextPictureSlot = 4: the next goes to 4, NextPictureSlot becomes 5.
  for (int i = 1; i <= 3; ++i) slots.store(P(20 + i));
  EXPECT_EQ(slots.NextPictureSlot(), 4);
  EXPECT_EQ(slots.store(P(99)), 4);
  EXPECT_EQ(slots.NextPictureSlot(), 5);
  EXPECT_EQ((*slots.picture(4))[0], 99);
  // An emptied slot is taken before any used one.
  slots.deleteOne(2);
  EXPECT_EQ(slots.store(P(50)), 2);
  EXPECT_EQ(slots.NextPictureSlot(), 3);
}

TEST(PictureSlots, LockedSlotsAreNeverOverwritten) {
  PictureSlots slots;
  for (int i = 1; i <= 10; ++i) slots.store(P(i));
  slots.lockAll();
  EXPECT_EQ(slots.store(P(77)), std::nullopt);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ((*slots.picture(i))[0], i);
  // With slots 8..10 locked and NextPictureSlot 8, the search wraps to the first used slot.
  slots.unlockAll();
  for (int i = 1; i <= 7; ++i) slots.store(P(i));
  EXPECT_EQ(slots.NextPictureSlot(), 8);
  for (int s = 8; s <= 10; ++s) EXPECT_TRUE(slots.lock(s));
  EXPECT_EQ(slots.store(P(88)), 1);
}

TEST(PictureSlots, DeletionsAndLocks) {
  PictureSlots slots;
  slots.store(P(1));
  slots.store(P(2));
  slots.store(P(3));
  EXPECT_FALSE(slots.unlock(1));  // used, not locked
  EXPECT_TRUE(slots.lock(1));
  EXPECT_FALSE(slots.lock(1));
  EXPECT_FALSE(slots.lock(5));  // empty
  // "删除所有未锁定的图片" spares the locked slot.
  slots.deleteUnlocked();
  EXPECT_EQ(slots.state(1), SlotState::Locked);
  EXPECT_EQ(slots.state(2), SlotState::Empty);
  EXPECT_EQ(slots.picture(2), nullptr);
  // "单个删除" clears a locked slot too.
  slots.deleteOne(1);
  EXPECT_EQ(slots.state(1), SlotState::Empty);
  // "全部删除" clears locked slots and starts over at slot 1.
  slots.store(P(4));
  slots.store(P(5));
  slots.lock(2);
  slots.deleteAll();
  for (int s = 1; s <= 10; ++s) EXPECT_EQ(slots.state(s), SlotState::Empty);
  EXPECT_EQ(slots.NextPictureSlot(), 1);
  // Numbers outside 1..10 change nothing.
  slots.deleteOne(0);
  slots.deleteOne(11);
  EXPECT_EQ(slots.state(11), SlotState::Empty);
}

TEST(PictureSlots, SwapMovesPictureAndStateInMemory) {
  PictureSlots slots;
  slots.store(P(1));
  slots.store(P(2));
  slots.lock(2);
  EXPECT_FALSE(slots.canSwap(5, 1));  // an empty source does nothing
  EXPECT_FALSE(slots.swap(5, 1));
  EXPECT_FALSE(slots.canSwap(1, 1));  // onto itself is refused
  EXPECT_FALSE(slots.canSwap(1, 11));
  // A used picture onto an empty slot moves it.
  EXPECT_TRUE(slots.swap(1, 3));
  EXPECT_EQ(slots.state(1), SlotState::Empty);
  EXPECT_EQ(slots.state(3), SlotState::Used);
  EXPECT_EQ((*slots.picture(3))[0], 1);
  // A locked picture swaps with a used one, each keeping its state.
  EXPECT_TRUE(slots.swap(2, 3));
  EXPECT_EQ(slots.state(3), SlotState::Locked);
  EXPECT_EQ((*slots.picture(3))[0], 2);
  EXPECT_EQ(slots.state(2), SlotState::Used);
  EXPECT_EQ((*slots.picture(2))[0], 1);
}

TEST(PictureSlots, LabelsAndContextMenuFollowTheState) {
  EXPECT_EQ(LabelFor(SlotState::Empty).caption, u"空");
  EXPECT_EQ(LabelFor(SlotState::Used).caption, u"已用");
  EXPECT_EQ(LabelFor(SlotState::Locked).caption, u"已锁定");
  EXPECT_TRUE(LabelFor(SlotState::Locked).red);
  EXPECT_FALSE(LabelFor(SlotState::Used).red);
  const SlotMenu empty = ContextMenuFor(SlotState::Empty);
  EXPECT_FALSE(empty.deleteOne || empty.lock || empty.unlock || empty.saveAs);
  const SlotMenu used = ContextMenuFor(SlotState::Used);
  EXPECT_TRUE(used.deleteOne && used.lock && used.saveAs);
  EXPECT_FALSE(used.unlock);
  const SlotMenu locked = ContextMenuFor(SlotState::Locked);
  EXPECT_TRUE(locked.deleteOne && locked.unlock && locked.saveAs);
  EXPECT_FALSE(locked.lock);
}

}  // namespace
}  // namespace windows
