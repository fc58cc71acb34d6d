// TCustomHexEditor: the hex editor control's behaviour without a window. It keeps the data,
// the caret, the selection, the bookmarks and the undo storage, maps grid cells to byte
// positions, turns keys, characters and mouse presses into caret moves and edits, and
// reports what the window must do through a few virtual calls (repaint, layout, caret,
// the posted selection-changed message). The window (hex_editor_control_win32.h) draws it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hexedit/hx_memory_stream.h"
#include "hexedit/hx_offset_format.h"
#include "hexedit/hx_types.h"
#include "hexedit/hx_undo_storage.h"
#include "hexedit/hx_units.h"

namespace hexedit {

// The message the editor posts to itself so that a burst of selection changes gives one event.
inline constexpr unsigned kSelectionChangedMessage = 0xB101;
inline constexpr int kBookmarkCount = 10;
inline constexpr int kMaxBytesPerRow = 4096;
// The widest gutter a row can show: the largest coordinate every GDI takes.
inline constexpr int kMaxGutterWidth = 32767;
// The largest data the editor takes from a file or a drop (a 32-bit process must keep room
// for the undo storage and the clipboard copies).
inline constexpr std::size_t kMaxLoadSize = 256u * 1024 * 1024;

// A grid cell: column 0 is the offset gutter, 1 a spacer, then the hex digits, a separator
// and the characters; row 0 is the ruler, 1 a spacer, then the data rows.
struct GridCell {
  int col = 0;
  int row = 0;
  bool operator==(const GridCell&) const = default;
};

// Where a data cell points: a byte, the field, and in the hex field the digit.
struct CellTarget {
  std::int64_t position = 0;
  bool charField = false;
  bool secondDigit = false;
};

// One character cell of a row as it is shown: its text and how many cells it spans
// (2 for a two-byte character of the ANSI code page); 0 for the trail cell of such a pair.
struct CharCell {
  std::u16string text;
  int span = 1;
};

struct Bookmark {
  std::int64_t position = -1;
  bool charField = false;
  bool operator==(const Bookmark&) const = default;
};

// How one data cell is painted.
struct CellStyle {
  TColor background = clWindow;
  TColor text = clBlack;
  bool frame = false;  // the caret's cell (or its twin in the other field with FocusFrame)
  TColor frameColor = clNavy;
};

class TCustomHexEditor {
 public:
  TCustomHexEditor();
  virtual ~TCustomHexEditor();
  TCustomHexEditor(const TCustomHexEditor&) = delete;
  TCustomHexEditor& operator=(const TCustomHexEditor&) = delete;

  // ---- Data
  std::size_t DataSize() const { return data_.Size(); }
  const THxMemoryStream& Data() const { return data_; }
  std::uint8_t ByteAt(std::size_t position) const { return data_.At(position); }
  bool ByteChanged(std::size_t position) const;
  bool Modified() const { return modified_; }
  void SetModified(bool modified);
  // A program load: the data replaced whole, no undo step, no marks. Not a user edit, so a
  // read-only view takes it too.
  void LoadFromBuffer(Bytes bytes);
  // The bytes of an ANSI string, translated to the current translation, replace the data
  // through the replace operation (an undo step). A program load as well.
  void LoadFromString(std::string_view ansi);
  // The selected bytes as hex digits, and as they are stored; empty without a selection.
  std::string GetSelectionAsHex() const;
  std::string GetSelectionAsText() const;
  std::u16string FileName;
  // Files: loading refuses one larger than kMaxLoadSize (EHexEditor); saving goes through
  // PrepareSaveToFile and writes a temporary file that replaces the target only when whole.
  void LoadFromFile(const std::u16string& fileName);
  void SaveToFile(const std::u16string& fileName);

