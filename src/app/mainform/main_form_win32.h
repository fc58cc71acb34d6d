// TForm1, the main window: the history list with its edit box, tool buttons and menus,
// and the life of the program from creation to close (and restart).
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "app/databox/menu_plan.h"
#include "app/files/app_paths.h"
#include "app/files/file_error.h"
#include "app/fixed/fixed_entries.h"
#include "app/hotkey/select_to_copy.h"
#include "app/paste/paste_decision.h"
#include "app/capture/capture_decision.h"
#include "app/capture/clipboard_reader_win32.h"
#include "app/capture/clipboard_session_win32.h"
#include "app/capture/clipboard_wait.h"
#include "app/history/history_model.h"
#include "app/history/history_sink.h"
#include "app/mainform/list_interaction.h"
#include "app/listfile/exit_record_prefetch.h"
#include "app/listfile/listfile_commands.h"
#include "app/listfile/listfile_io.h"
#include "app/listfile/listfile_recent.h"
#include "app/database/ado_query.h"
#include "app/database/database_writer.h"
#include "app/reorder/drag_move.h"
#include "app/reorder/entry_search.h"
#include "app/reorder/list_drag_win32.h"
#include "gui/find_dialog.h"
#include "app/settings/settings_values.h"
#include "app/system/sound_player.h"
#include "app/system/wave_player_win32.h"
#include "gui/clipboard_reads.h"
#include "gui/file_dialogs.h"
#include "app/mainform/main_layout.h"
#include "app/snapshot/snapshot_clipboard_win32.h"
#include "app/snapshot/snapshot_reads.h"
#include "app/snapshot/snapshot_stream.h"
#include "desktop/sys_hook.h"
#include "desktop/sys_hook_platform_win32.h"
#include "desktop/tray_icon_win32.h"
#include "cipher/des.h"
#include "gui/control.h"
#include "gui/form.h"
#include "gui/gdi.h"
#include "gui/menu.h"
#include "gui/timer.h"
#include "unicode/uni_check_list_box_win32.h"
#include "unicode/uni_hint_window_win32.h"
#include "unicode/uni_memo_win32.h"
#include "windows/entry_viewer_host.h"
#include "windows/formatted_view_host.h"
#include "windows/options_host.h"

namespace windows {
class TForm2;
class TForm3;
class TForm6;
class Tform8;
class TAboutBox;
}  // namespace windows
#include "windows/picture_form_win32.h"

