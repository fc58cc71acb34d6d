// TCustomHtmlEdit and the document's input: the document's key and mouse events are passed
// to the control's own window as messages, so that the control's key and mouse events run
// (and can change or swallow a key); Enter can become a line break; deletions of whole blocks
// are repaired at the next display update; table columns are resized with the mouse.
#include "htmledit/custom_html_edit_win32.h"
#include "htmledit/editing_fixups.h"
#include "htmledit/text_editing.h"

namespace htmledit {

namespace {

constexpr int kBorderSlop = 3;
constexpr DWORD kCmdOverrideCursor = 2420;

TShiftState ShiftOf(WPARAM flags, bool alt) {
  TShiftState s = 0;
  if (flags & MK_SHIFT) s |= ssShift;
  if (flags & MK_CONTROL) s |= ssCtrl;
  if (flags & MK_LBUTTON) s |= ssLeft;
  if (flags & MK_RBUTTON) s |= ssRight;
  if (flags & MK_MBUTTON) s |= ssMiddle;
  if (alt) s |= ssAlt;
  return s;
}

std::u16string Number(int n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

TShiftState KeyShift() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

// The event and the document of a document event handler (nothing while there is neither).
struct EventScope {
  IEngineDocument* doc = nullptr;
  EngineEvent* event = nullptr;
  explicit EventScope(TCustomHtmlEdit& editor) {
    if (editor.GetDocument(&doc)) event = doc->CurrentEvent();
  }
  ~EventScope() {
    if (doc) doc->Release();
  }
};

template <class Event, class... Args>
void Run(Event& event, Args&&... args) {
  if (!event) return;
  try {
    event(std::forward<Args>(args)...);
  } catch (...) {
    // a handler's failure does not end the message
  }
}

}  // namespace

// ---- the framework's context-menu and drag events

bool TCustomHtmlEdit::DoContextPopup(POINT screen) {
  if (!OnContextPopup) return false;
  POINT at = screen;
  if (at.x != -1 || at.y != -1) ScreenToClient(hwnd_, &at);
  bool handled = false;
  Run(OnContextPopup, *this, at, handled);
  return handled;
}

void TCustomHtmlEdit::NotifyDragOver(IDataObject* data, POINT screen, TDragState state, bool& accept) {
  ScreenToClient(hwnd_, &screen);
  Run(OnDragOver, *this, static_cast<void*>(data), static_cast<int>(screen.x), static_cast<int>(screen.y), state, accept);
}

void TCustomHtmlEdit::NotifyDragDrop(IDataObject* data, POINT screen) {
  ScreenToClient(hwnd_, &screen);
  Run(OnDragDrop, *this, static_cast<void*>(data), static_cast<int>(screen.x), static_cast<int>(screen.y));
}

// ---- the control's own key and mouse events

bool TCustomHtmlEdit::HandleInputMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = static_cast<WORD>(wp);
      TShiftState shift = KeyShift();
      if (lp & (1 << 29)) shift |= ssAlt;
      Run(msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN ? OnKeyDown : OnKeyUp, *this, key, shift);
      KeyCode = key;
      return true;
    }
    case WM_CHAR: {
      wchar_t c = static_cast<wchar_t>(wp);
      Run(OnKeyPress, *this, c);
      KeyCode = static_cast<WORD>(c);
      return true;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK: {
      const TMouseButton button = (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) ? TMouseButton::mbRight
                                  : (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP) ? TMouseButton::mbMiddle
                                                                                   : TMouseButton::mbLeft;
      const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
      TShiftState shift = ShiftOf(wp, GetKeyState(VK_MENU) < 0);
      if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        if (msg == WM_LBUTTONDBLCLK) shift |= ssDouble | ssLeft;
        if (msg == WM_LBUTTONDOWN) clicked_ = true;
        Run(OnMouseDown, *this, button, shift, x, y);
        if (msg == WM_LBUTTONDBLCLK) Run(OnDblClick, *this);
      } else {
        Run(OnMouseUp, *this, button, shift, x, y);
        // A left button that went down and comes up on the control is a click.
        if (msg == WM_LBUTTONUP && clicked_) {
          clicked_ = false;
          RECT client{};
          GetClientRect(hwnd_, &client);
          POINT p{x, y};
          if (PtInRect(&client, p)) Run(OnClick, *this);
        }
      }
      return true;
    }
    case WM_MOUSEMOVE:
      Run(OnMouseMove, *this, ShiftOf(wp, GetKeyState(VK_MENU) < 0), static_cast<int>(static_cast<short>(LOWORD(lp))),
          static_cast<int>(static_cast<short>(HIWORD(lp))));
      return true;
    case WM_SETCURSOR:
      if (!cursorOverridden_) return false;
      SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
      result = TRUE;
      return true;
    default:
      return false;
  }
}

