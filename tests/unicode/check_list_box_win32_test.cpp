// The Unicode check-list box: its row model across window recreation, its items as a
// wide string list, check toggling by mouse and keyboard, and its rows as other programs
// read them.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "test_window_win32.h"
#include "unicode/uni_check_list_box_win32.h"
#include "unicode/uni_string_list.h"
#include "unicode/wide_exceptions.h"

using testing_win32::Bounds;
using testing_win32::PumpMessages;
using testing_win32::TestParent;
using unicode::TCheckBoxState;
using unicode::TUniCheckListBox;

namespace {

constexpr int kListId = 101;

struct ListFixture : testing::Test {
  ListFixture() : parent(true) {
    parent.Add(&list);
    list.SetItemHeight(19);
    EXPECT_TRUE(list.Create(parent.hwnd, kListId, Bounds(0, 0, 300, 200)));
  }
  LPARAM ClientPoint(int row, int x) {
    const RECT r = list.ItemRect(row);
    return MAKELPARAM(r.left + x, (r.top + r.bottom) / 2);
  }
  void Click(int row, int x) {
    SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(row, x));
    SendMessageW(list.Handle(), WM_LBUTTONUP, 0, ClientPoint(row, x));
    PumpMessages();
  }
  void DoubleClick(int row, int x) {
    Click(row, x);
    SendMessageW(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(row, x));
    SendMessageW(list.Handle(), WM_LBUTTONUP, 0, ClientPoint(row, x));
    PumpMessages();
  }

  TestParent parent;
  TUniCheckListBox list;
};

const std::u16string kOutsideCodePage = u"\U0001F600 ẞ ŉ 表情";

}  // namespace

TEST_F(ListFixture, RecreationKeepsTextsChecksFlagsObjectsAndSelection) {
  int object = 7;
  list.Items().Add(u"第一行 中文");
  list.Items().Add(u"第二行 中文");
  list.Items().AddObject(kOutsideCodePage, &object);
  list.Items().Add(u"标题");
  list.SetChecked(1, true);
  list.SetState(2, TCheckBoxState::cbGrayed);
  list.SetItemEnabled(2, false);
  list.SetHeader(3, true);
  list.SetItemIndex(0);
  const HWND before = list.Handle();

  ASSERT_TRUE(list.RecreateWnd());
  EXPECT_NE(list.Handle(), before);
  EXPECT_FALSE(IsWindow(before));
  ASSERT_EQ(list.Items().Count(), 4);
  EXPECT_EQ(list.Items()[0], u"第一行 中文");
  EXPECT_EQ(list.Items()[1], u"第二行 中文");
  EXPECT_EQ(list.Items()[2], kOutsideCodePage);
  EXPECT_FALSE(list.Checked(0));
  EXPECT_TRUE(list.Checked(1));
  EXPECT_EQ(list.State(2), TCheckBoxState::cbGrayed);
  EXPECT_FALSE(list.ItemEnabled(2));
  EXPECT_EQ(list.Items().Objects(2), &object);
  EXPECT_TRUE(list.Header(3));
  EXPECT_EQ(list.ItemIndex(), 0);
  EXPECT_EQ(list.ItemHeight(), 19);
  EXPECT_EQ(SendMessageW(list.Handle(), LB_GETITEMHEIGHT, 0, 0), 19);
}

TEST_F(ListFixture, RecreatingAnEmptyListRestoresNothing) {
  ASSERT_TRUE(list.RecreateWnd());
  EXPECT_EQ(list.Items().Count(), 0);
  EXPECT_EQ(list.ItemIndex(), -1);
  list.Items().Add(u"新");
  EXPECT_FALSE(list.Checked(0));
}

