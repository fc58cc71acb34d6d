// The Explorer display options against the registry of the prefix: the values after each
// click when the key is there; a message and no key made when it is not. "显示桌面（系统）"
// minimises another program's window.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "explorer_driver.h"
#include "program_fixture.h"

using namespace std::chrono_literals;

namespace e2e {
namespace {

constexpr wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

std::optional<DWORD> ReadValue(const wchar_t* name) {
  DWORD value = 0, size = sizeof value, type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kAdvanced, name, RRF_RT_REG_DWORD, &type, &value, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

bool KeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kAdvanced, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void SetValue(const wchar_t* name, DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kAdvanced, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

// The test starts the program only after it has laid out the registry.
class ExplorerOptions : public ProgramTest {
 protected:
  void SetUp() override {}
  void Start() { ProgramTest::SetUp(); }
  void TearDown() override {
    ProgramTest::TearDown();
    CloseFolderWindows();
    SetValue(L"HideFileExt", 1);  // the key stays for the tests after this one
  }
  bool ValueBecomes(const wchar_t* name, DWORD value) {
    return WaitUntil([&] { return ReadValue(name) == value; }, 15s);
  }
};

TEST_F(ExplorerOptions, SwitchesWriteTheirValuesEachClick) {
  SetValue(L"HideFileExt", 1);
  SetValue(L"Hidden", 2);
  SetValue(L"ShowSuperHidden", 0);
  Start();
  ASSERT_TRUE(ChooseMenuRow(main_, L"显示扩展名"));
  EXPECT_TRUE(ValueBecomes(L"HideFileExt", 0));
  ASSERT_TRUE(ChooseMenuRow(main_, L"显示扩展名"));
  EXPECT_TRUE(ValueBecomes(L"HideFileExt", 1));
  ASSERT_TRUE(ChooseMenuRow(main_, L"显示隐藏文件"));
  EXPECT_TRUE(ValueBecomes(L"Hidden", 1));
  EXPECT_TRUE(ValueBecomes(L"ShowSuperHidden", 1));
  ASSERT_TRUE(ChooseMenuRow(main_, L"显示隐藏文件"));
  EXPECT_TRUE(ValueBecomes(L"Hidden", 2));
  EXPECT_TRUE(ValueBecomes(L"ShowSuperHidden", 0));
}

TEST_F(ExplorerOptions, AMissingKeyIsReportedAndNotMade) {
  RegDeleteKeyW(HKEY_CURRENT_USER, kAdvanced);
  ASSERT_FALSE(KeyExists());
  Start();
  ASSERT_TRUE(ChooseMenuRow(main_, L"显示扩展名"));
  ASSERT_TRUE(WaitUntil([&] { return AnswerMessageBox(program_.ProcessId(), L"打开显示扩展名项失败", IDOK); }, 15s));
  ASSERT_TRUE(ChooseMenuRow(main_, L"显示隐藏文件"));
  ASSERT_TRUE(WaitUntil([&] { return AnswerMessageBox(program_.ProcessId(), L"打开显示系统隐藏文件项失败", IDOK); }, 15s));
  EXPECT_FALSE(KeyExists());
}

LRESULT CALLBACK PlainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd, msg, wp, lp); }

TEST_F(ExplorerOptions, ShowDesktopMinimisesAnotherProgramsWindow) {
  Start();
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuilloraE2EOtherProgram";
  RegisterClassW(&wc);
  HWND other = CreateWindowExW(0, wc.lpszClassName, L"另一个程序", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                               nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(other, nullptr);
  HWND taskBar = FindWindowW(L"Shell_TrayWnd", nullptr);
  ASSERT_NE(taskBar, nullptr);
  ASSERT_TRUE(ChooseMenuRow(main_, L"显示桌面（系统）"));
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(other) != FALSE && IsIconic(main_) != FALSE; }, 10s));
  // The task bar stays, with the tray icon on it.
  WaitUntil([] { return false; }, 300ms);
  const bool taskBarMinimised = IsIconic(taskBar) != FALSE;
  if (taskBarMinimised) ShowWindow(taskBar, SW_RESTORE);  // for the tests that follow
  EXPECT_FALSE(taskBarMinimised);
  DestroyWindow(other);
}

}  // namespace
}  // namespace e2e
