// Reads of the clipboard's data in this process, and the edit boxes' paste.
//
// GetClipboardData holds a lock of the process (user32's) for as long as the owner renders the
// format asked for. While a read that the program gave up is still inside a hung owner's render,
// every other GetClipboardData of the process waits for that lock, for good: a paste into an edit
// box stops the window's thread, and a reader that opened the clipboard keeps it shut for every
// program. The program's reader marks that time (SetClipboardReadsHeld); every other reader of the
// clipboard's data asks ClipboardReadsHeld() first and reads nothing meanwhile.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace gui {

bool ClipboardReadsHeld();
void SetClipboardReadsHeld(bool held);
// The box that says so when the user asked for a paste meanwhile.
void ReportClipboardReadsHeld();

// What the program's reader made of the clipboard's text for a paste.
struct PastedText {
  enum class Status {
    Text,    // `text` holds it
    NoText,  // the clipboard holds no text
    Held,    // not read: a given-up read is still inside its owner, or this clipboard is that one
    Busy,    // another program kept the clipboard open, or its owner did not give the text in time
  } status = Status::NoText;
  std::u16string text;
};

// The program's reader of the clipboard's text (set once by the main window): an edit box's paste
// goes through it, so that an owner slow to render the text holds no window's thread.
void SetPasteTextReader(std::function<PastedText()> reader);

// Pastes the clipboard's text into an edit box through the program's reader, as the box's own
// paste (WM_PASTE) puts it; a message box says why when it cannot be read.
void PasteIntoEdit(HWND edit);
// Routes WM_PASTE and Shift+Insert of an edit box to PasteIntoEdit.
void RoutePasteThroughReader(HWND edit);
// Every edit box made on the calling thread from now on is routed so: the program's own and
// those the system makes for it (the find, file, folder, font and colour dialogs, the combo
// boxes), whose paste would otherwise read the clipboard on this thread itself.
void RoutePasteOfEveryEditBox();
// Shift+Insert, which an edit box pastes with without a WM_PASTE.
bool IsShiftInsert(UINT msg, WPARAM wp);

}  // namespace gui
