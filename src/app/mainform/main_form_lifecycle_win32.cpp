// TForm1: creation, first show, close and restart; the scaling routine; the clipboard
// viewer chain; the small start-up services (Windows version, Explorer options, old
// sample-table names, the hook library's spare copy).
#include <windows.h>
#include <shellapi.h>

#include <filesystem>
#include <utility>

#include "app/mainform/main_form_win32.h"
#include "app/startup/secondary_windows_win32.h"
#include "app/system/os_version.h"
#include "app/files/atomic_file.h"
#include "app/files/spare_copy.h"
#include "app/settings/settings_file.h"
#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/gdi.h"
#include "gui/wide.h"
#include "unicode/codepage.h"

namespace app {

namespace {
constexpr UINT kRestartCommand = 200;
constexpr char16_t kUsageHint[] = u"历史文本列表框，单击为复制到剪切板，双击为复制加隐藏，填表模式按钮为切换窗口大小";

using gui::FileExists;

std::u16string CurrentDirectory() {
  const DWORD need = GetCurrentDirectoryW(0, nullptr);
  std::wstring buffer(need, L'\0');
  const DWORD got = GetCurrentDirectoryW(need, buffer.data());
  buffer.resize(got);
  return gui::U(buffer);
}

std::u16string OwnProgramPath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got < buffer.size()) {
      buffer.resize(got);
      return gui::U(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}
}  // namespace

// ---- Scaling --------------------------------------------------------------------------------

void TForm1::ScaleForm(gui::Form& form) {
  ScalingActive = true;
  FormToScale = &form;
  cuangtisuofangClick();
  ScalingActive = false;
}

void TForm1::cuangtisuofangClick() {
  if (!FormToScale) return;
  const Size screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!ScreenNeedsScaling(screen)) return;
  const Size scaled = ScaleToScreen({FormToScale->Width(), FormToScale->Height()}, screen);
  FormToScale->SetHeight(scaled.height);
  FormToScale->SetWidth(scaled.width);
  if (FormToScale == this) {
    ApplyLayout(ApplyResizeRule(CurrentLayout(), layoutGaps_, LayoutWindowSize()));
    RememberLayout();
  }
}

// ---- Creation ---------------------------------------------------------------------------------

void TForm1::FormCreate() {
  // 1. Layout measured before scaling, then scaled.
  layoutFrame_ = {Width() - ClientWidth(), Height() - ClientHeight()};
  layoutGaps_ = MeasureGaps(CurrentLayout());
  RememberLayout();
  ScaleForm(*this);
  ScaledWidth = Width();
  ScaledHeight = Height();

  // 2.-4. Defaults, switch states, the introduction and the usage hint row.
  BuildPaths();
  history_ = std::make_unique<HistoryModel>(static_cast<HistorySink&>(*this), FixedEntriesFile(paths_.BaseDir));
  SetDefaults();
  SetSwitchStartStates();
  FillIntroduction();

  // 5. Paths below the start-up folder (built above, the model needs them), old sample names.
  xiugailaodewenjianminClick();
  settings_ = DefaultSettings(paths_.BaseDir);
  BindFileCommands();
  BindSettingsCommands();
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  OSName = GetOSVersionName({version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion,
                             version.szCSDVersion});

  RemoveStaleTemporaryFiles();

  // 6.-8.
  ReadSettingsFile();
  // The first show will read the exit record: that read runs while the rest is made.
  if (Checked(u"qidongjiazaisangcibaocun") && !Checked(u"menu_tuicubaocunweisujuku")) {
    exitRecordPrefetch_.Start(std::filesystem::path(paths_.ExitRecordFile));
  }
  SetUpTrayIcon();
  BuildDataBoxMenus();

  // 9. Join the clipboard viewer chain; from now on a capture may move the focus to the list.
  clipboardReader_.SetWindow(Handle());
  clipboardReader_.NotifyWhenFreed(Handle(), kReadFreedMessage);
  // The edit boxes paste through the reader too: an owner slow to render holds no window.
  gui::SetPasteTextReader([this] { return ReadTextForPaste(); });
  unicode::TUniCustomMemo::SetPasteHandler(gui::PasteIntoEdit);
  JoinClipboardChain();
  SuppressListFocus = false;

  // 10.-14.
  RestoreHookLibrary();
  SetUpHooks();
  ApplySkinByNumber();
  AddSystemMenuRestartRow();
  BuildShortcutMenus();
  caozuoxitongbanben();
  LoadFixedEntries();
  RegisterAltCHotKey();
  qidongduruzuceClick();

  // 15.
  ProgressBar1.SetVisible(false);
  ProgressBar1.SetPosition(0);
  Created = true;
  FinishStartUpWhenShown();
}

