// Pictures copied by another program: the slots of the picture window fill, picture files are
// written, a slot is saved as bitmap and JPEG (asking before it replaces a file), dragging swaps slots and copies the picture,
// locked slots take nothing, "全部删除" empties every slot.
#include <gtest/gtest.h>

#include <chrono>

#include "picture_window_driver.h"
#include "program_fixture.h"
#include "timer_probe_driver.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace e2e {
namespace {

class PictureWindow : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    // The secondary windows are made once the main window is up.
    ASSERT_TRUE(WaitUntil([&] { return (form5_ = FindProcessWindow(program_.ProcessId(), L"TForm5")) != nullptr; }, 10s));
    ASSERT_TRUE(ChooseMenuRow(main_, L"查看图片数据"));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(form5_) != FALSE; }, 10s));
  }
  void CopyPicture(const std::string& dib) { ASSERT_TRUE(SetClipboardFormats({{CF_DIB, L"", dib}})); }
  bool LabelsBecome(const std::vector<std::wstring>& expected) {
    return WaitUntil([&] { return SlotLabels(form5_) == expected; }, 10s);
  }
  HWND Image(int slot) { return ChildrenByPosition(form5_, L"TSlotImage").at(slot - 1); }
  // Opens a slot's context menu and chooses "另存为" with a click on its row.
  void ChooseSaveAs(int slot) {
    PostMessageW(Image(slot), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Image(slot)), MAKELPARAM(-1, -1));
    ASSERT_TRUE(ChooseContextMenuRow(form5_, L"另存为"));
  }
  // A press on one slot image and a release over another, as the mouse does.
  void Drag(int from, int to) {
    RECT a{}, b{};
    GetWindowRect(Image(from), &a);
    GetWindowRect(Image(to), &b);
    PostMessageW(Image(from), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    const int x = b.left + 20 - a.left, y = b.top + 20 - a.top;
    PostMessageW(Image(from), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(Image(from), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  HWND form5_ = nullptr;
};

const std::wstring E = L"空", U = L"已用", L_ = L"已锁定";

using PictureWindowInEachLook = InEachLook<PictureWindow>;
INSTANTIATE_TEST_SUITE_P(Looks, PictureWindowInEachLook, EachLook(), LookName);

TEST_P(PictureWindowInEachLook, SlotsFilesSaveAsSwapLockAndDelete) {
  const std::string first = MakeDib(40, 30, 1), second = MakeDib(64, 48, 2);
  // A copied bitmap fills slot 1.
  CopyPicture(first);
  ASSERT_TRUE(LabelsBecome({U, E, E, E, E, E, E, E, E, E}));

  // With picture files on, the next picture is also "图片保存\1.jpg", decoding to its size.
  // Turned on with a picture still on the clipboard (and clearing on), the check timer takes
  // that picture for missed and puts it back at its next look, into slot 2 and 1.jpg: the
  // clipboard is emptied first, as it is after a picture is saved.
  ASSERT_TRUE(OpenClipboard(TestWindow()));
  EmptyClipboard();
  CloseClipboard();
  SetMenuSwitch(L"剪切板中的图片保存为一个单独文件", true);
  CopyPicture(second);
  ASSERT_TRUE(LabelsBecome({U, U, E, E, E, E, E, E, E, E}));
  const fs::path jpeg = folder_ / L"图片保存" / L"1.jpg";
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(jpeg); }, 10s));
  const JpegSize size = DecodeJpegSize(ReadFile(jpeg));
  EXPECT_TRUE(size.ok);
  EXPECT_EQ(size.width, 64);
  EXPECT_EQ(size.height, 48);

  // "另存为" as a bitmap: the picture's bytes exactly; as JPEG under a name that ends so already.
  ChooseSaveAs(1);
  const fs::path bmp = folder_ / L"保存的图片";
  ASSERT_TRUE(FillFileDialog(program_.ProcessId(), bmp.wstring(), 1));
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(folder_ / L"保存的图片.bmp"); }, 10s));
  const std::string bmpBytes = ReadFile(folder_ / L"保存的图片.bmp");
  ASSERT_GT(bmpBytes.size(), 14u);
  EXPECT_EQ(bmpBytes.substr(0, 2), "BM");
  EXPECT_EQ(bmpBytes.substr(14), first);
  // The same name again: the file it becomes with its extension exists, so the program asks
  // first; No keeps the file, Yes replaces it.
  for (const int answer : {IDNO, IDYES}) {
    ChooseSaveAs(2);
    ASSERT_TRUE(FillFileDialog(program_.ProcessId(), bmp.wstring(), 1));
    ASSERT_TRUE(WaitUntil([&] { return AnswerMessageBox(program_.ProcessId(), L"保存的图片.bmp 文件已经存在", answer); }, 10s))
        << "no question before replacing the file";
    WaitForIdle(form5_, 10s);
    if (answer == IDNO) EXPECT_EQ(ReadFile(folder_ / L"保存的图片.bmp"), bmpBytes);
  }
  EXPECT_TRUE(WaitUntil([&] {
    const std::string saved = ReadFile(folder_ / L"保存的图片.bmp");  // empty while it is being replaced
    return saved.size() > 14 && saved.substr(14) == second;
  }, 10s));
  ChooseSaveAs(2);
  ASSERT_TRUE(FillFileDialog(program_.ProcessId(), (folder_ / L"第二张.jpg").wstring(), 2));
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(folder_ / L"第二张.jpg"); }, 10s));
  EXPECT_FALSE(fs::exists(folder_ / L"第二张.jpg.jpg"));
  EXPECT_EQ(DecodeJpegSize(ReadFile(folder_ / L"第二张.jpg")).width, 64);

  // Dragging slot 1 onto slot 3 swaps them; the clipboard holds the dragged picture, and no
  // slot or file is filled from that copy.
  Drag(1, 3);
  ASSERT_TRUE(LabelsBecome({E, U, U, E, E, E, E, E, E, E}));
  ASSERT_TRUE(WaitUntil([&] { return ReadClipboardFormat(CF_DIB).has_value(); }, 5s));
  EXPECT_EQ(ReadClipboardFormat(CF_DIB)->substr(0, first.size()), first);
  WaitUntil([] { return false; }, 1500ms);
  EXPECT_EQ(SlotLabels(form5_), (std::vector<std::wstring>{E, U, U, E, E, E, E, E, E, E}));
  EXPECT_FALSE(fs::exists(folder_ / L"图片保存" / L"2.jpg"));

  // Every slot locked: a new picture is stored in none.
  for (int i = 0; i < 8; ++i) {
    CopyPicture(MakeDib(8, 8, 10 + i));
    ASSERT_TRUE(WaitUntil([&] { return CountLabels(form5_, U) == 3 + i; }, 10s));
  }
  ASSERT_TRUE(ChooseMenuRow(form5_, L"全部锁定"));
  ASSERT_TRUE(LabelsBecome(std::vector<std::wstring>(10, L_)));
  CopyPicture(MakeDib(9, 9, 99));
  WaitUntil([] { return false; }, 1500ms);
  EXPECT_EQ(SlotLabels(form5_), std::vector<std::wstring>(10, L_));

  // "全部删除" clears the locked slots too.
  ASSERT_TRUE(ChooseMenuRow(form5_, L"全部删除"));
  ASSERT_TRUE(LabelsBecome(std::vector<std::wstring>(10, E)));
}

