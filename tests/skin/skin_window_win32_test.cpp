// The skin engine on a test form of the gui layer: a form with a menu bar, panels, push
// buttons, a bit button, an up-down control and a button with Tag 99, skinned with the
// shipped skin "新式绿皮" and given back its native look.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "gui/application.h"
#include "gui/control.h"
#include "gui/form.h"
#include "gui/menu.h"
#include "gui/subclass.h"
#include "skin/skin_engine_win32.h"
#include "skin_test_support.h"

namespace {

const std::array<gui::MenuRowSpec, 4> kBar = {{
    {0, u"file", u"文件(&F)", u""},
    {1, u"open", u"打开", u"openClick"},
    {0, u"edit", u"编辑(&E)", u""},
    {1, u"copy", u"复制", u"copyClick"},
}};

class TestForm : public gui::Form {
 public:
  gui::Menu bar;
  gui::Panel panel;
  gui::Button button, bitButton, nativeButton;
  gui::SpinButton spin;
  int clicks = 0;
  std::vector<SIZE> placedFor;  // the client sizes the controls were placed for

 protected:
  void FormResize() override { placedFor.push_back({ClientWidth(), ClientHeight()}); }
  void CreateControls() override {
    bar.Build(gui::Menu::Kind::Bar, kBar, 100);
    bar.Bind(u"openClick", [] {});
    bar.Bind(u"copyClick", [] {});
    SetMenuBar(bar);
    panel.Create(hwnd_, {1, 0, 0, 300, 60}, Font());
    button.Create(panel.Handle(), {2, 10, 10, 80, 26, u"加入"}, Font());
    button.OnClick = [this] { ++clicks; };
    bitButton.Create(hwnd_, {3, 10, 80, 80, 26, u"清除"}, Font());
    bitButton.kind = gui::ControlKind::BitBtn;
    nativeButton.Create(hwnd_, {4, 100, 80, 80, 26, u"原样"}, Font());
    nativeButton.tag = 99;
    spin.Create(hwnd_, {5, 200, 80, 16, 30});
  }
};

const std::u16string kSkin2 = skin_test::DataPath(u"皮肤", u"mxskin2.skn");

class SkinnedWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gui::Application::Instance().Initialize(); }

  void SetUp() override {
    data_.SkinControls = {skin::xcMainMenu, skin::xcPopupMenu, skin::xcCheckBox, skin::xcRadioButton,
                          skin::xcButton,   skin::xcBitBtn,    skin::xcSpin,     skin::xcPanel,
                          skin::xcGroupBox, skin::xcStatusBar, skin::xcSystemMenu};
    skin::LoadedSkinData(data_);
    form_.Create({u"TSkinTestForm", u"皮肤测试窗口", 420, 260, WS_OVERLAPPEDWINDOW});
    GetClientRect(form_.Handle(), &nativeClient_);
    nativeProc_ = GetWindowLongPtrW(form_.Handle(), GWLP_WNDPROC);
  }
  void TearDown() override {
    data_.SetActive(false);
    if (auto* manager = skin::TSkinManage::Existing()) manager->WaitForPendingAction(2000);
    form_.Hide();
    skin::TSkinManage::Shutdown();
  }

  // Names the skin, switches it on and shows the form: skinned when it activates.
  void SkinAndShow() {
    data_.SetSkinFile(kSkin2);
    data_.SetActive(true);
    form_.Show();
    SetForegroundWindow(form_.Handle());
    ASSERT_TRUE(WaitUntilSkinned(form_.Handle()));
  }
  static bool WaitUntilSkinned(HWND hwnd) {
    for (int i = 0; i < 200; ++i) {
      gui::Application::Instance().ProcessMessages();
      auto* manager = skin::TSkinManage::Existing();
      auto* form = manager ? manager->FindSkinForm(hwnd) : nullptr;
      if (form && form->State == 1) return true;
      Sleep(10);
    }
    return false;
  }
  void Unskin() {
    data_.SetActive(false);
    ASSERT_TRUE(skin::TSkinManage::Existing()->WaitForPendingAction(2000));
    gui::Application::Instance().ProcessMessages();
  }
  SIZE ClientSize() const {
    RECT r{};
    GetClientRect(form_.Handle(), &r);
    return {r.right, r.bottom};
  }

  skin::TSkinData data_;
  TestForm form_;
  RECT nativeClient_{};
  LONG_PTR nativeProc_ = 0;
};

