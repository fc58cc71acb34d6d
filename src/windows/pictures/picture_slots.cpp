#include "windows/pictures/picture_slots.h"

#include <utility>

namespace windows {

SlotLabel LabelFor(SlotState state) {
  switch (state) {
    case SlotState::Used: return {u"已用", false};
    case SlotState::Locked: return {u"已锁定", true};
    case SlotState::Empty: break;
  }
  return {u"空", false};
}

SlotMenu ContextMenuFor(SlotState state) {
  switch (state) {
    case SlotState::Used: return {true, true, false, true};
    case SlotState::Locked: return {true, false, true, true};
    case SlotState::Empty: break;
  }
  return {};
}

SlotState PictureSlots::state(int slot) const { return valid(slot) ? slots_[slot].state : SlotState::Empty; }

const Picture& PictureSlots::picture(int slot) const {
  static const Picture none;
  return valid(slot) ? slots_[slot].picture : none;
}

std::optional<int> PictureSlots::chooseSlot() const {
  for (int s = 1; s <= kSlots; ++s) {
    if (slots_[s].state == SlotState::Empty) return s;
  }
  for (int s = next_; s <= kSlots; ++s) {
    if (slots_[s].state == SlotState::Used) return s;
  }
  for (int s = 1; s < next_; ++s) {
    if (slots_[s].state == SlotState::Used) return s;
  }
  return std::nullopt;
}

std::optional<int> PictureSlots::store(Picture picture) {
  const std::optional<int> slot = chooseSlot();
  if (!slot) return std::nullopt;
  next_ = *slot + 1 > kSlots ? 1 : *slot + 1;
  slots_[*slot] = {SlotState::Used, std::move(picture)};
  return slot;
}

void PictureSlots::deleteOne(int slot) {
  if (valid(slot)) slots_[slot] = {};
}

bool PictureSlots::lock(int slot) {
  if (state(slot) != SlotState::Used) return false;
  slots_[slot].state = SlotState::Locked;
  return true;
}

bool PictureSlots::unlock(int slot) {
  if (state(slot) != SlotState::Locked) return false;
  slots_[slot].state = SlotState::Used;
  return true;
}

void PictureSlots::lockAll() {
  for (int s = 1; s <= kSlots; ++s) lock(s);
}

void PictureSlots::unlockAll() {
  for (int s = 1; s <= kSlots; ++s) unlock(s);
}

void PictureSlots::deleteAll() {
  for (int s = 1; s <= kSlots; ++s) slots_[s] = {};
  next_ = 1;
}

void PictureSlots::deleteUnlocked() {
  for (int s = 1; s <= kSlots; ++s) {
    if (slots_[s].state == SlotState::Used) slots_[s] = {};
  }
}

bool PictureSlots::canSwap(int from, int to) const {
  return valid(from) && valid(to) && from != to && slots_[from].state != SlotState::Empty;
}

bool PictureSlots::swap(int from, int to) {
  if (!canSwap(from, to)) return false;
  std::swap(slots_[from], slots_[to]);
  return true;
}

}  // namespace windows
