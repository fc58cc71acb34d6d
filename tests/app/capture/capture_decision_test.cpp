#include <gtest/gtest.h>

#include "app/capture/capture_decision.h"

using namespace app;

TEST(CaptureDecision, OwnWriteBusyAndMonitoringOff) {
  CaptureState s;
  CaptureSettings on;
  s.SkipNextClipChange = true;
  EXPECT_EQ(BeginClipboardChange(s, on), ChangeVerdict::OwnWrite);
  EXPECT_FALSE(s.SkipNextClipChange);  // a one-shot
  EXPECT_EQ(BeginClipboardChange(s, on), ChangeVerdict::Capture);
  EXPECT_TRUE(s.CaptureBusy);
  EXPECT_EQ(BeginClipboardChange(s, on), ChangeVerdict::Busy);
  s.CaptureBusy = false;
  CaptureSettings off;
  off.monitoring = false;
  EXPECT_EQ(BeginClipboardChange(s, off), ChangeVerdict::NotMonitoring);
  EXPECT_FALSE(s.CaptureBusy);
}

TEST(CaptureDecision, RepeatIsRefusedOnlyOnTheSelectedLastRow) {
  CaptureSettings settings;
  settings.refuseRepeats = true;
  CaptureState s;
  EXPECT_EQ(DecideTextCapture(s, settings, u"abc", 1, 0), TextVerdict::Store);
  EXPECT_EQ(DecideTextCapture(s, settings, u"abc", 2, 1), TextVerdict::RefuseRepeat);
  EXPECT_EQ(DecideTextCapture(s, settings, u"abc", 2, 0), TextVerdict::Store);  // another row selected
  settings.refuseRepeats = false;
  EXPECT_EQ(DecideTextCapture(s, settings, u"abc", 3, 2), TextVerdict::Store);
}

TEST(CaptureDecision, LengthAndListLimits) {
  CaptureSettings settings;
  settings.maxTextLength = 5;
  settings.maxEntries = 3;
  CaptureState s;
  EXPECT_EQ(DecideTextCapture(s, settings, u"12345", 0, -1), TextVerdict::Store);
  EXPECT_EQ(DecideTextCapture(s, settings, u"123456", 1, 0), TextVerdict::TooLong);
  EXPECT_EQ(s.LastClipText, u"12345");  // a text too long leaves the last text alone
  EXPECT_EQ(DecideTextCapture(s, settings, u"x", 3, 2), TextVerdict::ListFull);
  EXPECT_TRUE(s.ListFullPending);
  EXPECT_EQ(s.LastClipText, u"x");
}

TEST(CaptureDecision, ContinuousCopyStepIsStoredOnceThenItsEchoRefused) {
  CaptureSettings settings;
  CaptureState s;
  s.CopyStepPending = true;
  EXPECT_EQ(DecideTextCapture(s, settings, u"row", 0, -1), TextVerdict::Store);
  EXPECT_TRUE(s.CopyStepCaptured);
  EXPECT_EQ(DecideTextCapture(s, settings, u"row", 1, 0), TextVerdict::RefuseCopyRepeat);
  EXPECT_FALSE(s.CopyStepCaptured);
  EXPECT_EQ(DecideTextCapture(s, settings, u"row", 1, 0), TextVerdict::Store);  // only one echo is refused
}

TEST(CaptureDecision, TheForecastAgreesWithTheDecisionAndChangesNothing) {
  CaptureForecast forecast;
  forecast.state.CopyStepCaptured = true;  // the next repeat of the last text is an echo
  forecast.state.LastClipText = u"row";
  forecast.rowCount = 1;
  forecast.selectedRow = 0;
  EXPECT_FALSE(forecast.WouldStore(u"row"));
  EXPECT_FALSE(forecast.WouldStore(u"row"));  // asked twice, the same answer: its state is a copy
  EXPECT_TRUE(forecast.state.CopyStepCaptured);
  EXPECT_TRUE(forecast.WouldStore(u"other"));
  forecast.settings.maxTextLength = 2;
  EXPECT_FALSE(forecast.WouldStore(u"other"));
}

TEST(CaptureDecision, MissedTextNeedsToFitAndDiffer) {
  CaptureSettings settings;
  settings.maxTextLength = 3;
  CaptureState s;
  s.LastClipText = u"abc";
  EXPECT_FALSE(ClipboardTextMissed(s, settings, u"abc"));
  EXPECT_TRUE(ClipboardTextMissed(s, settings, u"abd"));
  EXPECT_FALSE(ClipboardTextMissed(s, settings, u"abcd"));
}

TEST(CaptureDecision, PicturesWaitForThePictureWindowAndSkipOneChangeWhenDisarmed) {
  CaptureState s;
  EXPECT_FALSE(DecidePictureChange(s, true));  // no picture window yet
  s.PictureWindowPending = false;
  s.PictureCaptureArmed = false;  // the picture window wrote the clipboard itself
  EXPECT_FALSE(DecidePictureChange(s, true));
  EXPECT_TRUE(s.PictureCaptureArmed);
  EXPECT_TRUE(DecidePictureChange(s, true));
  EXPECT_FALSE(DecidePictureChange(s, false));  // picture monitoring off
}