void TForm1::SetDefaults() {
  FormShown = false;
  RestartOnClose = false;
  FirstStart = false;
  NothingDecrypted = true;
  SuppressListFocus = true;
  FillModeActive = false;
  FillModeSavedHint = false;
}

void TForm1::SetSwitchStartStates() {
  speedjianqie.SetDown(true);
  speedmosiqiehuan.SetDown(false);
  for (const char16_t* row : {u"dakai", u"menutop", u"menuquang"}) SetChecked(row, false);
  for (const char16_t* row : {u"menuinter", u"menutianbiao"}) SetChecked(row, !Checked(row));
  MainMenu1.SetVisible(u"qidongyincang", false);
}

void TForm1::FillIntroduction() {
  Memo1.SetText(
      u"这里是编辑框：可以在这里输入或修改文本。\r\n"
      u"按“加入”把编辑框中的文本加入历史列表，按“清除”清空编辑框。\r\n"
      u"在其他程序中复制的文本会自动出现在下面的历史列表中。\r\n"
      u"单击列表中的条目即可把它重新放到剪切板上。");
  // Row 0 holds the usage hint, as text only.
  history_->beginReplace();
  history_->appendLoaded(kUsageHint, nullptr);
}

void TForm1::BuildPaths() {
  paths_ = MakeAppPaths(CurrentDirectory());
  sounds_ = std::make_unique<SoundPlayer>(
      paths_.SoundDir, [](const std::u16string& path) { return FileExists(path); },
      [this](const std::u16string& path) { wavePlayer_.Play(path); },
      [] { MessageBeep(0); });
}

void TForm1::AddSystemMenuRestartRow() {
  HMENU system = GetSystemMenu(Handle(), FALSE);
  AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(system, MF_STRING, kRestartCommand, L"重启动本程序");
}

void TForm1::RestoreHookLibrary() {
  FirstStart = false;
  if (FileExists(paths_.HookLibraryFile)) return;
  FirstStart = true;
  gui::ShowMessage(u"文件丢失，SysHookDLL.dll不是病毒文件，现在即刻恢复！\r我为什么要这样设计？ 参见帮助");
  // The copy is written beside the target and renamed into place only when complete, so a
  // failed copy never leaves a half-written library that would be loaded next time.
  if (!RestoreFromSpareCopy(std::filesystem::path(paths_.HookLibrarySpare),
                            std::filesystem::path(paths_.HookLibraryFile))) {
    gui::MessageBoxU(u"无法拷贝文件", u"出错", MB_OK | MB_ICONERROR);
  }
}

void TForm1::NeedWindow(SecondaryWindow window) {
  if (secondaryWindows_) secondaryWindows_->MakeUpTo(window);
}

// ---- First show, close, restart -----------------------------------------------------------------

void TForm1::FormShow() {
  if (FormShown) return;
  FormShown = true;
  LoadExitRecord();
  exitRecordPrefetch_.Drop();  // not taken when the start did not read the exit record after all
  RestoreRememberedSize();
  FinishStartUpWhenShown();
}

void TForm1::FinishStartUpWhenShown() {
  if (StartUpDone || !Created || !FormShown) return;
  StartUpDone = true;
  if (std::exchange(closeAfterStartUp_, false)) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

bool TForm1::PutOffCloseUntilStartedUp() {
  // Until then the rows are not the exit record yet (it would be overwritten by the start-up's
  // capture alone), the window not at its remembered size, and the window must not go under
  // the code that makes it: a box of the start-up handles messages.
  if (StartUpDone) return false;
  closeAfterStartUp_ = true;
  return true;
}

namespace {

constexpr wchar_t kCloseQuestionCaption[] = L"退出记录保存选择";

BOOL CALLBACK EndCloseQuestion(HWND window, LPARAM) {
  wchar_t kind[16] = {}, caption[32] = {};
  GetClassNameW(window, kind, 16);
  GetWindowTextW(window, caption, 32);
  if (wcscmp(kind, L"#32770") != 0 || wcscmp(caption, kCloseQuestionCaption) != 0) return TRUE;
  EndDialog(window, IDCANCEL);
  return FALSE;
}

}  // namespace

bool TForm1::AskToSaveAfterDecryption() {
  // The box's loop handles what Windows sends meanwhile: its question whether the session may
  // end, and the end itself, must not ask again (HandleMessage).
  CloseQuestionOpen = true;
  const bool save = gui::Confirm(
      u"你已经使用过解密功能，为了你的数据安全，防止泄密，你确信保存这次退出记录吗?（不推荐保存，可按取消）",
      gui::U(kCloseQuestionCaption));
  CloseQuestionOpen = false;
  return save;
}

void TForm1::DismissCloseQuestion() { EnumThreadWindows(GetCurrentThreadId(), EndCloseQuestion, 0); }

void TForm1::RunCloseSteps(bool saveExitRecord) {
  if (CloseStepsDone) return;
  CloseStepsDone = true;
  if (saveExitRecord && StartUpDone) SaveExitRecord();
  LeaveClipboardChain();
  StopHooks();
  if (StartUpDone) WriteSettingsFile();
  UnregisterAltCHotKey();
}

void TForm1::FormClose(gui::CloseAction& action) {
  // A close that comes while the question is open (the tray's 退出, another program) does not
  // run inside its box. When a close asked it, this is that same close: its answer ends the
  // program. When Windows asked it, this close comes again with its answer (HandleMessage).
  if (CloseQuestionOpen) {
    CloseDuringQuestion = true;
    action = gui::CloseAction::None;
    return;
  }
  // After the session's end ran the steps, the window only goes.
  if (!CloseStepsDone) {
    const bool save = CloseAnswer ? *CloseAnswer : NothingDecrypted || AskToSaveAfterDecryption();
    CloseDuringQuestion = false;
    RunCloseSteps(save);
  }
  ReleaseTrayIcon();
  if (RestartOnClose && !SessionEnding) {
    // The path is quoted, so that a program folder with blanks in its name starts again.
    std::u16string command = u"\"" + OwnProgramPath() + u"\"";
    STARTUPINFOW si{sizeof si};
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, const_cast<wchar_t*>(gui::W(command)), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &si, &pi)) {
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
  }
  action = gui::CloseAction::Free;
}

