// The folder dialog hands back the folder chosen, and nothing on Cancel. (Which folder it
// opens on is left to the shell: under Wine the tree does not always reach a deep folder.)
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "gui/file_dialogs.h"

namespace {

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lp) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindDialogOfThisProcess() {
  HWND found = nullptr;
  EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Presses a button of the dialog once it shows.
void PressWhenShown(int button, std::atomic<bool>& pressed) {
  for (int i = 0; i < 600; ++i) {
    if (HWND dialog = FindDialogOfThisProcess()) {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      pressed = true;
      return;
    }
    Sleep(50);
  }
}

TEST(BrowseForFolder, OkGivesTheChosenFolderAndCancelNothing) {
  CoInitialize(nullptr);
  const std::filesystem::path initial = std::filesystem::path(QUILL_SCRATCH_DIR) / L"选择的文件夹";
  std::filesystem::create_directories(initial);
  const std::u16string initialText(reinterpret_cast<const char16_t*>(initial.wstring().c_str()));

  std::atomic<bool> pressed{false};
  std::thread ok(PressWhenShown, IDOK, std::ref(pressed));
  std::u16string folder = u"unchanged";
  gui::BrowseForFolder(nullptr, u"请选择文件夹", initialText, folder);
  ok.join();
  ASSERT_TRUE(pressed);
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(std::wstring(folder.begin(), folder.end()))));

  pressed = false;
  std::thread cancel(PressWhenShown, IDCANCEL, std::ref(pressed));
  gui::BrowseForFolder(nullptr, u"请选择文件夹", initialText, folder);
  cancel.join();
  EXPECT_TRUE(folder.empty());
  CoUninitialize();
}

}  // namespace
