#include "hexedit/hex_editor_ex.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "unicode/codepage.h"

namespace hexedit {

namespace {
std::string Narrow(const std::u16string& s) { return unicode::Utf16ToUtf8(s); }
}  // namespace

THexEditorEx::THexEditorEx() { PrintFont = Font(); }

void THexEditorEx::SetOleDragDrop(bool on) {
  if (oleDragDrop_ == on) return;
  oleDragDrop_ = on;
  OleDragDropChanged();
}

bool THexEditorEx::KeyDown(int key, ShiftState shift) {
  if (shift.ctrl && !shift.alt) {
    switch (key) {
      case 'C':
        if (!shift.shift && CanCopy()) CopyToClipboard();
        return true;
      case 'X':
        if (!shift.shift && CanCut()) CutToClipboard();
        return true;
      case 'V':
        if (!shift.shift && CanPaste()) PasteFromClipboard();
        return true;
      case 'A':
        if (!shift.shift) SelectAll();
        return true;
      case 'Z':
        if (shift.shift) Redo();
        else Undo();
        return true;
      default:
        break;
    }
  }
  return TCustomHexEditor::KeyDown(key, shift);
}

void THexEditorEx::MouseWheel(int delta, ShiftState shift) {
  if (delta == 0) return;
  if (ZoomOnWheel && shift.ctrl) {
    if (shift.shift) {
      THxFont font = Font();
      if (delta < 0 && font.Size > 2) --font.Size;
      else if (delta > 0) ++font.Size;
      else return;
      SetFont(font);
    } else if (delta < 0 && BytesPerRow() >= 2) {
      SetBytesPerRow(BytesPerRow() - 1);
    } else if (delta > 0 && BytesPerRow() < 256) {
      SetBytesPerRow(BytesPerRow() + 1);
    }
    return;
  }
  SetTopRow(TopRow() + (delta > 0 ? -3 : 3));
}

void THexEditorEx::PrepareSaveToFile(const std::u16string& fileName) {
  namespace fs = std::filesystem;
  const fs::path file(fileName);
  std::error_code error;
  const fs::file_status status = fs::status(file, error);
  const bool exists = !error && fs::exists(status);
  if (exists && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
    throw EFOpenError("Cannot save readonly file " + Narrow(fileName) + ".");
  }
  if (!CreateBackup || !exists) return;
  const std::u16string backupName = fileName + BackupExtension;
  const fs::path backup(backupName);
  if (fs::exists(backup, error)) {
    fs::remove(backup, error);
    if (error) throw EHexEditor("Cannot delete previous backup " + Narrow(backupName) + ". (" + error.message() + ")");
  }
  fs::rename(file, backup, error);
  if (error) throw EHexEditor("Cannot create backup " + Narrow(backupName) + ". (" + error.message() + ")");
}

bool THexEditorEx::IsModificationAllowed(UndoKind kind, std::int64_t position, std::int64_t count) {
  const bool allowed = TCustomHexEditor::IsModificationAllowed(kind, position, count);
  if (allowed && Undoer().Nesting() > 0) Undoer().MarkGroupUsed();
  return allowed;
}

void THexEditorEx::BookmarkChanged() {
  if (!suppressBookmarkEvent_) TCustomHexEditor::BookmarkChanged();
}

void THexEditorEx::EndUndoUpdate() {
  // A group that stayed unused leaves no record (the storage writes none for it).
  TCustomHexEditor::EndUndoUpdate();
}

void THexEditorEx::WriteBufferAt(const std::uint8_t* bytes, std::int64_t position, std::int64_t count) {
  TCustomHexEditor::WriteBufferAt(bytes, position, count);
  if (Undoer().Nesting() > 0) Undoer().MarkGroupUsed();
  if (!programChange_) SetModified(true);
}

}  // namespace hexedit
