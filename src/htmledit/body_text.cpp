#include "htmledit/body_text.h"

#include <algorithm>
#include <unordered_map>

#include "htmledit/module_routines.h"

namespace htmledit {

namespace {

bool IsHiddenTag(int id) {
  return id == TAGID_SCRIPT || id == TAGID_STYLE || id == TAGID_TITLE || id == TAGID_HEAD ||
         id == TAGID_NOSCRIPT || id == TAGID_NOFRAMES || id == TAGID_NOEMBED || id == TAGID_COMMENT ||
         id == TAGID_COLGROUP || id == TAGID_COL || id == TAGID_MAP || id == TAGID_PARAM || id == TAGID_AREA ||
         id == TAGID_META || id == TAGID_LINK || id == TAGID_BASE || id == TAGID_BASEFONT || id == TAGID_BGSOUND;
}

bool IsObjectTag(int id) {
  return id == TAGID_IMG || id == TAGID_INPUT || id == TAGID_SELECT || id == TAGID_TEXTAREA ||
         id == TAGID_BUTTON || id == TAGID_IFRAME || id == TAGID_OBJECT || id == TAGID_EMBED ||
         id == TAGID_APPLET || id == TAGID_HR || id == TAGID_FRAME;
}

bool IsPreformatted(int id) {
  return id == TAGID_PRE || id == TAGID_XMP || id == TAGID_LISTING || id == TAGID_PLAINTEXT;
}

bool IsCollapsible(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }

// "#RRGGBB", "#RGB" and the sixteen colour names of HTML 4.
int32_t ParseColor(std::u16string_view v) {
  while (!v.empty() && v.front() == u' ') v.remove_prefix(1);
  while (!v.empty() && v.back() == u' ') v.remove_suffix(1);
  if (!v.empty() && v.front() == u'#') v.remove_prefix(1);
  auto hex = [](char16_t c) -> int {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
  };
  if (v.size() == 6 || v.size() == 3) {
    int d[6];
    bool ok = true;
    for (size_t i = 0; i < v.size(); ++i) ok = ok && (d[i] = hex(v[i])) >= 0;
    if (ok) {
      int r, g, b;
      if (v.size() == 6) { r = d[0] * 16 + d[1]; g = d[2] * 16 + d[3]; b = d[4] * 16 + d[5]; }
      else { r = d[0] * 17; g = d[1] * 17; b = d[2] * 17; }
      return r | (g << 8) | (b << 16);
    }
  }
  static const struct { const char16_t* name; int32_t rgb; } kNames[] = {
      {u"black", 0x000000}, {u"silver", 0xC0C0C0}, {u"gray", 0x808080}, {u"white", 0xFFFFFF},
      {u"maroon", 0x000080}, {u"red", 0x0000FF}, {u"purple", 0x800080}, {u"fuchsia", 0xFF00FF},
      {u"green", 0x008000}, {u"lime", 0x00FF00}, {u"olive", 0x008080}, {u"yellow", 0x00FFFF},
      {u"navy", 0x800000}, {u"blue", 0xFF0000}, {u"teal", 0x808000}, {u"aqua", 0xFFFF00}};
  for (auto& n : kNames)
    if (HtmlSameText(v, n.name)) return n.rgb;
  return -1;
}

// The value of one property of an element's style attribute.
std::u16string StyleProperty(const Node* e, std::u16string_view property) {
  const std::u16string* style = e->GetAttribute(u"style");
  if (!style) return {};
  std::u16string_view s = *style;
  size_t pos = 0;
  std::u16string found;
  while (pos < s.size()) {
    size_t end = s.find(u';', pos);
    if (end == std::u16string_view::npos) end = s.size();
    std::u16string_view decl = s.substr(pos, end - pos);
    pos = end + 1;
    size_t colon = decl.find(u':');
    if (colon == std::u16string_view::npos) continue;
    std::u16string_view name = decl.substr(0, colon);
    while (!name.empty() && IsCollapsible(name.front())) name.remove_prefix(1);
    while (!name.empty() && IsCollapsible(name.back())) name.remove_suffix(1);
    if (!HtmlSameText(name, property)) continue;
    std::u16string_view value = decl.substr(colon + 1);
    while (!value.empty() && IsCollapsible(value.front())) value.remove_prefix(1);
    while (!value.empty() && IsCollapsible(value.back())) value.remove_suffix(1);
    found = value;
  }
  return found;
}

int FontSizeHalfPoints(int htmlSize) {
  static const int kHalfPoints[8] = {0, 15, 20, 24, 27, 36, 48, 72};
  if (htmlSize < 1) htmlSize = 1;
  if (htmlSize > 7) htmlSize = 7;
  return kHalfPoints[htmlSize];
}

int CssSizeHalfPoints(std::u16string_view v) {
  double n = 0;
  size_t i = 0;
  bool any = false;
  for (; i < v.size() && v[i] >= u'0' && v[i] <= u'9'; ++i) { n = n * 10 + (v[i] - u'0'); any = true; }
  if (i < v.size() && v[i] == u'.') {
    double scale = 0.1;
    for (++i; i < v.size() && v[i] >= u'0' && v[i] <= u'9'; ++i) { n += (v[i] - u'0') * scale; scale /= 10; any = true; }
  }
  if (!any || n <= 0 || n > 1000) return 0;
  std::u16string_view unit = v.substr(i);
  if (HtmlSameText(unit, u"pt")) return static_cast<int>(n * 2 + 0.5);
  if (HtmlSameText(unit, u"px") || unit.empty()) return static_cast<int>(n * 1.5 + 0.5);
  return 0;
}

CharFormat FormatOf(const Node* node, const Node* body) {
  CharFormat f;
  bool haveFace = false, haveSize = false, haveColor = false;
  for (const Node* e = node; e && e != body->parent; e = e->parent) {
    if (!e->IsElement()) continue;
    int id = e->tagId;
    if (id == TAGID_B || id == TAGID_STRONG || id == TAGID_TH || (id >= TAGID_H1 && id <= TAGID_H6)) f.bold = true;
    if (id == TAGID_I || id == TAGID_EM || id == TAGID_CITE || id == TAGID_DFN || id == TAGID_VAR ||
        id == TAGID_ADDRESS)
      f.italic = true;
    if (id == TAGID_U || id == TAGID_INS || (id == TAGID_A && e->HasAttribute(u"href"))) f.underline = true;
    if (!haveColor && id == TAGID_A && e->HasAttribute(u"href")) { f.color = 0xFF0000; haveColor = true; }
    if (!haveSize && id >= TAGID_H1 && id <= TAGID_H6) {
      static const int kHeading[6] = {48, 36, 27, 24, 20, 15};
      f.halfPoints = kHeading[id - TAGID_H1];
      haveSize = true;
    }
    if (id == TAGID_FONT) {
      if (!haveFace) if (const std::u16string* face = e->GetAttribute(u"face")) {
        std::u16string_view v = *face;
        size_t comma = v.find(u',');
        f.face = v.substr(0, comma);
        haveFace = !f.face.empty();
      }
      if (!haveSize) if (const std::u16string* size = e->GetAttribute(u"size")) {
        int n = e->GetIntAttribute(u"size", 3);
        if (!size->empty() && ((*size)[0] == u'+' || (*size)[0] == u'-')) {
          int delta = 0;
          for (size_t i = 1; i < size->size() && (*size)[i] >= u'0' && (*size)[i] <= u'9' && delta < 100; ++i)
            delta = delta * 10 + ((*size)[i] - u'0');
          n = 3 + ((*size)[0] == u'+' ? delta : -delta);
        }
        f.halfPoints = FontSizeHalfPoints(n);
        haveSize = true;
      }
      if (!haveColor) if (const std::u16string* color = e->GetAttribute(u"color")) {
        int32_t c = ParseColor(*color);
        if (c >= 0) { f.color = c; haveColor = true; }
      }
    }
    if (e->HasAttribute(u"style")) {
      if (!haveFace) {
        std::u16string v = StyleProperty(e, u"font-family");
        if (!v.empty()) {
          size_t comma = v.find(u',');
          std::u16string face = v.substr(0, comma);
          face.erase(std::remove(face.begin(), face.end(), u'\''), face.end());
          face.erase(std::remove(face.begin(), face.end(), u'"'), face.end());
          if (!face.empty()) { f.face = face; haveFace = true; }
        }
      }
      if (!haveSize) {
        int hp = CssSizeHalfPoints(StyleProperty(e, u"font-size"));
        if (hp > 0) { f.halfPoints = hp; haveSize = true; }
      }
      if (!haveColor) {
        int32_t c = ParseColor(StyleProperty(e, u"color"));
        if (c >= 0) { f.color = c; haveColor = true; }
      }
      std::u16string weight = StyleProperty(e, u"font-weight");
      if (HtmlSameText(weight, u"bold") || HtmlSameText(weight, u"700") || HtmlSameText(weight, u"bolder")) f.bold = true;
      if (HtmlSameText(StyleProperty(e, u"font-style"), u"italic")) f.italic = true;
      if (HtmlPosText(u"underline", StyleProperty(e, u"text-decoration")) > 0) f.underline = true;
    }
  }
  return f;
}

ParaAlign AlignOf(std::u16string_view v, ParaAlign fallback) {
  if (HtmlSameText(v, u"center") || HtmlSameText(v, u"middle")) return ParaAlign::Center;
  if (HtmlSameText(v, u"right")) return ParaAlign::Right;
  if (HtmlSameText(v, u"justify")) return ParaAlign::Justify;
  if (HtmlSameText(v, u"left")) return ParaAlign::Left;
  return fallback;
}

}  // namespace

class LayoutBuilder {
 public:
  LayoutBuilder(BodyText& out, int viewWidth) : out_(out), viewWidth_(viewWidth) {}

