// The tray icon component against a fake shell and a fake menu: what it tells the shell and
// when, which mouse messages become which events, and when it may hide the application.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/tray_icon.h"

using namespace desktop;

namespace {

constexpr uint32_t kCallback = 0xC100;
constexpr uint32_t kTaskbarCreated = 0xC101;
constexpr uintptr_t kWindow = 77;
constexpr uintptr_t kAppIcon = 900;

class FakeShell : public TrayPlatform {
 public:
  struct Call {
    TrayShellAction action;
    TrayIconData data;
  };
  std::vector<Call> calls;
  bool refuses = false;      // the shell turns every NIM_ADD down
  bool holdsIcon = false;    // what the shell shows now
  TShiftState shift = 0;
  std::vector<std::string> appSteps;
  bool minimized = false;
  bool windowFreed = false;

  bool ShellNotify(TrayShellAction action, const TrayIconData& data) override {
    calls.push_back({action, data});
    switch (action) {
      case TrayShellAction::Add:
        if (refuses) return false;
        holdsIcon = true;
        return true;
      case TrayShellAction::Modify:
        return holdsIcon;
      case TrayShellAction::Delete: {
        const bool had = holdsIcon;
        holdsIcon = false;
        return had;
      }
    }
    return false;
  }
  uintptr_t AllocateWindow(TTrayIcon&) override { return kWindow; }
  void FreeWindow(uintptr_t window) override {
    EXPECT_EQ(window, kWindow);
    windowFreed = true;
  }
  uint32_t CallbackMessage() override { return kCallback; }
  uint32_t TaskbarCreatedMessage() override { return kTaskbarCreated; }
  TShiftState ShiftState() override { return shift; }
  void CursorPos(int& x, int& y) override {
    x = 1260;
    y = 1010;
  }
  void InstallMainWindowHook(TTrayIcon&) override {}
  void RemoveMainWindowHook(TTrayIcon&) override {}
  bool HasMainForm() override { return true; }
  bool MainFormMinimized() override { return minimized; }
  void MinimizeApplication() override {
    minimized = true;
    appSteps.push_back("minimize");
  }
  void HideMainForm() override { appSteps.push_back("hide form"); }
  void HideApplicationWindow() override { appSteps.push_back("hide app"); }
  void ShowApplicationWindow() override { appSteps.push_back("show app"); }
  void RestoreApplication() override {
    minimized = false;
    appSteps.push_back("restore");
  }
  void ShowMainForm() override { appSteps.push_back("show form"); }
  void CancelMainFormModes() override { appSteps.push_back("cancel modes"); }
  void SetForeground(uintptr_t window) override {
    EXPECT_EQ(window, kWindow);
    appSteps.push_back("foreground");
  }
  void ProcessMessages() override {}
  uintptr_t ApplicationIcon() override { return kAppIcon; }
  uintptr_t DefaultWindowProc(uintptr_t, uint32_t, uintptr_t, intptr_t) override { return 0; }

