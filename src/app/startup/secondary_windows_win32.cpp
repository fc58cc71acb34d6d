#include "app/startup/secondary_windows_win32.h"

#include "app/mainform/main_form_win32.h"

namespace app {

SecondaryWindows::SecondaryWindows(TForm1& main)
    : main_(main),
      scale_([&main](gui::Form& form) { main.ScaleForm(form); }),
      Form2(main.OptionsSide()),
      Form7(gui::FormSpec{u"TForm7", u"Form7", 400, 300}, true) {}

void SecondaryWindows::Start() {
  // The options dialog's creation switches on the saved features.
  main_.SetOptionsDialog(&Form2);
  Form2.Start(scale_);
  main_.SetEntryViewer(&Form3);
  Form5.SetHooks(main_.PictureWindowHooks());
  Form5.Start();
  main_.AttachPictureWindow(Form5);
  main_.SetFormattedView(&Form6);
  main_.SetHelpWindows(&Form8, &AboutBox);
  main_.SetSecondaryWindows(this);
}

void SecondaryWindows::MakeUpTo(SecondaryWindow last) {
  while (made_ <= static_cast<int>(last) && MakeNext()) {
  }
}

bool SecondaryWindows::MakeNext() {
  // Counted before it is made: a creation that handles messages (the formatted view's editor
  // waits for its document) must not start the same window again.
  switch (static_cast<SecondaryWindow>(made_++)) {
    case SecondaryWindow::Options: Form2.Create(); break;
    case SecondaryWindow::EntryViewer: Form3.Create(scale_); break;
    case SecondaryWindow::AboutBox: AboutBox.Create(scale_); break;
    case SecondaryWindow::Pictures: Form5.Create(scale_); break;
    case SecondaryWindow::FormattedView: Form6.Create(scale_); break;
    case SecondaryWindow::Form7: Form7.Create(scale_); break;
    case SecondaryWindow::Celebration: Form8.Create(scale_); break;
    default:
      made_ = kWindowCount;
      return false;
  }
  return true;
}

}  // namespace app
