#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "htmledit/pending_operation.h"

namespace htmledit {
namespace {

// An engine whose load completes after a delay (or never), on a clock the test moves:
// each message pass advances it by 10 ms.
struct FakeHost : WaitHost {
  uint32_t now = 1000;
  int64_t completeAt = -1;  // tick at which DocumentComplete arrives, -1: never
  PendingOperation* op = nullptr;
  int passes = 0, timedOut = 0, resets = 0;
  bool resetWorks = true;
  bool idleOnComplete = false;  // the engine ends a wait that DocumentComplete leaves alone
  std::u16string message;
  uint32_t TickCount() override { return now; }
  void ProcessMessages() override {
    ++passes;
    now += 10;
    if (completeAt >= 0 && now >= completeAt) {
      completeAt = -1;
      op->DocumentComplete();
      if (idleOnComplete) op->SetState(kIdle);
    }
  }
  void ShowMessage(const std::u16string& text) override { message = text; }
  bool ResetDocument() override { ++resets; return resetWorks; }
  void OnTimedOut() override { ++timedOut; }
};

struct Machine {
  FakeHost host;
  PendingOperation op{host};
  Machine() {
    host.op = &op;
    op.SetState(kIdle);
  }
};

TEST(PendingOperation, WaitsUntilTheLateDocumentCompletes) {
  Machine m;
  m.host.completeAt = m.host.now + 300;
  auto obj = std::make_shared<int>(1);
  EXPECT_TRUE(m.op.ExecuteAndWait(obj, kLoadingFile, [] { return true; }));
  EXPECT_EQ(m.op.State(), kIdle);
  EXPECT_FALSE(m.op.HoldsObject());
  EXPECT_GE(m.host.passes, 30);
  EXPECT_EQ(m.host.timedOut, 0);
}

TEST(PendingOperation, TimeoutHalfASecondWaitsOverFiveHundredMilliseconds) {
  Machine m;
  m.op.Timeout().Set(0.5);
  EXPECT_EQ(m.op.Timeout().LimitMs(), 500);
  uint32_t start = m.host.now;
  EXPECT_FALSE(m.op.ExecuteAndWait(std::make_shared<int>(1), kLoadingUrl, [] { return true; }));
  EXPECT_GT(m.host.now - start, 500u);   // strictly more than the limit
  EXPECT_LE(m.host.now - start, 520u);
  EXPECT_EQ(m.host.resets, 1);
  EXPECT_EQ(m.host.timedOut, 1);
  EXPECT_EQ(m.op.State(), kIdle);
  EXPECT_FALSE(m.op.HoldsObject());
}

TEST(PendingOperation, ExactlyTheLimitIsNotYetATimeout) {
  Machine m;
  m.op.Timeout().Set(0.5);
  m.host.completeAt = m.host.now + 500;
  EXPECT_TRUE(m.op.ExecuteAndWait(nullptr, kLoadingFile, [] { return true; }));
  EXPECT_EQ(m.host.timedOut, 0);
}

TEST(PendingOperation, VersionSevenReturnsAtOnceForLoadsButNotForUnlimitedWaits) {
  Machine m;
  m.op.SetIEVersion(7.0);
  for (uint8_t state : {kLoadingUrl, kLoadingFile, kOpeningDialogFile}) {
    m.host.passes = 0;
    EXPECT_TRUE(m.op.ExecuteAndWait(std::make_shared<int>(1), state, [] { return true; }));
    EXPECT_EQ(m.host.passes, 0);
    EXPECT_EQ(m.op.State(), state);
    EXPECT_TRUE(m.op.HoldsObject());  // held until the next wait replaces it
    m.op.DocumentComplete();
    EXPECT_EQ(m.op.State(), kIdle);  // DocumentComplete still ends the state
  }
  // State 2 waits without limit whatever the version.
  m.op.Timeout().Set(0.1);
  m.host.completeAt = m.host.now + 2000;
  m.host.idleOnComplete = true;
  int calls = 0;
  uint32_t start = m.host.now;
  EXPECT_TRUE(m.op.ExecuteAndWait(nullptr, kWaitUnlimited, [&] {
    ++calls;
    return true;
  }));
  EXPECT_EQ(calls, 1);
  EXPECT_GE(m.host.now - start, 2000u);  // far past the 100 ms limit
  EXPECT_EQ(m.host.timedOut, 0);
}

TEST(PendingOperation, VersionSixWaitsForLoads) {
  Machine m;
  m.op.SetIEVersion(6.0);
  m.host.completeAt = m.host.now + 100;
  EXPECT_TRUE(m.op.ExecuteAndWait(nullptr, kLoadingUrl, [] { return true; }));
  EXPECT_GE(m.host.passes, 10);
}

TEST(PendingOperation, ATimeoutWhoseResetFailsStillEnds) {
  Machine m;
  m.op.Timeout().Set(0.05);
  m.host.resetWorks = false;
  EXPECT_FALSE(m.op.ExecuteAndWait(nullptr, kLoadingFile, [] { return true; }));
  EXPECT_EQ(m.op.State(), kIdle);
  EXPECT_EQ(m.host.timedOut, 0);
}

TEST(PendingOperation, AnExceptionResetsTheStateAndIsShown) {
  Machine m;
  EXPECT_FALSE(m.op.ExecuteAndWait(std::make_shared<int>(1), kLoadingFile,
                                   []() -> bool { throw std::runtime_error("load failed"); }));
  EXPECT_EQ(m.op.State(), kIdle);
  EXPECT_FALSE(m.op.HoldsObject());
  EXPECT_EQ(m.host.message, u"load failed");
}

TEST(PendingOperation, DocumentCompleteStepsFollowTheStateTable) {
  Machine m;
  using S = CompletionStep;
  m.op.SetState(kLoadingUrl);
  EXPECT_EQ(m.op.DocumentComplete(),
            (std::vector<S>{S::SetIdle, S::Glyphs, S::Reattach, S::EndWait, S::Focus, S::FireLoadUrl}));
  m.op.SetState(kStopping);
  EXPECT_EQ(m.op.DocumentComplete(), (std::vector<S>{S::SetIdle, S::Reattach, S::EndWait, S::FireStop}));
  m.op.SetState(kOtherWait);
  EXPECT_TRUE(m.op.DocumentComplete().empty());
  EXPECT_EQ(m.op.State(), kOtherWait);
  m.op.NavigateError();
  EXPECT_EQ(m.op.DocumentComplete().back(), S::FireLoadUrlError);
  m.op.SetState(kCreating);
  EXPECT_EQ(m.op.DocumentComplete(), (std::vector<S>{S::CreationStep}));
}

TEST(PendingOperation, NavigationIsCancelledUnlessAllowedOrLoadingAUrl) {
  Machine m;
  bool send = true;
  EXPECT_TRUE(m.op.BeforeNavigate2(false, send));
  EXPECT_FALSE(send);
  EXPECT_TRUE(m.op.BeforeNavigate2(true, send));
  EXPECT_TRUE(send);
  m.op.AllowNextNavigation();
  EXPECT_FALSE(m.op.BeforeNavigate2(true, send));
  EXPECT_TRUE(m.op.BeforeNavigate2(true, send));  // the permission is used up
  m.op.SetState(kLoadingUrl);
  EXPECT_FALSE(m.op.BeforeNavigate2(true, send));
}

TEST(PendingOperation, TimeoutSetterKeepsOnlyPositiveValues) {
  TimeoutSetting t;
  EXPECT_EQ(t.Get(), 30.0);
  t.Set(0);
  t.Set(-1);
  t.Set(std::nan(""));
  EXPECT_EQ(t.Get(), 30.0);
  t.Set(0.25);
  EXPECT_EQ(t.LimitMs(), 250);
  // Infinity is no number of seconds; a huge one waits as long as the clock can count.
  t.Set(std::numeric_limits<double>::infinity());
  EXPECT_EQ(t.Get(), 0.25);
  Machine m;
  m.op.Timeout().Set(1e300);
  m.host.completeAt = m.host.now + 300;
  EXPECT_TRUE(m.op.ExecuteAndWait(nullptr, kLoadingFile, [] { return true; }));
  EXPECT_EQ(m.host.timedOut, 0);
}

}  // namespace
}  // namespace htmledit