void TForm1::RemoveStaleTemporaryFiles() {
  // What a write cut short by a crash or a power cut left beside the program's own files; one
  // written in the last minute may be another instance's on its way, and stays.
  const std::filesystem::path base(paths_.BaseDir);
  std::vector<std::u16string> names;
  for (const std::u16string& file : {paths_.ExitRecordFile, paths_.AutoSaveFile, paths_.ExitDatabaseFile,
                                     SettingsFilePath(base).u16string(), FixedEntriesFile(paths_.BaseDir),
                                     paths_.HookLibraryFile}) {
    const std::filesystem::path path(file);
    const std::u16string name = path.filename().u16string();
    if (path.parent_path() == base) names.push_back(name);
    else RemoveStaleTemporaries(path.parent_path(), std::span<const std::u16string>(&name, 1));
  }
  RemoveStaleTemporaries(base, names);
}

void TForm1::congqidongClick() {
  RestartOnClose = true;
  SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

bool TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_QUERYENDSESSION:
      // Windows is about to end the session: the close's question is asked now, while the
      // user can still answer it; the answer is kept for the end of the session. When it is
      // open already (the close asked it), Windows is answered at once. A close the user made
      // meanwhile comes again with that answer: it is done even when the end is called off.
      if (!CloseStepsDone && !CloseQuestionOpen) {
        EndSessionSave = NothingDecrypted || AskToSaveAfterDecryption();
        if (std::exchange(CloseDuringQuestion, false)) {
          CloseAnswer = EndSessionSave;
          PostMessageW(Handle(), WM_CLOSE, 0, 0);
        }
      }
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      // The process is ended right after this returns, without a close: the close's saving
      // steps run now, once, and show no box (a failed write keeps the old file). A question
      // still open takes its recommended answer (Cancel: the old exit record is kept) and goes.
      if (wp) {
        SessionEnding = true;
        // A copy whose reads the window waits for goes into the exit record too.
        FinishRunningCapture();
        RunCloseSteps(EndSessionSave.value_or(NothingDecrypted));  // false while the question shows
        if (CloseQuestionOpen) DismissCloseQuestion();
      }
      EndSessionSave.reset();
      result = 0;
      return true;
    case WM_SYSCOMMAND:
      result = DefWindowProcW(Handle(), msg, wp, lp);
      if (wp == kRestartCommand) congqidongClick();
      return true;
    case WM_HOTKEY:
      if (!WMHotKey(lp)) return false;
      result = 1;
      return true;
    case WM_CLOSE:
      if (!PutOffCloseUntilStartedUp() && !PutOffCloseWhileBusy()) return false;
      result = 0;
      return true;
    case WM_DRAWCLIPBOARD:
      WMDrawClipboard();
      result = 0;
      return true;
    case kPendingChangeMessage:
      TakeUpPendingChange();
      result = 0;
      return true;
    case kReadFreedMessage:
      // A copy announced while the read was held is taken now, once. The copy the read was
      // given up in is not taken again (its owner going away changes the clipboard too).
      TakeUpPendingChange();
      result = 0;
      return true;
    case kCaptureEffectsMessage:
      CaptureEffectsNow({static_cast<SoundChoice>(wp), lp != 0});
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      MouseLeftTheList();
      return false;
    case WM_CHANGECBCHAIN:
      WMChangeCBChain(reinterpret_cast<HWND>(wp), reinterpret_cast<HWND>(lp));
      result = 0;
      return true;
    default:
      // The find dialog reports to its owner through a registered message.
      if (FindDialog1 && FindDialog1->HandleOwnerMessage(msg, wp, lp)) {
        result = 0;
        return true;
      }
      return false;
  }
}

