// The program's place in the clipboard viewer chain: another viewer joined after it keeps
// getting every change while the program leaves and rejoins (monitoring off and on); a
// clipboard that another program keeps locked does not hang the window, and the change is
// caught up by the check timer; no program can take it between the program's read of the text
// and its snapshot; large clipboards do not stall the message loop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <utility>

#include "clipboard_driver.h"
#include "keyboard_input.h"
#include "late_owner.h"
#include "program_driver.h"

using namespace std::chrono_literals;

namespace {

// WM_CHANGECBCHAIN as every viewer must take it: its successor leaves, or the news goes on.
LRESULT PassChainChangeOn(HWND& next, WPARAM removed, LPARAM successor) {
  if (reinterpret_cast<HWND>(removed) == next) next = reinterpret_cast<HWND>(successor);
  else if (next) SendMessageW(next, WM_CHANGECBCHAIN, removed, successor);
  return 0;
}

// A second clipboard viewer in the test process that counts the changes it is told of and
// passes them on, as every viewer must.
class SecondViewer {
 public:
  SecondViewer() {
    window_ = e2e::CreateHiddenWindow(L"QuilloraE2ESecondViewer", Proc);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    next_ = SetClipboardViewer(window_);
  }
  ~SecondViewer() {
    ChangeClipboardChain(window_, next_);
    DestroyWindow(window_);
  }
  int changes() const { return changes_; }
  // While set, the next change is passed on with the clipboard held open by this viewer.
  bool holdClipboard = false;
  std::chrono::steady_clock::duration passedOnAfter{};

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<SecondViewer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_DRAWCLIPBOARD) {
      ++self->changes_;
      if (self->holdClipboard && OpenClipboard(hwnd)) {
        // Pass the change on while this viewer keeps the clipboard open: the program meets
        // a clipboard it cannot open, and must give up in bounded time.
        self->holdClipboard = false;
        const auto started = std::chrono::steady_clock::now();
        if (self->next_) SendMessageW(self->next_, msg, wp, lp);
        self->passedOnAfter = std::chrono::steady_clock::now() - started;
        CloseClipboard();
        return 0;
      }
      if (self->next_) SendMessageW(self->next_, msg, wp, lp);
      return 0;
    }
    if (self && msg == WM_CHANGECBCHAIN) return PassChainChangeOn(self->next_, wp, lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  HWND window_ = nullptr;
  HWND next_ = nullptr;
  int changes_ = 0;
};

// A clipboard viewer on a thread of its own: it counts the changes it is told of, and those
// told while it was still passing one on (the chain looped back to it), which it does not pass
// on again (a viewer without such a guard recurses until its stack ends), and the chain's news
// (a viewer leaving or joining again). It can hold the first change after Hold() until
// Release(). One made to crash goes away without leaving the chain.
class ThreadedViewer {
 public:
  enum class End { LeaveTheChain, Crash };
  explicit ThreadedViewer(End end = End::LeaveTheChain) : end_(end) {
    thread_ = std::thread([this] { Run(); });
    while (!ready_) Sleep(10);
  }
  ~ThreadedViewer() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  int changes() const { return changes_; }
  int nested() const { return nested_; }
  int chainNews() const { return chainNews_; }
  // Posted: the notification of the viewer's own joining comes first.
  void Hold() { PostMessageW(window_, kHold, 0, 0); }
  void Release() { PostMessageW(window_, kRelease, 0, 0); }
  bool holding() const { return held_; }

