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

  // Holding (From::Now), or in the viewer chain waiting for the change (From::NextChange).
  bool WaitUntilReady() { return e2e::WaitUntil([&] { return ready_.load(); }, 20s); }
  bool Held() const { return held_; }
  void Release() {
    released_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  // The next change is heard in the viewer chain, ahead of the program: its notice comes here
  // from inside the program's CloseClipboard, and the clipboard is taken before the program
  // goes on to its next opening (a race the program would mostly win otherwise).
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ClipboardHolder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_DRAWCLIPBOARD) {
      if (!self->held_ && GetClipboardSequenceNumber() != self->before_) self->held_ = OpenClipboard(hwnd) != FALSE;
      if (self->next_) SendMessageW(self->next_, msg, wp, lp);
      return 0;
    }
    if (msg == WM_CHANGECBCHAIN) {
      if (reinterpret_cast<HWND>(wp) == self->next_) {
        self->next_ = reinterpret_cast<HWND>(lp);
      } else if (self->next_) {
        SendMessageW(self->next_, msg, wp, lp);
      }
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  void Run(From from) {
    HWND window = e2e::CreateHiddenWindow(L"QuilloraE2EClipboardHolder", Proc);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const auto end = std::chrono::steady_clock::now() + 40s;
    if (from == From::NextChange) {
      next_ = SetClipboardViewer(window);
    } else {
      while (!(held_ = OpenClipboard(window) != FALSE) && std::chrono::steady_clock::now() < end) Sleep(10);
    }
    ready_ = true;
    // The program's messages (the chain's, the X11 driver's question to the clipboard's owner)
    // are answered while the clipboard is held.
    while (!released_ && std::chrono::steady_clock::now() < end) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    if (held_) CloseClipboard();
    if (from == From::NextChange) ChangeClipboardChain(window, next_);
    DestroyWindow(window);
  }

  const DWORD before_;
  HWND next_ = nullptr;
  std::atomic<bool> held_{false}, released_{false}, ready_{false};
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
  ASSERT_TRUE(holder.WaitUntilReady() && holder.Held());
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
    ASSERT_TRUE(holder.WaitUntilReady());
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