TEST_F(ListFixture, RowsOutliveTheParentWindowAndCanBeEditedWithoutAWindow) {
  list.Items().SetText(u"甲\r\n乙\r\n丙");
  list.SetChecked(2, true);
  list.SetItemIndex(1);
  DestroyWindow(parent.hwnd);  // takes the list's window with it
  EXPECT_FALSE(list.HandleAllocated());
  EXPECT_EQ(list.Items().Count(), 3);
  list.Items().Add(u"丁");
  list.SetChecked(3, true);
  list.Items().Delete(0);
  EXPECT_EQ(list.ItemIndex(), 1);

  TestParent second(true);
  second.Add(&list);
  ASSERT_TRUE(list.Create(second.hwnd, kListId, Bounds(0, 0, 200, 100)));
  EXPECT_EQ(list.Items().Text(), u"乙\r\n丙\r\n丁\r\n");
  EXPECT_FALSE(list.Checked(0));
  EXPECT_TRUE(list.Checked(1));
  EXPECT_TRUE(list.Checked(2));
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(SendMessageW(list.Handle(), LB_GETCOUNT, 0, 0), 3);
}

TEST_F(ListFixture, ItemsKeepRowStatesThroughPutExchangeMoveAndDelete) {
  list.Items().SetText(u"a\r\nb\r\nc\r\nd");
  list.SetChecked(0, true);
  list.SetItemIndex(0);
  list.Items().Put(0, u"A");
  EXPECT_EQ(list.Items()[0], u"A");
  EXPECT_TRUE(list.Checked(0));
  EXPECT_EQ(list.ItemIndex(), 0);

  list.Items().Exchange(0, 2);  // the selected row moves with its string
  EXPECT_EQ(list.Items().Text(), u"c\r\nb\r\nA\r\nd\r\n");
  EXPECT_TRUE(list.Checked(2));
  EXPECT_FALSE(list.Checked(0));
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_EQ(list.Items()[list.ItemIndex()], u"A");

  list.Items().Move(2, 0);
  EXPECT_EQ(list.Items().Text(), u"A\r\nc\r\nb\r\nd\r\n");
  EXPECT_TRUE(list.Checked(0));

  list.SetChecked(3, true);
  list.Items().Delete(0);
  list.Items().Add(u"e");  // a new row starts unchecked, whatever was deleted before
  EXPECT_EQ(list.Items().Text(), u"c\r\nb\r\nd\r\ne\r\n");
  EXPECT_TRUE(list.Checked(2));
  EXPECT_FALSE(list.Checked(3));

  EXPECT_EQ(list.Items().IndexOf(u"D"), 2);
  EXPECT_EQ(list.Items().IndexOf(u"zz"), -1);
  list.Items().Clear();
  EXPECT_EQ(list.Items().Count(), 0);
}

TEST_F(ListFixture, AMissingRowRaisesTheListIndexError) {
  list.Items().Add(u"only");
  try {
    list.Items().Get(5);
    FAIL() << "no error";
  } catch (const unicode::EListError& e) {
    EXPECT_EQ(e.Message(), u"List index out of bounds (5)");
  }
  EXPECT_THROW(list.Checked(1), unicode::EListError);
  EXPECT_THROW(list.Items().Insert(3, u"x"), unicode::EListError);
  EXPECT_THROW(list.Items().Delete(-1), unicode::EListError);
}

TEST_F(ListFixture, ClicksOnTheBoxToggleAndClicksOnTheTextSelect) {
  list.Items().SetText(u"一\r\n二\r\n三");
  list.SetItemEnabled(2, false);
  int clicks = 0, checks = 0, doubleClicks = 0;
  list.OnClick = [&] { ++clicks; };
  list.OnClickCheck = [&] {
    ++checks;
    EXPECT_EQ(list.ItemIndex(), 1);  // the row is selected before its check event runs
  };
  list.OnDblClick = [&] { ++doubleClicks; };

  Click(1, 5);  // on the box
  EXPECT_TRUE(list.Checked(1));
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_GE(clicks, 1);

  Click(1, list.CheckWidth() + 20);  // on the text
  EXPECT_TRUE(list.Checked(1));
  EXPECT_EQ(checks, 1);

  DoubleClick(1, 5);  // two clicks on the box: back and forth, no double click on the row
  EXPECT_TRUE(list.Checked(1));
  EXPECT_EQ(checks, 3);
  EXPECT_EQ(doubleClicks, 0);

  DoubleClick(1, list.CheckWidth() + 20);
  EXPECT_EQ(doubleClicks, 1);
  EXPECT_EQ(checks, 3);

  list.OnClickCheck = nullptr;
  Click(2, 5);  // a disabled row keeps its box
  EXPECT_FALSE(list.Checked(2));
}

