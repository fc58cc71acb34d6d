// The ten picture slots of the picture window: each empty, used or locked, holding a DIB.
// The main window fills them from the clipboard; the picture window locks, unlocks, deletes
// and swaps them. Every rule of which slot takes the next picture lives here.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace windows {

enum class SlotState { Empty = 0, Used = 1, Locked = 2 };

// A picture as the clipboard's DIB bytes (checked before it is stored).
using Picture = std::shared_ptr<const std::vector<std::uint8_t>>;

// What a slot's label shows.
struct SlotLabel {
  std::u16string_view caption;  // "空", "已用", "已锁定"
  bool red = false;             // locked slots are red, the others black
};
SlotLabel LabelFor(SlotState state);

// Which rows of the slot's context menu are enabled.
struct SlotMenu {
  bool deleteOne = false;  // "单个删除"
  bool lock = false;       // "锁定"
  bool unlock = false;     // "解锁"
  bool saveAs = false;     // "另存为"
};
SlotMenu ContextMenuFor(SlotState state);

class PictureSlots {
 public:
  static constexpr int kSlots = 10;

  // Slots count from 1 to 10; a number outside reads as empty and changes nothing.
  SlotState state(int slot) const;
  const Picture& picture(int slot) const;
  int NextPictureSlot() const { return next_; }

  // The slot the next picture goes to: the first empty slot, else the first used slot from
  // NextPictureSlot on, else the first used slot before it. Locked slots are never taken.
  std::optional<int> chooseSlot() const;
  // Puts a picture into the chosen slot (used, NextPictureSlot moves past it); the slot, or
  // nothing when every slot is locked.
  std::optional<int> store(Picture picture);

  void deleteOne(int slot);  // also a locked one
  bool lock(int slot);       // used -> locked
  bool unlock(int slot);     // locked -> used
  void lockAll();
  void unlockAll();
  void deleteAll();          // locked ones too; NextPictureSlot := 1
  void deleteUnlocked();

  // A drag from one slot onto another: the source must hold a picture and differ.
  bool canSwap(int from, int to) const;
  // Swaps pictures and states in memory; false when canSwap does not hold.
  bool swap(int from, int to);

 private:
  static bool valid(int slot) { return slot >= 1 && slot <= kSlots; }
  struct Slot {
    SlotState state = SlotState::Empty;
    Picture picture;
  };
  std::array<Slot, kSlots + 1> slots_{};  // index 0 unused
  int next_ = 1;
};

}  // namespace windows
