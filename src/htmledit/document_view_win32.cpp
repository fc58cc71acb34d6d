#include "htmledit/document_view_win32.h"

#include <richedit.h>

#include <algorithm>
#include <memory>

#include "htmledit/rtf_view.h"

namespace htmledit {

namespace {

// Above this many characters to take out or put in, a whole stream (into a fresh control) is
// cheaper than changing the paragraphs in place.
constexpr int kFreshControlAbove = 20000;
// An update that brings more paragraphs than these streams the whole document instead.
constexpr size_t kParagraphsUpdatedAtMost = 64;
// The wrapping work the view accepts, as the sum of the squares of the paragraphs' lengths in
// thousands of characters: a paragraph of 10000 characters takes about 0.3 s to wrap.
constexpr double kWrappingBudget = 100.0;
// The pictures one stream carries at most (their RTF text).
constexpr size_t kPictureBytesPerStream = size_t{64} << 20;

struct RtfSource {
  const std::string* text;
  size_t pos;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
  auto* src = reinterpret_cast<RtfSource*>(cookie);
  size_t left = src->text->size() - src->pos;
  size_t n = left < static_cast<size_t>(size) ? left : static_cast<size_t>(size);
  memcpy(buffer, src->text->data() + src->pos, n);
  src->pos += n;
  *read = static_cast<LONG>(n);
  return 0;
}

}  // namespace

DocumentView::~DocumentView() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool DocumentView::Create(HWND parent, const RECT& bounds, int id) {
  static HMODULE richEdit = LoadLibraryW(L"msftedit.dll");
  if (!richEdit) return false;
  parent_ = parent;
  id_ = id;
  hwnd_ = CreateWindowExW(0, MSFTEDIT_CLASS, L"",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL,
                          bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  // The document keeps its own undo; the control's would cost time on every long change.
  SendMessageW(hwnd_, EM_SETUNDOLIMIT, 0, 0);
  filled_ = false;
  wrapping_ = true;
  if (OnCreated) OnCreated(hwnd_);
  return true;
}

bool DocumentView::Recreate() {
  if (!hwnd_) return false;
  HWND old = hwnd_;
  RECT bounds{};
  GetWindowRect(old, &bounds);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&bounds), 2);
  const bool focused = GetFocus() == old;
  const LONG_PTR exStyle = GetWindowLongPtrW(old, GWL_EXSTYLE);
  if (OnDestroying) OnDestroying(old);
  hwnd_ = nullptr;
  DestroyWindow(old);
  if (!Create(parent_, bounds, id_)) return false;
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, exStyle);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  SendMessageW(hwnd_, EM_SHOWSCROLLBAR, SB_VERT, scrollBar_);
  if (focused) SetFocus(hwnd_);
  return true;
}

void DocumentView::SetVerticalScrollBar(bool show) {
  scrollBar_ = show;
  if (hwnd_) SendMessageW(hwnd_, EM_SHOWSCROLLBAR, SB_VERT, show);
}

void DocumentView::ShowScrollBarAhead(const BodyText& layout) {
  if (!scrollBar_ || (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VSCROLL)) return;
  // Every paragraph is at least one line of at least one pixel: more paragraphs than the
  // view has pixel rows will need the bar for certain.
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  if (layout.Paragraphs().size() <= static_cast<size_t>(std::max<LONG>(0, rc.bottom - rc.top))) return;
  // The control shows it itself only after wrapping the whole text, and the narrower
  // client area then wraps it all once more (a thousand milliseconds for 6000 paragraphs).
  // Shown before, the text is wrapped once; the control finds the bar it wants already there.
  ShowScrollBar(hwnd_, SB_VERT, TRUE);
}

PictureRtfLookup DocumentView::StreamPictures() const {
  if (!Pictures) return {};
  auto spent = std::make_shared<size_t>(0);
  return [lookup = Pictures, spent](const PictureRef& picture) {
    std::string rtf = lookup(picture);
    if (*spent + rtf.size() > kPictureBytesPerStream) return std::string();
    *spent += rtf.size();
    return rtf;
  };
}

bool DocumentView::StreamRtf(const std::string& rtf, bool selection) {
  RtfSource src{&rtf, 0};
  EDITSTREAM es{};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&src);
  es.pfnCallback = ReadRtf;
  streaming_ = true;
  SendMessageW(hwnd_, EM_STREAMIN, SF_RTF | (selection ? SFF_SELECTION : 0), reinterpret_cast<LPARAM>(&es));
  streaming_ = false;
  return es.dwError == 0;
}

void DocumentView::ChooseWrapping(const BodyText& layout) {
  double work = 0;
  for (const Paragraph& p : layout.Paragraphs()) {
    const double k = (p.end - p.start) / 1000.0;
    work += k * k;
  }
  const bool wrap = work <= kWrappingBudget;
  if (wrap == wrapping_) return;
  wrapping_ = wrap;
  SendMessageW(hwnd_, EM_SETTARGETDEVICE, 0, wrap ? 0 : 1);  // 1: lines as wide as their text
}

bool DocumentView::Mirror(const BodyText& layout) {
  if (!hwnd_) return false;
  int start = 0, end = 0;
  GetSelection(start, end);
  // A control that shows much already is replaced rather than emptied.
  if (filled_ && GetWindowTextLengthW(hwnd_) > kFreshControlAbove && !Recreate()) return false;
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  ChooseWrapping(layout);
  ShowScrollBarAhead(layout);
  const bool ok = StreamRtf(BodyTextToRtf(layout, StreamPictures()), false);
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
  SetSelection(layout.Clamp(start), layout.Clamp(end));
  filled_ = ok;
  return ok;
}