// ---- The clipboard viewer chain ---------------------------------------------------------------

void TForm1::JoinClipboardChain() {
  // Joining again while still in the chain would put this window in twice, and the chain
  // would loop: leave first.
  if (ViewerChainJoined) StepOutOfClipboardChain();
  // The notification that joining sends (at once, on this thread) is this window's alone.
  joiningChain_ = true;
  NextClipViewer = SetClipboardViewer(Handle());
  joiningChain_ = false;
  if (NextClipViewer == Handle()) NextClipViewer = nullptr;
  ViewerChainJoined = true;
}

void TForm1::StepOutOfClipboardChain() {
  // Wine refuses a successor that is no window any more (a viewer that crashed), and the
  // window would stay in the chain: the chain then ends here.
  if (NextClipViewer && !IsWindow(NextClipViewer)) NextClipViewer = nullptr;
  ChangeClipboardChain(Handle(), NextClipViewer);
}

void TForm1::LeaveClipboardChain() {
  if (!ViewerChainJoined) return;
  StepOutOfClipboardChain();
  if (NextClipViewer) {
    SendMessageTimeoutW(NextClipViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(Handle()),
                        reinterpret_cast<LPARAM>(NextClipViewer), SMTO_ABORTIFHUNG, 2000, nullptr);
  }
  ViewerChainJoined = false;
}

void TForm1::ForwardClipboardMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (NextClipViewer && NextClipViewer != Handle()) SendMessageW(NextClipViewer, msg, wp, lp);
}

void TForm1::WMChangeCBChain(HWND removed, HWND next) {
  // A viewer leaves the chain: when it is our successor we take its successor, otherwise
  // the news goes on down the chain.
  if (removed == NextClipViewer) {
    NextClipViewer = next;
  } else {
    ForwardClipboardMessage(WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed), reinterpret_cast<LPARAM>(next));
  }
}

// ---- Start-up services --------------------------------------------------------------------------

void TForm1::caozuoxitongbanben() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;  // the 148-byte record
  GetVersionExA(&version);
  WindowsVersionName = WindowsVersionNameFor(GetWindowsVersionCode(
      {version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion, version.szCSDVersion}));
}

void TForm1::xiugailaodewenjianminClick() {
  for (const auto& [oldName, newName] : paths_.SampleTableRenames) {
    if (FileExists(oldName) && !FileExists(newName)) {
      SetFileAttributesW(gui::W(oldName), FILE_ATTRIBUTE_NORMAL);
      MoveFileW(gui::W(oldName), gui::W(newName));
    }
  }
}

void TForm1::qidongduruzuceClick() {
  constexpr wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
  auto readDword = [](HKEY key, const wchar_t* name, DWORD& value) {
    DWORD size = sizeof value;
    DWORD type = 0;
    return RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
           type == REG_DWORD;
  };
  auto setRow = [this](const char16_t* name, bool checked) {
    for (gui::Menu* menu : {&MainMenu1, &PopupMenu1, &PopupMenu2}) {
      if (menu->Find(name)) menu->SetChecked(name, checked);
    }
  };
  HKEY key = nullptr;
  bool secondTry = false;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kAdvanced, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    secondTry = true;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kAdvanced, 0, KEY_READ, &key) != ERROR_SUCCESS) {
      PlaySoundFile(u"海浪.wav");
      return;
    }
  }
  DWORD hideFileExt = 1;
  if (readDword(key, L"HideFileExt", hideFileExt)) {
    setRow(u"xisikuozanmin", hideFileExt == 0);
    setRow(u"xisikuozanmin2", hideFileExt == 0);
  }
  DWORD hidden = 0;
  if (!secondTry && readDword(key, L"ShowSuperHidden", hidden)) {
    setRow(u"xiansiyincang", hidden != 0);
    setRow(u"xiansiyincang2", hidden != 0);
  } else if (secondTry && readDword(key, L"Hidden", hidden)) {
    setRow(u"xiansiyincang", hidden != 2);
    setRow(u"xiansiyincang2", hidden != 2);
  }
  RegCloseKey(key);
}

void TForm1::mu_geClick() { OpenHelpText(u"使用说明.txt"); }

void TForm1::PlaySoundFile(std::u16string_view waveName) { sounds_->Play(waveName); }
void TForm1::PlayWaveIfExists(std::u16string_view path) { sounds_->PlayFile(std::u16string(path)); }

// ---- Seams for features that are not built yet ------------------------------------------------
// Each is the one place start-up or close calls; it does nothing until its feature exists.


}  // namespace app
