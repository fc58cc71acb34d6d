#include "htmledit/formatting.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_set>

#include "htmledit/document_edits.h"
#include "htmledit/text_editing.h"

namespace htmledit {

namespace {

bool IsCollapsible(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }
bool IsBreakChar(char16_t c) { return c == kParagraphBreak || c == kCellLineBreak || c == kCellSeparator; }

// The range a query looks at: the range itself, or for a caret the character before it on
// its line (else the one after it).
std::pair<int, int> QueryRange(const BodyText& layout, int start, int end) {
  start = layout.Clamp(start);
  end = layout.Clamp(end);
  if (start > end) std::swap(start, end);
  if (end > start) return {start, end};
  const std::u16string& t = layout.Text();
  if (start > 0 && !IsBreakChar(t[static_cast<size_t>(start - 1)])) return {start - 1, start};
  if (start < layout.Length()) return {start, start + 1};
  return {start, start};
}

// Calls fn with the format of every text run of the range.
template <class Fn>
void ForEachTextFormat(const BodyText& layout, int start, int end, Fn fn) {
  auto [a, b] = QueryRange(layout, start, end);
  for (int i = std::max(0, layout.RunAt(a)); i < static_cast<int>(layout.Runs().size()); ++i) {
    const TextRun& r = layout.Runs()[static_cast<size_t>(i)];
    if (r.start >= b) break;
    if (r.start + r.length <= a || r.kind != TextRun::Text) continue;
    fn(layout.Formats()[static_cast<size_t>(r.format)]);
  }
}

// The part of one text node a range covers.
struct Piece {
  Node* node;
  int from, to;
};

std::vector<Piece> TextPieces(const BodyText& layout, int start, int end) {
  std::vector<Piece> pieces;
  start = layout.Clamp(start);
  end = layout.Clamp(end);
  if (start > end) std::swap(start, end);
  for (int i = std::max(0, layout.RunAt(start)); i < static_cast<int>(layout.Runs().size()); ++i) {
    const TextRun& r = layout.Runs()[static_cast<size_t>(i)];
    if (r.start >= end) break;
    if (r.start + r.length <= start || r.kind != TextRun::Text) continue;
    int from, to;
    if (r.collapsed) {
      from = r.nodeOffset;
      to = from;
      while (to < static_cast<int>(r.node->data.size()) && IsCollapsible(r.node->data[static_cast<size_t>(to)])) ++to;
    } else {
      from = r.nodeOffset + (std::max(start, r.start) - r.start);
      to = r.nodeOffset + (std::min(end, r.start + r.length) - r.start);
    }
    if (!pieces.empty() && pieces.back().node == r.node && pieces.back().to >= from) {
      pieces.back().to = std::max(pieces.back().to, to);
    } else {
      pieces.push_back({r.node, from, to});
    }
  }
  return pieces;
}

// Splits the text nodes so that each piece is a node of its own; returns them in order.
std::vector<Node*> Isolate(Document& doc, const std::vector<Piece>& pieces) {
  std::vector<Node*> nodes;
  for (const Piece& p : pieces) {
    Node* n = p.node;
    if (p.to < static_cast<int>(n->data.size())) SplitText(doc, n, p.to);
    if (p.from > 0) n = SplitText(doc, n, p.from);
    nodes.push_back(n);
  }
  return nodes;
}

bool SameElement(const Node* a, const Node* b) {
  if (!a || !b || !a->IsElement() || !b->IsElement() || a->tagId != b->tagId || a->tagName != b->tagName) return false;
  if (a->attributes.size() != b->attributes.size()) return false;
  for (const Attribute& x : a->attributes) {
    const std::u16string* v = b->GetAttribute(x.name);
    if (!v || *v != x.value) return false;
  }
  return true;
}

// Wraps the nodes in elements made by make(): each wrapper goes around the highest inline
// ancestor all of whose text is being wrapped; neighbouring wrappers merge. Returns the
// wrappers left.
template <class Make>
std::vector<Node*> WrapNodes(Document& doc, const std::vector<Node*>& nodes, Make make) {
  std::unordered_set<const Node*> chosen(nodes.begin(), nodes.end());
  auto allChosen = [&](const Node* e) {
    for (const Node* n = e; n; n = NextInTree(n, e))
      if (n->IsText() && !chosen.count(n) && !ShowsNothing(n)) return false;
    return true;
  };
  std::unordered_set<const Node*> wrapped;
  std::vector<Node*> wrappers;
  for (Node* n : nodes) {
    bool done = false;
    for (const Node* a = n; a && !done; a = a->parent) done = wrapped.count(a) > 0;
    if (done) continue;
    Node* x = n;
    while (x->parent && x->parent->IsElement() && !IsBlockTag(x->parent->tagId) && !IsVoidTag(x->parent->tagId) &&
           !x->parent->Is(TAGID_A) && allChosen(x->parent))
      x = x->parent;
    Node* w = make();
    doc.InsertBefore(x->parent, w, x);
    doc.AppendChild(w, x);
    wrapped.insert(x);
    wrappers.push_back(w);
  }
  std::vector<Node*> kept;
  for (Node* w : wrappers) {
    Node* prev = w->prev;
    // Blank text between two wrappers goes inside the merged one.
    while (prev && prev->IsText() && ShowsNothing(prev) && prev->prev && SameElement(prev->prev, w)) {
      Node* blank = prev;
      prev = prev->prev;
      doc.InsertBefore(w, blank, w->firstChild);
    }
    if (SameElement(prev, w)) {
      while (Node* c = w->firstChild) doc.AppendChild(prev, c);
      doc.Remove(w);
    } else {
      kept.push_back(w);
    }
  }
  kept.erase(std::remove_if(kept.begin(), kept.end(), [](const Node* w) { return !w->parent; }), kept.end());
  return kept;
}

// Removes the inline elements left without children at and below root (the copies a split
// leaves behind), innermost first.
void RemoveEmptyInlines(Document& doc, Node* root) {
  std::vector<Node*> order;
  for (Node* n = root; n; n = NextInTree(n, root))
    if (n->IsElement()) order.push_back(n);
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    Node* e = *it;
    if (!e->firstChild && e->parent && !IsBlockTag(e->tagId) && !IsVoidTag(e->tagId) && !e->Is(TAGID_A)) doc.Remove(e);
  }
}

// Takes a formatting element off the part of the nodes under it: the element is split at the
// first and after the last of them, and strip() is run on the middle part.
template <class Strip>
void StripOver(Document& doc, Node* element, const std::vector<Node*>& nodes, Strip strip) {
  Node* first = nullptr;
  Node* last = nullptr;
  for (Node* n : nodes) {
    if (!Contains(element, n)) continue;
    if (!first) first = n;
    last = n;
  }
  if (!first || !element->parent) return;
  Node* middle = SplitElement(doc, element, first->parent, first);
  Node* rest = SplitElement(doc, middle, last->parent, last->next);
  strip(middle);
  for (Node* e : {element, rest}) RemoveEmptyInlines(doc, e);
}

bool StylesText(const Node* e, InlineStyle style) {
  switch (style) {
    case InlineStyle::Bold: return e->Is(TAGID_B) || e->Is(TAGID_STRONG);
    case InlineStyle::Italic: return e->Is(TAGID_I) || e->Is(TAGID_EM);
    case InlineStyle::Underline: return e->Is(TAGID_U);
  }
  return false;
}

const char16_t* StyleTag(InlineStyle style) {
  switch (style) {
    case InlineStyle::Bold: return u"B";
    case InlineStyle::Italic: return u"I";
    case InlineStyle::Underline: return u"U";
  }
  return u"B";
}

const char16_t* AttributeName(FontAttribute a) {
  switch (a) {
    case FontAttribute::Face: return u"face";
    case FontAttribute::Size: return u"size";
    case FontAttribute::Color: return u"color";
  }
  return u"face";
}

// The elements between the nodes and their blocks that match, innermost first.
template <class Match>
std::vector<Node*> AncestorsOver(const std::vector<Node*>& nodes, Match match) {
  std::vector<std::pair<int, Node*>> found;
  std::unordered_set<const Node*> seen;
  for (Node* n : nodes) {
    int depth = 0;
    for (Node* e = n->parent; e && !IsBlockTag(e->tagId); e = e->parent, ++depth)
      if (match(e) && seen.insert(e).second) found.push_back({depth, e});
  }
  std::vector<Node*> out;
  std::stable_sort(found.begin(), found.end(), [](auto& a, auto& b) { return a.first < b.first; });
  for (auto& f : found) out.push_back(f.second);
  return out;
}

void RemoveFontAttribute(Document& doc, Node* font, std::u16string_view name) {
  doc.RemoveAttribute(font, name);
  if (font->attributes.empty()) doc.RemoveKeepingChildren(font);
}

int HalfPointsToSize(int halfPoints) {
  static const int kHalfPoints[8] = {0, 15, 20, 24, 27, 36, 48, 72};
  if (halfPoints <= 0) return 3;
  int best = 1;
  for (int s = 2; s <= 7; ++s)
    if (std::abs(kHalfPoints[s] - halfPoints) < std::abs(kHalfPoints[best] - halfPoints)) best = s;
  return best;
}

struct BlockFormat {
  const char16_t* name;
  int tag;
};
constexpr BlockFormat kBlockFormats[] = {
    {u"\u6B63\u6587", TAGID_P},                        // 正文
    {u"\u9884\u8BBE\u683C\u5F0F", TAGID_PRE},          // 预设格式
    {u"\u5730\u5740", TAGID_ADDRESS},                  // 地址
    {u"\u6807\u9898 1", TAGID_H1},                     // 标题 1
    {u"\u6807\u9898 2", TAGID_H2},
    {u"\u6807\u9898 3", TAGID_H3},
    {u"\u6807\u9898 4", TAGID_H4},
    {u"\u6807\u9898 5", TAGID_H5},
    {u"\u6807\u9898 6", TAGID_H6},
    {u"\u7F16\u53F7\u5217\u8868", TAGID_OL},           // 编号列表
    {u"\u9879\u76EE\u7B26\u53F7\u5217\u8868", TAGID_UL},  // 项目符号列表
    {u"\u76EE\u5F55\u5217\u8868", TAGID_DIR},          // 目录列表
    {u"\u83DC\u5355\u5217\u8868", TAGID_MENU},         // 菜单列表
    {u"\u5B9A\u4E49\u672F\u8BED", TAGID_DT},           // 定义术语
    {u"\u5B9A\u4E49", TAGID_DD},                       // 定义
};

Node* NodeAt(const BodyText& layout, int pos) {
  auto [a, b] = QueryRange(layout, pos, pos);
  int i = layout.RunAt(a);
  return i < 0 ? nullptr : layout.Runs()[static_cast<size_t>(i)].node;
}

// Makes the blocks items of a list of listTag.
void MakeList(Document& doc, const std::vector<Node*>& blocks, int listTag) {
  for (Node* block : blocks) {
    if (block->Is(TAGID_LI)) {
      if (block->parent && block->parent->tagId != listTag) Retag(doc, block->parent, listTag, true);
      continue;
    }
    Node* item = Retag(doc, block, TAGID_LI, false);
    Node* prev = item->prev;
    while (prev && prev->IsText() && ShowsNothing(prev)) prev = prev->prev;
    if (prev && prev->Is(listTag)) {
      doc.AppendChild(prev, item);
    } else {
      Node* list = doc.CreateElement(TagNameOfId(listTag));
      doc.InsertBefore(item->parent, list, item);
      doc.AppendChild(list, item);
    }
  }
}

}  // namespace

