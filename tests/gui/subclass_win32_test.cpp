// Layers over a window's procedure: called from the top down, each passing on to the one below
// and finally to the window's own procedure; a layer may take itself away while it runs, and
// with the last one gone the window has its own procedure again.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "gui/subclass.h"

namespace {

constexpr UINT kProbe = WM_APP + 7;
std::string g_trace;

LRESULT CALLBACK OwnProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kProbe) {
    g_trace += "own;";
    return 1;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK Layer(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  if (msg != kProbe) return gui::CallNextSubclass(hwnd, msg, wp, lp);
  g_trace += std::to_string(id) + ":" + std::to_string(data) + ";";
  // Layer 3 takes itself away the first time it sees a probe with wp 1.
  if (id == 3 && wp == 1) gui::RemoveSubclass(hwnd, &Layer, id);
  // Layer 2 sends a second probe to its own window: it runs through every layer from the top.
  if (id == 2 && wp == 2) {
    g_trace += "[";
    SendMessageW(hwnd, kProbe, 0, 0);
    g_trace += "]";
  }
  return gui::CallNextSubclass(hwnd, msg, wp, lp) + 1;
}

// The layers a probe ran through, and what it returned.
std::string Probe(HWND hwnd, WPARAM wp) {
  g_trace.clear();
  const LRESULT result = SendMessageW(hwnd, kProbe, wp, 0);
  return g_trace + " = " + std::to_string(result);
}

TEST(Subclass, LayersRunFromTheTopAndComeOffEvenWhileRunning) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = OwnProcedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SubclassTestWindow";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr);

  ASSERT_TRUE(gui::InstallSubclass(hwnd, &Layer, 1, 10));
  ASSERT_TRUE(gui::InstallSubclass(hwnd, &Layer, 2, 20));
  ASSERT_TRUE(gui::InstallSubclass(hwnd, &Layer, 3, 30));
  ASSERT_TRUE(gui::InstallSubclass(hwnd, &Layer, 1, 11));  // the same layer takes new data only
  EXPECT_EQ(Probe(hwnd, 0), "3:30;2:20;1:11;own; = 4");

  // Layer 3 comes off while it runs and still passes the message on.
  EXPECT_EQ(Probe(hwnd, 1), "3:30;2:20;1:11;own; = 4");
  EXPECT_EQ(Probe(hwnd, 0), "2:20;1:11;own; = 3");

  // A message sent from within a layer starts at the top again, and the outer one goes on
  // below the layer that sent it.
  EXPECT_EQ(Probe(hwnd, 2), "2:20;[2:20;1:11;own;]1:11;own; = 3");

  EXPECT_FALSE(gui::RemoveSubclass(hwnd, &Layer, 3));
  EXPECT_TRUE(gui::RemoveSubclass(hwnd, &Layer, 2));
  EXPECT_TRUE(gui::RemoveSubclass(hwnd, &Layer, 1));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)), &OwnProcedure);

  // A window destroyed with its layers on forgets them: a new window may get the same handle.
  ASSERT_TRUE(gui::InstallSubclass(hwnd, &Layer, 5, 50));
  EXPECT_TRUE(DestroyWindow(hwnd));
  EXPECT_FALSE(gui::RemoveSubclass(hwnd, &Layer, 5));
}

}  // namespace
