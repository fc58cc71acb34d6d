// What the document draws over the view after the view painted its text: highlight segments
// (wavy underlines), the tag glyphs of the glyph table, and dotted borders of tables drawn
// without borders. Then the paint listener hears of the paint.
#include <windows.h>
#include <olectl.h>
#include <richedit.h>

#include <algorithm>
#include <map>
#include <unordered_set>

#include "htmledit/engine_document_win32.h"
#include "htmledit/module_routines.h"

namespace htmledit {

// The glyph table as the document draws it: its entries and their pictures, loaded once.
struct EngineDocument::Glyphs {
  struct Entry {
    std::u16string tag, url;
    bool atEnd = false;
    int width = 20, height = 15;
  };
  std::u16string table;  // the text the entries were read from
  std::vector<Entry> entries;
  std::map<std::u16string, IPicture*> pictures;  // by URL; nullptr when it cannot be had
  std::vector<HMODULE> modules;

  ~Glyphs() {
    for (auto& p : pictures)
      if (p.second) p.second->Release();
    for (HMODULE m : modules) FreeLibrary(m);
  }

  // A field's number (1 to 200), or fallback.
  static int Number(const std::u16string& field, int fallback) {
    int n = 0;
    for (char16_t c : field) {
      if (c < u'0' || c > u'9') return fallback;
      n = std::min(n * 10 + (c - u'0'), 1000);
    }
    return field.empty() ? fallback : std::clamp(n, 1, 200);
  }

  void Read(const std::u16string& text) {
    table = text;
    entries.clear();
    size_t pos = 0;
    while (pos < text.size()) {
      size_t end = text.find(u"**", pos);
      if (end == std::u16string::npos) end = text.size();
      // Fields: "%%" value "^^", one after the other.
      std::vector<std::u16string> fields;
      size_t f = pos;
      while (f < end) {
        size_t open = text.find(u"%%", f);
        if (open == std::u16string::npos || open >= end) break;
        size_t close = text.find(u"^^", open + 2);
        if (close == std::u16string::npos || close > end) break;
        fields.push_back(text.substr(open + 2, close - open - 2));
        f = close + 2;
      }
      if (fields.size() >= 10) {
        Entry e;
        e.tag = fields[0];
        e.url = fields[1];
        e.atEnd = fields[2] == u"1";
        e.width = Number(fields[6], 20);
        e.height = Number(fields[7], 15);
        entries.push_back(std::move(e));
      }
      pos = end + 2;
    }
  }

  // A picture named by "res://" module path "/" type "/" name: a resource of that module.
  IPicture* Picture(const std::u16string& url) {
    auto it = pictures.find(url);
    if (it != pictures.end()) return it->second;
    IPicture* picture = Load(url);
    pictures[url] = picture;
    return picture;
  }

 private:
  IPicture* Load(const std::u16string& url) {
    if (url.rfind(u"res://", 0) != 0) return nullptr;
    const size_t nameSlash = url.rfind(u'/');
    const size_t typeSlash = nameSlash == std::u16string::npos ? nameSlash : url.rfind(u'/', nameSlash - 1);
    if (typeSlash == std::u16string::npos || typeSlash <= 6) return nullptr;
    const std::u16string path = url.substr(6, typeSlash - 6);
    const std::u16string type = url.substr(typeSlash + 1, nameSlash - typeSlash - 1);
    const std::u16string name = url.substr(nameSlash + 1);
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    HMODULE module = nullptr;
    if (HtmlSameText(path, reinterpret_cast<const char16_t*>(own))) {
      module = GetModuleHandleW(nullptr);
    } else {
      module = LoadLibraryExW(reinterpret_cast<const wchar_t*>(path.c_str()), nullptr, LOAD_LIBRARY_AS_DATAFILE);
      if (!module) return nullptr;
      modules.push_back(module);
    }
    HRSRC found = FindResourceW(module, reinterpret_cast<const wchar_t*>(name.c_str()),
                                reinterpret_cast<const wchar_t*>(type.c_str()));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    if (!bytes || size == 0) return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!copy) return nullptr;
    memcpy(GlobalLock(copy), bytes, size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
      GlobalFree(copy);
      return nullptr;
    }
    IPicture* picture = nullptr;
    OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    return picture;
  }
};

namespace {

POINTL PointOf(HWND view, int pos) {
  POINTL pt{0, 0};
  SendMessageW(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&pt), pos);
  return pt;
}

// The positions the view shows now.
std::pair<int, int> VisibleRange(HWND view, int length) {
  RECT client{};
  GetClientRect(view, &client);
  POINTL topLeft{0, 0}, bottomRight{client.right, client.bottom};
  int first = static_cast<int>(SendMessageW(view, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&topLeft)));
  int last = static_cast<int>(SendMessageW(view, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&bottomRight)));
  return {std::clamp(first, 0, length), std::clamp(last + 1, 0, length)};
}

}  // namespace

