// The about box as a user works with it: opened from the help menu at its own size, the
// product name copied by a double click (and captured like any copy), the e-mail address
// copied by a click and written to by a double click, the web page opened by a click, closed
// with OK. The mail program and the browser are a recorder registered for their schemes.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "program_fixture.h"
#include "screen_shot.h"

namespace e2e {
namespace {

constexpr wchar_t kEmail[] = L"quillora@example.com";
constexpr wchar_t kWebPage[] = L"https://www.example.com/quillora/";

std::filesystem::path ExeFolder() {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  return std::filesystem::path(exe).parent_path();
}

// Makes the recorder the scheme's handler for the prefix (this Wine reads classes from the
// machine's part only); the handler before it comes back on destruction.
class SchemeRecorder {
 public:
  SchemeRecorder(const std::wstring& scheme, const std::filesystem::path& record)
      : key_(scheme + L"\\shell\\open\\command") {
    const std::filesystem::path recorder = ExeFolder().parent_path() / "tools" / "windows_open_recorder_win32.exe";
    const std::wstring command = L"\"" + recorder.wstring() + L"\" \"" + record.wstring() + L"\" \"%1\"";
    wchar_t old[1024] = {};
    DWORD size = sizeof old - sizeof(wchar_t);
    had_ = RegGetValueW(HKEY_CLASSES_ROOT, key_.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, old, &size) == ERROR_SUCCESS;
    old_ = old;
    Set(command);
  }
  ~SchemeRecorder() {
    if (had_) {
      Set(old_);
    } else {
      RegDeleteKeyW(HKEY_CLASSES_ROOT, key_.c_str());
    }
  }

 private:
  void Set(const std::wstring& command) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  std::wstring key_, old_;
  bool had_ = false;
};

void Click(HWND control) {
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

void DoubleClick(HWND control) {
  Click(control);
  SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

class AboutBoxTest : public ProgramTest {
 protected:
  std::vector<std::wstring> Recorded() const {
    std::vector<std::wstring> lines;
    const std::string text = ReadFile(record_);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(start, end - start);
      const int n = MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
      std::wstring wide(static_cast<size_t>(n), L'\0');
      MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(), n);
      lines.push_back(wide);
      start = end + 1;
    }
    return lines;
  }
  bool ListHas(const std::wstring& text) const {
    const std::vector<std::wstring> rows = ListRows(list_);
    return std::find(rows.begin(), rows.end(), text) != rows.end();
  }
  std::filesystem::path record_ = folder_ / "opened.txt";
};

TEST_F(AboutBoxTest, CopiesOpensAndCloses) {
  record_ = folder_ / "opened.txt";
  SchemeRecorder mailProgram(L"mailto", record_), browser(L"https", record_);

  ASSERT_TRUE(ChooseMenuRow(main_, L"关于"));
  HWND about = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    about = FindProcessWindow(program_.ProcessId(), L"TAboutBox");
    return about && IsWindowVisible(about);
  }, std::chrono::seconds(10)));
  EXPECT_EQ(WindowText(about), L"About");
  RECT r{};
  GetWindowRect(about, &r);
  EXPECT_EQ(r.right - r.left, 380);  // never scaled
  EXPECT_EQ(r.bottom - r.top, 250);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ScreenShot::OfWindow(about).Save("about_box");

  HWND name = FindWindowExW(about, nullptr, L"Static", L"Quillora12.6");
  HWND comments = FindWindowExW(about, nullptr, L"Static", L"电子邮件：quillora@example.com（双击打开，单击复制）");
  HWND web = FindWindowExW(about, nullptr, L"Static", kWebPage);
  HWND ok = FindWindowExW(about, nullptr, L"Button", L"OK");
  ASSERT_TRUE(name && comments && web && ok);

  // The product name, by a double click: on the clipboard and, as any copy, in the list.
  DoubleClick(name);
  EXPECT_TRUE(WaitUntil([&] { return ReadClipboardText() == std::wstring(L"Quillora12.6"); }, std::chrono::seconds(5)));
  EXPECT_TRUE(WaitUntil([&] { return ListHas(L"Quillora12.6"); }, std::chrono::seconds(5)));

  // The e-mail line: a click copies the address.
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  Click(comments);
  EXPECT_TRUE(WaitUntil([&] { return ReadClipboardText() == std::wstring(kEmail); }, std::chrono::seconds(5)));
  EXPECT_TRUE(WaitUntil([&] { return ListHas(kEmail); }, std::chrono::seconds(5)));

  // A double click writes a mail: the shell hands "mailto:" to the registered program.
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  DoubleClick(comments);
  EXPECT_TRUE(WaitUntil([&] { return Recorded().size() >= 1; }, std::chrono::seconds(10)));
  // The web line opens its page the same way.
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  Click(web);
  EXPECT_TRUE(WaitUntil([&] { return Recorded().size() >= 2; }, std::chrono::seconds(10)));
  const std::vector<std::wstring> opened = Recorded();
  EXPECT_EQ(opened, (std::vector<std::wstring>{std::wstring(L"mailto:") + kEmail, kWebPage}));

  Click(ok);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(about); }, std::chrono::seconds(5)));
  // Still there for the next time.
  ASSERT_TRUE(ChooseMenuRow(main_, L"关于"));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(about) != FALSE; }, std::chrono::seconds(5)));
}

}  // namespace
}  // namespace e2e
