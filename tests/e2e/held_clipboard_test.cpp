// Another program keeps the clipboard open longer than the program waits for it: a row click
// that cannot put its entry back, and a formatted view that cannot paste, say so instead of
// leaving the old content (or an empty view) behind without a word.
#include <gtest/gtest.h>

#include <thread>

#include "clipboard_holder.h"
#include "program_fixture.h"

using namespace std::chrono_literals;

namespace {

constexpr wchar_t kEntryNotPut[] = L"剪切板被其他程序占用，条目没有放到剪切板上。";
constexpr wchar_t kViewNotShown[] = L"剪切板被其他程序占用，无法显示带格式的内容。";
constexpr wchar_t kViewCaption[] = L"用带格式的浏览器查看当前文本";

using e2e::ClipboardHolder;

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
  // Another program holds the clipboard while row 1 is clicked: the click says that its entry
  // did not reach the clipboard, which keeps `current`.
  void ClickRowOneWhileTheClipboardIsHeld(const std::wstring& current) {
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
};

TEST_F(HeldClipboard, ARowClickThatCannotPutItsEntryBackSaysSo) {
  Copy(L"要放回剪切板的条目");
  const std::wstring current = L"剪切板上现在的文本";
  Copy(current);
  ClickRowOneWhileTheClipboardIsHeld(current);
}

TEST_F(HeldClipboard, AnEntryWithoutTextWhoseFormatsCannotBePutBackSaysSo) {
  // Its text alone writes nothing: the paste would give the old content.
  SetMenuSwitch(L"支持带格式的文本（word、htm文本）", true);
  const std::string html = "Version:0.9\r\nStartHTML:-1\r\nEndHTML:-1\r\nStartFragment:0\r\nEndFragment:0\r\n";
  ASSERT_TRUE(e2e::SetClipboardFormats({{0, L"HTML Format", html}, {CF_UNICODETEXT, L"", std::string(2, '\0')}}));
  ASSERT_TRUE(e2e::WaitForRowCount(list_, 2));
  ASSERT_EQ(e2e::ListRows(list_)[1], L"");
  const std::wstring current = L"剪切板上现在的文本";
  Copy(current);
  ClickRowOneWhileTheClipboardIsHeld(current);
}

TEST_F(HeldClipboard, ACloseWhileARowClickWaitsForTheClipboardComesAfterIt) {
  // The click's waits handle messages between their tries: the close comes after them, once,
  // and is not lost in the next try's round.
  Copy(L"关闭时要放回的条目");
  ClipboardHolder holder(ClipboardHolder::From::Now);
  ASSERT_TRUE(holder.WaitUntilReady() && holder.Held());
  std::thread click([&] { e2e::ClickListRow(list_, 1); });
  e2e::WaitUntil([] { return false; }, 500ms);
  PostMessageW(main_, WM_CLOSE, 0, 0);
  e2e::WaitUntil([] { return false; }, 500ms);
  holder.Release();
  const bool ended = e2e::WaitUntil([&] {
    e2e::AnswerMessageBox(program_.ProcessId(), kEntryNotPut, IDOK);
    return program_.WaitForExit(100ms);
  }, 20s);
  click.join();
  EXPECT_TRUE(ended) << "the close was lost";
  main_ = nullptr;
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