TEST_F(SkinnedWindow, AnswersSkinnedAndKeepsItsClientSizeUnderTheSkinsFrame) {
  SkinAndShow();
  HWND hwnd = form_.Handle();
  EXPECT_EQ(SendMessageW(hwnd, skin::kMsgIsSkinned, 0, 0), 1);
  EXPECT_EQ(GetMenu(hwnd), nullptr);  // the bar is the skin's
  const SIZE client = ClientSize();
  EXPECT_EQ(client.cx, nativeClient_.right);
  EXPECT_EQ(client.cy, nativeClient_.bottom);
  RECT window{};
  GetWindowRect(hwnd, &window);
  const skin::FrameBorders b = skin::BordersOf(data_.Model());
  EXPECT_EQ(window.right - window.left, client.cx + b.Left + b.Right);
  EXPECT_EQ(window.bottom - window.top, client.cy + b.Top + b.Bottom + GetSystemMetrics(SM_CYMENU));
  // The skin's corners are rounded: the window has a region without its top-left pixel.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_TRUE(PtInRegion(region, (window.right - window.left) / 2, 1));
  DeleteObject(region);
  // The panel takes the skin's face colour.
  EXPECT_EQ(form_.panel.Color(), skin::ToColorRef(data_.Model().Colors[skin::scButtonFace]));
}

TEST_F(SkinnedWindow, ControlsGetPaintersExceptTag99AndTheyToggleBy3506) {
  SkinAndShow();
  EXPECT_EQ(SendMessageW(form_.button.Handle(), skin::kMsgIsSkinned, 0, 0), 1);
  EXPECT_EQ(SendMessageW(form_.bitButton.Handle(), skin::kMsgIsSkinned, 0, 0), 1);
  EXPECT_EQ(SendMessageW(form_.spin.Handle(), skin::kMsgIsSkinned, 0, 0), 1);
  EXPECT_EQ(SendMessageW(form_.nativeButton.Handle(), skin::kMsgIsSkinned, 0, 0), 0);  // Tag 99

  // The skin paints the button's corner from its picture (magenta corners show the panel);
  // 0x3506 with 0 gives the native look back until 0x3506 with 1.
  HWND button = form_.button.Handle();
  auto centreColour = [&] {
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(button);
    const COLORREF c = GetPixel(dc, 40, 3);
    ReleaseDC(button, dc);
    return c;
  };
  const COLORREF skinned = centreColour();
  SendMessageW(button, skin::kMsgSkinOnOff, 0, 0);
  const COLORREF native = centreColour();
  EXPECT_NE(skinned, native);
  SendMessageW(button, skin::kMsgSkinOnOff, 1, 0);
  EXPECT_EQ(centreColour(), skinned);
}

TEST_F(SkinnedWindow, AClickOnASkinnedButtonStillRunsItsHandler) {
  SkinAndShow();
  HWND button = form_.button.Handle();
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  gui::Application::Instance().ProcessMessages();
  EXPECT_EQ(form_.clicks, 1);
  // Released outside: no click.
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(500, 10));
  gui::Application::Instance().ProcessMessages();
  EXPECT_EQ(form_.clicks, 1);
}

TEST_F(SkinnedWindow, Action7SkinsOneWindowAnew) {
  SkinAndShow();
  auto& manager = skin::TSkinManage::Instance();
  // A colour the skin did not give: skinning anew puts the skin's face colour back.
  form_.SetColor(RGB(1, 2, 3));
  int changed = 0;
  data_.OnSkinChanged = [&](skin::TSkinData&) { ++changed; };
  manager.PostReskin(form_.Handle(), 50);
  ASSERT_TRUE(manager.WaitForPendingAction(1000));
  ASSERT_TRUE(WaitUntilSkinned(form_.Handle()));
  EXPECT_EQ(form_.Color(), skin::ToColorRef(data_.Model().Colors[skin::scButtonFace]));
  EXPECT_EQ(manager.Forms().size(), 1u);
  EXPECT_EQ(changed, 0);  // no event for action 7
  const SIZE client = ClientSize();
  EXPECT_EQ(client.cx, nativeClient_.right);
  EXPECT_EQ(client.cy, nativeClient_.bottom);
}

