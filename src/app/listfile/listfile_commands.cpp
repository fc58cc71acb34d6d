#include "app/listfile/listfile_commands.h"

#include "app/listfile/listfile_recent.h"

namespace app {

namespace {

ListFileAction ByKind(TextFileFormat kind) {
  return kind == TextFileFormat::tfANSI ? ListFileAction::ReadAnsi : ListFileAction::ReadUtf8;
}

}  // namespace

std::u16string_view ListMessageText(ListMessage message) {
  switch (message) {
    case ListMessage::UnknownFormat: return listtext::kUnknownFormat;
    case ListMessage::TooManyEntries: return listtext::kTooManyEntries;
    case ListMessage::DuplicateBegin: return listtext::kDuplicateBegin;
    case ListMessage::MissingEnd: return listtext::kMissingEnd;
  }
  return {};
}

std::u16string LowerCaseExtension(std::u16string_view file) {
  const std::size_t dot = file.find_last_of(u'.');
  const std::size_t separator = file.find_last_of(u"\\/:");
  if (dot == std::u16string_view::npos || (separator != std::u16string_view::npos && separator > dot)) return {};
  std::u16string extension(file.substr(dot));
  for (char16_t& c : extension) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return extension;
}

ListFileAction OpenAction(int filterIndex, std::u16string_view file, TextFileFormat kind) {
  if (filterIndex == 2) return ListFileAction::ReadDatabase;
  if (LowerCaseExtension(file) == u".txt") return ByKind(kind);
  return ListFileAction::Nothing;
}

ListFileAction ReloadAction(std::u16string_view file, TextFileFormat kind) {
  const std::u16string extension = LowerCaseExtension(file);
  if (extension == u".txt") return ByKind(kind);
  if (extension == u".mdb") return ListFileAction::ReadDatabase;
  return ListFileAction::Nothing;
}

ListFileAction RecentFileAction(std::u16string_view file, TextFileFormat kind) {
  if (LowerCaseExtension(file) == u".mdb") return ListFileAction::ReadDatabase;
  return ByKind(kind);
}

bool SaveAsksConfirmation(bool dialogShown, bool fixedView) { return !dialogShown && !fixedView; }

std::u16string SaveConfirmationText(std::u16string_view file) {
  return u"保存到： " + RecentFileList::RowCaption(file) + u"，你确信吗?";
}

ListSaveWriter SaveWriterFromDialog(int filterIndex) {
  switch (filterIndex) {
    case 1: return ListSaveWriter::Ansi;
    case 3: return ListSaveWriter::Database;
    default: return ListSaveWriter::Utf8;
  }
}

ListSaveWriter SaveWriterForExistingFile(std::u16string_view file, std::optional<TextFileFormat> kind) {
  if (LowerCaseExtension(file) == u".mdb") return ListSaveWriter::Database;
  if (kind == TextFileFormat::tfANSI) return ListSaveWriter::Ansi;
  return ListSaveWriter::Utf8;
}

ListSaveWriter SaveAsWriter(int filterIndex) {
  if (filterIndex == 2) return ListSaveWriter::Utf8;
  if (filterIndex == 1) return ListSaveWriter::Ansi;
  return ListSaveWriter::Database;
}

ListSaveWriter SingleEntryWriter(int filterIndex) { return SaveAsWriter(filterIndex); }

std::u16string MissingFileText(std::u16string_view path) { return u"文件不存在  " + std::u16string(path); }

std::u16string CurrentFileNameText(std::u16string_view currentListFile) {
  if (currentListFile.empty()) return std::u16string(listtext::kNoCurrentFileName);
  return u"当前文件名为    " + std::u16string(currentListFile);
}

}  // namespace app
