// How long the main window waits for what it reads of the clipboard. Another program that owns
// the clipboard may have promised formats that it renders only when they are asked for, and
// a reader waits for each without a bound: the window's reads run on a thread of their own
// (ClipboardReader) and the window waits for them within these times.
#pragma once

namespace app {

struct ClipboardBudget {
  // From the clipboard's opening to the end of its reads (the text and the snapshot of every
  // format): formats not read by then are left out of the snapshot, which keeps the text.
  unsigned readMs = 2000;
  // The window handles no messages for this long while it waits, as it handled none while it
  // read the clipboard itself: a usual capture ends well within it (about a millisecond), so
  // no command runs in the middle of one. Beyond it the window answers while it waits.
  unsigned quietMs = 200;
  // The owner's answer to a message (WM_NULL) before it is asked for anything beyond the text;
  // an owner that does not answer in this time is asked for nothing more.
  unsigned ownerAnswerMs = 500;
  // What one opening may take beyond its tries and pauses: under Wine, OpenClipboard (and a
  // look at the formats) first waits for the owner's answer to the X11 driver's update
  // message, up to 5 s while the owner is hung but not yet taken for hung (docs/DEVELOPING.md).
  unsigned openSlackMs = 6000;
};

inline constexpr ClipboardBudget kClipboardBudget{};

}  // namespace app