bool HasInlineStyle(const BodyText& layout, int start, int end, InlineStyle style) {
  bool any = false, all = true;
  ForEachTextFormat(layout, start, end, [&](const CharFormat& f) {
    any = true;
    const bool has = style == InlineStyle::Bold ? f.bold : style == InlineStyle::Italic ? f.italic : f.underline;
    all = all && has;
  });
  return any && all;
}

void SetInlineStyle(Document& doc, const BodyText& layout, int start, int end, InlineStyle style, bool on) {
  std::vector<Node*> nodes = Isolate(doc, TextPieces(layout, start, end));
  if (nodes.empty()) return;
  if (on) {
    WrapNodes(doc, nodes, [&] { return doc.CreateElement(StyleTag(style)); });
    return;
  }
  for (Node* e : AncestorsOver(nodes, [&](const Node* e) { return StylesText(e, style); }))
    StripOver(doc, e, nodes, [&](Node* middle) { doc.RemoveKeepingChildren(middle); });
}

void SetFontAttribute(Document& doc, const BodyText& layout, int start, int end, FontAttribute attribute,
                      std::u16string_view value) {
  std::vector<Node*> nodes = Isolate(doc, TextPieces(layout, start, end));
  if (nodes.empty()) return;
  const char16_t* name = AttributeName(attribute);
  if (value.empty()) {
    auto hasIt = [&](const Node* e) { return e->Is(TAGID_FONT) && e->HasAttribute(name); };
    for (Node* e : AncestorsOver(nodes, hasIt))
      StripOver(doc, e, nodes, [&](Node* middle) { RemoveFontAttribute(doc, middle, name); });
    return;
  }
  std::vector<Node*> wrappers = WrapNodes(doc, nodes, [&] {
    Node* font = doc.CreateElement(u"FONT");
    font->attributes.push_back({name, std::u16string(value)});
    return font;
  });
  // Inner FONT elements would win over the new one: they lose the attribute.
  for (Node* w : wrappers) {
    std::vector<Node*> inner;
    for (Node* n = w->firstChild; n; n = NextInTree(n, w))
      if (n->Is(TAGID_FONT) && n->HasAttribute(name)) inner.push_back(n);
    for (Node* f : inner) RemoveFontAttribute(doc, f, name);
  }
}

