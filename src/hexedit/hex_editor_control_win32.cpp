#include "hexedit/hex_editor_control_win32.h"

#include <windowsx.h>

#include <algorithm>

#include "gui/guard.h"
#include "gui/wide.h"
#include "unicode/codepage.h"

namespace hexedit {

namespace {
constexpr wchar_t kClassName[] = L"THexEditorEx";
constexpr UINT_PTR kAutoScrollTimer = 1;
constexpr int kBookmarkGlyph = 10;  // glyphs of 10 x 10 pixels, 20 of them stacked

COLORREF Resolve(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

const ColorResolver& Resolver() {
  static const ColorResolver resolve = [](TColor c) { return static_cast<TColor>(Resolve(c)); };
  return resolve;
}

ShiftState CurrentShiftState() {
  return ShiftState{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
}

void RegisterEditorClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSEXW wc{sizeof wc};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
  done = true;
}

// Cells of one colour drawn with one ExtTextOutW: each cell's advance reaches to the next
// column, so a run also covers the gaps between column groups.
class ColourRun {
 public:
  ColourRun(HDC dc, const HexGridGeometry& g, int scrollX, int y, int clipLeft)
      : dc_(dc), g_(g), scrollX_(scrollX), y_(y), clipLeft_(clipLeft) {}
  // Adds a cell; a cell of other colours first draws what was gathered.
  void Add(int col, wchar_t ch, const CellStyle& style) {
    if (!text_.empty() && (style.background != style_.background || style.text != style_.text)) Flush();
    if (text_.empty()) {
      first_ = col;
      style_ = style;
    }
    text_ += ch;
    advances_.push_back(g_.colX[static_cast<std::size_t>(col) + 1] - g_.colX[static_cast<std::size_t>(col)]);
  }
  void Flush() {
    if (text_.empty()) return;
    const int left = g_.colX[static_cast<std::size_t>(first_)] - scrollX_;
    const int right = g_.colX[static_cast<std::size_t>(first_) + text_.size()] - scrollX_;
    RECT r{std::max(left, clipLeft_), y_, right, y_ + g_.rowHeight};
    SetBkColor(dc_, Resolve(style_.background));
    SetTextColor(dc_, Resolve(style_.text));
    ExtTextOutW(dc_, left, y_, ETO_OPAQUE | ETO_CLIPPED, &r, text_.c_str(), static_cast<UINT>(text_.size()),
                advances_.data());
    text_.clear();
    advances_.clear();
  }

 private:
  HDC dc_;
  const HexGridGeometry& g_;
  int scrollX_, y_, clipLeft_;
  int first_ = 0;
  CellStyle style_;
  std::wstring text_;
  std::vector<INT> advances_;
};

// Fills a rectangle with a colour.
void Fill(HDC dc, const RECT& r, COLORREF color) {
  SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}
}  // namespace

HexEditorControl::HexEditorControl() = default;

HexEditorControl::~HexEditorControl() {
  ReleaseClipboardObject();
  if (hwnd_ && IsWindow(hwnd_)) {
    if (dropRegistered_) RevokeDragDrop(hwnd_);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (dropTarget_) dropTarget_->Release();
  if (bookmarkBitmap_) DeleteObject(bookmarkBitmap_);
}

void HexEditorControl::Create(HWND parent, int id, const RECT& bounds) {
  RegisterEditorClass();
  hwnd_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL,
                          bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HexEditorControl::WindowProc));
  bookmarkBitmap_ = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), L"BOOKMARKICONS", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  FontChanged();
  OleDragDropChanged();
  UpdateScrollBars();
}

void HexEditorControl::SetBookmarkBitmap(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth != kBookmarkGlyph ||
      std::abs(info.bmHeight) != 20 * kBookmarkGlyph) {
    throw EHexEditor("Invalid bookmark bitmap (must be 10 x 200 px)");
  }
  HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!copy) throw EHexEditor("Invalid bookmark bitmap (must be 10 x 200 px)");
  if (bookmarkBitmap_) DeleteObject(bookmarkBitmap_);
  bookmarkBitmap_ = copy;
  InvalidateView();
}