 private:
  static constexpr UINT kHold = WM_APP + 1, kRelease = WM_APP + 2;
  void Run() {
    threadId_ = GetCurrentThreadId();
    window_ = e2e::CreateHiddenWindow(L"QuilloraE2EThreadedViewer", Proc);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    next_ = SetClipboardViewer(window_);
    changes_ = 0;  // the notification of its own joining
    ready_ = true;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    if (end_ == End::LeaveTheChain) ChangeClipboardChain(window_, next_);
    DestroyWindow(window_);
  }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ThreadedViewer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == kHold) {
      self->hold_ = true;
      return 0;
    }
    if (self && msg == kRelease) {
      if (self->held_.exchange(false) && self->next_) SendMessageW(self->next_, WM_DRAWCLIPBOARD, 0, 0);
      return 0;
    }
    if (self && msg == WM_DRAWCLIPBOARD) {
      ++self->changes_;
      if (std::exchange(self->hold_, false)) {
        self->held_ = true;
        return 0;
      }
      if (self->passingOn_) {
        ++self->nested_;
        return 0;
      }
      self->passingOn_ = true;
      if (self->next_) SendMessageW(self->next_, msg, wp, lp);
      self->passingOn_ = false;
      return 0;
    }
    if (self && msg == WM_CHANGECBCHAIN) {
      ++self->chainNews_;
      return PassChainChangeOn(self->next_, wp, lp);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  const End end_;
  std::thread thread_;
  DWORD threadId_ = 0;
  std::atomic<bool> ready_{false};
  HWND window_ = nullptr;
  HWND next_ = nullptr;
  bool passingOn_ = false, hold_ = false;
  std::atomic<bool> held_{false};
  std::atomic<int> changes_{0}, nested_{0}, chainNews_{0};
};

// The owner of a copy whose text is made when a program first reads it.
const std::wstring kLateNewsText = L"通知来迟的复制";
std::atomic<bool> g_lateNewsAsked{false};
LRESULT CALLBACK RenderLateNewsText(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_RENDERFORMAT || wp != CF_UNICODETEXT) return DefWindowProcW(hwnd, msg, wp, lp);
  const size_t bytes = (kLateNewsText.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  memcpy(GlobalLock(block), kLateNewsText.c_str(), bytes);
  GlobalUnlock(block);
  SetClipboardData(CF_UNICODETEXT, block);
  g_lateNewsAsked = true;
  return 0;
}

// The owner of a copy whose text and one more format are made when a program first reads
// them: the check timer's read of the text, then the read of the missed copy's snapshot.
const std::wstring kMissedText = L"检查定时器找到的复制";
std::atomic<bool> g_missedTextAsked{false}, g_missedSnapshotAsked{false};
UINT SnapshotOnlyFormat() { return RegisterClipboardFormatW(L"Quillora E2E Missed Copy Format"); }
LRESULT CALLBACK RenderMissedCopy(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_RENDERFORMAT) return DefWindowProcW(hwnd, msg, wp, lp);
  const std::string bytes = wp == CF_UNICODETEXT
                                ? std::string(reinterpret_cast<const char*>(kMissedText.c_str()),
                                              (kMissedText.size() + 1) * sizeof(wchar_t))
                                : std::string("made when asked");
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  SetClipboardData(static_cast<UINT>(wp), block);
  (wp == CF_UNICODETEXT ? g_missedTextAsked : g_missedSnapshotAsked) = true;
  return 0;
}

// Another program that promises its text and makes it `renderMs` after a reader asks, on a
// thread of its own (it answers everything else meanwhile).
class SlowTextOwner {
 public:
  SlowTextOwner(std::wstring text, DWORD renderMs) : text_(std::move(text)), renderMs_(renderMs) {
    thread_ = std::thread([this] { Run(); });
    while (!copied_) Sleep(10);
  }
  ~SlowTextOwner() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  bool asked() const { return asked_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<SlowTextOwner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || msg != WM_RENDERFORMAT || wp != CF_UNICODETEXT) return DefWindowProcW(hwnd, msg, wp, lp);
    self->asked_ = true;
    Sleep(self->renderMs_);
    const size_t bytes = (self->text_.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(block), self->text_.c_str(), bytes);
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    return 0;
  }
  void Run() {
    threadId_ = GetCurrentThreadId();
    HWND window = e2e::CreateHiddenWindow(L"QuilloraE2ESlowTextOwner", Proc);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (OpenClipboard(window)) {
      EmptyClipboard();
      SetClipboardData(CF_UNICODETEXT, nullptr);
      CloseClipboard();
    }
    copied_ = true;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(window);
  }
  const std::wstring text_;
  const DWORD renderMs_;
  std::thread thread_;
  DWORD threadId_ = 0;
  std::atomic<bool> copied_{false}, asked_{false};
};