TEST_F(ListFixture, SpaceTogglesTheSelectedRowAndKeyEventsSeeWideCharacters) {
  list.Items().SetText(u" 空格开头\r\n二");
  list.SetItemIndex(1);
  std::u16string typed;
  list.OnKeyPress = [&](wchar_t& key) { typed += static_cast<char16_t>(key); };
  SendMessageW(list.Handle(), WM_CHAR, L' ', 0);
  EXPECT_TRUE(list.Checked(1));
  EXPECT_EQ(list.ItemIndex(), 1);  // the row starting with a blank was not searched for
  SendMessageW(list.Handle(), WM_CHAR, L' ', 0);
  EXPECT_FALSE(list.Checked(1));
  PostMessageW(list.Handle(), WM_CHAR, 0x4E2D, 0);
  PumpMessages();
  EXPECT_EQ(typed, u"  中");

  list.AllowGrayed = true;
  SendMessageW(list.Handle(), WM_CHAR, L' ', 0);
  EXPECT_EQ(list.State(1), TCheckBoxState::cbGrayed);
  SendMessageW(list.Handle(), WM_CHAR, L' ', 0);
  EXPECT_EQ(list.State(1), TCheckBoxState::cbChecked);
}

TEST_F(ListFixture, PaintingDrawsEveryVisibleRowAfterTheCheckColumn) {
  list.Items().SetText(u"一\r\n" + kOutsideCodePage);
  int painted = 0;
  std::u16string drawn;
  list.OnAfterPaint = [&] { ++painted; };
  list.OnDrawItem = [&](int index, const RECT& rect, UINT, HDC) {
    EXPECT_EQ(rect.left, list.ItemRect(index).left + list.CheckWidth());
    drawn += list.Items()[index] + u"|";
  };
  InvalidateRect(list.Handle(), nullptr, TRUE);
  UpdateWindow(list.Handle());
  EXPECT_GE(painted, 1);
  EXPECT_NE(drawn.find(u"一|"), std::u16string::npos);
  EXPECT_NE(drawn.find(kOutsideCodePage + u"|"), std::u16string::npos);
}

TEST_F(ListFixture, ANewSelectedRowInARowPaintDeferralDrawsNothingAtOnceAndLaterOnlyTheRowsItTouched) {
  for (int i = 0; i < 6; ++i) list.Items().Add(u"第 " + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u" 行");
  list.SetItemIndex(2);
  UpdateWindow(list.Handle());
  std::set<int> drawn;
  list.OnDrawItem = [&](int index, const RECT&, UINT, HDC) { drawn.insert(index); };
  {
    const TUniCheckListBox::TRowPaintDeferral later(list);
    list.Items().Add(u"新的一行");
    list.SetItemIndex(6);
    EXPECT_TRUE(drawn.empty());
  }
  UpdateWindow(list.Handle());
  EXPECT_EQ(drawn, (std::set<int>{2, 6}));
  EXPECT_EQ(list.ItemIndex(), 6);
}

TEST_F(ListFixture, OneHundredThousandRowsFillQuicklyAndSurviveRecreation) {
  const auto start = std::chrono::steady_clock::now();
  list.Items().BeginUpdate();
  list.Items().SetCapacity(100000);
  for (int i = 0; i < 100000; ++i) list.Items().Add(u"第" + unicode::IntToText(i) + u"行 \U0001F600");
  list.Items().EndUpdate();
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 5.0);  // a guard against a quadratic fill, not a measurement
  ASSERT_EQ(list.Items().Count(), 100000);
  list.SetChecked(99999, true);
  list.SetTopIndex(70000);
  // Rows past 65535 are found from a point.
  EXPECT_EQ(list.ItemAtPos(POINT{50, 19 * 2 + 3}, true), list.TopIndex() + 2);
  EXPECT_GE(list.TopIndex() + 2, 65536);
  list.SetItemIndex(99998);
  ASSERT_TRUE(list.RecreateWnd());
  EXPECT_EQ(list.Items().Count(), 100000);
  EXPECT_EQ(list.Items()[99999], u"第99999行 \U0001F600");
  EXPECT_TRUE(list.Checked(99999));
  EXPECT_FALSE(list.Checked(99998));
  EXPECT_EQ(list.ItemIndex(), 99998);
}