  void Run(Node* body) {
    out_.body_ = body;
    body_ = body;
    if (!body) return;
    spans_[body].first = 0;
    Node* n = body->firstChild;
    while (n) {
      bool descend = Enter(n);
      if (descend && n->firstChild) {
        n = n->firstChild;
        continue;
      }
      if (descend) Leave(n);
      while (n && !n->next) {
        n = n->parent;
        if (n == body) { n = nullptr; break; }
        Leave(n);
      }
      if (n) n = n->next;
    }
    spans_[body] = {0, Pos()};
    out_.spans_ = std::move(spans_);
    FinishParagraphs();
  }

 private:
  bool Enter(Node* n) {
    current_ = n;
    if (n->type == NodeType::Text) {
      AddText(n);
      return false;
    }
    if (!n->IsElement()) return false;
    int id = n->tagId;
    if (IsHiddenTag(id)) return false;
    spans_[n].first = Pos();
    if (id == TAGID_BR) {
      Break(n, cellDepth_ > 0 ? kCellLineBreak : kParagraphBreak, true);
      spans_[n].second = Pos();
      return false;
    }
    if (IsObjectTag(id)) {
      if (id == TAGID_HR) RequestBreak(n, false);
      FlushPending();
      Emit(kObjectPlaceholder, TextRun::Object, n, 0, false);
      if (id == TAGID_IMG) {
        auto attribute = [n](std::u16string_view name) {
          const std::u16string* v = n->GetAttribute(name);
          return v ? *v : std::u16string();
        };
        out_.runs_.back().picture = static_cast<int>(out_.pictures_.size());
        out_.pictures_.push_back({attribute(u"src"), attribute(u"width"), attribute(u"height")});
      }
      if (id == TAGID_HR) RequestBreak(n, false);
      spans_[n].second = Pos();
      return false;
    }
    if (id == TAGID_TR) {
      RequestBreak(n, true);
      FlushPending();
      forceLine_ = true;
      rowCellCount_.push_back(0);
      rowStops_.push_back(RowStops(n));
    } else if (id == TAGID_TD || id == TAGID_TH) {
      int& cells = rowCellCount_.empty() ? dummy_ : rowCellCount_.back();
      if (cells > 0) {
        pendingBreak_ = nullptr;
        pendingSpace_ = nullptr;
        Emit(kCellSeparator, TextRun::CellTab, n, 0, false);
      }
      ++cells;
      ++cellDepth_;
      spans_[n].first = Pos();
      atLineStart_ = true;
    } else if (IsBlockTag(id) && id != TAGID_TBODY && id != TAGID_THEAD && id != TAGID_TFOOT) {
      RequestBreak(n, false);
    }
    if (IsPreformatted(id)) ++preDepth_;
    return true;
  }