// ---- keys

void TCustomHtmlEdit::DocKeyDown() {
  EventScope scope(*this);
  EngineEvent* ev = scope.event;
  if (!ev) return;
  if (keyDownSkip_ > 0) {
    --keyDownSkip_;
    return;
  }
  const WORD key = static_cast<WORD>(ev->keyCode);
  const bool alt = ev->altKey, ctrl = ev->ctrlKey, shift = ev->shiftKey;
  SendMessageW(hwnd_, WM_KEYDOWN, key, alt ? (1 << 29) : 0);
  if (KeyCode != key) {
    if (KeyCode == 0) {
      ev->returnValue = false;
      ev->keyCode = 0;
      return;
    }
    ev->keyCode = KeyCode;
  }
  if (GetBrowseMode()) return;
  IEngineDocument* doc = scope.doc;
  int start = 0, end = 0;
  doc->GetSelection(start, end);
  const bool plainEnter = ev->keyCode == VK_RETURN && !alt && !ctrl && !shift;
  const bool coversBlock = SelectionCoversBlock(doc->Layout(), start, end);
  // Division mode: the paragraph the browser makes becomes a DIV.
  if (GetUseDivOnCarriageReturn() && !UseBrOnCarriageReturn && (plainEnter || coversBlock)) {
    paragraphFixupPending_ = true;
    rememberedBody_ = doc->Dom().Body() ? InnerHTML(doc->Dom().Body()) : std::u16string();
  }
  // Line-break mode: Enter gives a BR in place of a new paragraph.
  if (UseBrOnCarriageReturn && plainEnter) {
    if (IsOrderedList() || IsUnorderedList()) {
      divisionFixupPending_ = true;  // the list makes its new item itself
      return;
    }
    ev->returnValue = false;
    if (!IsNormalBlock()) {
      DomPoint p = InsertionPoint(doc->Layout(), start);
      if (Node* block = p.node ? BlockOf(p.node) : nullptr) {
        doc->Dom().AppendChild(block, doc->Dom().CreateText(u" "));
        doc->ContentChanged();
      }
      return;
    }
    keyDownSkip_ = keyUpSkip_ = 2;
    keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(VK_RETURN, 0, 0, 0);
    keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    return;
  }
  if (coversBlock && !undoUnitOpen_) {
    const bool remove = (key == VK_DELETE || key == VK_BACK) && !alt && !ctrl && !shift;
    const bool cut = (key == VK_DELETE && shift && !alt && !ctrl) || (key == 'X' && ctrl && !alt && !shift);
    if (remove || cut) {
      doc->BeginUndoUnit(remove ? u"Text Delete" : u"Cut");
      undoUnitOpen_ = true;
      divisionFixupPending_ = true;
    }
  }
}

void TCustomHtmlEdit::DocKeyUp() {
  EventScope scope(*this);
  EngineEvent* ev = scope.event;
  if (!ev) return;
  if (keyUpSkip_ > 0) {
    --keyUpSkip_;
    return;
  }
  const WORD key = static_cast<WORD>(ev->keyCode);
  SendMessageW(hwnd_, WM_KEYUP, key, ev->altKey ? (1 << 29) : 0);
  if (KeyCode == key) return;
  if (KeyCode == 0) ev->returnValue = false;
  ev->keyCode = KeyCode;
}

void TCustomHtmlEdit::DocKeyPress() {
  EventScope scope(*this);
  EngineEvent* ev = scope.event;
  if (!ev) return;
  const WORD c = static_cast<WORD>(ev->keyCode);
  SendMessageW(hwnd_, WM_CHAR, c, 0);
  if (KeyCode != c) {
    if (KeyCode == 0) {
      ev->returnValue = false;
      ev->keyCode = 0;
      return;
    }
    ev->keyCode = KeyCode;
  }
  if (GetBrowseMode() || undoUnitOpen_) return;
  int start = 0, end = 0;
  scope.doc->GetSelection(start, end);
  if (SelectionCoversBlock(scope.doc->Layout(), start, end)) {
    scope.doc->BeginUndoUnit(u"Text Delete");
    undoUnitOpen_ = true;
    divisionFixupPending_ = true;
  }
}

