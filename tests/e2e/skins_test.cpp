// The skins menu "皮肤" the user's way: the program starts with the shipped skin 2, its bar
// (drawn by the skin) is opened by Alt and the arrow keys, the classic look and all thirteen
// skins are chosen in turn, the choice survives a restart, and bad skin files are reported.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "../skin/skin_test_support.h"
#include "clipboard_driver.h"
#include "program_driver.h"
#include "skin_look_driver.h"

using namespace std::chrono_literals;

namespace {

using e2e::Ask;
using e2e::ClientSize;
using e2e::FrameExtra;
using e2e::Settle;
using e2e::SkinFrame;
constexpr UINT kIsSkinned = e2e::kSkinQuery;

struct Choice {
  int number;
  const wchar_t* caption;
  const wchar_t* file;
};
constexpr std::array<Choice, 14> kChoices = {{
    {1, L"经典", L""},
    {2, L"新式绿皮", L"mxskin2.skn"},
    {3, L"淡黄", L"mxskin9.skn"},
    {4, L"酷兰", L"mxskin39.skn"},
    {5, L"雅白", L"mxskin17.skn"},
    {6, L"蓝色office", L"蓝色office_office2003.skn"},
    {7, L"白苍色酷", L"白苍色酷_Skin42.skn"},
    {8, L"白靛青酷", L"白靛青酷_Skin30.skn"},
    {9, L"白琥珀酷", L"白琥珀酷_Skin44.skn"},
    {10, L"白黄酷", L"白黄酷_Skin54.skn"},
    {11, L"白兰酷", L"白兰酷_Skin59.skn"},
    {12, L"白兰黄酷", L"白兰黄酷_Skin83.skn"},
    {13, L"白亮绿", L"白亮绿_Skin48.skn"},
    {14, L"白绿酷", L"白绿酷_Skin73.skn"},
}};

// The pixels of the window's caption strip as the screen shows them.
struct Strip {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  bool operator==(const Strip&) const = default;
};
Strip CaptionStrip(HWND hwnd, int height) {
  RECT w{};
  GetWindowRect(hwnd, &w);
  Strip strip;
  strip.width = w.right - w.left;
  strip.height = height;
  HDC screen = GetDC(nullptr);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < strip.width; ++x) strip.pixels.push_back(GetPixel(screen, w.left + x, w.top + y) & 0xFFFFFF);
  }
  ReleaseDC(nullptr, screen);
  return strip;
}

// Brightness and the strongest channel of a caption's colour.
int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

class Skins : public ::testing::Test {
 protected:
  void StartIn(const std::string& name, int skinNumber = 2) {
    folder_ = e2e::PrepareRuntimeFolder(name);
    e2e::SetSkinNumber(folder_, skinNumber);
    e2e::WriteFile(folder_ / "temp.txt", "\xEF\xBB\xBF" + e2e::Utf8(L"皮肤测试的条目") + "\r\n");
    ASSERT_TRUE(program_.Start(folder_));
    main_ = program_.WaitForMainWindow();
    ASSERT_NE(main_, nullptr);
  }
  void TearDown() override {
    if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
    program_.WaitForExit(20s);
  }
  // Chooses a row of "皮肤" and waits until the window shows the choice.
  void Choose(const Choice& choice) {
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, choice.caption)) << e2e::Utf8(choice.caption);
    WaitForLook(choice);
  }
  // The window answers 0x3523 and its frame is the skin's borders plus the menu bar (for
  // the classic look: not skinned, with its native menu bar).
  void WaitForLook(const Choice& choice) {
    const SIZE frame = choice.number == 1 ? SIZE{} : SkinFrame(folder_, choice.file);
    ASSERT_TRUE(e2e::WaitUntil([&] {
      if (choice.number == 1) return Ask(main_, kIsSkinned) == 0 && GetMenu(main_) != nullptr;
      const SIZE extra = FrameExtra(main_);
      return Ask(main_, kIsSkinned) == 1 && extra.cx == frame.cx && extra.cy == frame.cy;
    }, 10s)) << e2e::Utf8(choice.caption);
    Settle(main_);
  }
  bool RowChecked(const std::vector<e2e::MenuRowInfo>& rows, const wchar_t* caption) {
    const e2e::MenuRowInfo* row = e2e::FindMenuRow(rows, caption);
    return row && row->checked;
  }

  std::filesystem::path folder_;
  e2e::RunningProgram program_;
  HWND main_ = nullptr;
};

