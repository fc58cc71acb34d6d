// Message boxes and the input dialog.
#pragma once

#include <windows.h>

#include <string>

namespace gui {

// A message box owned by the active window of the program; returns IDOK, IDCANCEL, ...
int MessageBoxU(std::u16string_view text, std::u16string_view caption, UINT flags);

// A plain message with an OK button, captioned with the application title.
void ShowMessage(std::u16string_view text);

// The confirmation convention of the program: OK and Cancel, question icon, system-modal
// (flags 4129). True for OK.
bool Confirm(std::u16string_view text, std::u16string_view caption);

// Asks for one line of text. value is the initial text and receives the answer; false on Cancel.
bool InputQuery(std::u16string_view caption, std::u16string_view prompt, std::u16string& value);

}  // namespace gui