// ---- the repairs at the next display update

void TCustomHtmlEdit::RunParagraphFixup() {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  const int start = GetSelStart(), length = GetSelLength();
  int caret = 0, unused = 0;
  doc->GetSelection(caret, unused);
  if (ParagraphFixup(doc->Dom(), doc->Layout(), caret, rememberedBody_)) {
    doc->ContentChanged();
    SetSelStart(start);
    SetSelLength(length);
  }
  doc->Release();
}

void TCustomHtmlEdit::RunDivisionFixup() {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  int start = 0, end = 0;
  doc->GetSelection(start, end);
  // Outside the line-break mode only empty paragraphs go: unwrapping the others would run
  // the document's paragraphs together.
  if (DivisionFixup(doc->Dom(), doc->Layout(), start, UseBrOnCarriageReturn)) {
    doc->ContentChanged();
    doc->SetSelection(start, end);
  }
  if (undoUnitOpen_) {
    undoUnitOpen_ = false;
    doc->EndUndoUnit();
  }
  doc->Release();
}

// ---- mouse

namespace {
UINT ButtonMessage(const EngineEvent& ev, bool down) {
  if (ev.button & 2) return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
  if (ev.button & 4) return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
  return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
}

WPARAM FlagsOf(const EngineEvent& ev) {
  WPARAM f = 0;
  if (ev.shiftKey) f |= MK_SHIFT;
  if (ev.ctrlKey) f |= MK_CONTROL;
  if (ev.button & 1) f |= MK_LBUTTON;
  if (ev.button & 2) f |= MK_RBUTTON;
  if (ev.button & 4) f |= MK_MBUTTON;
  return f;
}
}  // namespace

namespace {
// The event's point in the control's client area.
LPARAM ControlPoint(HWND control, IEngineDocument* doc, const EngineEvent& ev) {
  POINT p{ev.clientX, ev.clientY};
  if (HWND view = doc->DocumentWindow()) MapWindowPoints(view, control, &p, 1);
  return MAKELPARAM(p.x, p.y);
}

// The column border under a point of the document window, when there is one.
bool BorderAt(IEngineDocument* doc, POINT pt, Node*& table, int& leftColumn, int& leftWidth, int& rightWidth, int& x) {
  Node* e = doc->ElementFromPoint(pt);
  Node* cell = e ? ClosestElement(e, {TAGID_TD, TAGID_TH}) : nullptr;
  RECT box{};
  if (!cell || !doc->ElementRect(cell, &box)) return false;
  if (pt.y < box.top + kBorderSlop || pt.y > box.bottom - kBorderSlop) return false;
  Node* left = nullptr;
  Node* right = nullptr;
  // The outer edges of a row are the table's border, not a column's.
  if (!IsFirstCellInRow(cell) && std::abs(pt.x - box.left) <= kBorderSlop) {
    right = cell;
    for (left = cell->prev; left && !(left->Is(TAGID_TD) || left->Is(TAGID_TH)); left = left->prev) {}
  } else if (!IsLastCellInRow(cell) && std::abs(pt.x - box.right) <= kBorderSlop) {
    left = cell;
    for (right = cell->next; right && !(right->Is(TAGID_TD) || right->Is(TAGID_TH)); right = right->next) {}
  }
  if (!left || !right) return false;
  RECT lb{}, rb{};
  if (!doc->ElementRect(left, &lb) || !doc->ElementRect(right, &rb)) return false;
  table = ClosestElement(cell, {TAGID_TABLE});
  leftColumn = CellColumn(left);
  leftWidth = lb.right - lb.left;
  rightWidth = rb.right - rb.left;
  x = rb.left;
  return table != nullptr;
}
}  // namespace

void TCustomHtmlEdit::DocMouseDown() {
  EventScope scope(*this);
  EngineEvent* ev = scope.event;
  if (!ev) return;
  SendMessageW(hwnd_, ButtonMessage(*ev, true), FlagsOf(*ev), ControlPoint(hwnd_, scope.doc, *ev));
  if (cursorOverridden_ && (ev->button & 1) && !GetBrowseMode()) {
    // A press on a column border starts moving it; the document keeps its selection.
    resizing_ = true;
    dragStartX_ = ev->clientX;
    dragLastX_ = -1;
    ev->returnValue = false;
  }
}

