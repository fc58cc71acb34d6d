// What a clipboard change means for the history: the refusal rules of a capture and the
// flags that carry over between captures. The main window reads the clipboard and carries
// the decision out; everything it decides on is here, testable without a clipboard.
#pragma once

#include <string>

namespace app {

// Flags of the capture that live between clipboard changes (true stands for -1).
struct CaptureState {
  bool SkipNextClipChange = false;  // the program wrote the clipboard itself: ignore one change
  bool CaptureBusy = false;         // a capture or the check timer's capture work is running
  bool ListFullPending = false;     // the check timer owes the list-full message
  bool CopyStepPending = false;     // a continuous-copy step sent Ctrl+C
  bool CopyStepCaptured = false;    // the copy step's own capture was stored
  std::u16string LastClipText;
  // The picture path of changes without text. The picture window clears the first when it
  // exists, and the other two when it writes a picture to the clipboard itself.
  bool PictureWindowPending = true;
  bool PictureCaptureArmed = true;  // false: the next change without text is skipped
  bool PictureRetryArmed = true;    // the check timer may re-post a clipboard picture
};

// The switches and limits a capture reads.
struct CaptureSettings {
  bool monitoring = true;       // menuyouxiao
  bool refuseRepeats = false;   // bujilucongfu
  int maxEntries = 100000;      // MaxEntries
  int maxTextLength = 80000;    // MaxTextLength
};

// Whether a change is looked at at all (before the clipboard is opened).
enum class ChangeVerdict {
  Busy,         // a capture is running: pass the notification on, nothing else
  OwnWrite,     // the program's own write: the flag is cleared, pass on
  NotMonitoring,
  Capture,      // open the clipboard and look; CaptureBusy is now set
};
ChangeVerdict BeginClipboardChange(CaptureState& state, const CaptureSettings& settings);

// What to do with the text that the clipboard offers.
enum class TextVerdict {
  RefuseRepeat,     // the same text again on the selected last row: the refusal sound
  ListFull,         // ListFullPending set; LastClipText takes the text
  TooLong,          // silently not stored
  RefuseCopyRepeat, // the notification repeating a continuous-copy step's text
  Store,            // LastClipText takes the text; store it with its snapshot
};
// rowCount: rows of the list; selectedRow: -1 for none.
TextVerdict DecideTextCapture(CaptureState& state, const CaptureSettings& settings, const std::u16string& text,
                              int rowCount, int selectedRow);

// What DecideTextCapture will say of a text, worked out beforehand on copies (on the reader's
// thread, while the window waits): the snapshot of a text that is not stored is not read, so
// that an owner does not render its promised formats for nothing.
struct CaptureForecast {
  CaptureState state;
  CaptureSettings settings;
  int rowCount = 0;
  int selectedRow = -1;
  bool WouldStore(const std::u16string& text) const;
};

// A text that DecideTextCapture let through could not be stored after all: what the decision
// changed goes back to `before` (unless something else changed it meanwhile).
void UndoTextCapture(CaptureState& state, const CaptureState& before, const std::u16string& text);

// A change without text is never an entry. True when its picture goes to the picture slots
// (when picture monitoring is on and the clipboard holds a picture).
bool DecidePictureChange(CaptureState& state, bool monitorPictures);

// The check timer's text repair: a clipboard text that was never captured (the window lost its
// place in the viewer chain) is worth re-posting when it fits and differs from the last text.
bool ClipboardTextMissed(const CaptureState& state, const CaptureSettings& settings, const std::u16string& text);

// The text of a list row or tray row: the first 150 (list) or 50 (tray) characters.
inline constexpr int kListRowChars = 150;
inline constexpr int kTrayRowChars = 50;

}  // namespace app