// A viewer that joined after the program and passes nothing on. When the program leaves the
// chain to join again (the check timer's repair), it opens the clipboard and keeps it until
// LetGo(): the repair's put-back then waits.
std::atomic<bool> g_clipboardKept{false};
LRESULT CALLBACK SilentViewerKeepingTheClipboard(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CHANGECBCHAIN && !g_clipboardKept && OpenClipboard(hwnd)) g_clipboardKept = true;
  return msg == WM_CHANGECBCHAIN ? 0 : DefWindowProcW(hwnd, msg, wp, lp);
}

// Offers a text through delayed rendering: its bytes are made when a program first asks for
// them, and from then on a thread of the test takes the clipboard the moment that program
// lets it go. It keeps it for `hold`, or until `stored()` says that the program has stored
// the text already (it had taken its snapshot before the thread came in).
class LateHolder {
 public:
  LateHolder(std::chrono::milliseconds hold, std::function<bool()> stored) : hold_(hold), stored_(std::move(stored)) {
    window_ = e2e::CreateHiddenWindow(L"QuilloraE2ELateHolder", Proc);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~LateHolder() {
    if (thread_.joinable()) thread_.join();
    DestroyWindow(window_);
  }
  bool Offer(const std::wstring& text) {
    if (thread_.joinable()) thread_.join();
    text_ = text;
    requested_ = false;
    released_ = false;
    if (!OpenClipboard(window_)) return false;
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, nullptr);
    CloseClipboard();
    thread_ = std::thread([this] {
      // Busy waits: the program goes from its read of the text to its snapshot quickly.
      const auto end = std::chrono::steady_clock::now() + 20s;
      while (!requested_ && std::chrono::steady_clock::now() < end) {
      }
      bool opened = false;
      while (!(opened = OpenClipboard(nullptr)) && std::chrono::steady_clock::now() < end) {
      }
      const auto until = std::chrono::steady_clock::now() + hold_;
      while (opened && !stored_() && std::chrono::steady_clock::now() < until) Sleep(50);
      if (opened) CloseClipboard();
      released_ = true;
    });
    return true;
  }
  bool released() const { return released_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<LateHolder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_RENDERFORMAT && wp == CF_UNICODETEXT) {
      const size_t bytes = (self->text_.size() + 1) * sizeof(wchar_t);
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
      memcpy(GlobalLock(block), self->text_.c_str(), bytes);
      GlobalUnlock(block);
      SetClipboardData(CF_UNICODETEXT, block);
      self->requested_ = true;
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  std::chrono::milliseconds hold_;
  std::function<bool()> stored_;
  HWND window_ = nullptr;
  std::wstring text_;
  std::atomic<bool> requested_{false}, released_{false};
  std::thread thread_;
};

class ViewerChain : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = e2e::PrepareRuntimeFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    e2e::WriteFile(folder_ / "temp.txt", "exit record\r\n");
    ASSERT_TRUE(e2e::SetClipboardText(L"start"));
    ASSERT_TRUE(program_.Start(folder_));
    main_ = program_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    list_ = e2e::FindHistoryList(main_);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_) == std::vector<std::wstring>{L"exit record"}; }, 10s));
  }
  void TearDown() override {
    if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
    program_.WaitForExit(20s);
  }
  std::filesystem::path folder_;
  // The viewer holds the program's news of a copy whose text its owner makes when first read:
  // the check timer's read, which this waits for. The owner's window is the caller's to destroy.
  void CopyWithHeldNewsUntilTheTimerReadsIt(ThreadedViewer& viewer, HWND& owner) {
    viewer.Hold();
    e2e::WaitForIdle(main_, 5s);
    g_lateNewsAsked = false;
    owner = e2e::CreateHiddenWindow(L"QuilloraE2ELateNewsOwner", RenderLateNewsText);
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, nullptr);
    CloseClipboard();
    ASSERT_TRUE(e2e::WaitUntil([&] { return viewer.holding(); }, 5s));
    ASSERT_TRUE(e2e::WaitUntil([&] { return g_lateNewsAsked.load(); }, 12s)) << "the check timer did not read the copy";
  }

  e2e::RunningProgram program_;
  HWND main_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(ViewerChain, ALaterViewerGetsEveryChangeWhileTheProgramLeavesAndRejoins) {
  SecondViewer viewer;
  const int before = viewer.changes();
  ASSERT_TRUE(e2e::SetClipboardText(L"one"));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 2));

  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"(剪切板监视有效)"));  // monitoring off
  ASSERT_TRUE(e2e::WaitUntil([&] {
    const auto rows = e2e::ReadMenuBar(main_);
    const auto* row = e2e::FindMenuRow(rows, L"(剪切板监视有效)");
    return row && !row->checked;
  }, 10s));
  ASSERT_TRUE(e2e::SetClipboardText(L"two, while off"));
  e2e::WaitUntil([] { return false; }, 1s);
  EXPECT_EQ(e2e::ListRows(list_).size(), 2u);  // nothing is captured while monitoring is off
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"(剪切板监视有效)"));  // on again: the program rejoins
  ASSERT_TRUE(e2e::WaitUntil([&] {
    const auto* row = e2e::FindMenuRow(e2e::ReadMenuBar(main_), L"(剪切板监视有效)");
    return row && row->checked;
  }, 10s));
  ASSERT_TRUE(e2e::SetClipboardText(L"three"));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).back() == L"three"; }, 10s));

  EXPECT_EQ(viewer.changes() - before, 3);
  // Rejoining the chain shows the program what the clipboard holds now, so the text copied
  // while it was off is taken then, before the next copy.
  const auto rows = e2e::ListRows(list_);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2], L"two, while off");
  EXPECT_EQ(rows[3], L"three");
}