  void Leave(Node* n) {
    if (!n->IsElement()) return;
    int id = n->tagId;
    if (IsPreformatted(id)) --preDepth_;
    if (id == TAGID_TD || id == TAGID_TH) {
      pendingSpace_ = nullptr;
      if (pendingBreakChar_ == kCellLineBreak) pendingBreak_ = nullptr;
      --cellDepth_;
    } else if (id == TAGID_TR) {
      pendingSpace_ = nullptr;
      if (!rowCellCount_.empty()) rowCellCount_.pop_back();
      if (!rowStops_.empty()) rowStops_.pop_back();
      RequestBreak(n, true);
    } else if (IsBlockTag(id) && id != TAGID_TBODY && id != TAGID_THEAD && id != TAGID_TFOOT) {
      RequestBreak(n, false);
    }
    spans_[n].second = Pos();
  }

  int Pos() const { return static_cast<int>(out_.text_.size()); }

  void RequestBreak(Node* by, bool force) {
    pendingSpace_ = nullptr;
    if (!lineHasContent_ && !(force && forceLine_)) return;
    char16_t c = (cellDepth_ > 0 && !by->Is(TAGID_TR)) ? kCellLineBreak : kParagraphBreak;
    if (!pendingBreak_ || c == kParagraphBreak) {
      pendingBreak_ = by;
      pendingBreakChar_ = c;
    }
  }

