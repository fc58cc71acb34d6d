// A full non-client paint of a 1024 x 768 window with the main window's menu bar, skinned
// with the shipped skin 2 (frame, caption with its buttons and icon, the skinned menu bar),
// beside the system's own paint of the same window in the classic look. Each figure is the
// median of many WM_NCPAINT messages handled in the process.
//   skin_nc_paint_win32 [paints]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/mainform/main_menus.h"
#include "gui/application.h"
#include "gui/form.h"
#include "gui/menu.h"
#include "gui/wide.h"
#include "skin/skin_engine_win32.h"

namespace {

class PaintForm : public gui::Form {
 public:
  gui::Menu bar;

 protected:
  void CreateControls() override {
    bar.Build(gui::Menu::Kind::Bar, app::MainMenu1Rows(), 100);
    SetMenuBar(bar);
    bar.SetVisible(u"qidongyincang", false);
  }
};

double MedianPaintMs(HWND hwnd, int paints) {
  std::vector<double> times;
  for (int i = 0; i < paints; ++i) {
    const auto start = std::chrono::steady_clock::now();
    SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    GdiFlush();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void Pump(int ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(ms)) {
    gui::Application::Instance().ProcessMessages();
    Sleep(5);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int paints = argc > 1 ? std::max(10, std::atoi(argv[1])) : 500;
  gui::Application::Instance().Initialize();
  PaintForm form;
  form.Create({u"TPaintForm", u" Quillora12.6", 1024, 768, WS_OVERLAPPEDWINDOW});
  form.SetBounds(0, 0, 1024, 768);
  form.Show();
  SetForegroundWindow(form.Handle());
  Pump(300);
  const double classic = MedianPaintMs(form.Handle(), paints);

  skin::TSkinData data;
  data.SkinControls = {skin::xcMainMenu, skin::xcPopupMenu, skin::xcButton, skin::xcPanel, skin::xcSystemMenu};
  skin::LoadedSkinData(data);
  data.SetSkinFile(gui::U(std::wstring(QUILL_DATA_DIR_W) + L"\\皮肤\\mxskin2.skn"));
  data.SetActive(true);
  // The window is skinned when it is next activated.
  SetForegroundWindow(GetDesktopWindow());
  Pump(100);
  SetActiveWindow(form.Handle());
  SetForegroundWindow(form.Handle());
  Pump(600);
  if (SendMessageW(form.Handle(), skin::kMsgIsSkinned, 0, 0) != 1) {
    std::fprintf(stderr, "the window was not skinned\n");
    return 1;
  }
  form.SetBounds(0, 0, 1024, 768);
  Pump(200);
  RECT w{};
  GetWindowRect(form.Handle(), &w);
  const double skinned = MedianPaintMs(form.Handle(), paints);
  std::printf("window %ld x %ld, median of %d paints\n", w.right - w.left, w.bottom - w.top, paints);
  std::printf("classic (the system's paint): %6.3f ms\n", classic);
  std::printf("skin 2 (the skin's paint):    %6.3f ms\n", skinned);
  data.SetActive(false);
  skin::TSkinManage::Existing()->WaitForPendingAction(1000);
  skin::TSkinManage::Shutdown();
  return 0;
}