void EngineDocument::PaintHighlights(HWND view, HDC dc) {
  if (highlights_.empty()) return;
  const int lines = static_cast<int>(SendMessageW(view, EM_GETLINECOUNT, 0, 0));
  for (const Highlight& h : highlights_) {
    HPEN pen = CreatePen(PS_SOLID, 1, h.color);
    HGDIOBJ old = SelectObject(dc, pen);
    const int first = static_cast<int>(SendMessageW(view, EM_EXLINEFROMCHAR, 0, h.start));
    const int last = static_cast<int>(SendMessageW(view, EM_EXLINEFROMCHAR, 0, h.end - 1));
    for (int line = first; line <= last && line < lines; ++line) {
      const int lineStart = static_cast<int>(SendMessageW(view, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
      const int lineEnd = lineStart + static_cast<int>(SendMessageW(view, EM_LINELENGTH, static_cast<WPARAM>(lineStart), 0));
      const int a = std::max(h.start, lineStart), b = std::min(h.end, lineEnd);
      if (b <= a) continue;
      const POINTL from = PointOf(view, a), to = PointOf(view, b);
      int height = 16;
      if (line + 1 < lines) {
        const POINTL next = PointOf(view, static_cast<int>(SendMessageW(view, EM_LINEINDEX, static_cast<WPARAM>(line + 1), 0)));
        if (next.y > from.y) height = next.y - from.y;
      }
      const int y = from.y + height - 3;
      // A wave of 2 pixels up and down, every 2 pixels.
      MoveToEx(dc, from.x, y, nullptr);
      for (int x = from.x + 2; x <= std::max(to.x, from.x + 2); x += 2) LineTo(dc, x, ((x - from.x) / 2) % 2 ? y - 2 : y);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
  }
}

void EngineDocument::PaintGlyphs(HWND view, HDC dc) {
  if (!glyphs_) glyphs_ = std::make_shared<Glyphs>();
  if (glyphs_->table != glyphTable_) glyphs_->Read(glyphTable_);
  if (glyphs_->entries.empty()) return;
  auto [first, last] = VisibleRange(view, layout_.Length());
  std::unordered_set<const Node*> seen;
  auto draw = [&](const Glyphs::Entry& e, int pos) {
    IPicture* picture = glyphs_->Picture(e.url);
    if (!picture) return;
    const POINTL at = PointOf(view, pos);
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    picture->Render(dc, at.x, at.y, e.width, e.height, 0, h, w, -h, nullptr);
  };
  const int runCount = static_cast<int>(layout_.Runs().size());
  for (int i = std::max(0, layout_.RunAt(first)); i < runCount; ++i) {
    const TextRun& r = layout_.Runs()[static_cast<size_t>(i)];
    if (r.start > last) break;
    for (const Node* n = r.node; n && !n->Is(TAGID_BODY); n = n->parent) {
      if (!n->IsElement() || !seen.insert(n).second) continue;
      const std::pair<int, int>* span = layout_.FindSpan(n);
      if (!span) continue;
      bool begun = false, ended = false;
      for (const Glyphs::Entry& e : glyphs_->entries) {
        if (!HtmlSameText(e.tag, n->tagName)) continue;
        if (!e.atEnd && !begun && span->first >= first && span->first <= last) draw(e, span->first), begun = true;
        if (e.atEnd && !ended && span->second >= first && span->second <= last) draw(e, span->second), ended = true;
      }
    }
  }
}

void EngineDocument::PaintZeroBorders(HWND view, HDC dc) {
  auto [first, last] = VisibleRange(view, layout_.Length());
  HPEN pen = CreatePen(PS_DOT, 1, RGB(128, 128, 128));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  std::unordered_set<const Node*> seen;
  const int runCount = static_cast<int>(layout_.Runs().size());
  for (int i = std::max(0, layout_.RunAt(first)); i < runCount; ++i) {
    const TextRun& r = layout_.Runs()[static_cast<size_t>(i)];
    if (r.start > last) break;
    const Node* cell = r.node;
    while (cell && !(cell->Is(TAGID_TD) || cell->Is(TAGID_TH))) cell = cell->parent;
    if (!cell || !seen.insert(cell).second) continue;
    const Node* table = cell;
    while (table && !table->Is(TAGID_TABLE)) table = table->parent;
    if (!table || table->GetIntAttribute(u"border", 0) != 0) continue;
    RECT box{};
    if (ElementRect(cell, &box)) Rectangle(dc, box.left, box.top, box.right, box.bottom);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void EngineDocument::AfterViewPaint(HWND view) {
  if (!highlights_.empty() || (glyphsShown_ && !glyphTable_.empty()) || zeroBorders_) {
    HDC dc = GetDC(view);
    PaintHighlights(view, dc);
    if (glyphsShown_ && !glyphTable_.empty()) PaintGlyphs(view, dc);
    if (zeroBorders_) PaintZeroBorders(view, dc);
    ReleaseDC(view, dc);
  }
  if (!paintListener_) return;
  IEngineChangeSink* listener = paintListener_;
  listener->AddRef();
  painting_ = true;
  listener->Notify();
  painting_ = false;
  listener->Release();
}

}  // namespace htmledit