TEST_F(ViewerChain, SwitchesThatRejoinedTheChainLeaveALaterViewerEachChangeOnce) {
  // The program starts behind a viewer that then crashes: its successor is no window any more,
  // which Wine's ChangeClipboardChain refuses (the program stayed in the chain when it left so).
  {
    ThreadedViewer crashed(ThreadedViewer::End::Crash);
    PostMessageW(main_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program_.WaitForExit(20s));
    ASSERT_TRUE(program_.Start(folder_));
    main_ = program_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
    list_ = e2e::FindHistoryList(main_);
    e2e::WaitForIdle(main_, 5s);
  }
  // Monitoring off and on, stay on top on and off, picture monitoring off and on: each of them
  // made the program join the chain again while it was still in it.
  ThreadedViewer viewer;
  int copies = 0;
  const auto copy = [&](const std::wstring& text, bool captured) {
    ASSERT_TRUE(e2e::SetClipboardText(text));
    ++copies;
    if (captured) {
      ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).back() == text; }, 10s)) << e2e::Utf8(text);
    }
    e2e::WaitUntil([&] { return viewer.changes() >= copies; }, 5s);
    e2e::WaitForIdle(main_, 5s);
    EXPECT_EQ(viewer.changes(), copies) << "after " << e2e::Utf8(text);
  };
  const auto flip = [&](const std::wstring& caption) {
    const auto* before = e2e::FindMenuRow(e2e::ReadMenuBar(main_), caption);
    ASSERT_NE(before, nullptr);
    const bool checked = !before->checked;
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, caption));
    ASSERT_TRUE(e2e::WaitUntil([&] {
      const auto rows = e2e::ReadMenuBar(main_);
      const auto* row = e2e::FindMenuRow(rows, caption);
      return row && row->checked == checked;
    }, 10s));
    e2e::WaitForIdle(main_, 5s);
  };
  copy(L"viewer joined", true);
  int round = 0;
  for (const wchar_t* caption : {L"(剪切板监视有效)", L"(窗口保持最前面)", L"监视剪切板中的图片格式"}) {
    for (int twice = 0; twice < 2; ++twice) {
      flip(caption);
      const bool monitoringOff = round == 0;
      copy(L"copy " + std::to_wstring(++round), !monitoringOff);
    }
  }
  EXPECT_EQ(viewer.nested(), 0);
}