TEST_F(SkinnedWindow, TheControlsStayPlacedWhileTheSkinComesChangesAndGoes) {
  // The window's frame changes in steps each time; the client keeps its size throughout,
  // so that no control is placed for a passing size (a memo wraps all its text per size).
  const auto onlyNativeClient = [&] {
    for (const SIZE& size : form_.placedFor) {
      if (size.cx != nativeClient_.right || size.cy != nativeClient_.bottom) return false;
    }
    return true;
  };
  const auto sizesSeen = [&] {
    std::string seen;
    for (const SIZE& size : form_.placedFor) seen += std::to_string(size.cx) + "x" + std::to_string(size.cy) + " ";
    return seen;
  };
  form_.placedFor.clear();
  SkinAndShow();
  EXPECT_TRUE(onlyNativeClient()) << "skinned: " << sizesSeen();
  form_.placedFor.clear();
  data_.SetSkinFile(skin_test::DataPath(u"皮肤", u"mxskin39.skn"));
  skin::TSkinManage::Existing()->WaitForPendingAction(2000);
  gui::Application::Instance().ProcessMessages();
  EXPECT_TRUE(onlyNativeClient()) << "another skin: " << sizesSeen();
  form_.placedFor.clear();
  Unskin();
  EXPECT_TRUE(onlyNativeClient()) << "unskinned: " << sizesSeen();
  EXPECT_EQ(ClientSize().cx, nativeClient_.right);
  EXPECT_EQ(ClientSize().cy, nativeClient_.bottom);
}

// A subclass installed after the skin's: it answers a message of its own.
constexpr UINT kLaterMessage = WM_APP + 77;
LRESULT CALLBACK LaterSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == kLaterMessage) return 4321;
  return gui::CallNextSubclass(hwnd, msg, wp, lp);
}

