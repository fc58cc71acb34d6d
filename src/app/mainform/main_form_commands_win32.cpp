// TForm1: folder entries and opening many folders, the list font, the one-entry text
// conversions, the workbook import and the help rows.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <filesystem>

#include "app/commands/folder_commands.h"
#include "app/commands/help_rows.h"
#include "app/commands/text_conversions.h"
#include "app/files/atomic_file.h"
#include "app/mainform/main_form_win32.h"
#include "app/workbook/workbook_reader.h"
#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/modal_loop.h"
#include "gui/wide.h"

namespace app {

namespace {
// A workbook larger than this is not read: the list could not take its cells anyway.
constexpr std::size_t kMaxWorkbookBytes = std::size_t(256) << 20;
}  // namespace

// ---- Folder entries -----------------------------------------------------------------------------

void TForm1::tianjiamuluClick() {
  std::u16string folder;
  gui::BrowseForFolder(Handle(), u"添加目录全路径，请选择一个目录", LastFolder, folder);
  if (folder.empty()) return;
  LastFolder = folder;
  // Not the program's own write: the capture takes the path as a new entry.
  CopyTextThroughMemo(folder);
}

void TForm1::piliangdakaiClick() {
  const int rows = history_->rowCount();
  if (rows == 0) {
    gui::MessageBoxU(u"出错！列表框中无内容或文件，请先调入文件", u"出错", MB_OK);
    return;
  }
  if (!gui::Confirm(u"如果你因为工作需要，要求大批量打开文件夹，必须确保列表框中的地址为文件夹地址，并且左侧都打上勾，"
                    u"你确信开始打开吗?",
                    u"批量打开文件夹")) {
    return;
  }
  std::vector<std::u16string> texts;
  std::vector<bool> checked;
  for (int i = 0; i < rows; ++i) {
    texts.emplace_back(history_->store().EntryTexts(i));
    checked.push_back(history_->store().checked(i));
  }
  const BatchOpenPlan plan = PlanBatchOpen(texts, checked, [](const std::u16string& path) {
    return !path.empty() && gui::FolderExists(path);
  });
  Memo1.SetText(plan.memoText);
  for (const std::u16string& folder : plan.folders) OpenFolderInExplorer(folder, SW_SHOWMAXIMIZED);
  gui::MessageBoxU(plan.message, u"批量打开文件夹记录", MB_OK);
}

// ---- The list font --------------------------------------------------------------------------------

void TForm1::N67Click() {
  LOGFONTW font{};
  HDC screen = GetDC(nullptr);
  font.lfHeight = -MulDiv(settings_.ListFontSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  font.lfCharSet = DEFAULT_CHARSET;
  const std::u16string name = settings_.ListFontName.substr(0, LF_FACESIZE - 1);
  std::copy(name.begin(), name.end(), font.lfFaceName);
  CHOOSEFONTW choose{sizeof choose};
  choose.hwndOwner = Handle();
  choose.lpLogFont = &font;
  choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  choose.rgbColors = ListTextColor();
  const gui::ModalLoopScope modal;
  if (!ChooseFontW(&choose)) return;
  settings_.ListFontName = gui::U(font.lfFaceName);
  settings_.ListFontSize = choose.iPointSize > 0 ? choose.iPointSize / 10 : settings_.ListFontSize;
  settings_.ListFontColor = static_cast<int>(choose.rgbColors);
  ApplyListFont();
  InvalidateRect(CheckListBox1.Handle(), nullptr, TRUE);
  // Minimised and restored, so that the window lays itself out for the new font.
  gui::Application::Instance().Minimize();
  gui::Application::Instance().Restore();
}

// ---- Text conversions of the selected entry ---------------------------------------------------------

void TForm1::ConvertSelectedEntry(std::u16string (*convert)(std::u16string_view)) {
  const int row = SelectedRow();
  if (row < 0 || row >= history_->rowCount()) return;
  PastePosition = row;
  history_->changeEntryText(row, convert(history_->store().EntryTexts(row)));
}

void TForm1::N105Click() {
  const int row = SelectedRow();
  if (row < 0 || row >= history_->rowCount()) return;
  gui::ShowMessage(WordCountMessage(history_->store().EntryTexts(row)));
}

// ---- The workbook import --------------------------------------------------------------------------

void TForm1::EXCEL1Click() {
  gui::FileDialogSpec desc;
  desc.filter = u"Excel files (*.xls;*.xlsx)|*.xls;*.xlsx;|allfile(*.*)|*.*";
  desc.filterIndex = 1;
  desc.title = u"XLS ";
  const gui::FileDialogResult chosen = gui::OpenFileDialog(Handle(), desc);
  if (!chosen.ok) return;
  PressHistoryView();
  Memo1.SetText(u"");
  history_->listModesOff();

  WorkbookRead read;
  {
    gui::WaitCursor hourglass;
    const FileReadResult file = ReadFileBounded(std::filesystem::path(gui::Wstr(chosen.file)), kMaxWorkbookBytes);
    if (file.error) {
      ReportFileError(file.error);
      return;
    }
    read = file.truncated ? WorkbookRead{WorkbookError::TooLarge, {}} : ReadWorkbook(file.bytes);
  }
  if (!read.ok()) {
    // A workbook that does not hold together gets the import's own message; what cannot be
    // imported at all says why.
    gui::MessageBoxU(read.error == WorkbookError::Damaged
                         ? u"打开出错！Excel表格数据中有非文本数据，数据不能是图片或文件！"
                         : WorkbookErrorText(read.error),
                     u"出错", MB_OK);
    return;
  }
  // The cells become "temp.txt" in UTF-8 (multi-line cells as blocks), read back by its kind.
  const std::error_code error = WriteListFile(std::filesystem::path(gui::Wstr(paths_.ExitRecordFile)), read.cells,
                                              ListWriterKind::Utf8);
  if (error) {
    ReportWriteFailure(WrittenFile::ExitRecord, paths_.ExitRecordFile, error);
    return;
  }
  Files().CurrentListFile = paths_.ExitRecordFile;
  ReadCurrentListFileByKind();
}

// ---- Help rows ------------------------------------------------------------------------------------

void TForm1::OpenHelpText(std::u16string_view fileName) {
  const std::u16string help = paths_.HelpDir + u"\\" + std::u16string(fileName);
  if (!gui::FileExists(help)) {
    gui::ShowMessage(u"文件不存在  " + help);
    return;
  }
  ShellExecuteW(Handle(), L"open", gui::W(help), nullptr, nullptr, SW_SHOWMAXIMIZED);
}

void TForm1::BindOtherCommands() {
  Bind(u"tianjiamuluClick", [this] { tianjiamuluClick(); });
  Bind(u"w1Click", [this] { CopyTextThroughMemo(u"我的电脑"); });
  Bind(u"N65Click", [this] { CopyTextThroughMemo(u"计算机"); });
  Bind(u"piliangdakaiClick", [this] { piliangdakaiClick(); });
  Bind(u"N67Click", [this] { N67Click(); });
  Bind(u"entertab1Click", [this] { ConvertSelectedEntry(TabsToLineBreaks); });
  Bind(u"tabenter1Click", [this] { ConvertSelectedEntry(LineBreaksToTabs); });
  Bind(u"N164Click", [this] { ConvertSelectedEntry(RemoveIdeographicSpaces); });
  Bind(u"N105Click", [this] { N105Click(); });
  Bind(u"EXCEL1Click", [this] { EXCEL1Click(); });
  for (const HelpRow& row : HelpRows()) {
    const std::u16string target(row.target);
    switch (row.kind) {
      case HelpRowKind::HelpText:
        Bind(row.handler, [this, target] { OpenHelpText(target); });
        break;
      case HelpRowKind::Folder:
        Bind(row.handler, [this, target] { OpenProgramFolder(target); });
        break;
      case HelpRowKind::WebPage:
        Bind(row.handler, [this, target] {
          ShellExecuteW(Handle(), L"open", gui::W(target), nullptr, nullptr, SW_SHOWNORMAL);
        });
        break;
    }
  }
}

}  // namespace app
