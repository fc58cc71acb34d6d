// TForm1, the main window: the history list with its edit box, tool buttons and menus,
// and the life of the program from creation to close (and restart).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/app_paths.h"
#include "app/main_layout.h"
#include "gui/control.h"
#include "gui/form.h"
#include "gui/menu.h"
#include "gui/timer.h"

namespace app {

class TForm1 : public gui::Form {
 public:
  TForm1();
  ~TForm1() override;

  void Create();

  // The window scaling routine: scales FormToScale. Every window's creation handler hands
  // itself over through ScaleForm (ScalingActive -1, FormToScale, routine, ScalingActive 0).
  void cuangtisuofangClick();
  void ScaleForm(gui::Form& form);

  const AppPaths& Paths() const { return paths_; }

 protected:
  void CreateControls() override;
  void FormCreate() override;
  void FormShow() override;
  void FormClose(gui::CloseAction& action) override;
  void FormResize() override;
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  // Creation steps.
  void BuildMenus();
  void BindMenuHandlers();
  void Bind(std::u16string_view handler, std::function<void()> action);
  void SetDefaults();
  void SetSwitchStartStates();
  void FillIntroduction();
  void BuildPaths();
  void AddSystemMenuRestartRow();
  void RestoreHookLibrary();

  // Commands of this window's lifecycle.
  void congqidongClick();
  void jiyicuangtidaxiaoClick();
  void caozuoxitongbanben();
  void qidongduruzuceClick();
  void xiugailaodewenjianminClick();
  void mu_geClick();
  void menutianbiaoClick();

  // The clipboard viewer chain.
  void JoinClipboardChain();
  void LeaveClipboardChain();
  void ForwardClipboardMessage(UINT msg, WPARAM wp, LPARAM lp);
  void WMDrawClipboard();
  void WMChangeCBChain(HWND removed, HWND next);

  // Menu switches, wherever the row lives (menu bar, list menu or tray menu); an unknown
  // row reads as unchecked and ignores changes.
  bool Checked(std::u16string_view row) const;
  void SetChecked(std::u16string_view row, bool checked);

  // Layout.
  MainLayout CurrentLayout() const;
  void ApplyLayout(const MainLayout& layout);
  void RememberLayout();

  // Steps that belong to features not built yet: each is one call site, doing nothing yet.
  void ReadSettingsFile();
  void WriteSettingsFile();
  void BuildDataBoxMenus();
  void ApplySkinByNumber();
  void BuildShortcutMenus();
  void LoadFixedEntries();
  void RegisterAltCHotKey();
  void UnregisterAltCHotKey();
  void StopHooks();
  void ReleaseTrayIcon();
  void LoadExitRecord();
  void SaveExitRecord();
  void PlaySoundFile(std::u16string_view waveName);

  AppPaths paths_;

  // Menus.
  gui::Menu MainMenu1;
  gui::Menu PopupMenu1;  // the history list's context menu
  gui::Menu PopupMenu2;  // the tray menu

  // Controls.
  gui::Panel Panel1, Panel2, Panel3, Panel4;
  gui::Control CheckListBox1;
  gui::Control Memo1;
  gui::Button Button1, Button2;
  gui::Button BitBtn2, BitBtn3;
  gui::SpeedButton speedjianqie, speedmosiqiehuan, speeddkwenjian, speedwldizi, speedcuangkouzui;
  gui::SpeedButton SpeedButton_quanbu, SpeedButton_gudin;
  gui::SpinButton SpinButton1;
  gui::Image Image1;
  gui::ProgressBar ProgressBar1;
  gui::Timer Timer1, Timer2;

  // State of this window's lifecycle (flags as the design keeps them: true = -1).
  HWND NextClipViewer = nullptr;
  int HotKeyId = 0;
  gui::Form* FormToScale = nullptr;
  bool ScalingActive = false;
  LayoutGaps layoutGaps_;
  MainLayout rememberedLayout_;
  int ScaledWidth = 0, ScaledHeight = 0;
  bool FillModeActive = false;
  bool FillModeSavedHint = false;
  std::u16string FillModeMemoText;
  bool FormShown = false;
  bool RestartOnClose = false;
  bool FirstStart = false;
  bool NothingDecrypted = true;
  bool SuppressListFocus = true;
  bool ViewerChainJoined = false;
  std::string OSName;
  std::string WindowsVersionName;
  std::u16string WindowTitle;
  int SavedWidth = 0, SavedHeight = 0;
};

}  // namespace app