std::optional<std::u16string> CommonFace(const BodyText& layout, int start, int end) {
  std::optional<std::u16string> face;
  bool mixed = false;
  ForEachTextFormat(layout, start, end, [&](const CharFormat& f) {
    if (!face) face = f.face;
    else if (*face != f.face) mixed = true;
  });
  if (mixed) return std::nullopt;
  return face ? face : std::optional<std::u16string>(u"");
}

std::optional<int> CommonFontSize(const BodyText& layout, int start, int end) {
  std::optional<int> size;
  bool mixed = false;
  ForEachTextFormat(layout, start, end, [&](const CharFormat& f) {
    const int s = HalfPointsToSize(f.halfPoints);
    if (!size) size = s;
    else if (*size != s) mixed = true;
  });
  if (mixed) return std::nullopt;
  return size ? size : std::optional<int>(3);
}

const std::vector<std::u16string>& BlockFormatNames() {
  static const std::vector<std::u16string> names = [] {
    std::vector<std::u16string> v;
    for (const BlockFormat& f : kBlockFormats) v.emplace_back(f.name);
    return v;
  }();
  return names;
}

std::u16string BlockFormatAt(const BodyText& layout, int pos) {
  Node* node = NodeAt(layout, pos);
  Node* block = node ? BlockOf(node) : nullptr;
  if (!block) return kBlockFormats[0].name;
  int tag = block->tagId;
  if (block->Is(TAGID_LI)) tag = block->parent ? block->parent->tagId : TAGID_UL;
  for (const BlockFormat& f : kBlockFormats)
    if (f.tag == tag) return f.name;
  return kBlockFormats[0].name;
}

