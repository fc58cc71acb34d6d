// Continuous paste and copy: what one key report from the system-wide keyboard hook means
// for the main window, and what one paste or copy step sends. The window reports every key
// and carries the answer out (clipboard, key strings, sounds, timers); the decisions and the
// flags that live between key reports are here, testable without a hook.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

// An entry with exactly this text is never pasted: continuous paste stops there.
inline constexpr std::u16string_view kStopMarker = u"【【停止】】";

// Flags that live between key reports (true stands for -1).
struct PasteState {
  bool HookActionArmed = false;  // continuous paste, continuous copy or the fixed-entry keys are on
  bool PasteKeyPending = false;  // the paste key went down with Alt: the step runs once Alt is up
  bool FixedKeyPending = false;  // Alt+digit went down: the fixed entry is pasted once Alt is up
  int FixedKeyDigit = 0;
  // The wrap to the first row paused with its sound: key presses paste nothing until it ends.
  bool WrapPauseActive = false;
};

// The menu switches and settings the decision reads.
struct PasteSwitches {
  bool fixedKeys = false;        // kaiqigudinkuaijie
  bool continuousCopy = false;   // lianxvfuzi
  bool continuousPaste = false;  // lianxvniantie
  bool cyclicPaste = false;      // xunhuanniantie
  bool wrapSound = false;        // xunhuanfasen
  int HotKeyCode = 120;          // F9
  bool HotKeyAlt = false;
};

// One key report, as the keyboard hook component gives it.
struct PasteKey {
  int VirtualKeyCode = 0;
  bool altIsDown = false;
  bool keyIsBeingPressed = false;
};

// Where the list stands.
struct PasteList {
  int rowCount = 0;
  int selectedRow = -1;  // -1: none
  int PastePosition = -1;
  int FixedEntryCount = 0;
};

enum class KeyActionKind {
  None,
  PasteFixed,     // paste FixedEntryTexts[fixedDigit]
  CopyStep,       // a continuous-copy step
  PasteStep,      // a paste step for the row PastePosition
  WrapAndPaste,   // select row 0, PastePosition := 0, then a paste step
  WrapAndPause,   // select row 0, PastePosition := 0, the wrap sound, a pause; no paste
  Alarm,          // "报警.wav", nothing else
};

struct KeyAction {
  KeyActionKind kind = KeyActionKind::None;
  int fixedDigit = 0;
  bool operator==(const KeyAction&) const = default;
};

// SysKeyboardHook1KeyAction's decision for one key report; updates the pending flags.
KeyAction DecideKeyAction(PasteState& state, const PasteSwitches& switches, const PasteKey& key,
                          const PasteList& list);

// The key decision acts only while one of the three features is on.
bool HookActionArmedFor(const PasteSwitches& switches);

// The key string of the jump key: Tab for 0, "{RIGHT}" for 1, Enter for any other value.
std::string JumpKeyString(int JumpKey);

// What a paste step does with the text of the row at the paste position.
struct PasteStepPlan {
  bool stopped = false;            // the stop marker: the alarm, nothing else
  std::vector<std::string> keys;   // key strings sent one after the other
  int nextPosition = 0;            // PastePosition afterwards
};
PasteStepPlan PlanPasteStep(std::u16string_view text, int PastePosition, int PasteStep, bool PasteAutoJump,
                            int JumpKey);

// A copy step: Ctrl+C, then with the jump switch the jump key PasteStep times.
std::vector<std::string> PlanCopyStep(bool jump, int JumpKey, int PasteStep);

}  // namespace app
