// The decisions and the texts of the list-file commands of the main window (open, save,
// save as, single entry, reload, recent files, autosave, the editor rows). The window
// shows the dialogs and boxes; these say what to do and what to show.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/listfile/list_file_names.h"
#include "app/listfile/listfile_format.h"

namespace app {


namespace listtext {
inline constexpr std::u16string_view kErrorCaption = u"出错";
inline constexpr std::u16string_view kFriendlyCaption = u"友情提示";
inline constexpr std::u16string_view kUnknownFormat =
    u"出错！文件为未知格式，无法导入，请将文件转存为ANSI,Unicode,UTF-8格式中的一种";
inline constexpr std::u16string_view kTooManyEntries = u"文本太多>100000，装不下,建议立刻清空或部分删除";
inline constexpr std::u16string_view kDuplicateBegin =
    u"文件数据格式错误！多行数据格式标识符 [[begin]] 重复，显示可能不正确！";
inline constexpr std::u16string_view kMissingEnd =
    u"文件数据格式错误！多行数据格式标识符 [[end]] 没找到，显示可能不正确！";
inline constexpr std::u16string_view kSaveConfirmCaption = u"保存确认";
inline constexpr std::u16string_view kNoRowSelected = u"没有选中一个项目，请选择一个项目";
inline constexpr std::u16string_view kOverwriteAutoSaveCaption = u"覆盖选择";
inline constexpr std::u16string_view kOverwriteAutoSave =
    u"历史文本将被保存到自动保存文件，自动保存文件将被覆盖，你确信吗?";
inline constexpr std::u16string_view kFileNotSaved = u"文件未保存，请先保存";
inline constexpr std::u16string_view kNoCurrentFileName = u"当前文件名为空，请先保存";
// OpenDialog1 and SaveDialog1 (filter text as the dialogs take it; indexes count from 1).
inline constexpr std::u16string_view kOpenFilter =
    u"txt (含 ANSI,Unicode,UTF-8格式)|*.txt|数据库（*.mdb）（支持word、htm 带格式文本）|*.mdb|allfile|*.*";
inline constexpr std::u16string_view kSaveFilter =
    u"ANSI无格式文本文件(*.txt)|*.txt|多语言utf-8的文本文件(*.txt)|*.txt|数据库（*.mdb）（支持word、htm 带格式文本）|*.mdb";
inline constexpr std::u16string_view kSaveDefaultExtension = u"txt";
}  // namespace listtext

// The text of a reader's message.
std::u16string_view ListMessageText(ListMessage message);

enum class ListFileAction { Nothing, ReadAnsi, ReadUtf8, ReadDatabase };

// Open (`menuopenClick`, `Unicode1Click`) after OK: filter 2 is a database; otherwise a
// ".txt" file (any case) is read by its kind and anything else is put back (Nothing).
ListFileAction OpenAction(int filterIndex, std::u16string_view file, TextFileFormat kind);
// Reload (`genxinzairuClick`, `genxincongzaiClick`): ".txt" by kind, ".mdb" database, else nothing.
ListFileAction ReloadAction(std::u16string_view file, TextFileFormat kind);
// A recent file (`lastjianClick`): ".mdb" database, else by kind.
ListFileAction RecentFileAction(std::u16string_view file, TextFileFormat kind);

enum class ListSaveWriter { Ansi, Utf8, Database };

// Save (`menusaveClick`): with no attached file the dialog is shown; without the dialog,
// and outside the fixed view, the user confirms first.
bool SaveAsksConfirmation(bool dialogShown, bool fixedView);
std::u16string SaveConfirmationText(std::u16string_view file);  // titled kSaveConfirmCaption
ListSaveWriter SaveWriterFromDialog(int filterIndex);           // 1 ANSI, 2 UTF-8, 3 database
// Without the dialog: ".mdb" is a database, else the existing file's kind decides ("tfANSI"
// ANSI, any other UTF-8). A file that cannot be opened for the test gets UTF-8, which loses nothing.
ListSaveWriter SaveWriterForExistingFile(std::u16string_view file, std::optional<TextFileFormat> kind);
// Save as (`menulincunClick`, `N142Click`): 2 UTF-8, 1 ANSI, else database.
ListSaveWriter SaveAsWriter(int filterIndex);
// Single entry (`N234Click`): 1 ANSI, 2 UTF-8, else the single-entry database writer.
ListSaveWriter SingleEntryWriter(int filterIndex);

// The editor rows: "文件不存在  " + path.
std::u16string MissingFileText(std::u16string_view path);
// `xiansiwenjianminClick`: "当前文件名为    " + the file, or kNoCurrentFileName.
std::u16string CurrentFileNameText(std::u16string_view currentListFile);

// The extension of a file name in ASCII lower case, with its dot ("" when there is none).
std::u16string LowerCaseExtension(std::u16string_view file);

}  // namespace app