TEST_F(ListFixture, CopySelectionCopiesTheSelectedRowWithItsObject) {
  int object = 1;
  list.Items().Add(u"甲");
  list.AddItem(u"乙", &object);
  unicode::TUniStringList copy;
  list.CopySelection(copy);
  EXPECT_EQ(copy.Count(), 0);
  list.SetItemIndex(1);
  list.CopySelection(copy);
  ASSERT_EQ(copy.Count(), 1);
  EXPECT_EQ(copy[0], u"乙");
  EXPECT_EQ(copy.Objects(0), &object);
}

TEST_F(ListFixture, WithACaptionSourceTheWindowKeepsNoStringsAndEveryReaderAndSearchUsesTheSource) {
  std::vector<std::u16string> captions{u"alpha", u"Beta", u"[-c-]", std::u16string(u"bravo\0hidden", 12), u"中文"};
  list.SetCaptionSource([&captions](int row) { return std::u16string_view(captions[static_cast<size_t>(row)]); });
  for (size_t i = 0; i < captions.size(); ++i) list.Items().Add(u"ignored");
  int clicks = 0;
  list.OnClick = [&clicks] { ++clicks; };
  list.SetChecked(1, true);

  EXPECT_EQ(list.Items()[1], u"Beta");
  EXPECT_EQ(list.Items()[3], u"bravo");  // up to the NUL, as a window keeps it
  wchar_t buffer[16] = {};
  EXPECT_EQ(SendMessageW(list.Handle(), LB_GETTEXTLEN, 4, 0), 2);
  EXPECT_EQ(SendMessageW(list.Handle(), LB_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 2);
  EXPECT_EQ(std::wstring(buffer), L"中文");
  EXPECT_EQ(SendMessageW(list.Handle(), LB_GETTEXT, 5, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
  EXPECT_EQ(SendMessageW(list.Handle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"BETA")), 1);
  EXPECT_EQ(SendMessageW(list.Handle(), LB_FINDSTRING, 1, reinterpret_cast<LPARAM>(L"C")), 2);  // after "[-"
  EXPECT_EQ(list.Items().IndexOf(u"中文"), 4);
  EXPECT_EQ(SendMessageW(list.Handle(), LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"al")), 0);
  EXPECT_EQ(list.ItemIndex(), 0);

  // The type-ahead: the next row after the caret whose caption starts with the character.
  SendMessageW(list.Handle(), WM_CHAR, L'b', 0);
  EXPECT_EQ(list.ItemIndex(), 1);
  SendMessageW(list.Handle(), WM_CHAR, L'B', 0);
  EXPECT_EQ(list.ItemIndex(), 3);
  SendMessageW(list.Handle(), WM_CHAR, L'b', 0);
  EXPECT_EQ(list.ItemIndex(), 1);  // wrapped around
  SendMessageW(list.Handle(), WM_CHAR, L'z', 0);
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(clicks, 3);

  // A put row takes its caption from the source; moves and recreation keep the check marks.
  captions[0] = u"ALPHA";
  list.Items().Put(0, u"ignored");
  EXPECT_EQ(list.Items()[0], u"ALPHA");
  std::swap(captions[0], captions[1]);
  list.Items().Move(1, 0);
  EXPECT_TRUE(list.Checked(0));
  EXPECT_FALSE(list.Checked(1));
  ASSERT_TRUE(list.RecreateWnd());
  EXPECT_EQ(list.Items().Text(), u"Beta\r\nALPHA\r\n[-c-]\r\nbravo\r\n中文\r\n");
  EXPECT_TRUE(list.Checked(0));

  // The window itself holds empty strings.
  list.SetCaptionSource(nullptr);
  EXPECT_EQ(list.Items().Text(), u"\r\n\r\n\r\n\r\n\r\n");
}

// --- Reading the rows from another program --------------------------------------------

namespace {
constexpr wchar_t kReaderWindowVariable[] = L"QUILL_TEST_LISTBOX";
constexpr wchar_t kReaderOutputVariable[] = L"QUILL_TEST_LISTBOX_DUMP";

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[1024];
  const DWORD n = GetEnvironmentVariableW(name, buffer, 1024);
  return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}
}  // namespace

