// The about box as a user works with it: opened from the help menu at its own size, the
// product name copied by a double click (and captured like any copy), the e-mail address
// copied by a click and written to by a double click, the web page opened by a click, closed
// with OK. The mail program and the browser are a recorder registered for their schemes.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "open_recorder.h"
#include "program_fixture.h"
#include "screen_shot.h"

namespace e2e {
namespace {

constexpr wchar_t kEmail[] = L"quillora@example.com";
constexpr wchar_t kWebPage[] = L"https://www.example.com/quillora/";

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