  int Count(TrayShellAction action) const {
    int n = 0;
    for (const Call& call : calls) n += call.action == action ? 1 : 0;
    return n;
  }
};

class FakeMenu : public TrayPopupMenu {
 public:
  bool autoPopup = true;
  bool hasDefault = false;
  std::vector<std::pair<int, int>> popups;
  int defaultClicks = 0;
  bool AutoPopup() const override { return autoPopup; }
  void Popup(int x, int y, uintptr_t window) override {
    EXPECT_EQ(window, kWindow);
    popups.emplace_back(x, y);
  }
  bool ClickDefaultItem() override {
    if (!hasDefault) return false;
    ++defaultClicks;
    return true;
  }
  bool HandleOwnerMessage(uint32_t, uintptr_t, intptr_t, intptr_t&) override { return false; }
};

struct Clicks {
  std::vector<std::pair<TMouseButton, TShiftState>> clicks;
  int doubleClicks = 0;
  int downs = 0, ups = 0;
  void Watch(TTrayIcon& tray) {
    tray.OnClick = [this](TTrayIcon&, TMouseButton button, TShiftState shift, int, int) {
      clicks.emplace_back(button, shift);
    };
    tray.OnDblClick = [this](TTrayIcon&) { ++doubleClicks; };
    tray.OnMouseDown = [this](TTrayIcon&, TMouseButton, TShiftState, int, int) { ++downs; };
    tray.OnMouseUp = [this](TTrayIcon&, TMouseButton, TShiftState, int, int) { ++ups; };
  }
};

void Mouse(TTrayIcon& tray, uint32_t message) { tray.WndProc(kCallback, 0, static_cast<intptr_t>(message)); }

class Tray : public ::testing::Test {
 protected:
  // An icon as the main window's form gives it: a picture, a hint, loaded.
  void LoadIcon(uintptr_t icon = 500, std::u16string_view hint = u" Quillora12.6") {
    tray.SetIcon(icon);
    tray.SetHint(hint);
    tray.Loaded();
  }
  FakeShell shell;
  TTrayIcon tray{shell};
  Clicks seen;
};

TEST(TrayTip, IsTheShortHintCutToWholeCharacters) {
  EXPECT_EQ(TrayTipOf(u"a|b"), u"a");
  EXPECT_EQ(TrayTipOf(u"|b"), u"");
  EXPECT_EQ(TrayTipOf(std::u16string(80, u'字')), std::u16string(63, u'字'));
  EXPECT_EQ(TrayTipOf(std::u16string(63, u'x')), std::u16string(63, u'x'));
  // A character outside the basic plane across the cut is left out whole.
  const std::u16string pair = u"\U0002A6A5";  // two UTF-16 units
  const std::u16string hint = std::u16string(62, u'x') + pair + u"yy";
  EXPECT_EQ(TrayTipOf(hint), std::u16string(62, u'x'));
  EXPECT_EQ(TrayTipOf(std::u16string(61, u'x') + pair + u"y"), std::u16string(61, u'x') + pair);
}

TEST_F(Tray, NothingReachesTheShellBeforeTheFormIsLoaded) {
  tray.SetIcon(500);
  tray.SetHint(u"提示");
  tray.SetActive(false);
  tray.SetActive(true);
  EXPECT_TRUE(shell.calls.empty());
  tray.Loaded();
  ASSERT_TRUE(tray.Added());
  // Add deletes first, then adds, then sets the tip once more.
  ASSERT_EQ(shell.calls.size(), 3u);
  EXPECT_EQ(shell.calls[1].action, TrayShellAction::Add);
  EXPECT_EQ(shell.calls[1].data.window, kWindow);
  EXPECT_EQ(shell.calls[1].data.id, 0u);
  EXPECT_EQ(shell.calls[1].data.flags, 0x17u);
  EXPECT_EQ(shell.calls[1].data.callbackMessage, kCallback);
  EXPECT_EQ(shell.calls[1].data.icon, 500u);
  EXPECT_EQ(shell.calls[1].data.tip, u"提示");
  EXPECT_EQ(shell.calls[2].action, TrayShellAction::Modify);
}

TEST_F(Tray, SettingActiveToItsValueSendsNothingAndAChangeAddsOrDeletes) {
  LoadIcon();
  shell.calls.clear();
  tray.SetActive(true);
  EXPECT_TRUE(shell.calls.empty());
  tray.HideIcon();
  EXPECT_EQ(shell.Count(TrayShellAction::Delete), 1);
  EXPECT_FALSE(tray.Added());
  EXPECT_FALSE(shell.holdsIcon);
  shell.calls.clear();
  tray.HideIcon();
  EXPECT_TRUE(shell.calls.empty());
  tray.ShowIcon();
  EXPECT_TRUE(tray.Added());
  EXPECT_TRUE(shell.holdsIcon);
}

TEST_F(Tray, HintAndIconChangesUpdateTheShell) {
  LoadIcon();
  shell.calls.clear();
  tray.SetHint(u" Quillora12.6");  // unchanged: nothing
  EXPECT_TRUE(shell.calls.empty());
  tray.SetHint(u"新标题|详细说明");
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].action, TrayShellAction::Modify);
  EXPECT_EQ(shell.calls[0].data.tip, u"新标题");
  // An icon without a picture is taken out of the tray; a picture puts it back.
  tray.SetIcon(0);
  EXPECT_FALSE(tray.Added());
  EXPECT_FALSE(shell.holdsIcon);
  tray.SetUseAppIcon(true);
  EXPECT_TRUE(tray.Added());
  EXPECT_EQ(shell.calls.back().data.icon, kAppIcon);
}