std::vector<Node*> LineBlocksInRange(Document& doc, const BodyText& layout, int start, int end, int wrapTag) {
  start = layout.Clamp(start);
  end = layout.Clamp(end);
  if (start > end) std::swap(start, end);
  std::vector<Node*> blocks;
  std::unordered_set<const Node*> seen;
  for (const Paragraph& p : layout.Paragraphs()) {
    if (p.end < start) continue;
    if (p.start > end || (p.start == end && end > start)) break;
    if (p.start >= layout.Length()) continue;
    Node* node = layout.Runs()[static_cast<size_t>(layout.RunAt(p.start))].node;
    Node* block = BlockOf(node);
    if (!block) continue;
    if (!IsLineBlock(block)) {
      if (node == block) continue;  // an empty line of a container
      block = WrapLine(doc, node, wrapTag);
    }
    if (seen.insert(block).second) blocks.push_back(block);
  }
  return blocks;
}

bool SetBlockFormat(Document& doc, const BodyText& layout, int start, int end, std::u16string_view name) {
  const BlockFormat* format = nullptr;
  for (const BlockFormat& f : kBlockFormats)
    if (name == f.name) format = &f;
  if (!format) return false;
  const int tag = format->tag;
  std::vector<Node*> blocks = LineBlocksInRange(doc, layout, start, end, TAGID_P);
  if (tag == TAGID_OL || tag == TAGID_UL || tag == TAGID_DIR || tag == TAGID_MENU) {
    MakeList(doc, blocks, tag);
    return true;
  }
  for (Node* block : blocks) {
    if (block->Is(TAGID_LI) && IsListElement(block->parent)) block = LeaveList(doc, block, TAGID_P);
    if (block->tagId != tag) Retag(doc, block, tag, true);
  }
  return true;
}

bool IsInList(const BodyText& layout, int pos, bool ordered) {
  Node* node = NodeAt(layout, pos);
  Node* item = node ? ClosestElement(node, {TAGID_LI}) : nullptr;
  return item && item->parent && item->parent->Is(ordered ? TAGID_OL : TAGID_UL);
}

void ToggleList(Document& doc, const BodyText& layout, int start, int end, bool ordered) {
  const int listTag = ordered ? TAGID_OL : TAGID_UL;
  std::vector<Node*> blocks = LineBlocksInRange(doc, layout, start, end, TAGID_P);
  if (blocks.empty()) return;
  const bool allItems = std::all_of(blocks.begin(), blocks.end(), [&](const Node* b) {
    return b->Is(TAGID_LI) && b->parent && b->parent->Is(listTag);
  });
  if (!allItems) {
    MakeList(doc, blocks, listTag);
    return;
  }
  for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) LeaveList(doc, *it, TAGID_P);
}

void SetAlignment(Document& doc, const BodyText& layout, int start, int end, std::u16string_view align) {
  for (Node* block : LineBlocksInRange(doc, layout, start, end, TAGID_P)) {
    if (align.empty()) doc.RemoveAttribute(block, u"align");
    else doc.SetAttribute(block, u"align", align);
  }
}

}  // namespace htmledit
