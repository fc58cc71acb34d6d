// The hex editor as a window: THexEditorEx drawn with GDI, fed with keys and the mouse,
// scrolled by rows, with the OLE clipboard and drag and drop. The behaviour is the model's
// (hex_editor_ex.h); this class only turns it into pixels and messages.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <memory>
#include <optional>
#include <vector>

#include "gui/gdi.h"
#include "gui/menu.h"
#include "hexedit/hex_editor_ex.h"
#include "hexedit/hx_clipboard_data.h"

namespace hexedit {

// The registered numbers of the editor's clipboard formats, registered once per process.
const RegisteredFormats& ClipboardFormats();
unsigned PerformedDropEffectFormat();
unsigned LogicalPerformedDropEffectFormat();

class THxDataObject;
// A data object of the given bytes (THxDataObject, one reference held by the caller): the
// own format, CF_TEXT, "FileGroupDescriptor" and "FileContents" of "Dump of <name>.bin".
IDataObject* NewHexDataObject(Bytes bytes, bool swapNibbles, bool hexText, const std::u16string& fileName);

// Pixel geometry of the grid for the current font and settings.
struct HexGridGeometry {
  int charWidth = 8;
  int rowHeight = 16;
  int gutterWidth = 40;
  int rulerHeight = 0;
  int dataTop = 2;          // y of the first data row
  std::vector<int> colX;    // left edge of every column (ColCount + 1 entries, the last the right end)
  int DataRowY(int visibleIndex) const { return dataTop + visibleIndex * rowHeight; }
};

class HexEditorControl : public THexEditorEx {
 public:
  HexEditorControl();
  ~HexEditorControl() override;

  // Creates the window as a child; the default font is "Courier New" 11 pt.
  void Create(HWND parent, int id, const RECT& bounds);
  HWND Handle() const { return hwnd_; }
  void SetBounds(int left, int top, int width, int height);
  bool Visible() const;
  void SetVisible(bool visible);
  void SetFocus();
  bool Focused() const { return focused_; }

  // The bookmark glyphs: a bitmap of 10 x 200 pixels (a copy is kept); default the resource
  // "BOOKMARKICONS". Another size raises EHexEditor.
  void SetBookmarkBitmap(HBITMAP bitmap);

  // The context menu of the data area and of the gutter.
  gui::Menu* PopupMenu = nullptr;
  gui::Menu* OffsetPopupMenu = nullptr;
  // A cell painted by the owner instead: return true when it drew it.
  std::function<bool(HDC dc, GridCell cell, const RECT& rect)> OnDrawCell;

  // Clipboard through OLE.
  bool CanPaste() override;
  void CopyToClipboard() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;

  // Pastes or drops from a data object: the caret, the selection or dropPosition decide where.
  // Returns false when no usable format was there.
  bool PasteFrom(IDataObject* data, bool drop, DWORD effect, std::int64_t dropPosition, bool moveWithinSelf);

  const HexGridGeometry& Geometry() const { return geometry_; }
  // The pixel rectangle of a cell in client coordinates (empty when not visible).
  RECT CellRect(GridCell cell) const;
  // The cell under a client point; `dragging` brings points outside onto the nearest cell.
  GridCell CellAt(int x, int y, bool dragging) const;
  // The drop position shown while data is dragged over the control (-1: none).
  std::int64_t DropPosition() const { return dropPosition_; }
  void SetDropPosition(std::int64_t position);
  bool OwnDragActive() const { return ownDrag_; }

  // Cursors kept on a stack: nested long operations restore the one before.
  void PushCursor(HCURSOR cursor);
  void PopCursor();

 protected:
  void InvalidateView() override;
  void LayoutChanged() override;
  void CaretMoved() override;
  void PostSelectionMessage() override;
  void FontChanged() override;
  void OleDragDropChanged() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HDC dc, const RECT& area);
  void PaintRuler(HDC dc, int width);
  void PaintRow(HDC dc, int dataRow, int y, int width);
  void PaintGutterCell(HDC dc, int dataRow, int y);
  void PaintHexRuns(HDC dc, int dataRow, int y, int clipLeft);
  void PaintCharRuns(HDC dc, int dataRow, int y, int clipLeft);
  void PaintFrames(HDC dc, int dataRow, int y);
  void UpdateGeometry();
  void UpdateScrollBars();
  void PlaceCaret();
  void CreateCaretShape();
  void OnVScroll(int code);
  void OnHScroll(int code);
  void OnMouseMove(int x, int y, WPARAM keys);
  void AutoScroll();
  void StartDrag();
  void ReleaseClipboardObject();
  bool ReadDroppedFile(const std::u16string& file, Bytes& bytes);
  int ClientWidth() const;
  int ClientHeight() const;

  HWND hwnd_ = nullptr;
  gui::UniqueFont font_;
  gui::UniqueFont cjkFont_;  // two-byte characters of the character field
  HBITMAP bookmarkBitmap_ = nullptr;
  HexGridGeometry geometry_;
  int scrollX_ = 0;
  bool focused_ = false;
  bool caretShown_ = false;
  bool painting_ = false;
  POINT pressPoint_{};
  bool autoScrollTimer_ = false;
  POINT lastMouse_{};
  std::int64_t dropPosition_ = -1;
  bool ownDrag_ = false;
  IDropTarget* dropTarget_ = nullptr;
  bool dropRegistered_ = false;
  THxDataObject* clipboardObject_ = nullptr;
  bool droppedOnSelf_ = false;
  std::vector<HCURSOR> cursorStack_;
  struct ScrollState {
    int rows = -1, visible = -1, top = -1, dataWidth = -1, clientWidth = -1, scrollX = -1;
    bool operator==(const ScrollState&) const = default;
  };
  ScrollState scrollState_;
};

}  // namespace hexedit