TEST_F(SkinnedWindow, UnskinningRestoresEverythingAndKeepsALaterSubclass) {
  HWND hwnd = form_.Handle();
  HMENU nativeMenu = GetMenu(hwnd);
  const LONG nativeStyle = GetWindowLongW(hwnd, GWL_STYLE);
  SkinAndShow();
  ASSERT_TRUE(gui::InstallSubclass(hwnd, &LaterSubclass, 7, 0));
  Unskin();

  EXPECT_EQ(SendMessageW(hwnd, skin::kMsgIsSkinned, 0, 0), 0);
  EXPECT_EQ(SendMessageW(hwnd, kLaterMessage, 0, 0), 4321);  // the later subclass survives
  gui::RemoveSubclass(hwnd, &LaterSubclass, 7);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), nativeProc_);
  EXPECT_EQ(GetMenu(hwnd), nativeMenu);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_SYSMENU, nativeStyle & WS_SYSMENU);
  EXPECT_EQ(form_.Color(), CLR_INVALID);
  EXPECT_EQ(form_.panel.Color(), CLR_INVALID);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(hwnd, region), ERROR);  // no region
  DeleteObject(region);
  EXPECT_EQ(SendMessageW(form_.button.Handle(), skin::kMsgIsSkinned, 0, 0), 0);
  const SIZE client = ClientSize();
  EXPECT_EQ(client.cx, nativeClient_.right);
  EXPECT_EQ(client.cy, nativeClient_.bottom);
  // Never left hidden by the skin's redraw suspension.
  EXPECT_TRUE(GetWindowLongW(form_.button.Handle(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(SkinnedWindow, AButtonUnskinnedRightAfterAStateChangeStaysVisible) {
  SkinAndShow();
  HWND button = form_.button.Handle();
  SendMessageW(button, BM_SETSTATE, TRUE, 0);
  SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  Unskin();
  EXPECT_TRUE(GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(IsWindowVisible(button));
}

// The message box of the next test is looked at from a timer once it is up.
LRESULT g_boxSkinned = -1, g_buttonSkinned = -1, g_boxStyle = 0;
void CALLBACK LookAtMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowW(L"#32770", L"皮肤测试");
  if (!box) return;
  auto* manager = skin::TSkinManage::Existing();
  auto* form = manager ? manager->FindSkinForm(box) : nullptr;
  if (!form || form->State != 1) return;
  KillTimer(nullptr, id);
  g_boxStyle = GetWindowLongW(box, GWL_STYLE);
  g_boxSkinned = SendMessageW(box, skin::kMsgIsSkinned, 0, 0);
  g_buttonSkinned = SendMessageW(GetDlgItem(box, IDOK), skin::kMsgIsSkinned, 0, 0);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(SkinnedWindow, AMessageBoxIsSkinnedWithItsButtons) {
  SkinAndShow();
  g_boxSkinned = g_buttonSkinned = -1;
  SetTimer(nullptr, 0, 100, &LookAtMessageBox);
  MessageBoxW(form_.Handle(), L"消息框的正文", L"皮肤测试", MB_OK);
  EXPECT_EQ(g_boxSkinned, 1) << "style " << std::hex << g_boxStyle;
  EXPECT_FALSE(g_boxStyle & 0x200);  // Wine's message boxes carry no DS_SETFOREGROUND
  EXPECT_EQ(g_buttonSkinned, 1);
}

// The popup menu of the next test is looked at from a timer while it is open.
LRESULT g_popupSkinned = -1;
void CALLBACK LookAtPopup(HWND, UINT, UINT_PTR id, DWORD) {
  HWND popup = FindWindowW(L"#32768", nullptr);
  if (!popup || !IsWindowVisible(popup)) return;
  KillTimer(nullptr, id);
  g_popupSkinned = SendMessageW(popup, skin::kMsgIsSkinned, 0, 0);
  EndMenu();
}

TEST_F(SkinnedWindow, PopupMenusAreSeenByTheHookAndSkinnedTheirRowsOwnerDrawn) {
  SkinAndShow();
  gui::Menu popup;
  const std::array<gui::MenuRowSpec, 2> rows = {{{0, u"one", u"第一行", u"oneClick"}, {0, u"two", u"第二行", u"oneClick"}}};
  popup.Build(gui::Menu::Kind::Popup, rows, 500);
  popup.Bind(u"oneClick", [] {});
  form_.AddPopupMenu(popup);
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(popup.Handle(), 0, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  g_popupSkinned = -1;
  SetTimer(nullptr, 0, 100, &LookAtPopup);
  popup.Popup(form_.Handle(), 100, 100);
  EXPECT_EQ(g_popupSkinned, 1);  // the CBT hook saw "#32768" and skinned it
}

// The bar item's drop-down of the next test is closed from a timer once it is open.
bool g_dropDownSeen = false;
void CALLBACK CloseDropDown(HWND, UINT, UINT_PTR id, DWORD) {
  HWND popup = FindWindowW(L"#32768", nullptr);
  if (!popup || !IsWindowVisible(popup)) return;
  KillTimer(nullptr, id);
  g_dropDownSeen = true;
  EndMenu();
}
int g_barItemCommands = 0;
UINT g_barItemId = 0;
LRESULT CALLBACK CountBarItemCommands(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_COMMAND && LOWORD(wp) == g_barItemId) ++g_barItemCommands;
  return gui::CallNextSubclass(hwnd, msg, wp, lp);
}

TEST_F(SkinnedWindow, AltOpensTheFirstBarItemWithoutRunningItsCommand) {
  SkinAndShow();
  HWND hwnd = form_.Handle();
  g_barItemId = static_cast<UINT>(form_.bar.At(u"file").id);
  g_barItemCommands = 0;
  g_dropDownSeen = false;
  gui::InstallSubclass(hwnd, &CountBarItemCommands, 9, 0);
  SetTimer(nullptr, 0, 100, &CloseDropDown);
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_KEYMENU, 0);  // Alt alone
  gui::Application::Instance().ProcessMessages();
  gui::RemoveSubclass(hwnd, &CountBarItemCommands, 9);
  EXPECT_TRUE(g_dropDownSeen);
  EXPECT_EQ(g_barItemCommands, 0);  // an item with a drop-down only opens it
  // Its rows were owner-drawn for the skin and keep their texts.
  HMENU file = GetSubMenu(form_.bar.Handle(), 0);
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(file, 0, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  wchar_t text[32] = {};
  GetMenuStringW(file, 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"打开");
}

}  // namespace
