// The continuous-paste key decision driven through whole key sequences, as the hook reports
// them, against a list whose paste position moves as the main window moves it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/paste/paste_decision.h"

using namespace app;

namespace {

constexpr int kF9 = 120;
constexpr int kAlt = 18;

// The main window's side, reduced to what the decision reads and what the actions change.
class Window {
 public:
  explicit Window(std::vector<std::u16string> rows) : rows_(std::move(rows)) {
    list.rowCount = static_cast<int>(rows_.size());
    list.selectedRow = rows_.empty() ? -1 : 0;
    list.PastePosition = 0;
    list.FixedEntryCount = 3;
    state.HookActionArmed = true;
    switches.continuousPaste = true;
  }

  void Key(int vk, bool pressed, bool alt) {
    const KeyAction action = DecideKeyAction(state, switches, {vk, alt, pressed}, list);
    switch (action.kind) {
      case KeyActionKind::None: break;
      case KeyActionKind::Alarm: log.push_back("alarm"); break;
      case KeyActionKind::PasteFixed: log.push_back("fixed " + std::to_string(action.fixedDigit)); break;
      case KeyActionKind::CopyStep: log.push_back("copy"); break;
      case KeyActionKind::WrapAndPause:
        Wrap();
        log.push_back("wrap sound");
        state.WrapPauseActive = true;
        break;
      case KeyActionKind::WrapAndPaste:
        Wrap();
        Paste();
        break;
      case KeyActionKind::PasteStep: Paste(); break;
    }
  }
  // A press and release of the paste key, Alt up.
  void F9() {
    Key(kF9, true, false);
    Key(kF9, false, false);
  }

  PasteState state;
  PasteSwitches switches;
  PasteList list;
  int step = 1;
  std::vector<std::string> log;

 private:
  void Wrap() {
    list.selectedRow = 0;
    list.PastePosition = 0;
  }
  void Paste() {
    list.selectedRow = list.PastePosition;
    const PasteStepPlan plan = PlanPasteStep(rows_[list.PastePosition], list.PastePosition, step, false, 0);
    if (plan.stopped) {
      log.push_back("alarm");
      return;
    }
    log.push_back("paste " + std::to_string(list.PastePosition));
    list.PastePosition = plan.nextPosition;
  }
  std::vector<std::u16string> rows_;
};

using Log = std::vector<std::string>;

}  // namespace

TEST(PasteKeyDecision, StepTwoThenAlarmOrCyclicWrap) {
  Window w({u"a", u"b", u"c"});
  w.step = 2;
  w.F9();
  w.F9();
  w.F9();
  EXPECT_EQ(w.log, (Log{"paste 0", "paste 2", "alarm"}));

  Window cyclic({u"a", u"b", u"c"});
  cyclic.step = 2;
  cyclic.switches.cyclicPaste = true;
  for (int i = 0; i < 4; ++i) cyclic.F9();
  EXPECT_EQ(cyclic.log, (Log{"paste 0", "paste 2", "paste 0", "paste 2"}));
}

TEST(PasteKeyDecision, WrapWithSoundPausesAndPastesRowZeroNextTime) {
  Window w({u"a", u"b"});
  w.switches.cyclicPaste = true;
  w.switches.wrapSound = true;
  w.F9();
  w.F9();
  w.F9();  // wraps
  EXPECT_EQ(w.log, (Log{"paste 0", "paste 1", "wrap sound"}));
  w.F9();  // during the pause: nothing
  EXPECT_EQ(w.log.size(), 3u);
  w.state.WrapPauseActive = false;  // the pause's timer ran out
  w.F9();
  EXPECT_EQ(w.log.back(), "paste 0");
}

TEST(PasteKeyDecision, PasteKeyWithAndWithoutAlt) {
  // Without HotKeyAlt: the release of F9 with Alt up pastes; held F9 pastes once.
  Window plain({u"a", u"b", u"c"});
  plain.Key(kF9, true, false);
  EXPECT_TRUE(plain.log.empty());
  for (int i = 0; i < 9; ++i) plain.Key(kF9, true, false);
  plain.Key(kF9, false, false);
  EXPECT_EQ(plain.log, (Log{"paste 0"}));
  // Alt+F9 does nothing.
  plain.Key(kAlt, true, true);
  plain.Key(kF9, true, true);
  plain.Key(kF9, false, true);
  plain.Key(kAlt, false, false);
  EXPECT_EQ(plain.log, (Log{"paste 0"}));

  // With HotKeyAlt: F9 alone does nothing; Alt+F9 pastes once Alt is released.
  Window alt({u"a", u"b", u"c"});
  alt.switches.HotKeyAlt = true;
  alt.F9();
  EXPECT_TRUE(alt.log.empty());
  alt.Key(kAlt, true, true);
  for (int i = 0; i < 10; ++i) alt.Key(kF9, true, true);
  alt.Key(kF9, false, true);
  EXPECT_TRUE(alt.log.empty()) << "not while Alt is down";
  alt.Key(kAlt, false, false);
  EXPECT_EQ(alt.log, (Log{"paste 0"}));
  alt.Key('A', true, false);
  EXPECT_EQ(alt.log, (Log{"paste 0"}));
}

