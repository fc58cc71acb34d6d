// TForm1, the main window: the history list with its edit box, tool buttons and menus,
// and the life of the program from creation to close (and restart).
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/files/app_paths.h"
#include "app/capture/capture_decision.h"
#include "app/capture/clipboard_wait.h"
#include "app/history/history_model.h"
#include "app/history/history_sink.h"
#include "app/mainform/list_interaction.h"
#include "app/listfile/listfile_commands.h"
#include "app/listfile/listfile_io.h"
#include "app/listfile/listfile_recent.h"
#include "app/settings/settings_values.h"
#include "app/system/sound_player.h"
#include "gui/file_dialogs.h"
#include "app/mainform/main_layout.h"
#include "app/snapshot/snapshot_stream.h"
#include "gui/control.h"
#include "gui/form.h"
#include "gui/gdi.h"
#include "gui/menu.h"
#include "gui/timer.h"
#include "unicode/uni_check_list_box_win32.h"
#include "unicode/uni_hint_window_win32.h"
#include "unicode/uni_memo_win32.h"

namespace app {

class SkinsMenu;

class TForm1 : public gui::Form, private HistorySink {
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
  // Joins again without capturing what the clipboard holds (the window's place in the chain
  // is renewed; nothing was copied).
  void RejoinClipboardChainQuietly();
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
  void ApplyListFont();
  void RememberLayout();

  // The history list and its commands.
  void BindHistoryCommands();
  int SelectedRow() const;
  void SetListFontStyle(ListFontStyle style);

  // HistorySink: the history model's decisions carried out on the controls.
  void listInsertRow(int row, std::u16string_view caption) override;
  void listDeleteRow(int row) override;
  void listMoveRow(int from, int to) override;
  void listSetCaption(int row, std::u16string_view caption) override;
  void listClear() override;
  void listSelect(int row) override;
  void listSetChecked(int row, bool checked) override;
  void trayInsertRow(int menuIndex, std::u16string_view caption) override;
  void trayDeleteRow(int menuIndex) override;
  void traySetCaption(int menuIndex, std::u16string_view caption) override;
  void bookmarkMenuClear() override;
  void bookmarkMenuAddRow(std::u16string_view caption) override;
  void bookmarkMenuRemoveRow(int k) override;
  void bookmarkMenuSetRow(int k, std::u16string_view caption) override;
  void repaintBookmarks() override;
  void playSound(std::u16string_view fileName) override;
  void setHourglass(bool on) override;
  void progressShow(int steps) override;
  void progressStep() override;
  void progressHide() override;
  bool confirm(std::u16string_view caption, std::u16string_view text) override;
  void saveAndReloadFixedEntries() override;
  void showHistoryView() override;
  void clearLastClipText() override;
  void emptyClipboard() override;
  void listModesChanged(const ListModes& modes) override;
  void applyStayOnTop(bool onTop) override;

  // Clipboard work through the hidden memo: the text in, the text out.
  std::u16string ClipboardTextThroughMemo();
  void CopyTextThroughMemo(std::u16string_view text);
  ClipboardWait WaitForClipboard();
  bool ClipboardOpens();
  bool ClipboardHasText() const;

  // The capture, the check timer, monitoring and the row click.
  CaptureSettings CurrentCaptureSettings() const;
  void CaptureText(const CaptureSettings& settings);
  void CaptureWithoutText();
  void StoreClipboardPicture();
  void Timer1Timer();
  void RepairMissedText();
  void menuyouxiaoClick();
  void bujilucongfuClick();
  void BindSnapshotCommands();
  void CheckListBox1Click();
  void yicunwenbenfasongClick();
  void PutEntryOnClipboard(const ClipboardPayload& payload);
  // Runs a write of the program's own to the clipboard under the own-write flag; true when
  // the clipboard changed and the write did not fail.
  bool WriteClipboardOwn(const std::function<void()>& write);
  void AppendAutoSaveRecord(const std::u16string& text);
  void mytuopanClick(int entry);

  // The list's interaction beyond the click.
  void BindListInteraction();
  void CheckListBox1DblClick();
  void CheckListBox1MouseMove(int x, int y);
  void ShowClickHintFor(int row);
  void HideClickHint(bool stopTimer);
  void MouseLeftTheList();
  void DrawRowFrame(int row, COLORREF color);
  void EraseHoverFrame();
  void ShowFirstStartIntroduction();
  void PlayWaveIfExists(std::u16string_view path);

