#include "app/paste/paste_decision.h"

namespace app {

namespace {

constexpr int kFirstDigitKey = 0x31;  // '1'
constexpr int kLastDigitKey = 0x39;   // '9'

KeyAction Step(PasteState& state, const PasteSwitches& switches, const PasteList& list) {
  // While the wrap pause runs, a press would paste row 0 at once, which the pause is there
  // to prevent.
  if (state.WrapPauseActive) return {};
  if (switches.continuousCopy) return {KeyActionKind::CopyStep};
  const int lastRow = list.rowCount - 1;
  if (list.rowCount > 0 && list.selectedRow >= 0 && list.PastePosition >= 0 && list.PastePosition <= lastRow)
    return {KeyActionKind::PasteStep};
  if (switches.cyclicPaste && list.rowCount > 0 && list.PastePosition > lastRow)
    return {switches.wrapSound ? KeyActionKind::WrapAndPause : KeyActionKind::WrapAndPaste};
  return {KeyActionKind::Alarm};
}

}  // namespace

KeyAction DecideKeyAction(PasteState& state, const PasteSwitches& switches, const PasteKey& key,
                          const PasteList& list) {
  if (!state.HookActionArmed) return {};
  if (switches.fixedKeys) {
    if (state.FixedKeyPending) {
      if (key.altIsDown) return {};
      state.FixedKeyPending = false;
      const int digit = state.FixedKeyDigit;
      if (digit < 1 || digit > 9) return {};
      // A digit past the fixed entries has nothing to paste (its slot may hold a stale text).
      if (digit > list.FixedEntryCount) return {KeyActionKind::Alarm};
      return {KeyActionKind::PasteFixed, digit};
    }
    if (key.altIsDown && key.VirtualKeyCode >= kFirstDigitKey && key.VirtualKeyCode <= kLastDigitKey) {
      state.FixedKeyPending = true;
      state.FixedKeyDigit = key.VirtualKeyCode - 0x30;
      return {};
    }
    if (!switches.continuousCopy && !switches.continuousPaste) return {};
  }
  if (state.PasteKeyPending) {
    if (key.altIsDown) return {};
    state.PasteKeyPending = false;
    return Step(state, switches, list);
  }
  if (key.VirtualKeyCode != switches.HotKeyCode) return {};
  if (!switches.HotKeyAlt) {
    if (key.keyIsBeingPressed || key.altIsDown) return {};
    return Step(state, switches, list);
  }
  if (key.keyIsBeingPressed && key.altIsDown) state.PasteKeyPending = true;
  return {};
}

bool HookActionArmedFor(const PasteSwitches& switches) {
  return switches.continuousPaste || switches.continuousCopy || switches.fixedKeys;
}

std::string JumpKeyString(int JumpKey) {
  switch (JumpKey) {
    case 0: return "\t";
    case 1: return "{RIGHT}";
    default: return "\r";
  }
}

PasteStepPlan PlanPasteStep(std::u16string_view text, int PastePosition, int PasteStep, bool PasteAutoJump,
                            int JumpKey) {
  PasteStepPlan plan;
  plan.nextPosition = PastePosition;
  if (text == kStopMarker) {
    plan.stopped = true;
    return plan;
  }
  plan.keys.push_back("^v");
  if (PasteAutoJump) plan.keys.push_back(JumpKeyString(JumpKey));
  plan.nextPosition = PastePosition + PasteStep;
  return plan;
}

std::vector<std::string> PlanCopyStep(bool jump, int JumpKey, int PasteStep) {
  std::vector<std::string> keys{"^c"};
  if (jump)
    for (int i = 0; i < PasteStep; ++i) keys.push_back(JumpKeyString(JumpKey));
  return keys;
}

}  // namespace app