TEST_F(ViewerChain, ALockedClipboardDoesNotHangTheWindowAndIsCaughtUpLater) {
  SecondViewer viewer;
  viewer.holdClipboard = true;
  const size_t rows = e2e::ListRows(list_).size();
  ASSERT_TRUE(e2e::SetClipboardText(L"copied while locked"));
  // The program got the change while the clipboard was held, waited a bounded time and let
  // the notification go on; nothing was captured then.
  EXPECT_FALSE(viewer.holdClipboard);
  EXPECT_LT(viewer.passedOnAfter, 5s);
  EXPECT_EQ(e2e::ListRows(list_).size(), rows);
  // The window answers at once.
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer), 0);
  // Within a few check-timer ticks the missed text is captured.
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).back() == L"copied while locked"; }, 20s));
}

TEST_F(ViewerChain, NoOtherProgramComesBetweenTheReadOfACopyAndItsSnapshot) {
  // A long text makes the program's step from reading the text to its snapshot long; a holder
  // that takes the clipboard the moment the program lets it go after the read finds the copy
  // stored already: the clipboard stays open from the read through the snapshot. (Were it
  // opened again for the snapshot, the holder would keep it past the program's wait, and the
  // copy would come only with the check timer.)
  e2e::ChangeSettingsLines(folder_, {{1, "320000"}});
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"读入设置文件"));
  int rows = static_cast<int>(e2e::ListRows(list_).size());
  // Held longer than the program's bounded wait (2 s) for the clipboard.
  LateHolder holder(4s, [&] { return SendMessageW(list_, LB_GETCOUNT, 0, 0) > rows; });
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::wstring text = std::to_wstring(attempt) + L" 复制后剪切板被占用" + std::wstring(300000, L'长');
    ASSERT_TRUE(holder.Offer(text));
    ASSERT_TRUE(e2e::WaitUntil([&] { return holder.released(); }, 30s));
    EXPECT_EQ(e2e::ListRows(list_).back(), text.substr(0, 150)) << "attempt " << attempt;
    rows = static_cast<int>(e2e::ListRows(list_).size());
  }
}

TEST_F(ViewerChain, LargeClipboardsDoNotStallTheMessageLoop) {
  // A watcher in another thread measures how long the window takes to answer.
  std::atomic<bool> done{false};
  std::atomic<long long> worstMs{0};
  std::thread watcher([&] {
    while (!done) {
      const auto t0 = std::chrono::steady_clock::now();
      DWORD_PTR answer = 0;
      SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
      const long long ms =
          std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
      if (ms > worstMs) worstMs = ms;
      Sleep(20);
    }
  });

  std::vector<e2e::ClipFormat> many;
  const std::wstring text = L"一百种格式";
  many.push_back({CF_UNICODETEXT, L"", std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2)});
  for (int i = 0; i < 99; ++i) many.push_back({0, L"Quillora Test Format " + std::to_wstring(i), std::string(100 + i, 'x')});
  ASSERT_TRUE(e2e::SetClipboardFormats(many));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).back() == text; }, 20s));

  const std::wstring big = L"五十兆字节的格式";
  ASSERT_TRUE(e2e::SetClipboardFormats(
      {{CF_UNICODETEXT, L"", std::string(reinterpret_cast<const char*>(big.c_str()), (big.size() + 1) * 2)},
       {0, L"Quillora Test Large", std::string(50u << 20, 'L')}}));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).back() == big; }, 30s));
  done = true;
  watcher.join();
  EXPECT_LT(worstMs.load(), 1000) << "the window did not answer for " << worstMs << " ms";
  std::printf("longest wait for the window's answer: %lld ms\n", worstMs.load());
}

TEST_F(ViewerChain, TheCheckTimerTakesALateNotificationForAWorkingChain) {
  // The program's news of a copy comes late, while its check timer, which read the copy first,
  // looks whether a capture still comes: the chain works, so the copy is taken once and the
  // program stays in the chain as it was (it left and joined again, and turned away every
  // copy announced while it looked).
  ThreadedViewer viewer;
  const std::wstring& text = kLateNewsText;
  HWND owner = nullptr;
  CopyWithHeldNewsUntilTheTimerReadsIt(viewer, owner);
  if (HasFatalFailure()) return;
  e2e::WaitUntil([] { return false; }, 100ms);  // inside the timer's looks for a late capture
  viewer.Release();
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).back() == text; }, 10s));
  e2e::WaitUntil([] { return false; }, 1500ms);  // a needless repair would have run by now
  e2e::WaitForIdle(main_, 5s);
  EXPECT_EQ(e2e::ListRows(list_), (std::vector<std::wstring>{L"exit record", text}));
  EXPECT_EQ(viewer.chainNews(), 0) << "the program left the chain and joined again";
  DestroyWindow(owner);
}