TEST_F(Tray, MouseMessagesBecomeEventsOnlyWhileEnabled) {
  LoadIcon();
  seen.Watch(tray);
  tray.SetEnabled(false);
  for (uint32_t m : {traymsg::kLButtonDown, traymsg::kLButtonUp, traymsg::kLButtonDblClk, traymsg::kMouseMove}) {
    Mouse(tray, m);
  }
  EXPECT_TRUE(seen.clicks.empty());
  EXPECT_EQ(seen.downs + seen.ups + seen.doubleClicks, 0);

  tray.SetEnabled(true);
  shell.shift = ssShift;
  Mouse(tray, traymsg::kLButtonDown);
  Mouse(tray, traymsg::kLButtonUp);
  ASSERT_EQ(seen.clicks.size(), 1u);
  EXPECT_EQ(seen.clicks[0].first, TMouseButton::mbLeft);
  EXPECT_EQ(seen.clicks[0].second, ssShift);
  // A release without its press is no click; a message outside the mouse range is ignored.
  Mouse(tray, traymsg::kLButtonUp);
  Mouse(tray, 0x20A);
  EXPECT_EQ(seen.clicks.size(), 1u);
  EXPECT_EQ(seen.ups, 2);
}

TEST_F(Tray, ARightClickPopsUpAnAutomaticMenuInsteadOfClicking) {
  LoadIcon();
  seen.Watch(tray);
  FakeMenu menu;
  tray.SetPopupMenu(&menu);
  Mouse(tray, traymsg::kRButtonDown);
  Mouse(tray, traymsg::kRButtonUp);
  ASSERT_EQ(menu.popups.size(), 1u);
  EXPECT_EQ(menu.popups[0], std::make_pair(1260, 1010));
  EXPECT_TRUE(seen.clicks.empty());
  EXPECT_EQ(shell.appSteps, (std::vector<std::string>{"cancel modes", "foreground", "foreground"}));

  // A menu that does not pop up by itself, or no menu: the click event.
  menu.autoPopup = false;
  Mouse(tray, traymsg::kRButtonDown);
  Mouse(tray, traymsg::kRButtonUp);
  tray.SetPopupMenu(nullptr);
  Mouse(tray, traymsg::kRButtonDown);
  Mouse(tray, traymsg::kRButtonUp);
  EXPECT_EQ(menu.popups.size(), 1u);
  ASSERT_EQ(seen.clicks.size(), 2u);
  EXPECT_EQ(seen.clicks[1].first, TMouseButton::mbRight);
  // The left button never pops up the menu.
  tray.SetPopupMenu(&menu);
  menu.autoPopup = true;
  Mouse(tray, traymsg::kLButtonDown);
  Mouse(tray, traymsg::kLButtonUp);
  EXPECT_EQ(menu.popups.size(), 1u);
  EXPECT_EQ(seen.clicks.size(), 3u);
}