  void Break(Node* by, char16_t c, bool always) {
    pendingSpace_ = nullptr;
    if (pendingBreak_) FlushPending();
    EnsureParagraph();
    Emit(c, TextRun::Break, by, 0, false);
    if (c == kParagraphBreak) CloseParagraph();
    lineHasContent_ = false;
    forceLine_ = false;
    atLineStart_ = true;
  }

  void FlushPending() {
    if (pendingBreak_) {
      Node* by = pendingBreak_;
      char16_t c = pendingBreakChar_;
      pendingBreak_ = nullptr;
      EnsureParagraph();
      Emit(c, TextRun::Break, by, 0, false);
      if (c == kParagraphBreak) CloseParagraph();
      lineHasContent_ = false;
      forceLine_ = false;
      atLineStart_ = true;
    }
    if (pendingSpace_) {
      Node* node = pendingSpace_;
      pendingSpace_ = nullptr;
      Emit(u' ', TextRun::Text, node, pendingSpaceOffset_, true);
    }
  }

  void AddText(Node* n) {
    const std::u16string& d = n->data;
    if (d.empty()) return;
    if (preDepth_ > 0) {
      size_t start = 0;
      for (size_t i = 0; i <= d.size(); ++i) {
        if (i == d.size() || d[i] == u'\n') {
          if (i > start) {
            FlushPending();
            EmitText(n, static_cast<int>(start), static_cast<int>(i - start), false);
          }
          if (i < d.size()) {
            FlushPending();
            EnsureParagraph();
            Emit(cellDepth_ > 0 ? kCellLineBreak : kParagraphBreak, TextRun::Break, n, static_cast<int>(i), true);
            if (cellDepth_ == 0) CloseParagraph();
            lineHasContent_ = false;
            forceLine_ = false;
          }
          start = i + 1;
        }
      }
      return;
    }
    size_t i = 0;
    while (i < d.size()) {
      if (IsCollapsible(d[i])) {
        size_t ws = i;
        while (i < d.size() && IsCollapsible(d[i])) ++i;
        if (lineHasContent_ && !atLineStart_ && !pendingSpace_ && !pendingBreak_) {
          pendingSpace_ = n;
          pendingSpaceOffset_ = static_cast<int>(ws);
        }
        continue;
      }
      size_t start = i;
      while (i < d.size() && !IsCollapsible(d[i])) ++i;
      FlushPending();
      EmitText(n, static_cast<int>(start), static_cast<int>(i - start), false);
    }
  }

