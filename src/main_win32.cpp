// Program entry: the window framework, the windows in their order, the message loop.
// No command line is read and there is no single-instance test.
#include <windows.h>

#include "app/mainform/main_form_win32.h"
#include "app/startup/secondary_windows_win32.h"
#include "gui/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  gui::Application& application = gui::Application::Instance();
  application.Initialize();
  application.SetTitle(u"Quillora12.6");

  app::TForm1 Form1;
  app::SecondaryWindows secondaryWindows(Form1);
  Form1.Create();
  // The other windows' effects on the main window come before it shows; the windows themselves
  // are made when the program is first idle, or sooner when one is needed.
  secondaryWindows.Start();

  Form1.Show();
  // Once the window is up: the tray icon first, then the secondary windows one by one.
  application.SetIdleWork(
      [&Form1, &secondaryWindows] { return Form1.StartTrayIcon() || secondaryWindows.MakeNext(); });
  return application.Run();
}
