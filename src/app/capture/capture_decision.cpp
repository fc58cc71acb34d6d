#include "app/capture/capture_decision.h"

namespace app {

ChangeVerdict BeginClipboardChange(CaptureState& state, const CaptureSettings& settings) {
  if (state.CaptureBusy) return ChangeVerdict::Busy;
  if (state.SkipNextClipChange) {
    state.SkipNextClipChange = false;
    return ChangeVerdict::OwnWrite;
  }
  if (!settings.monitoring) return ChangeVerdict::NotMonitoring;
  state.CaptureBusy = true;
  return ChangeVerdict::Capture;
}

TextVerdict DecideTextCapture(CaptureState& state, const CaptureSettings& settings, const std::u16string& text,
                              int rowCount, int selectedRow) {
  if (settings.refuseRepeats && text == state.LastClipText && rowCount > 0 && selectedRow == rowCount - 1) {
    return TextVerdict::RefuseRepeat;
  }
  if (rowCount >= settings.maxEntries) {
    state.ListFullPending = true;
    state.LastClipText = text;
    return TextVerdict::ListFull;
  }
  if (static_cast<long long>(text.size()) > settings.maxTextLength) return TextVerdict::TooLong;
  // A continuous-copy step's own capture is stored; one further notification repeating its
  // text is refused.
  if (!state.CopyStepPending && state.CopyStepCaptured) {
    state.CopyStepCaptured = false;
    if (text == state.LastClipText) return TextVerdict::RefuseCopyRepeat;
  }
  if (state.CopyStepPending) {
    state.CopyStepPending = false;
    state.CopyStepCaptured = true;
  }
  state.LastClipText = text;
  return TextVerdict::Store;
}

bool CaptureForecast::WouldStore(const std::u16string& text) const {
  CaptureState copy = state;
  return DecideTextCapture(copy, settings, text, rowCount, selectedRow) == TextVerdict::Store;
}

void UndoTextCapture(CaptureState& state, const CaptureState& before, const std::u16string& text) {
  if (state.LastClipText == text) state.LastClipText = before.LastClipText;
  state.CopyStepPending = before.CopyStepPending;
  state.CopyStepCaptured = before.CopyStepCaptured;
}

bool DecidePictureChange(CaptureState& state, bool monitorPictures) {
  if (state.PictureWindowPending) {
    state.PictureCaptureArmed = true;
    return false;
  }
  if (!state.PictureCaptureArmed) {
    state.PictureCaptureArmed = true;  // this change is skipped, the next one counts
    return false;
  }
  return monitorPictures;
}

bool ClipboardTextMissed(const CaptureState& state, const CaptureSettings& settings, const std::u16string& text) {
  return static_cast<long long>(text.size()) <= settings.maxTextLength && text != state.LastClipText;
}

}  // namespace app