  // ---- Properties
  int BytesPerRow() const { return bytesPerRow_; }
  void SetBytesPerRow(int value);
  int BytesPerColumn() const { return bytesPerColumn_; }
  void SetBytesPerColumn(int value);
  int BytesPerUnit() const { return bytesPerUnit_; }
  void SetBytesPerUnit(int value);
  int RulerBytesPerUnit() const { return rulerBytesPerUnit_; }
  void SetRulerBytesPerUnit(int value);
  int BytesPerBlock() const { return bytesPerBlock_; }
  void SetBytesPerBlock(int value);
  THxTranslationKind Translation() const { return translation_; }
  void SetTranslation(THxTranslationKind kind);
  bool UnicodeChars() const { return unicodeChars_; }
  void SetUnicodeChars(bool on);
  bool UnicodeBigEndian() const { return unicodeBigEndian_; }
  void SetUnicodeBigEndian(bool on);
  const std::string& OffsetFormatText() const { return offsetFormatText_; }
  void SetOffsetFormat(std::string_view format);
  TCaretKind CaretKind() const { return caretKind_; }
  void SetCaretKind(TCaretKind kind);
  const THxColors& Colors() const { return colors_; }
  void SetColors(const THxColors& colors);
  char16_t MaskChar() const { return maskChar_; }
  void SetMaskChar(char16_t c);
  bool InsertMode() const { return insertMode_; }
  void SetInsertMode(bool on);
  bool AllowInsertMode() const { return allowInsertMode_; }
  void SetAllowInsertMode(bool on);
  int GutterWidth() const { return gutterWidth_; }
  void SetGutterWidth(int value);
  std::size_t MaxUndo() const { return undo_.MaxUndo(); }
  void SetMaxUndo(std::size_t bytes) { undo_.SetMaxUndo(bytes); }
  const THxFont& Font() const { return font_; }
  void SetFont(const THxFont& font);
  static std::string_view Version() { return "Quillora hex editor 1.0"; }

#define HX_FLAG(Name, Default)                 \
 public:                                       \
  bool Name() const { return Name##_; }        \
  void Set##Name(bool on) {                    \
    if (Name##_ == on) return;                 \
    Name##_ = on;                              \
    FlagChanged();                             \
  }                                            \
                                               \
 private:                                      \
  bool Name##_ = Default;
  HX_FLAG(SeparateBlocksInCharField, true)
  HX_FLAG(FocusFrame, false)
  HX_FLAG(NoSizeChange, false)
  HX_FLAG(WantTabs, true)
  HX_FLAG(ReadOnlyView, false)
  HX_FLAG(HideSelection, false)
  HX_FLAG(GraySelectionIfNotFocused, false)
  HX_FLAG(ShowPositionIfNotFocused, false)
  HX_FLAG(DrawGridLines, true)
  HX_FLAG(DrawGutter3D, true)
  HX_FLAG(FindProgress, false)
#undef HX_FLAG

 public:
  bool SwapNibbles() const { return swapNibbles_; }
  void SetSwapNibbles(bool on);
  bool ShowRuler() const { return showRuler_; }
  void SetShowRuler(bool on);
  bool HexLowerCase() const { return hexLowerCase_; }
  void SetHexLowerCase(bool on);

  // ---- Caret and selection
  std::int64_t CaretPosition() const { return caret_; }
  bool InCharField() const { return charField_; }
  bool SecondDigit() const { return secondDigit_; }
  // The caret's highest position: just after the data in insert mode, else the last byte.
  std::int64_t MaxCaretPosition() const;
  bool HasSelection() const { return selStart_ >= 0; }
  std::int64_t GetSelStart() const;
  std::int64_t GetSelEnd() const;
  std::int64_t GetSelCount() const;
  std::int64_t SelAnchor() const { return selAnchor_; }
  // The selected range, lower end first (count 0 without a selection).
  std::int64_t SelectionLow() const;
  void SetSelStart(std::int64_t position);
  void SetSelEnd(std::int64_t position);
  void SelectAll();
  void ResetSelection();
  // Moves the caret (origin 0 the start, 1 the caret, 2 the end), clamped to the data;
  // returns the new position, -1 for an empty editor.
  std::int64_t Seek(std::int64_t offset, int origin);
  bool IsSelected(std::int64_t position) const;

  Bookmark GetBookmark(int index) const;
  void SetBookmark(int index, std::int64_t position, bool charField);
  void GotoBookmark(int index);

  // ---- Input. Each returns true when the editor used it.
  virtual bool KeyDown(int key, ShiftState shift);
  void KeyUp(int key, ShiftState shift);
  bool KeyPress(char16_t ch);
  void MouseDown(GridCell cell, ShiftState shift, bool doubleClick);
  void MouseMove(GridCell cell);
  void MouseUp(GridCell cell);
  bool MouseSelecting() const { return mouseSelecting_; }
  // A press inside the selection that may become a drag.
  bool DragPending() const { return dragPending_; }
  void CancelDragPending() { dragPending_ = false; }

  // ---- Editing. Each asks IsModificationAllowed (after the read-only check), records an undo
  // step and reports the change; false when refused.
  bool ReplaceSelection(const Bytes& bytes, const std::string& description = {});
  bool DeleteSelection(const std::string& description = {});
  bool InsertBuffer(const Bytes& bytes, std::int64_t position, const std::string& description = {});
  bool AppendBuffer(const Bytes& bytes, const std::string& description = {});
  bool ChangeBytes(std::int64_t position, const Bytes& bytes, const std::string& description = {});
  bool DeleteBytes(std::int64_t position, std::int64_t count, const std::string& description = {});
  // Shifts everything from the nibble on by half a byte (in memory).
  bool InsertNibble(std::int64_t position, bool highNibble);
  bool DeleteNibble(std::int64_t position, bool highNibble);
  // Re-encodes a range from one translation to another.
  bool ConvertRange(std::int64_t from, std::int64_t to, THxTranslationKind fromKind, THxTranslationKind toKind);
  bool Undo();
  bool Redo();
  bool CanUndo() const { return undo_.CanUndo(); }
  bool CanRedo() const { return undo_.CanRedo(); }
  const std::string& UndoDescription() const { return undo_.Description(); }
  const THxUndoStorage& UndoStorage() const { return undo_; }

  // ---- Virtual operations (the extended control overrides some).
  virtual void PostSelectionChanged();
  virtual void Changed();
  virtual void PrepareSaveToFile(const std::u16string& fileName);
  virtual bool IsModificationAllowed(UndoKind kind, std::int64_t position, std::int64_t count);
  virtual void BookmarkChanged();
  virtual void BeginUndoUpdate(const std::string& description = {});
  virtual void EndUndoUpdate();
  virtual std::string GetOffsetString(std::uint64_t position);
  virtual std::string GetAnyOffsetString(std::uint64_t position);
  virtual void WriteBufferAt(const std::uint8_t* bytes, std::int64_t position, std::int64_t count);

  // The posted selection-changed message arrived: one OnSelectionChanged for the burst.
  void SelectionMessageArrived();

  // ---- Layout
  int ColCount() const;
  int RowCount() const;
  int DataRowCount() const { return RowCount() - 2; }
  int FirstHexColumn() const { return 2; }
  int SeparatorColumn() const { return 2 + 2 * bytesPerRow_; }
  int FirstCharColumn() const { return SeparatorColumn() + 1; }
  int CharColumns() const { return unicodeChars_ ? bytesPerRow_ / 2 : bytesPerRow_; }
  // First data row shown (0 = the first row of data), and how many fit the view.
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);
  int VisibleRows() const { return visibleRows_; }
  void SetVisibleRows(int rows);
  GridCell CellOf(std::int64_t position, bool charField, bool secondDigit) const;
  GridCell CaretCell() const { return CellOf(caret_, charField_, secondDigit_); }
  // The data cell's target; nullopt for fixed cells and the separator.
  std::optional<CellTarget> TargetOf(GridCell cell) const;
  // The digit a hex cell shows for its byte ('\0' beyond the data).
  char HexDigitOf(std::int64_t position, bool secondDigit) const;
  // The character cells of one data row, left to right.
  std::vector<CharCell> CharCellsOfRow(int dataRow) const;
  std::u16string RulerText(int unitIndex) const;
  int RulerUnits() const { return bytesPerRow_ / bytesPerUnit_; }
  CellStyle StyleOf(std::int64_t position, bool charField, bool focused, const ColorResolver& resolve) const;
  // The column group (for the odd/even colours) of a byte.
  bool OddColumnGroup(std::int64_t position) const;
  // The gutter's text for a data row (the offset of its first byte).
  std::string RowOffsetText(int dataRow);
  // The automatic gutter width in pixels for a character width.
  int AutoGutterWidth(int charWidth);