  void EmitText(Node* n, int offset, int length, bool collapsed) {
    EnsureParagraph();
    TextRun run;
    run.start = Pos();
    run.length = length;
    run.kind = TextRun::Text;
    run.node = n;
    run.nodeOffset = offset;
    run.collapsed = collapsed;
    run.format = InternFormat(n);
    out_.text_.append(n->data, static_cast<size_t>(offset), static_cast<size_t>(length));
    Append(run);
    lineHasContent_ = true;
    atLineStart_ = false;
  }

  void Emit(char16_t c, TextRun::Kind kind, Node* node, int offset, bool collapsed) {
    EnsureParagraph();
    TextRun run;
    run.start = Pos();
    run.length = 1;
    run.kind = kind;
    run.node = node;
    run.nodeOffset = offset;
    run.collapsed = collapsed;
    run.format = InternFormat(node);
    out_.text_ += c;
    Append(run);
    if (kind != TextRun::Break) {
      lineHasContent_ = true;
      atLineStart_ = kind == TextRun::CellTab;
    }
  }

  void Append(const TextRun& run) {
    // Adjacent plain runs of one node merge, so that a text node is one run where it can be.
    if (!out_.runs_.empty()) {
      TextRun& last = out_.runs_.back();
      if (run.kind == TextRun::Text && last.kind == TextRun::Text && !run.collapsed && !last.collapsed &&
          last.node == run.node && last.nodeOffset + last.length == run.nodeOffset &&
          last.start + last.length == run.start && last.format == run.format) {
        last.length += run.length;
        return;
      }
    }
    out_.runs_.push_back(run);
  }

  int InternFormat(const Node* node) {
    const Node* owner = node->IsElement() ? node : node->parent;
    if (owner == lastFormatOwner_) return lastFormat_;
    CharFormat f = FormatOf(owner, body_);
    int index = -1;
    for (size_t i = 0; i < out_.formats_.size(); ++i)
      if (out_.formats_[i] == f) { index = static_cast<int>(i); break; }
    if (index < 0) {
      index = static_cast<int>(out_.formats_.size());
      out_.formats_.push_back(std::move(f));
    }
    lastFormatOwner_ = owner;
    lastFormat_ = index;
    return index;
  }

  void EnsureParagraph() {
    if (paragraphOpen_) return;
    paragraphOpen_ = true;
    paraStarts_.emplace_back(Pos(), InternParaFormat(CurrentParaFormat()));
  }

  void CloseParagraph() { paragraphOpen_ = false; }

 public:
  // Paragraphs are the text between "\r" breaks; each takes the format recorded at its
  // first content.
  void FinishParagraphs() {
    const std::u16string& t = out_.text_;
    int defaultFormat = -1;
    size_t k = 0;
    int start = 0;
    for (int i = 0; i <= static_cast<int>(t.size()); ++i) {
      if (i < static_cast<int>(t.size()) && t[i] != kParagraphBreak) continue;
      Paragraph p;
      p.start = start;
      p.end = i;
      while (k < paraStarts_.size() && paraStarts_[k].first < start) ++k;
      if (k < paraStarts_.size() && paraStarts_[k].first <= i) {
        p.format = paraStarts_[k].second;
      } else {
        if (defaultFormat < 0) defaultFormat = InternParaFormat(ParaFormat{});
        p.format = defaultFormat;
      }
      out_.paragraphs_.push_back(p);
      start = i + 1;
    }
  }