TEST_F(Skins, TheSkinnedBarIsReadAndChosenFromByAltAndTheArrows) {
  StartIn("skins-bar");
  ASSERT_TRUE(e2e::WaitUntil([&] { return Ask(main_, kIsSkinned) == 1; }, 10s)) << "skin 2 is applied at start";
  EXPECT_EQ(GetMenu(main_), nullptr);
  const auto rows = e2e::ReadMenuBar(main_);
  int barItems = 0;
  for (const auto& row : rows) barItems += row.level == 0;
  EXPECT_EQ(barItems, 9);
  EXPECT_TRUE(RowChecked(rows, L"新式绿皮"));
  EXPECT_FALSE(RowChecked(rows, L"经典"));
  EXPECT_NE(e2e::FindMenuRow(rows, L"重启动本程序"), nullptr);
  // A row chosen from a skinned drop-down runs its command: the switch flips.
  const bool before = RowChecked(rows, L"记忆窗体大小");
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"记忆窗体大小"));
  EXPECT_NE(RowChecked(e2e::ReadMenuBar(main_), L"记忆窗体大小"), before);
}

TEST_F(Skins, ClassicAndEveryShippedSkinInTurnKeepTheClientSize) {
  StartIn("skins-all");
  WaitForLook(kChoices[1]);
  const SIZE client = ClientSize(main_);
  Choose(kChoices[0]);
  EXPECT_NE(GetMenu(main_), nullptr);
  for (size_t i = 2; i < kChoices.size(); ++i) {
    Choose(kChoices[i]);
    if (HasFatalFailure()) return;
    const SIZE now = ClientSize(main_);
    EXPECT_EQ(now.cx, client.cx) << e2e::Utf8(kChoices[i].caption);
    EXPECT_EQ(now.cy, client.cy) << e2e::Utf8(kChoices[i].caption);
  }
  Choose(kChoices[0]);
  EXPECT_EQ(ClientSize(main_).cx, client.cx);
  EXPECT_EQ(ClientSize(main_).cy, client.cy);
  const auto rows = e2e::ReadMenuBar(main_);
  EXPECT_TRUE(RowChecked(rows, L"经典"));
  EXPECT_FALSE(RowChecked(rows, L"白绿酷"));
}

TEST_F(Skins, CaptionsFollowTheSkinActiveAndInactiveAndAfterATextChange) {
  StartIn("skins-look", 1);
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }, 10s));
  Settle(main_);
  SetForegroundWindow(main_);
  Settle(main_);
  const Strip classic = CaptionStrip(main_, 20);

  // A window of this process takes the activation away, and gives it back.
  HWND other = CreateWindowExW(0, L"STATIC", L"另一个窗口", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 60, 40, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  auto lookOf = [&](const Choice& choice, int height) {
    Choose(choice);
    SetForegroundWindow(main_);
    Settle(main_);
    const Strip active = CaptionStrip(main_, height);
    SetForegroundWindow(other);
    Settle(main_);
    const Strip inactive = CaptionStrip(main_, height);
    SetForegroundWindow(main_);
    Settle(main_);
    return std::pair{active, inactive};
  };
  // Green glossy 26-pixel caption, blue glossy 28, near-white flat 24 (generator's table).
  const auto [green, greenInactive] = lookOf(kChoices[1], 20);
  const auto [blue, blueInactive] = lookOf(kChoices[3], 20);
  const auto [white, whiteInactive] = lookOf(kChoices[4], 20);
  if (HasFatalFailure()) return;
  // A point of the caption away from text (left or centred) and buttons, 12 pixels down.
  const int x = green.width * 3 / 4, y = 12;
  const COLORREF g = green.At(x, y), b = blue.At(x, y), w = white.At(x, y);
  EXPECT_GT(GetGValue(g), GetRValue(g));
  EXPECT_GT(GetGValue(g), GetBValue(g));
  EXPECT_GT(GetBValue(b), GetRValue(b));
  EXPECT_GT(GetBValue(b), GetGValue(b));
  EXPECT_GT(Brightness(w), 3 * 200);
  // Inactive captions are paler (green, blue) or greyer (white) than active ones.
  EXPECT_GT(Brightness(greenInactive.At(x, y)), Brightness(g));
  EXPECT_GT(Brightness(blueInactive.At(x, y)), Brightness(b));
  EXPECT_NE(whiteInactive.At(x, y), w);
  EXPECT_NE(classic.At(x, y), g);
  EXPECT_FALSE(classic == green);
  EXPECT_FALSE(green == blue);
  EXPECT_FALSE(blue == white);

  // A new caption text keeps the skin's caption: the system paints none of its own.
  const wchar_t* text = L" 新的标题";
  SendMessageTimeoutW(main_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  Settle(main_);
  EXPECT_EQ(e2e::WindowText(main_), text);
  EXPECT_EQ(CaptionStrip(main_, 20).At(x, y), w);
  SendMessageTimeoutW(main_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L" Quillora12.6"), SMTO_ABORTIFHUNG, 5000, nullptr);
  DestroyWindow(other);
}