  // ---- Events
  std::function<void()> OnChange;
  std::function<void()> OnSelectionChanged;
  std::function<void()> OnInvalidKey;
  std::function<void()> OnBookmarkChanged;
  std::function<void()> OnTopLeftChanged;
  std::function<void(int percent)> OnProgress;
  // May supply a gutter text (nullopt: the editor's own).
  std::function<std::optional<std::string>(std::uint64_t position)> OnGetOffsetText;
  std::function<void(int& key, ShiftState shift)> OnKeyDown;  // key 0: handled
  std::function<void(char16_t& ch)> OnKeyPress;               // ch 0: handled

 protected:
  // What the window does about changes. The model works without one.
  virtual void InvalidateView() {}
  virtual void LayoutChanged() {}
  virtual void CaretMoved() {}
  virtual void PostSelectionMessage() {}
  virtual void FontChanged() {}
  void FlagChanged() { InvalidateView(); }

  // Caret placement; `selecting` extends the selection from the anchor.
  void MoveCaret(std::int64_t position, bool charField, bool secondDigit, bool selecting);
  // A change made by the program itself (loads): the read-only view does not refuse it.
  bool programChange_ = false;
  // The state an undo record keeps, for a change at `position`.
  UndoEditorState CurrentUndoState(std::int64_t position) const;
  // The undo group opened by BeginUndoUpdate.
  THxUndoStorage& Undoer() { return undo_; }