bool DocumentView::Update(const BodyText& before, const BodyText& after) {
  if (!hwnd_) return false;
  if (!filled_) return Mirror(after);
  const ParagraphChange change = DiffParagraphs(before, after);
  if (change.None()) return true;
  const auto [from, to] = ParagraphRange(before, change.first, change.oldCount);
  const auto [newFrom, newTo] = ParagraphRange(after, change.first, change.newCount);
  // Many paragraphs in or out (a paste, a file): one whole stream is faster than a stream into
  // the selection and the formats of each paragraph set after it.
  if (to - from > kFreshControlAbove || newTo - newFrom > kFreshControlAbove ||
      change.newCount > kParagraphsUpdatedAtMost)
    return Mirror(after);
  int start = 0, end = 0;
  GetSelection(start, end);
  const LRESULT firstLine = SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0);
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  ChooseWrapping(after);
  SetSelection(from, to);
  const bool ok = StreamRtf(ParagraphsToRtf(after, change.first, change.newCount, StreamPictures()), true);
  for (size_t i = change.first; i <= change.first + change.newCount && i < after.Paragraphs().size(); ++i)
    ApplyParagraphFormat(after, i);
  SetSelection(after.Clamp(start), after.Clamp(end));
  const LRESULT nowFirst = SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0);
  if (nowFirst != firstLine) SendMessageW(hwnd_, EM_LINESCROLL, 0, firstLine - nowFirst);
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
  filled_ = ok;
  return ok;
}

void DocumentView::ApplyParagraphFormat(const BodyText& layout, size_t i) {
  const Paragraph& p = layout.Paragraphs()[i];
  const ParaFormat& f = layout.ParaFormats()[static_cast<size_t>(p.format)];
  PARAFORMAT2 pf{};
  pf.cbSize = sizeof pf;
  pf.dwMask = PFM_ALIGNMENT | PFM_STARTINDENT | PFM_OFFSET | PFM_TABSTOPS | PFM_NUMBERING | PFM_NUMBERINGSTART |
              PFM_NUMBERINGSTYLE | PFM_NUMBERINGTAB;
  switch (f.align) {
    case ParaAlign::Center: pf.wAlignment = PFA_CENTER; break;
    case ParaAlign::Right: pf.wAlignment = PFA_RIGHT; break;
    case ParaAlign::Justify: pf.wAlignment = PFA_JUSTIFY; break;
    default: pf.wAlignment = PFA_LEFT; break;
  }
  pf.dxStartIndent = f.indentLevel * 360;
  pf.cTabCount = static_cast<SHORT>(std::min<size_t>(f.tabStops.size(), MAX_TAB_STOPS));
  for (SHORT t = 0; t < pf.cTabCount; ++t) pf.rgxTabs[t] = f.tabStops[static_cast<size_t>(t)];
  pf.wNumbering = f.list == ListKind::Bullet ? PFN_BULLET : f.list == ListKind::Number ? PFN_ARABIC : 0;
  pf.wNumberingStart = static_cast<WORD>(std::max(1, f.listNumber));
  pf.wNumberingStyle = f.list == ListKind::Number ? PFNS_PERIOD : 0;
  pf.wNumberingTab = f.list == ListKind::None ? 0 : 360;
  SetSelection(p.start, p.end);
  // Setting a format rewraps every paragraph after it (a long document: many milliseconds
  // each); the ones the stream got right are left alone.
  PARAFORMAT2 now{};
  now.cbSize = sizeof now;
  SendMessageW(hwnd_, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&now));
  const bool same = (now.dwMask & pf.dwMask) == pf.dwMask && now.wAlignment == pf.wAlignment &&
                    now.dxStartIndent == pf.dxStartIndent && now.dxOffset == pf.dxOffset &&
                    now.cTabCount == pf.cTabCount &&
                    std::equal(pf.rgxTabs, pf.rgxTabs + pf.cTabCount, now.rgxTabs) && now.wNumbering == pf.wNumbering &&
                    (pf.wNumbering == 0 || (now.wNumberingStart == pf.wNumberingStart &&
                                            now.wNumberingStyle == pf.wNumberingStyle &&
                                            now.wNumberingTab == pf.wNumberingTab));
  if (same) return;
  streaming_ = true;
  SendMessageW(hwnd_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
  streaming_ = false;
}

std::u16string DocumentView::Text() const {
  if (!hwnd_) return {};
  GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_PRECISE, 1200};
  LRESULT n = SendMessageW(hwnd_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
  if (n <= 0) return {};
  std::u16string text(static_cast<size_t>(n) + 1, u'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(text.size() * sizeof(char16_t));
  get.flags = GT_DEFAULT;
  get.codepage = 1200;
  LRESULT got = SendMessageW(hwnd_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void DocumentView::GetSelection(int& start, int& end) const {
  CHARRANGE r{0, 0};
  if (hwnd_) SendMessageW(hwnd_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
  start = r.cpMin;
  end = r.cpMax;
}

void DocumentView::SetSelection(int start, int end) {
  CHARRANGE r{start, end};
  if (hwnd_) SendMessageW(hwnd_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
}

int DocumentView::WidthTwips() const {
  RECT rc{};
  if (hwnd_) GetClientRect(hwnd_, &rc);
  HDC dc = GetDC(hwnd_);
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  if (dc) ReleaseDC(hwnd_, dc);
  return (rc.right - rc.left) * 1440 / (dpi > 0 ? dpi : 96);
}

}  // namespace htmledit