TEST_F(ViewerChain, TheSessionsEndDuringTheCheckTimersLookKeepsTheCopyItRead) {
  // The program's news of a copy is held; its check timer reads the copy and then looks whether
  // a capture still comes. Windows ends the session during that look: the copy goes into the
  // exit record (it was written without it).
  ThreadedViewer viewer;
  HWND owner = nullptr;
  CopyWithHeldNewsUntilTheTimerReadsIt(viewer, owner);
  if (HasFatalFailure()) return;
  e2e::WaitUntil([] { return false; }, 100ms);
  ASSERT_TRUE(e2e::EndSessionAsWindowsDoes(main_));
  program_.Kill();  // as the system ends it
  main_ = nullptr;
  const std::string record = e2e::ReadFile(folder_ / "temp.txt");
  EXPECT_NE(record.find(e2e::Utf8(kLateNewsText)), std::string::npos) << "the exit record: " << record;
  EXPECT_NE(record.find("exit record"), std::string::npos) << record;
  viewer.Release();
  DestroyWindow(owner);
}

TEST_F(ViewerChain, AnotherCopyDuringTheCheckTimersLookIsTakenAfterTheMissedOne) {
  // A viewer that passes nothing on joins after the program, which misses every copy. The check
  // timer reads a missed copy, its snapshot, and looks a while for a late capture; another
  // program copies during that look. Both copies become rows: the missed one from its snapshot,
  // the other at a later tick (it was marked seen with the missed copy's store, and lost; before
  // that the repair read the clipboard again after the look and the missed copy was lost).
  HWND rude = e2e::CreateHiddenWindow(L"QuilloraE2ESilentViewer", DefWindowProcW);
  SetClipboardViewer(rude);
  g_missedTextAsked = g_missedSnapshotAsked = false;
  HWND owner = e2e::CreateHiddenWindow(L"QuilloraE2EMissedCopyOwner", RenderMissedCopy);
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, nullptr);
  SetClipboardData(SnapshotOnlyFormat(), nullptr);
  CloseClipboard();
  ASSERT_TRUE(e2e::WaitUntil([&] { return g_missedTextAsked.load(); }, 12s)) << "the check timer did not read the copy";
  // Its snapshot is read now or after the look; the copy below falls inside the look either way.
  e2e::WaitUntil([&] { return g_missedSnapshotAsked.load(); }, 150ms);
  e2e::WaitUntil([] { return false; }, 100ms);
  const std::wstring other = L"定时器查看期间的另一次复制";
  ASSERT_TRUE(e2e::SetClipboardText(other));
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).size() >= 3; }, 15s));
  EXPECT_EQ(e2e::ListRows(list_), (std::vector<std::wstring>{L"exit record", kMissedText, other}));
  ChangeClipboardChain(rude, nullptr);
  DestroyWindow(rude);
  DestroyWindow(owner);
}

TEST_F(ViewerChain, AMissedCopyWhoseSnapshotIsGivenUpIsStoredWhenItsNewsComesLate) {
  // The check timer reads a copy whose news is held; its owner renders a promised format late,
  // so the snapshot's read is given up. The news then comes: its capture is refused (the
  // clipboard as a given-up read found it is not read again), so the timer stores the copy as
  // it read it (it was left to that capture and lost).
  ThreadedViewer viewer;
  viewer.Hold();
  e2e::WaitForIdle(main_, 5s);
  const std::wstring text = L"快照读取被放弃的复制";
  e2e::LateOwner owner(text, e2e::LateOwner::Stall::RendersLate);
  ASSERT_TRUE(owner.WaitForCopy());
  ASSERT_TRUE(e2e::WaitUntil([&] { return viewer.holding(); }, 5s));
  ASSERT_TRUE(owner.WaitForRenderAsked(12s)) << "the check timer did not read the copy's snapshot";
  e2e::WaitUntil([] { return false; }, 1s);  // the read waits for the render
  viewer.Release();
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).size() == 2; }, 8s));
  EXPECT_EQ(e2e::ListRows(list_), (std::vector<std::wstring>{L"exit record", text}));
  owner.End();
}