namespace app {

class SkinsMenu;
class SecondaryWindows;
enum class SecondaryWindow;

class TForm1 : public gui::Form,
               private HistorySink,
               private windows::EntryViewerHost,
               private windows::FormattedViewHost,
               private windows::OptionsHost {
 public:
  TForm1();
  ~TForm1() override;

  void Create();

  // The window scaling routine: scales FormToScale. Every window's creation handler hands
  // itself over through ScaleForm (ScalingActive -1, FormToScale, routine, ScalingActive 0).
  void cuangtisuofangClick();
  void ScaleForm(gui::Form& form);

  const AppPaths& Paths() const { return paths_; }

  // The entry text and hex viewer that N39Click opens (main_form_viewer_win32.cpp).
  void SetEntryViewer(windows::TForm3* viewer);
  // The formatted view that N152Click and the introduction open (main_form_formatted_view_win32.cpp).
  void SetFormattedView(windows::TForm6* view);

  // The options dialog (main_form_options_win32.cpp): what it reaches of this window, and the
  // dialog itself, set before its creation (which switches on the saved features).
  windows::OptionsHost& OptionsSide() { return *this; }
  void SetOptionsDialog(windows::TForm2* dialog) { Form2 = dialog; }

  // The help menu's windows, created after this one.
  void SetHelpWindows(windows::Tform8* form8, windows::TAboutBox* aboutBox) {
    Form8 = form8;
    AboutBox = aboutBox;
  }
  // The picture window, created after this one: what it needs from here, and the window itself.
  windows::PictureWindowHooks PictureWindowHooks();
  void AttachPictureWindow(windows::TForm5& form) { Form5 = &form; }
  // Puts the tray icon into the tray, once, at the first idle turn after this window shows:
  // adding it is a round trip to the shell's process (20-30 ms under Wine) that the window need
  // not wait for. By then the options dialog's start has given it its picture and hint, so the
  // shell gets one addition rather than an addition and two changes. True when it did so now.
  bool StartTrayIcon();
  // Where the secondary windows above are made, after this one shows or when first needed.
  void SetSecondaryWindows(SecondaryWindows* windows) { secondaryWindows_ = windows; }

 protected:
  void CreateControls() override;
  void FormCreate() override;
  void FormShow() override;
  void FormClose(gui::CloseAction& action) override;
  void FormResize() override;
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  // Makes the secondary window (and those before it) when it is not made yet.
  void NeedWindow(SecondaryWindow window);
  SecondaryWindows* secondaryWindows_ = nullptr;

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
  // Joins, or joins again where the window lost its place (the check timer's repairs): it
  // leaves first. The switches that once joined again keep the window where it is.
  void JoinClipboardChain();
  void LeaveClipboardChain();
  void StepOutOfClipboardChain();  // ChangeClipboardChain alone
  void ForwardClipboardMessage(UINT msg, WPARAM wp, LPARAM lp);
  void WMDrawClipboard();
  // The change that WM_DRAWCLIPBOARD announces, taken up unless a capture runs; `fromChain`: the
  // notification came now and is passed on along the chain.
  void TakeClipboardChange(bool fromChain);
  // A change announced while a capture or the check timer waited for its reads is taken up once
  // they are done (posted, so that it runs from the message loop).
  void TakeUpChangeLater();
  void TakeUpPendingChange();
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
  // The window size the layout rules work with: the client area the look of the moment leaves,
  // in the frame the layout was measured in (a skin's frame and menu bar differ from it); and
  // the window sized so that its client area is what such a size leaves.
  Size LayoutWindowSize() const;
  void SetLayoutWindowSize(Size size);

  // The history list and its commands.
  void BindHistoryCommands();
  int SelectedRow() const;
  void SetListFontStyle(ListFontStyle style);

  // HistorySink: the history model's decisions carried out on the controls.
  void listInsertRow(int row, std::u16string_view caption) override;
  void listDeleteRow(int row) override;
  void listMoveRow(int from, int to) override;
  void listSetCaption(int row, std::u16string_view caption) override;
  void listSetCaptions(const std::vector<std::pair<int, std::u16string_view>>& rows) override;
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
  std::optional<std::u16string> SnapshotText(std::span<const std::uint8_t> snapshot) override;
  // False when another program kept the clipboard open through the whole wait.
  bool CopyTextThroughMemo(std::u16string_view text);
  ClipboardWait WaitForClipboard();
  // What the clipboard holds: a text (CF_TEXT or CF_OEMTEXT), a picture. Looked at on the
  // reader's thread (under Wine even a look at the formats waits for the owner's answer);
  // nothing when the clipboard stays busy or the look does not come in time.
  struct ClipboardLook {
    bool text = false;
    bool picture = false;
  };
  // The picture is looked for only without a text, unless `pictureWithText`.
  static ClipboardLook LookAtOpenClipboard(bool pictureWithText);
  std::optional<ClipboardLook> LookAtClipboard();
  // The clipboard's text read on the reader's thread within the budget; nothing when it has
  // none, or when its owner did not give it in time.
  std::optional<std::u16string> ReadClipboardTextInTime();
  bool HandleMessagesWhileReading();
  // An edit box's paste: the clipboard's text read on the reader's thread.
  gui::PastedText ReadTextForPaste();

  // The capture, the check timer, monitoring and the row click.
  CaptureSettings CurrentCaptureSettings() const;
  // What a capture reads in its one hand-over to the reader's thread: the sequence number, the
  // look and the text, and, when the forecast stores the text, its snapshot. The first three
  // (and snapshotRead) are the reader's until `textRead` is set; `reads` is shared safely.
  struct ChangeReads {
    DWORD sequence = 0;
    ClipboardLook look;
    bool snapshotRead = false;
    std::atomic<bool> textRead{false};
    SnapshotReads reads;
    Clipboardbaocun::OwnerQuestion owner;  // the reader's own
  };
  static void ReadChange(ChangeReads& change, const CaptureForecast& forecast, const std::atomic<bool>& stop,
                         unsigned ownerAnswerMs);
  // What the capture does with the reads once they are done or given up.
  void FinishCapture(const CaptureSettings& settings, ChangeReads& change, ClipboardReader::Outcome outcome);
  void CaptureText(const CaptureSettings& settings, ChangeReads& change);
  // What stores a text's entry once its snapshot is read, and what reads that snapshot and hands
  // it to the store, once (from inside a read's wait when the session's end finishes it there).
  using SnapshotStore = std::function<void(SnapshotBytes)>;
  using SnapshotTaker = std::function<void(const SnapshotStore& store)>;
  void ReadSnapshotOfUnchangedClipboard(DWORD sequence, const ReadFormat& text, const SnapshotStore& store);
  // A read of a capture: `finish` takes its outcome once, after the read, or from inside its wait
  // when the session ends there (FinishRunningCapture).
  void RunCaptureRead(const ClipboardReader::Read& read, std::function<void(ClipboardReader::Outcome)> finish);
  // A close that comes inside a wait, or while a box or dialog is open, comes again after it:
  // true when this one is put off so.
  bool PutOffCloseWhileBusy();
  // The session ends while the window waits for a capture's reads: the capture gets the reads'
  // time to end and is finished from here.
  void FinishRunningCapture();
  // Decides on a text of the clipboard and stores it with the snapshot that `takeSnapshot`
  // gives (asked for only when the text is stored), then the autosave record and the effects.
  void StoreClipboardText(const CaptureSettings& settings, const std::u16string& text, const SnapshotTaker& takeSnapshot);
  void RecordStoredText(const std::u16string& text);
  // A text the check timer found on the clipboard and no capture took, with its snapshot, read
  // on the clipboard whose sequence number it keeps.
  struct MissedCopy {
    std::u16string text;
    SharedSnapshot snapshot;
    DWORD sequence = 0;
    bool whole = false;    // every format read in time: it can be put back as it was
    bool givenUp = false;  // the read was given up: the clipboard as it found it is not read again
  };
  std::optional<MissedCopy> ReadMissedCopy(const std::u16string& text);
  // Whether a capture of the text still comes (its news was late), looked for a few times.
  enum class LateCapture { Came, Announced, Missed, SessionEnded };
  LateCapture LookForLateCapture(const MissedCopy& copy);
  void StoreMissedText(const MissedCopy& copy);
  // The add sound and the list's focus after a stored capture, decided when the row went in.
  struct CaptureEffects {
    SoundChoice sound;
    bool focusList;
  };
  static constexpr UINT kCaptureEffectsMessage = WM_APP + 1;  // wParam the sound, lParam the focus
  static constexpr UINT kPendingChangeMessage = WM_APP + 2;
  // A read given up came back from its owner: the clipboard is looked at again.
  static constexpr UINT kReadFreedMessage = WM_APP + 3;
  void PostCaptureEffects(const CaptureEffects& effects);
  void CaptureEffectsNow(const CaptureEffects& effects);
  void CaptureWithoutText(bool picture);
  void StoreClipboardPicture();
  void Timer1Timer();
  void RepairMissedText();
  void menuyouxiaoClick();
  void bujilucongfuClick();
  void BindSnapshotCommands();
  void CheckListBox1Click();
  void yicunwenbenfasongClick();
  // False when another program kept the clipboard open through every wait: the clipboard
  // holds what it held before.
  bool PutEntryOnClipboard(const ClipboardPayload& payload);
  // The box for a command whose entry did not reach the clipboard (the user would paste the
  // old content); the sound for a paste that is not made for that reason.
  void ReportEntryNotPut();
  void SoundEntryNotPut();
  // Runs a write of the program's own to the clipboard, whose change is then no capture
  // (another program's copy not taken yet is taken first); true when the clipboard changed
  // and the write did not fail. State that a capture sets (the last text, the snapshot) is set
  // inside `write`.
  bool WriteClipboardOwn(const std::function<void()>& write);
  // The clipboard's sequence number is the one the program last read or wrote.
  bool ClipboardSeenAlready() const;
  void AppendAutoSaveRecord(const std::u16string& text);
  void mytuopanClick(int entry);

  // The list's interaction beyond the click.
  void BindListInteraction();
  void CheckListBox1DblClick();
  void CheckListBox1MouseMove(int x, int y);
  void ShowClickHintFor(int row);
  void HideClickHint(bool stopTimer);
  void CloseClickHint();  // hides a shown hint and stops its timer; cheap when none is shown
  void MouseLeftTheList();
  void DrawRowFrame(int row, COLORREF color);
  void EraseHoverFrame();
  void ShowFirstStartIntroduction();
  void relieqinzuClick();
  void N56Click();
  windows::Tform8* Form8 = nullptr;
  windows::TAboutBox* AboutBox = nullptr;
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
  std::vector<std::u16string> RunHistoryTexts() const;
  ListFileNames& Files();
  void ReportFileError(const std::error_code& error);
  // The one box for a file the program could not write: which file, why, and what was kept.
  void ReportWriteFailure(WrittenFile file, const std::u16string& path, const std::error_code& error);
  void ReportWriteFailure(WrittenFile file, const std::u16string& path, std::u16string_view reason);
  bool ReadListIntoRows(ListReadResult read);
  std::u16string TrayEntryCaption(int entry) const;
  bool CurrentListFileIsAutoSave() const;
  void ReadCurrentListFile(ListReader reader);
  void ReadCurrentListFileByKind();
  void PressHistoryView();
  bool WriteRows(ListWriterKind kind);
  void mybaocun();
  void baocunutf8ziClick();
  gui::FileDialogSpec ListDialog(std::u16string_view filter, int filterIndex) const;
  void menuopenClick(int filterIndex);
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

  // The entry viewer: N39Click and what the viewer asks of the history.
  void N39Click();
  std::optional<windows::ViewedEntry> SelectedEntry() override;
  std::u16string EntryText(const windows::ViewedEntry& entry) override;
  std::optional<windows::ViewedEntry> SaveEntryText(const windows::ViewedEntry& entry, std::u16string_view text) override;
  windows::TForm3* Form3 = nullptr;

  // The formatted view: N152Click, the introduction, and what the view asks of the history.
  void BindFormattedViewCommands();
  void N152Click();
  void cakansoucijiesaoClick();
  std::u16string ProgramFolder() override;
  bool OwnClipboardWrite(const std::function<void()>& write) override;
  std::vector<std::uint8_t> CaptureClipboard() override;
  bool IsSnapshotStream(std::span<const std::uint8_t> bytes) override;
  bool RestoreSnapshot(std::span<const std::uint8_t> stream) override;
  std::optional<windows::ViewedEntry> SaveEntryContent(const windows::ViewedEntry& entry, std::u16string_view text,
                                                       std::span<const std::uint8_t> snapshot) override;
  void RestoreEntryToClipboard(const windows::ViewedEntry& entry) override;
  windows::TForm6* Form6 = nullptr;

  // Continuous paste and copy, the system-wide hooks (main_form_paste_win32.cpp).
  void SetUpHooks();
  void BindPasteCommands();
  bool StartKeyboardHook();
  PasteSwitches CurrentPasteSwitches() const;
  void SysKeyboardHook1KeyAction(int32_t VirtualKeyCode, bool altIsDown, bool keyIsBeingPressed);
  void fasongwenbenClick();
  void PasteStepAtPosition();
  void CopyStep();
  void SendKeyString(const std::string& keys, bool wait);
  // False when the clipboard stayed busy (nothing is to be pasted then).
  bool PutPasteTextOnClipboard(int row);
  void lianxvniantieClick() override;
  void lianxvfuziClick() override;
  void zidongtiaodaoClick() override;
  void xunhuanniantieClick();
  void xunhuanfasenClick();
  void kaiqigudinkuaijieClick() override;
  void N74Click();

  // The data-box and program-shortcut menus (main_form_databox_win32.cpp).
  using RowHandlerFor = std::function<std::function<void()>(const std::u16string&)>;
  void AddPlannedRows(gui::Menu::Row* parent, int at, const std::vector<MenuPlanRow>& rows,
                      const RowHandlerFor& handler);
  std::function<void()> DataBoxRowHandler(const std::u16string& path);
  void liecukeyiexezi(const std::vector<MenuPlanRow>& folders, gui::Menu::Row* parent, const RowHandlerFor& handler);
  void MyClick(const std::u16string& file);
  void bianjiMyClick(const std::u16string& file);
  void cenxvkuaijiedongtaiClick();
  void ScanShortcutFolder(const std::u16string& folder, gui::Menu::Row* parent);
  void ShortcutMenuItemClick(const std::u16string& link);
  void BindDataBoxCommands();
  int DataBoxMenuMode = 1;  // 1 while the open menu is built, 2 while the edit menu is

  // The options dialog and its opening rows (main_form_options_win32.cpp).
  void BindOptionsCommands();
  void OpenOptions(int tab);
  void MirrorSwitchBoxes(std::optional<bool> pasteBox, std::optional<bool> copyBox);
  windows::OptionsValues OptionValues() const override;
  void SetOptionValues(const windows::OptionsValues& values) override;
  std::u16string BaseDirectory() const override { return paths_.BaseDir; }
  bool RowChecked(windows::OptionsRow row) const override;
  void SetRowChecked(windows::OptionsRow row, bool checked) override;
  void SetRowCaption(windows::OptionsRow row, std::u16string_view caption) override;
  void SetApplicationTitle(std::u16string_view title) override;
  void SetApplicationIcon(const std::u16string& iconFile) override;
  void TrayShowIcon() override;
  void TrayHideIcon() override;
  void TraySetHint(std::u16string_view hint) override;
  void TraySetUseAppIcon(bool use) override;
  void TraySetAutoHide(bool autoHide) override;
  int SelectedListRow() const override { return SelectedRow(); }
  int CurrentPastePosition() const override { return PastePosition; }
  void SetPastePosition(int position) override { PastePosition = position; }
  std::optional<std::u16string> BrowseForFile(std::u16string_view filter, std::u16string_view folder) override;
  windows::TForm2* Form2 = nullptr;
  gui::UniqueIcon appIconBig_, appIconSmall_;

  // Fixed entries (main_form_fixed_win32.cpp).
  void BindFixedCommands();
  const std::u16string& FixedFile() const { return history_->fixedEntriesFile(); }
  void suaxingudinClick();
  void ReloadFixedEntries(bool reportProblems);
  void FixedEntriesFollowTheView();
  void AddFixedMenuRow(int n);
  void gudintiaomuziClick(int n);
  void PasteFixedEntry(int n);
  void tianjiadaogudintiaomuClick();
  void gudindiaoruliebiaokuangClick();
  void SpeedButton_gudinClick();
  void SpeedButton_quanbuClick();
  // The encryption commands.
  void BindEncryptionCommands();
  void jiamiClick();
  void jiemiClick();
  void RunCipherCommand(std::u16string_view password, bool encrypt);
  // Pictures from the clipboard: the picture slots and picture files (main_form_pictures_win32.cpp).
  void BindPictureCommands();
  windows::Picture ReadClipboardPicture();
  ClipboardReader::Read ReadPictureInto(std::shared_ptr<windows::Picture> picture) const;
  void myimageszancunziClick(const windows::Picture& picture);
  void tupianbaocunziClick(const windows::Picture& picture);
  void menu_tupianbaocunClick();
  void qinkongjianqiebanClick();
  void jiansitupiangesiClick();
  void N131Click();
  void N137Click();
  bool PictureRepairDue();
  void RepairClipboardPicture();
  bool PutPictureOnClipboard(const windows::Picture& picture);
  void OpenFolderInExplorer(const std::u16string& folder, int show);
  // A folder of the program below BaseDir, made first when it is not there yet, so that
  // Explorer never gets a folder that does not exist.
  void OpenProgramFolder(std::u16string_view name);

  // The Explorer options and the desktop (main_form_explorer_win32.cpp).
  void BindExplorerCommands();
  void ApplyExplorerOption(bool hiddenFiles);
  void RefreshExplorerWindows();
  void xiansizuomianClick();

  // Folder entries, text conversions, the list font, the workbook import and the help rows
  // (main_form_commands_win32.cpp).
  void BindOtherCommands();
  void tianjiamuluClick();
  void piliangdakaiClick();
  void N67Click();
  void ConvertSelectedEntry(std::u16string (*convert)(std::u16string_view));
  void N105Click();
  void EXCEL1Click();
  void OpenHelpText(std::u16string_view fileName);

  // The entry database (main_form_database_win32.cpp).
  std::u16string DatabaseTemplateFile() const;
  bool daorusujukeziClick();  // true when the database was read whole (or held no record)
  bool WriteDatabaseFile(const std::u16string& file, int onlyRow);  // onlyRow -1: every row
  // A failed write is reported as the file `reportAs` when given (which file, why, what was
  // kept), else with the writer's own message.
  bool WriteDatabaseRecords(const std::u16string& file, std::span<const DatabaseRecord> records,
                            std::optional<WrittenFile> reportAs = std::nullopt);
  void baocunweisujukuziClick();
  void danxiangbaocunweisujukuziClick();
  void tuicubaocunweisujukuClick();
  void qidongjiazaituicusujukuClick();
  void BindDatabaseCommands();

  // Bookmarks, the drag move, the sort and the search (main_form_bookmarks_win32.cpp,
  // main_form_reorder_win32.cpp, main_form_search_win32.cpp).
  void BindListReorder();
  void BindBookmarkCommands();
  void menu_seweisuqianClick();
  void cexiaosuoyousuqianClick();
  void BookmarkMenuItemClick(int tag);
  void huacusuqianziClick();
  void BindDragMove();
  void CheckListBox1StartDrag(int pressedRow);
  void CheckListBox1DragOver(int x, int y);
  void CheckListBox1DragDrop(int x, int y);
  void N42Click();
  void N178Click();
  void FindDialog1Find();
  void FindDialog1Close();

  // The tray icon and its menu (main_form_tray_win32.cpp).
  void SetUpTrayIcon();
  void BindTrayCommands();
  void TrayIcon1Click();
  void Minimize();
  void tuopantuicuClick();
  void tuopanjiansiClick();
  void xiansituopanClick();
  std::unique_ptr<desktop::TrayPlatform> trayPlatform_;
  std::unique_ptr<desktop::MenuTrayPopup> trayPopup_;
  std::unique_ptr<desktop::TTrayIcon> TrayIcon1;
  bool trayStarted_ = false;  // StartTrayIcon ran
  gui::UniqueIcon applicationIcon_, windowSmallIcon_;  // from the icon file of the settings

  // Alt+C and select-to-copy (main_form_hotkey_win32.cpp).
  void BindHotKeyCommands();
  void diaoyongkuaisuClick();
  bool WMHotKey(LPARAM lp);
  void huacifuziClick();
  void SysMouseHook1MouseClick(desktop::TMouseButton button, desktop::TSysMouseButtonMovement movement);
  void SysMouseHook1MouseMove();
  bool hotKeyRegistered_ = false;
  bool hotKeyFailureShown_ = false;
  bool MouseHookStarted = false;
  MouseDragCounter mouseDrag_;

  // Steps of the creation, the first show and the close, each one call site.
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
  // The close's question after the decryption command was used: save the exit record?
  bool AskToSaveAfterDecryption();
  // The session ends with that question unanswered: its box goes, as if Cancel was pressed.
  void DismissCloseQuestion();
  // The close's steps that save and let go (exit record, viewer chain, hooks, settings, hot
  // key), run once: at the close, or when Windows ends the session before it. The tray icon is
  // let go at the close only: the session's end can come while the icon is being added (a
  // message sent to this window while the shell is asked), and the process ends right after.
  // Before start-up loaded the exit record and the settings they write neither (only the
  // session's end gets here so early: a close waits, see PutOffCloseUntilStartedUp).
  void RunCloseSteps(bool saveExitRecord);
  // A close that comes while the window is made or first shown (another program's, while a box
  // of the start-up shows) comes again once start-up is done: true when this one is put off so.
  bool PutOffCloseUntilStartedUp();
  // Creation and the first show have both run: from now on a close writes what they loaded.
  void FinishStartUpWhenShown();
  void RemoveStaleTemporaryFiles();
  void PlaySoundFile(std::u16string_view waveName);

  AppPaths paths_;
  AsyncWavePlayer wavePlayer_;
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
  DWORD lastSeenSequence_ = 0;   // the clipboard's sequence number after the last change the program read or wrote
  bool ownWriteInProgress_ = false;
  // The clipboard's reads of the capture, the check timer and the pictures.
  ClipboardReader clipboardReader_{[this] { return HandleMessagesWhileReading(); }};
  bool changePending_ = false;    // a change came meanwhile: taken up when the reads are done
  // The capture whose reads the window waits for, to finish from inside the wait when the
  // session ends meanwhile.
  std::function<void(ClipboardReader::Outcome)> runningCapture_;
  // The copy the check timer read, while it looks for its late capture and puts it back: stored
  // when the session ends meanwhile.
  std::optional<MissedCopy> missedCopyInRepair_;
  bool closePutOff_ = false;      // a close came inside a wait or under a box: it comes again after it
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
  // Continuous paste, copy and the fixed-entry keys.
  desktop::TSysKeyboardHook SysKeyboardHook1{desktop::Win32HookPlatform()};
  desktop::TSysMouseHook SysMouseHook1{desktop::Win32HookPlatform()};  // started by select-to-copy
  PasteState paste_;
  gui::Timer FixedPasteTimer;  // the 300 ms between a fixed entry on the clipboard and its Ctrl+V
  gui::Timer WrapPauseTimer;   // the 4000 ms pause after the wrap to the first row
  FixedEntryTable fixed_;
  int HistoryViewRow = 0;
  int FixedViewRow = 0;
  Settings settings_;
  RecentFileList recentFiles_;
  bool exitRecordIncomplete_ = false;  // "temp.txt" could not be read whole at the first show
  ExitRecordPrefetch exitRecordPrefetch_;  // the exit record read while the window is made
  gui::UniqueFont listFont_;
  ListFontStyle listFontStyle_ = ListFontStyle::Plain;
  std::unique_ptr<gui::WaitCursor> hourglass_;
  cipher::TCph_3des Cph_3des1;

  // The entry database, bookmarks, drag move and search.
  TADOConnection ADOConnection1;
  TADOQuery ADOQuery1{&ADOConnection1};
  int DragRow = -1;
  std::unique_ptr<ListDragTracker> dragTracker_;
  std::unique_ptr<gui::FindDialog> FindDialog1;
  FindState find_;

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
  Size layoutFrame_;  // window size less client size when the gaps were measured
  MainLayout rememberedLayout_;
  int ScaledWidth = 0, ScaledHeight = 0;
  bool FillModeActive = false;
  bool FillModeSavedHint = false;
  std::u16string FillModeMemoText;
  bool FormShown = false;
  bool Created = false;  // FormCreate has run to its end
  // Creation and the first show are done: the exit record and the settings are loaded.
  bool StartUpDone = false;
  bool closeAfterStartUp_ = false;  // a close came before that: it comes again then
  bool RestartOnClose = false;
  bool FirstStart = false;
  bool NothingDecrypted = true;
  bool CloseStepsDone = false;
  // The answer given while Windows asked whether the session may end (save the exit record?),
  // kept for the end of the session.
  std::optional<bool> EndSessionSave;
  // The close's question shows (it is asked once, see AskToSaveAfterDecryption).
  bool CloseQuestionOpen = false;
  // A close came while the question showed. When Windows' question asked it, that close comes
  // again once it is answered and takes that answer (CloseAnswer): the end may be called off.
  bool CloseDuringQuestion = false;
  std::optional<bool> CloseAnswer;
  // Windows ends the session: no one is left to answer a box.
  bool SessionEnding = false;
  bool SuppressListFocus = true;
  bool ViewerChainJoined = false;
  bool joiningChain_ = false;  // SetClipboardViewer runs: its notification is not passed on
  std::string OSName;
  std::string WindowsVersionName;
  windows::TForm5* Form5 = nullptr;
  bool ExplorerWindowFound = false;
  std::u16string LastFolder;

  // The skins menu and SkinData1 (main_form_skins_win32.cpp). Last, so that it goes first:
  // the windows are given back their own look while their menus and controls still exist.
  std::unique_ptr<SkinsMenu> skins_;
};

}  // namespace app