TEST_F(Tray, ADoubleClickRunsTheDefaultRowOrTheEvent) {
  LoadIcon();
  seen.Watch(tray);
  FakeMenu menu;
  tray.SetPopupMenu(&menu);
  Mouse(tray, traymsg::kLButtonDblClk);
  EXPECT_EQ(seen.doubleClicks, 1);
  menu.hasDefault = true;
  Mouse(tray, traymsg::kLButtonDblClk);
  EXPECT_EQ(menu.defaultClicks, 1);
  EXPECT_EQ(seen.doubleClicks, 1);
  // The double click's second release is no click: its press set no button.
  Mouse(tray, traymsg::kLButtonUp);
  EXPECT_TRUE(seen.clicks.empty());
  EXPECT_EQ(seen.downs, 2);
}

TEST_F(Tray, ARestartedShellGetsAnActiveIconBack) {
  LoadIcon();
  shell.holdsIcon = false;  // the shell went away with it
  tray.WndProc(kTaskbarCreated, 0, 0);
  EXPECT_TRUE(shell.holdsIcon);
  tray.HideIcon();
  shell.calls.clear();
  tray.WndProc(kTaskbarCreated, 0, 0);
  EXPECT_TRUE(shell.calls.empty());
}

TEST_F(Tray, MinimisingHidesTheApplicationOnlyWithTheIconInTheTray) {
  tray.SetAutoHide(true);
  LoadIcon();
  EXPECT_FALSE(tray.MainWindowMessage(traymsg::kSysCommand, 0xF060));  // another command
  EXPECT_TRUE(tray.MainWindowMessage(traymsg::kSysCommand, traymsg::kScMinimize));
  EXPECT_EQ(shell.appSteps, (std::vector<std::string>{"minimize", "hide form", "hide app"}));
  EXPECT_TRUE(tray.ApplicationHidden());
  tray.ShowApplication();
  EXPECT_FALSE(tray.ApplicationHidden());
  EXPECT_FALSE(shell.minimized);

  // The shell lost the icon unannounced and refuses it now: the window is minimised as usual.
  shell.appSteps.clear();
  shell.holdsIcon = false;
  shell.refuses = true;
  EXPECT_FALSE(tray.MainWindowMessage(traymsg::kSysCommand, traymsg::kScMinimize));
  EXPECT_TRUE(shell.appSteps.empty());
  EXPECT_FALSE(tray.Added());

  // Without AutoHide, or hidden from the tray, nothing is hidden either.
  shell.refuses = false;
  tray.SetAutoHide(false);
  EXPECT_FALSE(tray.MainWindowMessage(traymsg::kSysCommand, traymsg::kScMinimize));
  tray.SetAutoHide(true);
  tray.HideIcon();
  EXPECT_FALSE(tray.MainWindowMessage(traymsg::kSysCommand, traymsg::kScMinimize));
  EXPECT_TRUE(shell.appSteps.empty());
}

TEST_F(Tray, AnIconWithoutAPictureTakesTheProgramsBeforeHiding) {
  tray.SetAutoHide(true);
  tray.SetHint(u"提示");
  tray.Loaded();  // no picture: not added
  EXPECT_FALSE(tray.Added());
  EXPECT_TRUE(tray.MainWindowMessage(traymsg::kSysCommand, traymsg::kScMinimize));
  EXPECT_TRUE(tray.Added());
  EXPECT_EQ(tray.Icon(), kAppIcon);
}

TEST_F(Tray, RemovingTheIconShowsAnApplicationHiddenThroughIt) {
  LoadIcon();
  tray.HideApplication();
  ASSERT_TRUE(tray.ApplicationHidden());
  tray.HideIcon();
  EXPECT_FALSE(tray.ApplicationHidden());
  EXPECT_EQ(shell.appSteps.back(), "show form");
}

TEST(TrayLifetime, TheDestructorRemovesTheIconAndFreesTheWindow) {
  FakeShell shell;
  {
    TTrayIcon tray(shell);
    tray.SetIcon(500);
    tray.Loaded();
    ASSERT_TRUE(shell.holdsIcon);
  }
  EXPECT_FALSE(shell.holdsIcon);
  EXPECT_EQ(shell.calls.back().action, TrayShellAction::Delete);
  EXPECT_TRUE(shell.windowFreed);
}

}  // namespace