 private:
  bool Allowed(UndoKind kind, std::int64_t position, std::int64_t count);
  void Record(UndoKind kind, std::int64_t position, std::int64_t count, std::int64_t furtherCount, Bytes saved,
              const std::string& description);
  bool InsertRecorded(UndoKind kind, std::int64_t position, const Bytes& bytes, const std::string& description);
  void InsertRaw(std::int64_t position, const Bytes& bytes, bool marked);
  void EraseRaw(std::int64_t position, std::int64_t count);
  void MarkChanged(std::int64_t position, std::int64_t count);
  // The data grew (delta > 0) at position, or lost the bytes [position, position - delta).
  void AfterSizeChange(std::int64_t position, std::int64_t delta);
  void AfterReplace(std::int64_t position, std::int64_t oldCount, std::int64_t newCount);
  void ShiftBookmarks(std::int64_t position, std::int64_t delta);
  void ApplyUndo(const UndoRecord& record, THxUndoStorage::RedoStep& redo);
  void RestoreState(const UndoRecord& record);
  void ReapplyRedo(const UndoRecord& record);
  void ClampCaret();
  void EnsureCaretVisible();
  void InsertNibbleRaw(std::int64_t position, bool highNibble);
  void DeleteNibbleRaw(std::int64_t position, bool highNibble);
  bool TypeIntoCharField(char16_t ch);
  bool TypeIntoHexField(int digit);
  std::optional<Bytes> CharBytes(char16_t ch) const;
  void MoveHorizontally(int direction, ShiftState shift);
  void MoveVertically(std::int64_t rows, bool selecting);
  void ReloadOffsetFormat();
  std::int64_t RowStart(std::int64_t position) const { return position - position % bytesPerRow_; }

  THxMemoryStream data_;
  std::vector<bool> changed_;
  bool modified_ = false;
  THxUndoStorage undo_;

  int bytesPerRow_ = 16;
  int bytesPerColumn_ = 2;
  int bytesPerUnit_ = 1;
  int rulerBytesPerUnit_ = -1;
  int bytesPerBlock_ = -1;
  THxTranslationKind translation_ = THxTranslationKind::tkAsIs;
  bool unicodeChars_ = false;
  bool unicodeBigEndian_ = false;
  std::string offsetFormatText_;
  OffsetFormat offsetFormat_;
  TCaretKind caretKind_ = TCaretKind::ckAuto;
  THxColors colors_;
  char16_t maskChar_ = u'.';
  bool insertMode_ = false;
  bool allowInsertMode_ = true;
  bool swapNibbles_ = false;
  bool showRuler_ = false;
  bool hexLowerCase_ = false;
  int gutterWidth_ = -1;
  THxFont font_;

  std::int64_t caret_ = 0;
  bool charField_ = false;
  bool secondDigit_ = false;
  std::int64_t selAnchor_ = -1, selStart_ = -1, selEnd_ = -1;
  bool shiftAnchor_ = false;
  bool mouseSelecting_ = false;
  bool dragPending_ = false;
  std::int64_t dragPressPosition_ = -1;
  Bookmark bookmarks_[kBookmarkCount];
  int selectionChangedPending_ = 0;
  bool inOffsetEvent_ = false;

  int topRow_ = 0;
  int visibleRows_ = 1;
};

}  // namespace hexedit