  // The settings file.
  std::filesystem::path BaseFolder() const;
  COLORREF ListTextColor() const;
  void duruseziwenjianClick();
  void mu_savesuxinClick();
  void CollectStoredRows();
  SoundChoice CurrentSoundChoice() const;
  void RestoreRememberedSize();
  void zidongniantieClick();
  void BindSettingsCommands();

  // Entry-list text files.
  enum class ListModeRequest { Off, Folder, WebAddress };
  std::vector<std::u16string> RowTexts() const;
  ListFileNames& Files();
  void ReportFileError(const std::error_code& error);
  bool ReadListIntoRows(ListReadResult read);
  std::u16string TrayEntryCaption(int entry) const;
  void ReadCurrentListFile(ListReader reader);
  void ReadCurrentListFileByKind();
  void PressHistoryView();
  bool WriteRows(ListWriterKind kind);
  void mybaocun();
  void baocunutf8ziClick();
  gui::FileDialogSpec ListDialog(std::u16string_view filter, int filterIndex) const;
  void menuopenClick();
  void menusaveClick();
  void WriteWith(ListSaveWriter writer);
  void SaveAs(int filterIndex);
  void N234Click();
  void daorutempClick();
  void meClick();
  void OpenSampleTable(const std::u16string& file, ListModeRequest mode);
  void genxinzairuClick();
  void AddRecentFile(const std::u16string& file);
  void lastjianClick(int menuPlace);
  void qinkonglisiwenClick();
  void OpenInEditor(const std::u16string& file);
  void BindFileCommands();

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
  std::unique_ptr<SoundPlayer> sounds_;

  // Menus.
  gui::Menu MainMenu1;
  gui::Menu PopupMenu1;  // the history list's context menu
  gui::Menu PopupMenu2;  // the tray menu

  // Controls.
  gui::Panel Panel1, Panel2, Panel3, Panel4;
  unicode::TUniCheckListBox CheckListBox1;
  unicode::TUniMemo Memo1;
  unicode::TUniMemo myUniMemo;  // hidden: carries text to and from the clipboard
  gui::Button Button1, Button2;
  gui::Button BitBtn2, BitBtn3;
  gui::SpeedButton speedjianqie, speedmosiqiehuan, speeddkwenjian, speedwldizi, speedcuangkouzui;
  gui::SpeedButton SpeedButton_quanbu, SpeedButton_gudin;
  gui::SpinButton SpinButton1;
  gui::Image Image1;
  gui::ProgressBar ProgressBar1;
  gui::Timer Timer1, Timer2;

  // The history and the capture state.
  std::unique_ptr<HistoryModel> history_;
  CaptureState capture_;
  CaptureSettings captureSettings_;
  SharedSnapshot ClipSnapshot;
  DWORD ownWriteSequence_ = 0;   // the clipboard's sequence number after the program's last write
  DWORD lastSeenSequence_ = 0;   // ... after the last change the program captured or wrote
  bool ownWriteInProgress_ = false;
  int listBusy_ = 0;             // long list work is running: captures wait for the check timer
  struct BusyScope {
    int& depth;
    explicit BusyScope(int& d) : depth(d) { ++depth; }
    ~BusyScope() { --depth; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
  };
  int progressSteps_ = 0;
  DWORD progressShownAt_ = 0;
  int PastePosition = -1;
  Settings settings_;
  RecentFileList recentFiles_;
  bool exitRecordIncomplete_ = false;  // "temp.txt" could not be read whole at the first show
  gui::UniqueFont listFont_;
  ListFontStyle listFontStyle_ = ListFontStyle::Plain;
  std::unique_ptr<gui::WaitCursor> hourglass_;

  // The list's interaction.
  unicode::TUniCustomHintWindow clickHint_;
  gui::UniqueFont hintFont_;
  int ClickHintRow = -1;
  int HintMoveCount = 0;
  RangeChecker rangeChecker_;
  int HoverRow = -1;
  bool HoverFrameShown = false;

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

  // The skins menu and SkinData1 (main_form_skins_win32.cpp). Last, so that it goes first:
  // the windows are given back their own look while their menus and controls still exist.
  std::unique_ptr<SkinsMenu> skins_;
};

}  // namespace app