TEST_F(Skins, TheCaptionsRightClickOpensTheSkinnedSystemMenuWhoseRestartRowRestarts) {
  StartIn("skins-sysmenu");
  ASSERT_TRUE(e2e::WaitUntil([&] { return Ask(main_, kIsSkinned) == 1; }, 10s));
  SetForegroundWindow(main_);
  Settle(main_);
  RECT w{};
  GetWindowRect(main_, &w);
  e2e::ClickAt(POINT{(w.left + w.right) / 2, w.top + 10}, true);
  // The system menu is a skinned popup of the skin's own, its row clicked like a drop-down's.
  ASSERT_TRUE(e2e::ChooseOpenMenuRow(main_, L"重启动本程序"));
  DWORD code = 1234;
  ASSERT_TRUE(program_.WaitForExit(20s, &code));
  EXPECT_EQ(code, 0u);
  main_ = nullptr;
  EXPECT_TRUE(e2e::CloseRestartedProgram(program_.ProcessId()));
}

TEST_F(Skins, TheChoiceIsSavedAndRestoredWithItsRowChecked) {
  StartIn("skins-saved");
  WaitForLook(kChoices[1]);
  Choose(kChoices[3]);  // 酷兰
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_.WaitForExit(20s));
  main_ = nullptr;
  EXPECT_EQ(e2e::SettingsLine(folder_, 17), "4");

  e2e::RunningProgram again;
  ASSERT_TRUE(again.Start(folder_));
  HWND window = again.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  const SIZE frame = SkinFrame(folder_, kChoices[3].file);
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return Ask(window, kIsSkinned) == 1 && FrameExtra(window).cx == frame.cx && FrameExtra(window).cy == frame.cy;
  }, 10s));
  const auto rows = e2e::ReadMenuBar(window);
  EXPECT_TRUE(RowChecked(rows, L"酷兰"));
  EXPECT_FALSE(RowChecked(rows, L"新式绿皮"));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(again.WaitForExit(20s));
}

TEST_F(Skins, AMessageBoxOfTheProgramIsSkinnedButtonsToo) {
  StartIn("skins-box");
  ASSERT_TRUE(e2e::WaitUntil([&] { return Ask(main_, kIsSkinned) == 1; }, 10s));
  HWND list = e2e::FindHistoryList(main_);
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListRows(list).size() == 1; }, 10s));
  ASSERT_TRUE(e2e::SetClipboardText(L"C:\\没有这个文件夹"));
  ASSERT_TRUE(e2e::WaitForRowCount(list, 2));
  ASSERT_TRUE(e2e::ChooseMenuRow(main_, L"(打开文件夹有效)"));
  e2e::DoubleClickListRow(list, 1);
  HWND box = nullptr;
  ASSERT_TRUE(e2e::WaitUntil([&] {
    box = e2e::FindProcessWindow(program_.ProcessId(), L"#32770");
    return box && Ask(box, kIsSkinned) == 1;
  }, 10s)) << "style " << std::hex << (box ? GetWindowLongW(box, GWL_STYLE) : 0);
  // The box's buttons are skinned when the skin starts on it, a moment after the box itself.
  EXPECT_TRUE(e2e::WaitUntil([&] { return Ask(GetDlgItem(box, IDOK), kIsSkinned) == 1; }, 10s));
  ASSERT_TRUE(e2e::AnswerMessageBox(program_.ProcessId(), L"不存在", IDOK));
}

TEST_F(Skins, ANumberThatNamesNoSkinIsTheClassicLookCheckedAndSaved) {
  folder_ = e2e::PrepareRuntimeFolder("skins-no-such-number");
  e2e::SetSkinNumber(folder_, 15);
  ASSERT_TRUE(program_.Start(folder_));
  // A value the program cannot use: the settings file is said to be damaged.
  ASSERT_TRUE(e2e::WaitUntil([&] {
    return e2e::AnswerMessageBox(program_.ProcessId(), L"set设置文件数据出错", IDOK);
  }, 30s));
  main_ = program_.WaitForMainWindow();
  ASSERT_NE(main_, nullptr);
  Settle(main_);
  EXPECT_EQ(Ask(main_, kIsSkinned), 0);
  const auto rows = e2e::ReadMenuBar(main_);
  EXPECT_TRUE(RowChecked(rows, L"经典"));
  EXPECT_FALSE(RowChecked(rows, L"新式绿皮"));
  PostMessageW(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program_.WaitForExit(20s));
  main_ = nullptr;
  EXPECT_EQ(e2e::SettingsLine(folder_, 17), "1");
}