void HexEditorControl::SetBounds(int left, int top, int width, int height) {
  MoveWindow(hwnd_, left, top, std::max(0, width), std::max(0, height), TRUE);
}
bool HexEditorControl::Visible() const { return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void HexEditorControl::SetVisible(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }
void HexEditorControl::SetFocus() { ::SetFocus(hwnd_); }

int HexEditorControl::ClientWidth() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.right;
}
int HexEditorControl::ClientHeight() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.bottom;
}

// ---- What the model asks of the window

void HexEditorControl::InvalidateView() {
  if (!hwnd_ || SettingsUpdating()) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateScrollBars();
  PlaceCaret();
}

void HexEditorControl::LayoutChanged() {
  if (!hwnd_) return;
  UpdateGeometry();
  UpdateScrollBars();
}

void HexEditorControl::CaretMoved() {
  if (!hwnd_) return;
  if (focused_) CreateCaretShape();
  PlaceCaret();
}

void HexEditorControl::PostSelectionMessage() {
  if (hwnd_) PostMessageW(hwnd_, kSelectionChangedMessage, 0, 0);
}

void HexEditorControl::FontChanged() {
  if (!hwnd_) return;
  HDC screen = GetDC(hwnd_);
  const int height = -MulDiv(Font().Size, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(hwnd_, screen);
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = (Font().Style & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (Font().Style & fsItalic) != 0;
  lf.lfUnderline = (Font().Style & fsUnderline) != 0;
  lf.lfStrikeOut = (Font().Style & fsStrikeOut) != 0;
  lf.lfCharSet = static_cast<BYTE>(Font().Charset);
  lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  const std::wstring face = gui::Wstr(Font().Name);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  font_.reset(CreateFontIndirectW(&lf));
  // Two-byte characters of code page 936 come from a Chinese font of the same height.
  cjkFont_ = gui::MakeFont(u"宋体", height, lf.lfWeight, GB2312_CHARSET);
  UpdateGeometry();
  UpdateScrollBars();
  if (focused_) CreateCaretShape();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// ---- Geometry

void HexEditorControl::UpdateGeometry() {
  if (!hwnd_ || !font_) return;
  HexGridGeometry& g = geometry_;
  HDC dc = GetDC(hwnd_);
  {
    gui::SelectedObject select(dc, font_.get());
    SIZE w{};
    GetTextExtentPoint32W(dc, L"w", 1, &w);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    g.charWidth = std::max<int>(1, w.cx);
    g.rowHeight = std::max<int>(1, tm.tmHeight + 1);
  }
  ReleaseDC(hwnd_, dc);
  const int cw = g.charWidth;
  g.gutterWidth = AutoGutterWidth(cw);
  g.rulerHeight = ShowRuler() ? g.rowHeight : 0;
  g.dataTop = g.rulerHeight + 2;
  const int bytesPerRow = BytesPerRow();
  const int digits = 2 * bytesPerRow;
  g.colX.assign(static_cast<std::size_t>(ColCount()) + 1, 0);
  g.colX[1] = g.gutterWidth;
  int x = g.gutterWidth + cw / 2;
  for (int i = 0; i < digits; ++i) {
    g.colX[static_cast<std::size_t>(2 + i)] = x;
    x += cw;
    const int done = i + 1;
    if (done < digits && done % (2 * BytesPerColumn()) == 0) x += cw;
    if (done < digits && BytesPerBlock() > 0 && done % (2 * BytesPerBlock()) == 0) x += cw;
  }
  g.colX[static_cast<std::size_t>(SeparatorColumn())] = x;
  x += 2 * cw;
  const int bytesPerChar = UnicodeChars() ? 2 : 1;
  const int charWidth = UnicodeChars() ? 2 * cw : cw;
  for (int j = 0; j < CharColumns(); ++j) {
    g.colX[static_cast<std::size_t>(FirstCharColumn() + j)] = x;
    x += charWidth;
    const int done = (j + 1) * bytesPerChar;
    if (SeparateBlocksInCharField() && BytesPerBlock() > 0 && done < bytesPerRow && done % BytesPerBlock() == 0) x += cw;
  }
  g.colX.back() = x + cw;
  SetVisibleRows(std::max(1, (ClientHeight() - g.dataTop) / g.rowHeight));
}

RECT HexEditorControl::CellRect(GridCell cell) const {
  const HexGridGeometry& g = geometry_;
  RECT r{};
  if (cell.col < 0 || cell.col >= ColCount() || g.colX.empty()) return r;
  int top = 0, height = 0;
  if (cell.row == 0) {
    height = g.rulerHeight;
  } else if (cell.row == 1) {
    top = g.rulerHeight;
    height = 2;
  } else {
    const int visible = cell.row - 2 - TopRow();
    if (visible < 0 || visible > VisibleRows()) return r;
    top = g.DataRowY(visible);
    height = g.rowHeight;
  }
  const auto c = static_cast<std::size_t>(cell.col);
  int left = g.colX[c];
  int width = g.colX[c + 1] - g.colX[c];
  if (cell.col >= 2) {
    left -= scrollX_;
    width = cell.col >= FirstCharColumn() ? (UnicodeChars() ? 2 : 1) * g.charWidth
                                          : (cell.col < SeparatorColumn() ? g.charWidth : width);
  }
  return RECT{left, top, left + width, top + height};
}

GridCell HexEditorControl::CellAt(int x, int y, bool dragging) const {
  const HexGridGeometry& g = geometry_;
  GridCell cell;
  if (y < g.dataTop) {
    cell.row = dragging ? 2 + TopRow() - 1 : (y < g.rulerHeight ? 0 : 1);
  } else {
    cell.row = 2 + TopRow() + (y - g.dataTop) / g.rowHeight;
  }
  if (x < g.gutterWidth) {
    cell.col = dragging ? 2 : 0;
    return cell;
  }
  const int xx = x + scrollX_;
  if (g.colX.size() < 3 || xx < g.colX[2]) {
    cell.col = dragging ? 2 : 1;
    return cell;
  }
  const auto it = std::upper_bound(g.colX.begin() + 2, g.colX.end() - 1, xx);
  cell.col = static_cast<int>(it - g.colX.begin()) - 1;
  cell.col = std::min(cell.col, ColCount() - 1);
  return cell;
}

// ---- Scrolling

void HexEditorControl::UpdateScrollBars() {
  if (!hwnd_) return;
  // Every change of a scroll bar is a round trip to the window server: only real changes go.
  const int dataWidth = geometry_.colX.empty() ? 0 : geometry_.colX.back() - geometry_.colX[2];
  const ScrollState state{DataRowCount(), VisibleRows(), TopRow(), dataWidth, ClientWidth(), scrollX_};
  if (state == scrollState_) return;
  scrollState_ = state;
  SCROLLINFO si{sizeof si};
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::max(0, DataRowCount() - 1);
  si.nPage = static_cast<UINT>(VisibleRows());
  si.nPos = TopRow();
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  const int room = std::max(1, ClientWidth() - geometry_.gutterWidth);
  scrollX_ = std::clamp(scrollX_, 0, std::max(0, dataWidth - room));
  si.nMax = std::max(0, dataWidth - 1);
  si.nPage = static_cast<UINT>(room);
  si.nPos = scrollX_;
  SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
}

void HexEditorControl::OnVScroll(int code) {
  switch (code) {
    case SB_LINEUP: SetTopRow(TopRow() - 1); break;
    case SB_LINEDOWN: SetTopRow(TopRow() + 1); break;
    case SB_PAGEUP: SetTopRow(TopRow() - VisibleRows()); break;
    case SB_PAGEDOWN: SetTopRow(TopRow() + VisibleRows()); break;
    case SB_TOP: SetTopRow(0); break;
    case SB_BOTTOM: SetTopRow(DataRowCount()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position: the message's own is 16 bits, too few for large data.
      SCROLLINFO si{sizeof si};
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(hwnd_, SB_VERT, &si);
      SetTopRow(si.nTrackPos);
      break;
    }
    default: break;
  }
  InvalidateView();
}

void HexEditorControl::OnHScroll(int code) {
  const int step = geometry_.charWidth;
  SCROLLINFO si{sizeof si};
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd_, SB_HORZ, &si);
  switch (code) {
    case SB_LINELEFT: scrollX_ -= step; break;
    case SB_LINERIGHT: scrollX_ += step; break;
    case SB_PAGELEFT: scrollX_ -= static_cast<int>(si.nPage); break;
    case SB_PAGERIGHT: scrollX_ += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: scrollX_ = si.nTrackPos; break;
    default: break;
  }
  InvalidateView();
}

// ---- Caret

void HexEditorControl::CreateCaretShape() {
  const int cw = geometry_.charWidth;
  const int rh = geometry_.rowHeight;
  TCaretKind kind = CaretKind();
  if (kind == TCaretKind::ckAuto) kind = InsertMode() ? TCaretKind::ckLeft : TCaretKind::ckBottom;
  DestroyCaret();
  switch (kind) {
    case TCaretKind::ckFull: CreateCaret(hwnd_, nullptr, cw, rh); break;
    case TCaretKind::ckLeft: CreateCaret(hwnd_, nullptr, 2, rh); break;
    default: CreateCaret(hwnd_, nullptr, cw, 2); break;
  }
  caretShown_ = false;
}

void HexEditorControl::PlaceCaret() {
  if (!hwnd_ || !focused_) return;
  const RECT r = CellRect(CaretCell());
  const bool visible = r.bottom > r.top && r.left >= geometry_.gutterWidth && r.left < ClientWidth();
  if (!visible) {
    if (caretShown_) HideCaret(hwnd_);
    caretShown_ = false;
    return;
  }
  TCaretKind kind = CaretKind();
  if (kind == TCaretKind::ckAuto) kind = InsertMode() ? TCaretKind::ckLeft : TCaretKind::ckBottom;
  SetCaretPos(r.left, kind == TCaretKind::ckBottom ? r.bottom - 2 : r.top);
  if (!caretShown_) ShowCaret(hwnd_);
  caretShown_ = true;
}

void HexEditorControl::PushCursor(HCURSOR cursor) {
  cursorStack_.push_back(SetCursor(cursor));
}

void HexEditorControl::PopCursor() {
  if (cursorStack_.empty()) return;
  SetCursor(cursorStack_.back());
  cursorStack_.pop_back();
}

void HexEditorControl::SetDropPosition(std::int64_t position) {
  if (dropPosition_ == position) return;
  dropPosition_ = position;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// ---- Messages

LRESULT CALLBACK HexEditorControl::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<HexEditorControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  return gui::Guarded("THexEditorEx", LRESULT{0}, [&] { return self->Handle(msg, wp, lp); });
}

LRESULT HexEditorControl::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      gui::PaintScope paint(hwnd_);
      if (!SettingsUpdating()) Paint(paint.dc(), paint.area());
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      UpdateGeometry();
      UpdateScrollBars();
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wp));
      return 0;
    case WM_HSCROLL:
      OnHScroll(LOWORD(wp));
      return 0;
    case WM_GETDLGCODE: {
      const auto* m = reinterpret_cast<const MSG*>(lp);
      UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      const bool tab = m && (m->message == WM_KEYDOWN || m->message == WM_CHAR) && m->wParam == VK_TAB;
      if (!tab || WantTabs()) code |= DLGC_WANTALLKEYS;
      if (WantTabs()) code |= DLGC_WANTTAB;
      return code;
    }
    case WM_KEYDOWN:
      KeyDown(static_cast<int>(wp), CurrentShiftState());
      return 0;
    case WM_KEYUP:
      KeyUp(static_cast<int>(wp), CurrentShiftState());
      return 0;
    case WM_CHAR:
      KeyPress(static_cast<char16_t>(wp));
      return 0;
    case WM_SETFOCUS:
      focused_ = true;
      CreateCaretShape();
      PlaceCaret();
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_KILLFOCUS:
      focused_ = false;
      caretShown_ = false;
      DestroyCaret();
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      ::SetFocus(hwnd_);
      SetCapture(hwnd_);
      pressPoint_ = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      lastMouse_ = pressPoint_;
      MouseDown(CellAt(pressPoint_.x, pressPoint_.y, false), CurrentShiftState(), msg == WM_LBUTTONDBLCLK);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (wp & MK_LBUTTON) OnMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), wp);
      return 0;
    case WM_LBUTTONUP: {
      if (autoScrollTimer_) KillTimer(hwnd_, kAutoScrollTimer);
      autoScrollTimer_ = false;
      if (GetCapture() == hwnd_) ReleaseCapture();
      MouseUp(CellAt(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), true));
      return 0;
    }
    case WM_RBUTTONDOWN:
      ::SetFocus(hwnd_);
      return 0;
    case WM_TIMER:
      if (wp == kAutoScrollTimer) AutoScroll();
      return 0;
    case WM_CONTEXTMENU: {
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      POINT client = at;
      if (lp == -1) {
        const RECT r = CellRect(CaretCell());
        client = POINT{r.left, r.bottom};
        at = client;
        ClientToScreen(hwnd_, &at);
      } else {
        ScreenToClient(hwnd_, &client);
      }
      gui::Menu* menu = client.x < geometry_.gutterWidth && OffsetPopupMenu ? OffsetPopupMenu : PopupMenu;
      if (menu) menu->Popup(GetAncestor(hwnd_, GA_ROOT), at.x, at.y);
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT) {
        if (!cursorStack_.empty() || gui::WaitCursorActive()) {
          SetCursor(LoadCursorW(nullptr, IDC_WAIT));
          return TRUE;
        }
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(hwnd_, &p);
        const GridCell cell = CellAt(p.x, p.y, false);
        const std::optional<CellTarget> target = TargetOf(cell);
        const bool arrow = cell.row < 2 || cell.col < 2 || (target && IsSelected(target->position));
        SetCursor(LoadCursorW(nullptr, arrow ? IDC_ARROW : IDC_IBEAM));
        return TRUE;
      }
      break;
    case WM_MOUSEWHEEL: {
      const int delta = GET_WHEEL_DELTA_WPARAM(wp);
      const WORD keys = GET_KEYSTATE_WPARAM(wp);
      MouseWheel(delta, ShiftState{(keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0, false});
      InvalidateView();
      return 0;
    }
    case WM_DESTROY:
      ReleaseClipboardObject();
      if (dropRegistered_) RevokeDragDrop(hwnd_);
      dropRegistered_ = false;
      break;
    default:
      if (msg == kSelectionChangedMessage) {
        SelectionMessageArrived();
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void HexEditorControl::OnMouseMove(int x, int y, WPARAM) {
  lastMouse_ = POINT{x, y};
  if (DragPending()) {
    const int dx = std::abs(x - pressPoint_.x), dy = std::abs(y - pressPoint_.y);
    if (OleDragDrop() && (dx >= GetSystemMetrics(SM_CXDRAG) || dy >= GetSystemMetrics(SM_CYDRAG))) StartDrag();
    return;
  }
  if (!MouseSelecting()) return;
  MouseMove(CellAt(x, y, true));
  const bool outside = y < geometry_.dataTop || y >= ClientHeight();
  if (outside && !autoScrollTimer_) {
    SetTimer(hwnd_, kAutoScrollTimer, 50, nullptr);
    autoScrollTimer_ = true;
  } else if (!outside && autoScrollTimer_) {
    KillTimer(hwnd_, kAutoScrollTimer);
    autoScrollTimer_ = false;
  }
}

void HexEditorControl::AutoScroll() {
  if (!MouseSelecting()) {
    KillTimer(hwnd_, kAutoScrollTimer);
    autoScrollTimer_ = false;
    return;
  }
  if (lastMouse_.y < geometry_.dataTop) SetTopRow(TopRow() - 1);
  else if (lastMouse_.y >= ClientHeight()) SetTopRow(TopRow() + 1);
  GridCell cell = CellAt(lastMouse_.x, std::clamp(static_cast<int>(lastMouse_.y), geometry_.dataTop, std::max(geometry_.dataTop, ClientHeight() - 1)), true);
  if (lastMouse_.y < geometry_.dataTop) cell.row = 2 + TopRow();
  MouseMove(cell);
}

// ---- Painting

void HexEditorControl::Paint(HDC target, const RECT&) {
  const int width = ClientWidth(), height = ClientHeight();
  if (width <= 0 || height <= 0) return;
  // Everything is drawn into a memory bitmap first, so the view never flickers.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = SelectObject(dc, font_.get());
  Fill(dc, RECT{0, 0, width, height}, Resolve(Colors().Background));
  if (ShowRuler()) PaintRuler(dc, width);
  Fill(dc, RECT{0, geometry_.rulerHeight, width, geometry_.dataTop}, Resolve(Colors().OffsetBackGround));
  const int last = std::min(DataRowCount(), TopRow() + VisibleRows() + 1);
  for (int row = TopRow(); row < last; ++row) PaintRow(dc, row, geometry_.DataRowY(row - TopRow()), width);
  // The gutter below the data.
  const int bottom = geometry_.DataRowY(last - TopRow());
  if (bottom < height) Fill(dc, RECT{0, bottom, geometry_.gutterWidth, height}, Resolve(Colors().OffsetBackGround));
  BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

void HexEditorControl::PaintRuler(HDC dc, int width) {
  const RECT band{0, 0, width, geometry_.rulerHeight};
  Fill(dc, band, Resolve(Colors().OffsetBackGround));
  SetTextColor(dc, Resolve(Colors().Offset));
  SetBkMode(dc, TRANSPARENT);
  const int unitDigits = 2 * BytesPerUnit();
  for (int u = 0; u < RulerUnits(); ++u) {
    const int col = FirstHexColumn() + u * unitDigits;
    const int x = geometry_.colX[static_cast<std::size_t>(col)] - scrollX_;
    if (x < geometry_.gutterWidth) continue;
    const std::wstring text = gui::Wstr(RulerText(u));
    ExtTextOutW(dc, x, 0, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  }
  SetBkMode(dc, OPAQUE);
  if (DrawGutter3D()) {
    RECT edge = band;
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_BOTTOM);
  }
}

void HexEditorControl::PaintRow(HDC dc, int dataRow, int y, int width) {
  const int clipLeft = geometry_.gutterWidth;
  const HRGN clip = CreateRectRgn(clipLeft, y, width, y + geometry_.rowHeight);
  SelectClipRgn(dc, clip);
  PaintHexRuns(dc, dataRow, y, clipLeft);
  PaintCharRuns(dc, dataRow, y, clipLeft);
  PaintFrames(dc, dataRow, y);
  if (DrawGridLines()) {
    HPEN pen = CreatePen(PS_SOLID, 1, Resolve(Colors().Grid));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, clipLeft, y + geometry_.rowHeight - 1, nullptr);
    LineTo(dc, width, y + geometry_.rowHeight - 1);
    const int sx = geometry_.colX[static_cast<std::size_t>(SeparatorColumn())] + geometry_.charWidth - scrollX_;
    MoveToEx(dc, sx, y, nullptr);
    LineTo(dc, sx, y + geometry_.rowHeight);
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  PaintGutterCell(dc, dataRow, y);
}

void HexEditorControl::PaintGutterCell(HDC dc, int dataRow, int y) {
  const bool caretRow = CaretPosition() / BytesPerRow() == dataRow;
  RECT r{0, y, geometry_.gutterWidth, y + geometry_.rowHeight};
  Fill(dc, r, Resolve(caretRow ? Colors().CurrentOffsetBackground : Colors().OffsetBackGround));
  if (OnDrawCell && OnDrawCell(dc, GridCell{0, dataRow + 2}, r)) return;
  const std::wstring text = gui::Wstr(unicode::Utf8ToUtf16(RowOffsetText(dataRow)));
  SetTextColor(dc, Resolve(caretRow ? Colors().CurrentOffset : Colors().Offset));
  SetBkMode(dc, TRANSPARENT);
  RECT textRect{14, y, geometry_.gutterWidth - 4, y + geometry_.rowHeight};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SetBkMode(dc, OPAQUE);
  if (DrawGutter3D()) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  if (!bookmarkBitmap_) return;
  const std::int64_t rowStart = static_cast<std::int64_t>(dataRow) * BytesPerRow();
  HDC glyphs = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(glyphs, bookmarkBitmap_);
  int x = 2;
  for (int i = 0; i < kBookmarkCount; ++i) {
    const Bookmark mark = GetBookmark(i);
    if (mark.position < rowStart || mark.position >= rowStart + BytesPerRow()) continue;
    const int glyph = i + (mark.charField ? kBookmarkCount : 0);
    BitBlt(dc, x, y + (geometry_.rowHeight - kBookmarkGlyph) / 2, kBookmarkGlyph, kBookmarkGlyph, glyphs, 0,
           glyph * kBookmarkGlyph, SRCCOPY);
    x += 3;  // several marks in one row overlap a little
  }
  SelectObject(glyphs, old);
  DeleteDC(glyphs);
}

void HexEditorControl::PaintHexRuns(HDC dc, int dataRow, int y, int clipLeft) {
  const std::int64_t rowStart = static_cast<std::int64_t>(dataRow) * BytesPerRow();
  const auto size = static_cast<std::int64_t>(DataSize());
  ColourRun run(dc, geometry_, scrollX_, y, clipLeft);
  for (int i = 0; i < 2 * BytesPerRow(); ++i) {
    const std::int64_t pos = rowStart + i / 2;
    if (pos >= size) break;
    const int col = FirstHexColumn() + i;
    if (OnDrawCell && OnDrawCell(dc, GridCell{col, dataRow + 2}, CellRect(GridCell{col, dataRow + 2}))) {
      run.Flush();
      continue;
    }
    run.Add(col, static_cast<wchar_t>(HexDigitOf(pos, i % 2 == 1)), StyleOf(pos, false, focused_, Resolver()));
  }
  run.Flush();
}

void HexEditorControl::PaintCharRuns(HDC dc, int dataRow, int y, int clipLeft) {
  const std::vector<CharCell> cells = CharCellsOfRow(dataRow);
  const std::int64_t rowStart = static_cast<std::int64_t>(dataRow) * BytesPerRow();
  const int bytesPerChar = UnicodeChars() ? 2 : 1;
  ColourRun run(dc, geometry_, scrollX_, y, clipLeft);
  for (int j = 0; j < static_cast<int>(cells.size()); ++j) {
    const CharCell& cell = cells[static_cast<std::size_t>(j)];
    const int col = FirstCharColumn() + j;
    if (cell.span == 0) continue;
    if (cell.text.empty()) break;
    const std::int64_t pos = rowStart + static_cast<std::int64_t>(j) * bytesPerChar;
    const CellStyle style = StyleOf(pos, true, focused_, Resolver());
    if (cell.span == 1) {
      run.Add(col, static_cast<wchar_t>(cell.text[0]), style);
      continue;
    }
    // A character of two bytes covers both cells, drawn in the Chinese font.
    run.Flush();
    const int left = geometry_.colX[static_cast<std::size_t>(col)] - scrollX_;
    const int right = geometry_.colX[static_cast<std::size_t>(col) + 2] - scrollX_;
    RECT r{std::max(left, clipLeft), y, right, y + geometry_.rowHeight};
    SetBkColor(dc, Resolve(style.background));
    SetTextColor(dc, Resolve(style.text));
    gui::SelectedObject select(dc, cjkFont_.get());
    const std::wstring text = gui::Wstr(cell.text);
    ExtTextOutW(dc, left, y, ETO_OPAQUE | ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  }
  run.Flush();
}

void HexEditorControl::PaintFrames(HDC dc, int dataRow, int y) {
  const std::int64_t rowStart = static_cast<std::int64_t>(dataRow) * BytesPerRow();
  const std::int64_t caret = CaretPosition();
  if (caret >= rowStart && caret < rowStart + BytesPerRow()) {
    for (bool charField : {false, true}) {
      const CellStyle style = StyleOf(caret, charField, focused_, Resolver());
      if (!style.frame) continue;
      RECT r;
      if (charField == InCharField()) {
        r = CellRect(CellOf(caret, charField, charField ? false : SecondDigit()));
      } else {
        r = CellRect(CellOf(caret, charField, false));
        if (!charField) r.right = CellRect(CellOf(caret, false, true)).right;  // both digits of the byte
      }
      HBRUSH brush = CreateSolidBrush(Resolve(style.frameColor));
      FrameRect(dc, &r, brush);
      DeleteObject(brush);
    }
  }
  if (dropPosition_ >= rowStart && dropPosition_ < rowStart + BytesPerRow() + 1) {
    // Where dropped data would go: a bar before that byte in both fields.
    HBRUSH brush = CreateSolidBrush(Resolve(Colors().CursorFrame));
    for (bool charField : {false, true}) {
      const std::int64_t p = std::min<std::int64_t>(dropPosition_, rowStart + BytesPerRow() - 1);
      RECT r = CellRect(CellOf(p, charField, false));
      if (dropPosition_ > p) r.left = r.right - 2;
      r.right = r.left + 2;
      FillRect(dc, &r, brush);
    }
    DeleteObject(brush);
  }
}

}  // namespace hexedit