TEST_F(ViewerChain, TheSessionsEndWhileTheCheckTimerReadsATextStoresNothingAfterTheExitRecord) {
  // Windows ends the session while the check timer waits for a missed copy's text: the steps of
  // the end write the exit record there. The timer stored the copy afterwards (a row that no
  // exit record holds, and an autosave written as the process is ended); now it stops.
  ThreadedViewer viewer;
  viewer.Hold();
  e2e::WaitForIdle(main_, 5s);
  SlowTextOwner owner(L"关机时才读到的文本", 700);
  ASSERT_TRUE(e2e::WaitUntil([&] { return viewer.holding(); }, 5s));
  ASSERT_TRUE(e2e::WaitUntil([&] { return owner.asked(); }, 12s)) << "the check timer did not read the copy";
  e2e::WaitUntil([] { return false; }, 350ms);  // the read's wait handles messages by now
  ASSERT_TRUE(e2e::EndSessionAsWindowsDoes(main_));
  const std::string record = e2e::ReadFile(folder_ / "temp.txt");
  e2e::WaitUntil([] { return false; }, 1500ms);  // the text comes, the timer goes on
  const std::vector<std::wstring> rows = e2e::ListRows(list_);
  program_.Kill();  // as the system ends it
  main_ = nullptr;
  EXPECT_EQ(rows, std::vector<std::wstring>{L"exit record"}) << "a row came after the exit record: " << record;
  viewer.Release();
}

TEST_F(ViewerChain, ARowClickDuringTheCheckTimersLookLeavesTheMissedCopyARow) {
  // The check timer has read a copy whose news is held and looks for its late capture; the user
  // clicks a row meanwhile, whose write first marks a change as pending. The copy was left to
  // that pending change, which found the row's own write, and was lost.
  ThreadedViewer viewer;
  HWND owner = nullptr;
  CopyWithHeldNewsUntilTheTimerReadsIt(viewer, owner);
  if (HasFatalFailure()) return;
  e2e::WaitUntil([] { return false; }, 150ms);  // inside the look
  e2e::ClickListRow(list_, 0);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ReadClipboardText() == L"exit record"; }, 10s));
  viewer.Release();
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list_).size() == 2; }, 8s));
  e2e::WaitUntil([] { return false; }, 1s);
  EXPECT_EQ(e2e::ListRows(list_), (std::vector<std::wstring>{L"exit record", kLateNewsText}));
  DestroyWindow(owner);
}

TEST_F(ViewerChain, TheSessionsEndWhileTheRepairWaitsToPutTheCopyBackKeepsIt) {
  // A viewer that passes nothing on: the check timer finds the missed copy, joins the chain
  // again and puts the copy back, which waits while another program holds the clipboard.
  // Windows ends the session then: the copy goes into the exit record.
  g_clipboardKept = false;
  HWND silent = e2e::CreateHiddenWindow(L"QuilloraE2EKeepingViewer", SilentViewerKeepingTheClipboard);
  SetClipboardViewer(silent);
  const std::wstring text = L"放回时关机的复制";
  ASSERT_TRUE(e2e::SetClipboardText(text));
  ASSERT_TRUE(e2e::WaitUntil([&] { return g_clipboardKept.load(); }, 15s)) << "the check timer did not join again";
  e2e::WaitUntil([] { return false; }, 300ms);  // the put-back waits for the clipboard
  ASSERT_TRUE(e2e::EndSessionAsWindowsDoes(main_));
  CloseClipboard();
  program_.Kill();  // as the system ends it
  main_ = nullptr;
  const std::string record = e2e::ReadFile(folder_ / "temp.txt");
  EXPECT_NE(record.find(e2e::Utf8(text)), std::string::npos) << "the exit record: " << record;
  DestroyWindow(silent);
}

}  // namespace
