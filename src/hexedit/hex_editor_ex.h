// THexEditorEx: the published hex editor. Beside TCustomHexEditor it keeps the clipboard,
// drag-and-drop, backup, zoom and print settings, adds the clipboard keys, and reads and
// writes its settings as text lines "name=value". The clipboard and drag work itself is
// the window's (hex_editor_control_win32.h); this class decides when it may happen.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "hexedit/custom_hex_editor.h"
#include "hexedit/hx_errors.h"

namespace hexedit {

// A file that cannot be saved because it is read-only.
class EFOpenError : public EHexEditor {
 public:
  using EHexEditor::EHexEditor;
};

// The 65 settings names, in their order.
std::span<const std::u16string_view> SettingsNames();

class THexEditorEx : public TCustomHexEditor {
 public:
  THexEditorEx();

  bool CreateBackup = true;
  std::u16string BackupExtension = u".bak";
  bool ClipboardAsHexText = false;
  bool FlushClipboardAtShutDown = false;
  bool SupportsOtherClipFormats = true;
  THxPrintOptions PrintOptions;
  THxFont PrintFont;  // a copy of the editor font at creation
  bool UseEditorFontForPrinting = true;
  bool ZoomOnWheel = true;
  bool OleDragDrop() const { return oleDragDrop_; }
  void SetOleDragDrop(bool on);

  // May change whether a listed name counts as public.
  std::function<void(std::u16string_view name, bool& isPublic)> OnQueryPublicProperty;

  bool CanCopy() const { return DataSize() > 0 && HasSelection(); }
  bool CanCut() const { return CanCopy() && !ReadOnlyView() && !NoSizeChange(); }
  virtual bool CanPaste() { return false; }
  virtual void CopyToClipboard() {}
  virtual void CutToClipboard() {}
  virtual void PasteFromClipboard() {}

  // Ctrl+C, Ctrl+X, Ctrl+V (each only when allowed), Ctrl+A, Ctrl+Z, Ctrl+Shift+Z; then the
  // keys of TCustomHexEditor.
  bool KeyDown(int key, ShiftState shift) override;
  // The mouse wheel: with ZoomOnWheel, Ctrl changes BytesPerRow and Ctrl+Shift the font size
  // by one; otherwise the rows scroll. delta > 0 is away from the user.
  void MouseWheel(int delta, ShiftState shift);

  // ---- Settings text
  std::u16string GetPropertiesAsText();
  // Applies "name=value" lines of public names (others are ignored). A bad value raises
  // EHexEditor; the lines before it stay applied. Painting resumes on every exit.
  void SetPropertiesFromText(std::u16string_view text);
  bool IsPublicProperty(std::u16string_view name);
  // While settings are being applied the window does not paint.
  bool SettingsUpdating() const { return settingsUpdating_; }

  // ---- Overrides
  void PrepareSaveToFile(const std::u16string& fileName) override;
  bool IsModificationAllowed(UndoKind kind, std::int64_t position, std::int64_t count) override;
  void BookmarkChanged() override;
  void EndUndoUpdate() override;
  void WriteBufferAt(const std::uint8_t* bytes, std::int64_t position, std::int64_t count) override;

 protected:
  virtual void OleDragDropChanged() {}
  bool suppressBookmarkEvent_ = false;

 private:
  std::u16string GetProperty(std::size_t index);
  void SetProperty(std::size_t index, std::u16string_view value);

  bool oleDragDrop_ = false;
  bool settingsUpdating_ = false;
};

}  // namespace hexedit