 private:
  ParaFormat CurrentParaFormat() {
    ParaFormat pf;
    // The format comes from the nearest blocks around the first content; the walk is at
    // the node being entered, found through the last span opened.
    Node* at = current_;
    bool alignSet = false;
    for (Node* e = at; e && e != body_->parent; e = e->parent) {
      if (!e->IsElement()) continue;
      if (!alignSet) {
        if (const std::u16string* a = e->GetAttribute(u"align")) {
          if (IsBlockTag(e->tagId) || e->Is(TAGID_TD) || e->Is(TAGID_TH)) {
            pf.align = AlignOf(*a, pf.align);
            alignSet = true;
          }
        }
        std::u16string ta = StyleProperty(e, u"text-align");
        if (!alignSet && !ta.empty()) { pf.align = AlignOf(ta, pf.align); alignSet = true; }
        if (!alignSet && e->Is(TAGID_CENTER)) { pf.align = ParaAlign::Center; alignSet = true; }
      }
      if (e->Is(TAGID_LI) && pf.list == ListKind::None) {
        Node* list = e->parent;
        bool ordered = list && list->Is(TAGID_OL);
        pf.list = ordered ? ListKind::Number : ListKind::Bullet;
        if (ordered) {
          int n = list->GetIntAttribute(u"start", 1);
          for (Node* s = list->firstChild; s && s != e; s = s->next) n += s->Is(TAGID_LI) ? 1 : 0;
          pf.listNumber = n;
        }
      }
      if (e->Is(TAGID_UL) || e->Is(TAGID_OL) || e->Is(TAGID_BLOCKQUOTE) || e->Is(TAGID_DD)) ++pf.indentLevel;
      if (e->Is(TAGID_TR) && pf.tabStops.empty() && !rowStops_.empty()) pf.tabStops = rowStops_.back();
    }
    return pf;
  }

  int InternParaFormat(const ParaFormat& pf) {
    for (size_t i = 0; i < out_.paraFormats_.size(); ++i)
      if (out_.paraFormats_[i] == pf) return static_cast<int>(i);
    out_.paraFormats_.push_back(pf);
    return static_cast<int>(out_.paraFormats_.size() - 1);
  }

  // Cell boundaries of a row: width attributes in pixels or percent, the rest shared.
  std::vector<int> RowStops(Node* row) {
    std::vector<int> widths;
    int fixed = 0, unsized = 0;
    for (Node* c = row->firstChild; c; c = c->next) {
      if (!(c->Is(TAGID_TD) || c->Is(TAGID_TH))) continue;
      int w = 0;
      if (const std::u16string* v = c->GetAttribute(u"width")) {
        int n = c->GetIntAttribute(u"width", 0);
        w = (!v->empty() && v->back() == u'%') ? viewWidth_ * n / 100 : n * 15;
      }
      if (w <= 0) ++unsized;
      fixed += w > 0 ? w : 0;
      widths.push_back(w);
    }
    int share = unsized ? std::max(600, (viewWidth_ - fixed) / unsized) : 0;
    std::vector<int> stops;
    int x = 0;
    for (size_t i = 0; i + 1 < widths.size(); ++i) {
      x += widths[i] > 0 ? widths[i] : share;
      stops.push_back(x);
    }
    return stops;
  }

 public:
  Node* current_ = nullptr;

 private:
  BodyText& out_;
  int viewWidth_;
  Node* body_ = nullptr;
  std::unordered_map<const Node*, std::pair<int, int>> spans_;
  Node* pendingBreak_ = nullptr;
  char16_t pendingBreakChar_ = kParagraphBreak;
  Node* pendingSpace_ = nullptr;
  int pendingSpaceOffset_ = 0;
  bool lineHasContent_ = false;
  bool atLineStart_ = true;
  bool forceLine_ = false;
  bool paragraphOpen_ = false;
  std::vector<std::pair<int, int>> paraStarts_;
  int preDepth_ = 0;
  int cellDepth_ = 0;
  int dummy_ = 0;
  std::vector<int> rowCellCount_;
  std::vector<std::vector<int>> rowStops_;
  const Node* lastFormatOwner_ = nullptr;
  int lastFormat_ = 0;
};

}  // namespace htmledit