// The bad files replace shipped skins of the runtime folder.
void BreakSkins(const std::filesystem::path& folder) {
  namespace st = skin_test;
  const auto dir = folder / L"皮肤";
  auto write = [&](const wchar_t* file, const st::Bytes& bytes) {
    e2e::WriteFile(dir / file, std::string(bytes.begin(), bytes.end()));
  };
  write(L"mxskin9.skn", st::Text("这不是皮肤文件，只是一些文字。"));                         // 淡黄: junk
  const std::string whole = e2e::ReadFile(dir / L"mxskin39.skn");
  e2e::WriteFile(dir / L"mxskin39.skn", whole.substr(0, whole.size() / 2));                  // 酷兰: truncated
  write(L"mxskin17.skn", st::RawSkin(10000, "a.ini", {0}, "", 0));                            // 雅白: unknown version
  write(L"蓝色office_office2003.skn", st::RawSkin(70000, "skin.ini", {5000}, "[x]"));         // sizes past the data
  write(L"白苍色酷_Skin42.skn", st::Bytes{0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8});   // a 4 GB size
  std::filesystem::remove(dir / L"白靛青酷_Skin30.skn");                                      // missing
}

// Waits for the one "出错" box, checks that it names the file, answers it.
void ExpectOneErrorBox(DWORD process, const std::wstring& file, const std::wstring& also = L"") {
  std::vector<std::wstring> boxes;
  ASSERT_TRUE(e2e::WaitUntil([&] { return !(boxes = e2e::MessageBoxTexts(process)).empty(); }, 15s)) << e2e::Utf8(file);
  e2e::WaitUntil([] { return false; }, 300ms);
  boxes = e2e::MessageBoxTexts(process);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find(file), std::wstring::npos) << e2e::Utf8(boxes[0]);
  if (!also.empty()) EXPECT_NE(boxes[0].find(also), std::wstring::npos) << e2e::Utf8(boxes[0]);
  HWND box = e2e::FindProcessWindow(process, L"#32770");
  EXPECT_EQ(e2e::WindowText(box), L"出错");
  ASSERT_TRUE(e2e::AnswerMessageBox(process, file, IDOK));
  ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::MessageBoxTexts(process).empty(); }, 10s));
}

TEST_F(Skins, BadSkinFilesAtStartOrChosenAreReportedOnceAndTheClassicLookStays) {
  folder_ = e2e::PrepareRuntimeFolder("skins-bad");
  BreakSkins(folder_);
  e2e::SetSkinNumber(folder_, 3);  // junk, at start
  ASSERT_TRUE(program_.Start(folder_));
  ExpectOneErrorBox(program_.ProcessId(), L"mxskin9.skn");
  if (HasFatalFailure()) return;
  main_ = program_.WaitForMainWindow();
  ASSERT_NE(main_, nullptr);
  Settle(main_);
  EXPECT_EQ(Ask(main_, kIsSkinned), 0);
  EXPECT_TRUE(RowChecked(e2e::ReadMenuBar(main_), L"经典"));

  const struct {
    const wchar_t* caption;
    const wchar_t* file;
    const wchar_t* text;
  } bad[] = {{L"酷兰", L"mxskin39.skn", L""},
             {L"雅白", L"mxskin17.skn", L"This is Older Skin File"},
             {L"蓝色office", L"蓝色office_office2003.skn", L""},
             {L"白苍色酷", L"白苍色酷_Skin42.skn", L""},
             {L"白靛青酷", L"白靛青酷_Skin30.skn", L"不存在"}};
  for (const auto& file : bad) {
    ASSERT_TRUE(e2e::ChooseMenuRow(main_, file.caption)) << e2e::Utf8(file.caption);
    ExpectOneErrorBox(program_.ProcessId(), file.file, file.text);
    if (HasFatalFailure()) return;
    Settle(main_);
    EXPECT_EQ(Ask(main_, kIsSkinned), 0) << e2e::Utf8(file.caption);
    const auto rows = e2e::ReadMenuBar(main_);
    EXPECT_TRUE(RowChecked(rows, L"经典")) << e2e::Utf8(file.caption);
    EXPECT_FALSE(RowChecked(rows, file.caption));
  }
  // Capture goes on.
  HWND list = e2e::FindHistoryList(main_);
  const size_t rows = e2e::ListRows(list).size();
  ASSERT_TRUE(e2e::SetClipboardText(L"坏皮肤之后复制的文本"));
  EXPECT_TRUE(e2e::WaitForRowCount(list, static_cast<int>(rows) + 1));
  // A good skin still goes on after them.
  Choose(kChoices[12]);
}

}  // namespace