// The check timer looks at the clipboard every five seconds. When another program holds the
// clipboard then, the look waits, handling messages meanwhile; the copy that program makes as it
// lets go is announced in that wait, and is stored once the look is done.
TEST_F(PictureWindow, APictureCopiedWhileTheCheckTimerWaitsForTheClipboardIsStored) {
  TimerProbe probe(main_);
  ASSERT_TRUE(probe.Counting());
  UINT_PTR checkTimer = 0;
  ASSERT_TRUE(WaitUntil([&] {
    for (const auto& [key, count] : probe.Read()) {
      if (key.first == main_ && count > 0) checkTimer = key.second;
    }
    return checkTimer != 0;
  }, 7s)) << "the check timer did not tick";
  const auto ticked = std::chrono::steady_clock::now();
  probe.Read(true);
  const auto until = [&](std::chrono::milliseconds after) {
    WaitUntil([&] { return std::chrono::steady_clock::now() >= ticked + after; }, after + 1s);
  };
  until(4000ms);
  ASSERT_TRUE(OpenClipboard(TestWindow()));
  until(5800ms);  // the next tick comes meanwhile, and its look waits
  EmptyClipboard();
  const std::string dib = MakeDib(20, 10, 7);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, dib.size());
  memcpy(GlobalLock(block), dib.data(), dib.size());
  GlobalUnlock(block);
  const bool set = SetClipboardData(CF_DIB, block) != nullptr;
  CloseClipboard();
  ASSERT_TRUE(set);
  ASSERT_EQ(TimerProbe::ToWindow(probe.Read(), main_, checkTimer), 1) << "no tick while the clipboard was held";
  EXPECT_TRUE(LabelsBecome({U, E, E, E, E, E, E, E, E, E}));
}

// Puts an enhanced metafile on the clipboard, as drawing programs do.
bool CopyMetafile(HENHMETAFILE metafile) {
  if (!OpenClipboard(TestWindow())) return false;
  EmptyClipboard();
  const bool set = SetClipboardData(CF_ENHMETAFILE, metafile) != nullptr;
  CloseClipboard();
  return set;
}

TEST_F(PictureWindow, MetafilesAreDrawnAtTheirSizeAndAnEmptyOneStoresNothing) {
  // An empty metafile: nothing to draw, no slot taken.
  HDC empty = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(CopyMetafile(CloseEnhMetaFile(empty)));
  WaitUntil([] { return false; }, 1500ms);
  EXPECT_EQ(CountLabels(form5_, U), 0);
  // A drawing 50 x 30 mm fills slot 1.
  RECT frame{0, 0, 5000, 3000};
  HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
  Rectangle(dc, 10, 10, 100, 60);
  ASSERT_TRUE(CopyMetafile(CloseEnhMetaFile(dc)));
  EXPECT_TRUE(LabelsBecome({U, E, E, E, E, E, E, E, E, E}));
}

}  // namespace
}  // namespace e2e
