// The folder dialog opens on the folder it is given and hands back the folder chosen.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
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

// The text of the folder the dialog's tree has selected (the dialog is in this process).
std::wstring SelectedFolderName(HWND dialog) {
  HWND tree = FindWindowExW(dialog, nullptr, L"SysTreeView32", nullptr);
  if (!tree) return {};
  HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return {};
  wchar_t text[MAX_PATH] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = MAX_PATH;
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return text;
}

// Presses a button of the dialog once it shows (and, when given, has selected that folder).
void PressWhenShown(int button, const std::wstring& selected, std::atomic<bool>& pressed) {
  for (int i = 0; i < 400 && !pressed; ++i) {
    HWND dialog = FindDialogOfThisProcess();
    if (dialog && (selected.empty() || SelectedFolderName(dialog) == selected)) {
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
      pressed = true;
      return;
    }
    Sleep(50);
  }
}

TEST(BrowseForFolder, OkGivesTheInitialFolderAndCancelNothing) {
  CoInitialize(nullptr);
  const std::filesystem::path initial = std::filesystem::path(QUILL_SCRATCH_DIR) / L"选择的文件夹";
  std::filesystem::create_directories(initial);
  const std::u16string initialText(reinterpret_cast<const char16_t*>(initial.wstring().c_str()));

  std::atomic<bool> pressed{false};
  std::thread ok(PressWhenShown, IDOK, std::wstring(L"选择的文件夹"), std::ref(pressed));
  std::u16string folder = u"unchanged";
  gui::BrowseForFolder(nullptr, u"请选择文件夹", initialText, folder);
  ok.join();
  ASSERT_TRUE(pressed);
  EXPECT_EQ(std::filesystem::path(std::wstring(folder.begin(), folder.end())), initial);

  pressed = false;
  std::thread cancel(PressWhenShown, IDCANCEL, std::wstring(), std::ref(pressed));
  gui::BrowseForFolder(nullptr, u"请选择文件夹", initialText, folder);
  cancel.join();
  EXPECT_TRUE(folder.empty());
  CoUninitialize();
}

}  // namespace
