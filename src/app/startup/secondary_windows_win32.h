// The secondary windows, created after the main window in their designed order: the options
// dialog, the entry viewer, the about box, the picture window, the formatted view, TForm7
// (which nothing opens) and the celebration window. What their creation does to the main
// window (the options dialog switching the saved features on, the picture window letting the
// capture store pictures) happens at start-up, before the main window shows; their windows
// are made afterwards, one each time the program is idle, or all up to the one needed at once
// when it is needed sooner, always in that order, so that the last one made is the one the
// scaling routine holds, as when they were made at start-up.
#pragma once

#include "windows/about_box_win32.h"
#include "windows/celebration_form_win32.h"
#include "windows/entry_viewer_win32.h"
#include "windows/formatted_view_win32.h"
#include "windows/options_form_win32.h"
#include "windows/picture_form_win32.h"
#include "windows/secondary_forms_win32.h"

namespace app {

class TForm1;

enum class SecondaryWindow { Options, EntryViewer, AboutBox, Pictures, FormattedView, Form7, Celebration };
inline constexpr int kWindowCount = 7;

class SecondaryWindows {
 public:
  explicit SecondaryWindows(TForm1& main);
  SecondaryWindows(const SecondaryWindows&) = delete;
  SecondaryWindows& operator=(const SecondaryWindows&) = delete;

  // At start-up, after the main window's creation: the windows' effects on it.
  void Start();
  // Makes each window not made yet up to and including `last`, in order.
  void MakeUpTo(SecondaryWindow last);
  // Makes the next window; false once every window is made.
  bool MakeNext();

 private:
  TForm1& main_;
  windows::ScaleRoutine scale_;
  int made_ = 0;
  windows::TForm2 Form2;
  windows::TForm3 Form3;
  windows::TAboutBox AboutBox;
  windows::TForm5 Form5;
  windows::TForm6 Form6;
  windows::SecondaryForm Form7;
  windows::Tform8 Form8;
};

}  // namespace app