TEST(PasteKeyDecision, StopMarkerStopsEveryPress) {
  Window w({u"a", std::u16string(kStopMarker), u"c"});
  w.F9();
  w.F9();
  w.F9();
  EXPECT_EQ(w.log, (Log{"paste 0", "alarm", "alarm"}));
  // Only the exact text stops.
  EXPECT_FALSE(PlanPasteStep(u"【【停止】】 ", 0, 1, false, 0).stopped);
}

TEST(PasteKeyDecision, NothingToPasteSoundsTheAlarm) {
  Window empty({});
  empty.F9();
  EXPECT_EQ(empty.log, (Log{"alarm"}));

  Window noSelection({u"a", u"b"});
  noSelection.list.selectedRow = -1;
  noSelection.F9();
  EXPECT_EQ(noSelection.log, (Log{"alarm"}));

  Window past({u"a", u"b"});
  past.list.PastePosition = 7;  // outside the rows, no cyclic paste
  past.F9();
  EXPECT_EQ(past.log, (Log{"alarm"}));
}

TEST(PasteKeyDecision, FixedKeysAndArming) {
  Window w({u"a"});
  w.switches.fixedKeys = true;
  // Alt+3, then Alt released: fixed entry 3.
  w.Key(kAlt, true, true);
  w.Key('3', true, true);
  w.Key('3', false, true);
  EXPECT_TRUE(w.log.empty());
  w.Key(kAlt, false, false);
  EXPECT_EQ(w.log, (Log{"fixed 3"}));
  // A digit past the fixed entries only sounds the alarm.
  w.Key(kAlt, true, true);
  w.Key('9', true, true);
  w.Key(kAlt, false, false);
  EXPECT_EQ(w.log, (Log{"fixed 3", "alarm"}));

  // With the fixed keys alone, the paste key does nothing.
  w.switches.continuousPaste = false;
  w.F9();
  EXPECT_EQ(w.log.size(), 2u);

  // Disarmed, nothing counts.
  w.state.HookActionArmed = false;
  w.switches.continuousPaste = true;
  w.F9();
  EXPECT_EQ(w.log.size(), 2u);

  EXPECT_FALSE(HookActionArmedFor({}));
  PasteSwitches fixedOnly;
  fixedOnly.fixedKeys = true;
  EXPECT_TRUE(HookActionArmedFor(fixedOnly));
}

TEST(PasteKeyDecision, ContinuousCopyStepsOnTheSameKey) {
  Window w({u"a"});
  w.switches.continuousPaste = false;
  w.switches.continuousCopy = true;
  w.F9();
  w.F9();
  EXPECT_EQ(w.log, (Log{"copy", "copy"}));
  EXPECT_EQ(PlanCopyStep(true, 1, 3), (std::vector<std::string>{"^c", "{RIGHT}", "{RIGHT}", "{RIGHT}"}));
  EXPECT_EQ(PlanCopyStep(false, 1, 3), (std::vector<std::string>{"^c"}));
}

TEST(PasteStepPlan, KeysAndJumpKeys) {
  EXPECT_EQ(PlanPasteStep(u"x", 4, 2, true, 0).keys, (std::vector<std::string>{"^v", "\t"}));
  EXPECT_EQ(PlanPasteStep(u"x", 4, 2, true, 2).keys, (std::vector<std::string>{"^v", "\r"}));
  EXPECT_EQ(PlanPasteStep(u"x", 4, 2, false, 1).keys, (std::vector<std::string>{"^v"}));
  EXPECT_EQ(PlanPasteStep(u"", 4, 2, false, 1).nextPosition, 6);
  EXPECT_EQ(JumpKeyString(1), "{RIGHT}");
  EXPECT_EQ(JumpKeyString(7), "\r");
}
