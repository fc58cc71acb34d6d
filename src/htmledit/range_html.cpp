#include "htmledit/range_html.h"

#include <algorithm>

#include "htmledit/text_editing.h"

namespace htmledit {

namespace {

// A boundary of the range: a text node and an offset in it, or an element and a child index.
struct Bound {
  const Node* node = nullptr;  // nullptr: open (the start or end of the node being written)
  int offset = 0;
};

// The child of c that holds (or is) n.
const Node* ChildToward(const Node* c, const Node* n) {
  while (n && n->parent != c) n = n->parent;
  return n;
}

const Node* ChildAt(const Node* parent, int index) {
  const Node* c = parent->firstChild;
  for (int i = 0; c && i < index; ++i) c = c->next;
  return c;
}

// Writes the part of c between the bounds (each inside c, or open).
void AppendRange(std::u16string& out, const Node* c, Bound s, Bound e) {
  if (c->IsText()) {
    const int len = static_cast<int>(c->data.size());
    const int from = s.node ? std::clamp(s.offset, 0, len) : 0;
    const int to = e.node ? std::clamp(e.offset, 0, len) : len;
    if (to > from) out += EscapedText(std::u16string_view(c->data).substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
    return;
  }
  if (!c->IsElement() && c->type != NodeType::Document) {
    out += OuterHTML(c);
    return;
  }
  // The first child written, and the child where the end lies.
  const Node* from = c->firstChild;
  const Node* startChild = nullptr;  // holds the start boundary inside it
  if (s.node) {
    if (s.node == c) from = ChildAt(c, s.offset);
    else from = startChild = ChildToward(c, s.node);
  }
  const Node* stopBefore = nullptr;  // written up to, not including
  const Node* endChild = nullptr;    // holds the end boundary inside it
  if (e.node) {
    if (e.node == c) stopBefore = ChildAt(c, e.offset);
    else endChild = ChildToward(c, e.node);
  }
  for (const Node* n = from; n && !(e.node == c && n == stopBefore); n = n->next) {
    const bool holdsStart = n == startChild, holdsEnd = n == endChild;
    if (!holdsStart && !holdsEnd) {
      out += OuterHTML(n);
      continue;
    }
    const Bound inS = holdsStart ? s : Bound{}, inE = holdsEnd ? e : Bound{};
    if (n->IsElement()) {
      out += StartTagHTML(n);
      AppendRange(out, n, inS, inE);
      out += EndTagHTML(n);
    } else {
      AppendRange(out, n, inS, inE);
    }
    if (holdsEnd) break;
  }
}

// The start boundary of a position (the point of the run that holds it).
Bound StartBound(const BodyText& layout, int pos) {
  DomPoint p = layout.PointAt(pos);
  return {p.node, p.offset};
}

// The end boundary: the end of what comes before the position.
Bound EndBound(const BodyText& layout, int pos) {
  DomPoint p = InsertionPoint(layout, pos);
  return {p.node, p.offset};
}

const Node* CommonAncestor(const Node* a, const Node* b) {
  for (const Node* x = a; x; x = x->parent)
    if (Contains(x, b)) return x;
  return nullptr;
}

}  // namespace

std::u16string RangeHtml(const Document& doc, const BodyText& layout, int start, int end) {
  const Node* body = doc.Body();
  if (!body) return {};
  start = layout.Clamp(start);
  end = layout.Clamp(end);
  if (start > end) std::swap(start, end);
  if (start == end) return {};
  if (start == 0 && end == layout.Length()) return InnerHTML(body);
  const Bound s = StartBound(layout, start), e = EndBound(layout, end);
  if (!s.node || !e.node) return {};
  const Node* common = CommonAncestor(s.node, e.node);
  if (!common) return {};
  if (common->IsText()) common = common->parent;
  std::u16string inner;
  AppendRange(inner, common, s, e);
  // The inline elements around the range keep its formatting.
  std::u16string open, close;
  for (const Node* a = common; a && a->IsElement() && !IsBlockTag(a->tagId); a = a->parent) {
    open = StartTagHTML(a) + open;
    close += EndTagHTML(a);
  }
  return open + inner + close;
}

std::u16string RangeText(const BodyText& layout, int start, int end) {
  start = layout.Clamp(start);
  end = layout.Clamp(end);
  if (start > end) std::swap(start, end);
  std::u16string out;
  out.reserve(static_cast<size_t>(end - start));
  for (int i = start; i < end; ++i) {
    const char16_t c = layout.Text()[static_cast<size_t>(i)];
    if (c == kParagraphBreak || c == kCellLineBreak) out += u"\r\n";
    else if (c != kObjectPlaceholder) out += c;
  }
  return out;
}

}  // namespace htmledit