// Runs only as the helper process started by the test below: it reads the list box of
// the parent process with the list box messages alone and writes what it read to a file.
TEST(ListBoxOutsideReader, DISABLED_DumpRows) {
  const std::wstring window = Environment(kReaderWindowVariable);
  const std::wstring output = Environment(kReaderOutputVariable);
  ASSERT_FALSE(window.empty());
  const HWND hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(std::wcstoll(window.c_str(), nullptr, 16)));
  std::u16string dump;
  const LRESULT count = SendMessageW(hwnd, LB_GETCOUNT, 0, 0);
  dump += unicode::IntToText(count) + u"\n";
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(hwnd, LB_GETTEXTLEN, i, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(hwnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    dump += unicode::IntToText(length) + u":" +
            std::u16string(reinterpret_cast<const char16_t*>(text.data()), static_cast<size_t>(copied)) + u"\n";
  }
  HANDLE file = CreateFileW(output.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, dump.data(), static_cast<DWORD>(dump.size() * 2), &written, nullptr);
  CloseHandle(file);
}

namespace {
// What another program reads from the list with LB_GETCOUNT, LB_GETTEXTLEN and LB_GETTEXT:
// the count, then a line "length:text" per row.
std::u16string ReadByAnotherProgram(HWND list) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  wchar_t handleText[32];
  swprintf(handleText, 32, L"%lx", static_cast<unsigned long>(reinterpret_cast<INT_PTR>(list)));
  const std::wstring output = std::wstring(L"" QUILL_SCRATCH_DIR) + L"\\listbox-dump.txt";
  DeleteFileW(output.c_str());
  SetEnvironmentVariableW(kReaderWindowVariable, handleText);
  SetEnvironmentVariableW(kReaderOutputVariable, output.c_str());
  std::wstring command = L"\"" + std::wstring(self) +
                         L"\" --gtest_also_run_disabled_tests --gtest_filter=ListBoxOutsideReader.DISABLED_DumpRows";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                      nullptr, &startup, &process);
  SetEnvironmentVariableW(kReaderWindowVariable, nullptr);
  SetEnvironmentVariableW(kReaderOutputVariable, nullptr);
  if (!started) return u"(the reader did not start)";
  // The reader's messages are answered while this thread waits.
  const ULONGLONG deadline = GetTickCount64() + 60000;
  while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 200, QS_ALLINPUT) != WAIT_OBJECT_0 &&
         GetTickCount64() < deadline) {
    PumpMessages();
  }
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(exitCode, 0u);

  HANDLE file = CreateFileW(output.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return u"(no dump)";
  std::u16string dump(4096, u'\0');
  DWORD read = 0;
  ReadFile(file, dump.data(), 8192, &read, nullptr);
  CloseHandle(file);
  dump.resize(read / 2);
  return dump;
}

}  // namespace

TEST_F(ListFixture, AnotherProgramReadsEveryRowWithListBoxMessages) {
  const std::u16string expected = u"4\n3:第一行\n" + unicode::IntToText(kOutsideCodePage.size()) + u":" +
                                  kOutsideCodePage + u"\n0:\n4:last\n";
  list.Items().SetText(u"第一行\r\n" + kOutsideCodePage + u"\r\n\r\nlast");
  list.SetChecked(1, true);
  EXPECT_EQ(ReadByAnotherProgram(list.Handle()), expected);

  // The same rows with their captions kept outside the window.
  const std::vector<std::u16string> captions{u"第一行", kOutsideCodePage, u"", u"last"};
  list.Items().Clear();
  list.SetCaptionSource([&captions](int row) { return std::u16string_view(captions[static_cast<size_t>(row)]); });
  for (int i = 0; i < 4; ++i) list.Items().Add(u"x");
  EXPECT_EQ(ReadByAnotherProgram(list.Handle()), expected);
}