namespace htmledit {

BodyText BodyText::Build(const Document& doc, int viewWidthTwips) {
  BodyText t;
  LayoutBuilder(t, viewWidthTwips).Run(doc.Body());
  return t;
}

int BodyText::Clamp(int pos) const {
  if (pos < 0) return 0;
  if (pos > Length()) return Length();
  if (pos > 0 && pos < Length() && text_[pos] >= 0xDC00 && text_[pos] <= 0xDFFF && text_[pos - 1] >= 0xD800 &&
      text_[pos - 1] <= 0xDBFF)
    return pos - 1;
  return pos;
}

int BodyText::RunAt(int pos) const {
  if (runs_.empty()) return -1;
  auto it = std::upper_bound(runs_.begin(), runs_.end(), pos, [](int p, const TextRun& r) { return p < r.start; });
  if (it == runs_.begin()) return 0;
  return static_cast<int>(it - runs_.begin()) - 1;
}

DomPoint BodyText::PointAt(int pos) const {
  pos = Clamp(pos);
  int i = RunAt(pos);
  if (i < 0) return {body_, 0};
  const TextRun& r = runs_[i];
  if (r.kind == TextRun::Text) {
    int within = pos - r.start;
    if (within > r.length) within = r.length;
    if (r.collapsed) within = within > 0 ? 1 : 0;
    return {r.node, r.nodeOffset + within};
  }
  // Before or after a break, a tab or an object: a point in the element's parent.
  Node* n = r.node;
  Node* parent = n->parent ? n->parent : n;
  int index = 0;
  for (Node* c = parent->firstChild; c && c != n; c = c->next) ++index;
  if (r.kind == TextRun::CellTab) return {n, 0};
  if (r.kind == TextRun::Break && !n->Is(TAGID_BR) && !n->IsText()) {
    // The end of a block: inside it, after its last child.
    return {n, n->ChildCount()};
  }
  return {parent, pos > r.start ? index + 1 : index};
}

int BodyText::PositionOf(const Node* node, int offset) const {
  if (!node) return 0;
  if (node->IsText()) {
    for (const TextRun& r : runs_) {
      if (r.node != node || r.kind != TextRun::Text) continue;
      if (offset <= r.nodeOffset) return r.start;
      if (r.collapsed) {
        // The one space stands for the whole whitespace run.
        int end = r.nodeOffset;
        while (end < static_cast<int>(node->data.size()) && IsCollapsible(node->data[static_cast<size_t>(end)])) ++end;
        if (offset <= end) return r.start + 1;
      } else if (offset <= r.nodeOffset + r.length) {
        return r.start + (offset - r.nodeOffset);
      }
    }
    // A text node that shows nothing (or is past its runs): its parent's position.
    auto it = spans_.find(node->parent);
    return it == spans_.end() ? 0 : it->second.second;
  }
  auto it = spans_.find(node);
  if (it == spans_.end()) return node->parent ? PositionOf(node->parent, 0) : 0;
  return offset > 0 ? it->second.second : it->second.first;
}

std::pair<int, int> BodyText::SpanOf(const Node* element) const {
  auto it = spans_.find(element);
  if (it != spans_.end()) return it->second;
  if (element && element->IsText()) {
    int first = -1, last = -1;
    for (const TextRun& r : runs_) {
      if (r.node != element || r.kind != TextRun::Text) continue;
      if (first < 0) first = r.start;
      last = r.start + r.length;
    }
    if (first >= 0) return {first, last};
  }
  return {0, 0};
}

Node* BodyText::CommonElement(int start, int end) const {
  if (start > end) std::swap(start, end);
  int i = RunAt(start);
  Node* n = i < 0 ? body_ : runs_[i].node;
  if (i >= 0 && runs_[i].start + runs_[i].length <= start && start < Length() && i + 1 < static_cast<int>(runs_.size()))
    n = runs_[i + 1].node;
  for (; n && n != body_; n = n->parent) {
    if (!n->IsElement()) continue;
    auto [a, b] = SpanOf(n);
    if (a <= start && end <= b) return n;
  }
  return body_;
}

}  // namespace htmledit
