// Program entry: the window framework, the windows in their order, the message loop.
// No command line is read and there is no single-instance test.
#include <windows.h>

#include "app/mainform/main_form_win32.h"
#include "gui/application.h"
#include "windows/entry_viewer_win32.h"
#include "windows/formatted_view_win32.h"
#include "windows/about_box_win32.h"
#include "windows/celebration_form_win32.h"
#include "windows/picture_form_win32.h"
#include "windows/options_form_win32.h"
#include "windows/secondary_forms_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  gui::Application& application = gui::Application::Instance();
  application.Initialize();
  application.SetTitle(u"Quillora12.6");

  app::TForm1 Form1;
  windows::TForm2 Form2(Form1.OptionsSide());
  windows::TForm3 Form3;
  windows::TAboutBox AboutBox;
  windows::TForm5 Form5;
  windows::TForm6 Form6;
  windows::SecondaryForm Form7(gui::FormSpec{u"TForm7", u"Form7", 400, 300}, true);  // nothing opens it
  windows::Tform8 Form8;

  Form1.Create();
  const windows::ScaleRoutine scale = [&Form1](gui::Form& form) { Form1.ScaleForm(form); };
  // The options dialog's creation switches on the saved features.
  Form1.SetOptionsDialog(&Form2);
  Form2.Create(scale);
  Form3.Create(scale);
  Form1.SetEntryViewer(&Form3);
  AboutBox.Create(scale);
  Form5.SetHooks(Form1.PictureWindowHooks());
  Form5.Create(scale);
  Form1.AttachPictureWindow(Form5);
  Form6.Create(scale);
  Form1.SetFormattedView(&Form6);
  Form7.Create(scale);
  Form8.Create(scale);
  Form1.SetHelpWindows(&Form8, &AboutBox);

  // Shown and hidden once, so that its embedded view exists before first use.
  Form6.Show();
  Form6.Hide();

  Form1.Show();
  return application.Run();
}