void TCustomHtmlEdit::DocMouseMove() {
  EventScope scope(*this);
  EngineEvent* ev = scope.event;
  if (!ev) return;
  SendMessageW(hwnd_, WM_MOUSEMOVE, FlagsOf(*ev), ControlPoint(hwnd_, scope.doc, *ev));
  HWND view = scope.doc->DocumentWindow();
  if (resizing_) {
    // The border follows the pointer as an inverted line.
    if (view) {
      HDC dc = GetDC(view);
      RECT client{};
      GetClientRect(view, &client);
      const int x = border_.x + (ev->clientX - dragStartX_);
      if (dragLastX_ >= 0) PatBlt(dc, dragLastX_, 0, 1, client.bottom, DSTINVERT);
      PatBlt(dc, x, 0, 1, client.bottom, DSTINVERT);
      dragLastX_ = x;
      ReleaseDC(view, dc);
    }
    return;
  }
  if (GetBrowseMode()) return;
  ColumnBorder found;
  const bool onBorder = BorderAt(scope.doc, POINT{ev->clientX, ev->clientY}, found.table, found.leftColumn,
                                 found.leftWidth, found.rightWidth, found.x);
  if (onBorder) border_ = found;
  if (onBorder == cursorOverridden_) return;
  cursorOverridden_ = onBorder;
  VARIANT in;
  VariantInit(&in);
  in.vt = VT_BOOL;
  in.boolVal = onBorder ? VARIANT_TRUE : VARIANT_FALSE;
  ExecDocumentCommand(scope.doc, &CGID_EditorCommands, kCmdOverrideCursor, &in, nullptr);
  SetCursor(LoadCursorW(nullptr, onBorder ? IDC_SIZEWE : IDC_IBEAM));
}

void TCustomHtmlEdit::DocMouseUp() {
  EventScope scope(*this);
  EngineEvent* ev = scope.event;
  if (!ev) return;
  SendMessageW(hwnd_, ButtonMessage(*ev, false), FlagsOf(*ev), ControlPoint(hwnd_, scope.doc, *ev));
  if (!resizing_) return;
  resizing_ = false;
  if (HWND view = scope.doc->DocumentWindow(); view && dragLastX_ >= 0) {
    HDC dc = GetDC(view);
    RECT client{};
    GetClientRect(view, &client);
    PatBlt(dc, dragLastX_, 0, 1, client.bottom, DSTINVERT);
    ReleaseDC(view, dc);
  }
  const int delta = ev->clientX - dragStartX_;
  if (delta == 0 || !border_.table || !border_.table->parent) return;
  // The two columns either side of the border take their new widths in every row.
  const int leftWidth = std::max(8, border_.leftWidth + delta);
  const int rightWidth = std::max(8, border_.rightWidth - (leftWidth - border_.leftWidth));
  Document& dom = scope.doc->Dom();
  for (Node* row : TableRows(border_.table)) {
    for (Node* cell : RowCells(row)) {
      const int column = CellColumn(cell);
      if (column == border_.leftColumn) dom.SetAttribute(cell, u"width", Number(leftWidth));
      else if (column == border_.leftColumn + 1) dom.SetAttribute(cell, u"width", Number(rightWidth));
    }
  }
  scope.doc->ContentChanged();
}

void TCustomHtmlEdit::DocDblClick() {
  EventScope scope(*this);
  if (!scope.event) return;
  SendMessageW(hwnd_, WM_LBUTTONDBLCLK, FlagsOf(*scope.event) | MK_LBUTTON, ControlPoint(hwnd_, scope.doc, *scope.event));
}

void TCustomHtmlEdit::DocMouseEnter() { Run(OnMouseEnter, *this); }

void TCustomHtmlEdit::DocMouseLeave() {
  if (cursorOverridden_ && !resizing_) {
    cursorOverridden_ = false;
    IEngineDocument* doc = nullptr;
    if (GetDocument(&doc)) {
      VARIANT in;
      VariantInit(&in);
      in.vt = VT_BOOL;
      in.boolVal = VARIANT_FALSE;
      ExecDocumentCommand(doc, &CGID_EditorCommands, kCmdOverrideCursor, &in, nullptr);
      doc->Release();
    }
  }
  Run(OnMouseLeave, *this);
}

}  // namespace htmledit
