// Another program keeps the clipboard open longer than the program waits for it: a row click
// that cannot put its entry back, and a formatted view that cannot paste, say so instead of
// leaving the old content (or an empty view) behind without a word.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "program_fixture.h"

using namespace std::chrono_literals;

namespace {

constexpr wchar_t kEntryNotPut[] = L"剪切板被其他程序占用，条目没有放到剪切板上。";
constexpr wchar_t kViewNotShown[] = L"剪切板被其他程序占用，无法显示带格式的内容。";
constexpr wchar_t kViewCaption[] = L"用带格式的浏览器查看当前文本";

// The other program: a window on a thread of the test process of its own, which opens the
// clipboard (at once, or as soon as the clipboard changes next) and keeps it open until the
// test lets it go. The test's thread stays free to answer the program and read its boxes.
class ClipboardHolder {
 public:
  enum class From { Now, NextChange };

  explicit ClipboardHolder(From from) : before_(GetClipboardSequenceNumber()) {
    thread_ = std::thread([this, from] { Run(from); });
  }
  ~ClipboardHolder() { Release(); }

  bool WaitUntilHeld() { return e2e::WaitUntil([&] { return held_.load(); }, 20s); }
  void Release() {
    released_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  void Run(From from) {
    HWND window = e2e::CreateHiddenWindow(L"QuilloraE2EClipboardHolder", DefWindowProcW);
    const auto end = std::chrono::steady_clock::now() + 40s;
    const auto waiting = [&] { return !released_ && std::chrono::steady_clock::now() < end; };
    // Busy waits: the program goes from its write to its next opening of the clipboard quickly.
    while (from == From::NextChange && GetClipboardSequenceNumber() == before_ && waiting()) {
    }
    while (!(held_ = OpenClipboard(window) != FALSE) && waiting()) {
    }
    while (waiting()) Sleep(20);
    if (held_) CloseClipboard();
    DestroyWindow(window);
  }

  const DWORD before_;
  std::atomic<bool> held_{false}, released_{false};
  std::thread thread_;
};

class HeldClipboard : public e2e::ProgramTest {
 protected:
  // Waits for a box of the program with this text while the clipboard is still held.
  bool BoxComes(const std::wstring& text) {
    return e2e::WaitUntil([&] {
      for (const std::wstring& box : e2e::MessageBoxTexts(program_.ProcessId())) {
        if (box == text) return true;
      }
      return false;
    }, 20s);
  }
  HWND View() { return e2e::FindProcessWindow(program_.ProcessId(), L"TForm6"); }
};

TEST_F(HeldClipboard, ARowClickThatCannotPutItsEntryBackSaysSo) {
  Copy(L"要放回剪切板的条目");
  const std::wstring current = L"剪切板上现在的文本";
  Copy(current);
  ClipboardHolder holder(ClipboardHolder::From::Now);
  ASSERT_TRUE(holder.WaitUntilHeld());
  // The click's handler waits, then shows its box: it is sent from a thread of its own.
  std::thread click([&] { e2e::ClickListRow(list_, 1); });
  const bool reported = BoxComes(kEntryNotPut);
  holder.Release();
  EXPECT_TRUE(reported) << "no message for the entry that did not reach the clipboard";
  e2e::AnswerMessageBox(program_.ProcessId(), kEntryNotPut, IDOK);
  click.join();
  EXPECT_EQ(e2e::ReadClipboardText(), current);
}

TEST_F(HeldClipboard, AFormattedViewThatCannotPasteSaysSoAndStaysShut) {
  Copy(L"带格式查看的条目");
  // Held from the moment the command has put the entry on the clipboard: the view's paste
  // gives up; and held before the command: the entry does not reach the clipboard at all.
  for (const ClipboardHolder::From from : {ClipboardHolder::From::NextChange, ClipboardHolder::From::Now}) {
    e2e::OpenListRowMenu(list_, 1);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::OpenContextMenuRowRect(main_, kViewCaption).has_value(); }, 10s));
    ClipboardHolder holder(from);
    if (from == ClipboardHolder::From::Now) {
      ASSERT_TRUE(holder.WaitUntilHeld());
    }
    ASSERT_TRUE(e2e::ChooseContextMenuRow(main_, kViewCaption));
    const bool reported = BoxComes(kViewNotShown);
    const bool viewShown = View() && IsWindowVisible(View());
    holder.Release();
    ASSERT_TRUE(reported) << "no message for the view that could not show the entry"
                          << (viewShown ? " (the view is open)" : "");
    EXPECT_FALSE(viewShown) << "an empty view was left open";
    e2e::AnswerMessageBox(program_.ProcessId(), kViewNotShown, IDOK);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::MessageBoxTexts(program_.ProcessId()).empty(); }, 10s));
  }
}

}  // namespace
