#include "htmledit/text_editing.h"

#include <algorithm>
#include <unordered_set>

#include "htmledit/document_edits.h"
#include "htmledit/html_parser.h"

namespace htmledit {

namespace {

constexpr char16_t kNbsp = 0x00A0;

bool IsCollapsible(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }
bool IsBlank(char16_t c) { return c == u' ' || c == kNbsp; }
bool IsLineEnd(char16_t c) { return c == kParagraphBreak || c == kCellLineBreak || c == kCellSeparator; }
bool IsBlockNode(const Node* n) { return n && n->IsElement() && IsBlockTag(n->tagId); }

bool IsTableish(const Node* n) {
  return n && (n->Is(TAGID_TD) || n->Is(TAGID_TH) || n->Is(TAGID_TR) || n->Is(TAGID_TBODY) ||
               n->Is(TAGID_THEAD) || n->Is(TAGID_TFOOT) || n->Is(TAGID_TABLE) || n->Is(TAGID_CAPTION));
}

bool IsListTag(const Node* n) { return IsListElement(n); }

}  // namespace

bool IsListElement(const Node* n) {
  return n && (n->Is(TAGID_UL) || n->Is(TAGID_OL) || n->Is(TAGID_DIR) || n->Is(TAGID_MENU));
}

bool IsLineBlock(const Node* n) {
  if (!n || !n->IsElement()) return false;
  switch (n->tagId) {
    case TAGID_P: case TAGID_H1: case TAGID_H2: case TAGID_H3: case TAGID_H4: case TAGID_H5: case TAGID_H6:
    case TAGID_PRE: case TAGID_ADDRESS: case TAGID_LI: case TAGID_DT: case TAGID_DD: case TAGID_LISTING:
    case TAGID_XMP:
      return true;
    case TAGID_DIV:
      for (const Node* c = n->firstChild; c; c = c->next)
        if (IsBlockNode(c)) return false;
      return true;
    default:
      return false;
  }
}

namespace {

// The nearest cell (or the body) around a node: lines join only within one.
const Node* CellOf(const Node* n) {
  for (; n; n = n->parent)
    if (n->Is(TAGID_TD) || n->Is(TAGID_TH) || n->Is(TAGID_BODY)) return n;
  return nullptr;
}

// The child of `parent` at index, or nullptr past the end.
Node* ChildAt(Node* parent, int index) {
  Node* c = parent->firstChild;
  for (int i = 0; c && i < index; ++i) c = c->next;
  return c;
}

int IndexOf(const Node* child) {
  int i = 0;
  for (const Node* c = child->parent ? child->parent->firstChild : nullptr; c && c != child; c = c->next) ++i;
  return i;
}

size_t WhitespaceEnd(const Node* text, size_t from) {
  while (from < text->data.size() && IsCollapsible(text->data[from])) ++from;
  return from;
}

// The top inline ancestor of a node below its block.
Node* TopInline(Node* n) {
  while (n->parent && !IsBlockNode(n->parent)) n = n->parent;
  return n;
}

void InsertAfter(Document& doc, Node* reference, Node* node) { doc.InsertBefore(reference->parent, node, reference->next); }

// A point where text can go: table rows and sections are never given text, and a point in
// an element becomes an empty text node there.
DomPoint EnsureTextPoint(Document& doc, DomPoint p) {
  if (!p.node) return p;
  if (p.node->IsText()) return p;
  Node* container = p.node;
  Node* before = ChildAt(container, p.offset);
  // Text never goes into a row, a table section or a list itself: into its last cell or item.
  while (container->Is(TAGID_TR) || container->Is(TAGID_TBODY) || container->Is(TAGID_THEAD) ||
         container->Is(TAGID_TFOOT) || container->Is(TAGID_TABLE) || IsListTag(container)) {
    Node* inner = before ? (before->prev ? before->prev : before) : container->lastChild;
    while (inner && !inner->IsElement()) inner = inner->prev;
    if (!inner) break;
    container = inner;
    before = nullptr;
  }
  if (IsVoidTag(container->tagId) && container->parent) {
    before = container->next;
    container = container->parent;
  }
  Node* text = doc.CreateText(u"");
  doc.InsertBefore(container, text, before);
  return {text, 0};
}

// The boundary before which content at a text point lies: the text node itself, its second
// half after a split, or what follows it.
Node* SplitPoint(Document& doc, Node* text, int offset) {
  if (offset <= 0) return text;
  if (offset >= static_cast<int>(text->data.size())) return text->next;
  return SplitText(doc, text, offset);
}

// Whether nothing that shows follows a node up to the end of its block.
bool NothingVisibleAfter(const Node* n) {
  for (; n && !IsBlockNode(n); n = n->parent) {
    for (const Node* s = n->next; s; s = s->next) {
      if (IsBlockNode(s)) return true;
      if (!ShowsNothing(s)) return false;
    }
  }
  return true;
}

// Whether nothing that shows comes before a node on its line (back to the block's start or a BR).
bool LineStartsAt(const Node* n) {
  for (; n && !IsBlockNode(n); n = n->parent) {
    for (const Node* s = n->prev; s; s = s->prev) {
      if (IsBlockNode(s) || s->Is(TAGID_BR)) return true;
      if (!ShowsNothing(s)) return false;
    }
  }
  return true;
}

// A lone no-break space that keeps an empty line open.
bool IsPlaceholder(const Node* text) {
  return text && text->IsText() && text->data.size() == 1 && text->data[0] == kNbsp && LineStartsAt(text) &&
         NothingVisibleAfter(text);
}

// The first text node inside a node (nullptr when it holds none).
Node* FirstText(Node* n) {
  for (Node* c = n; c; c = NextInTree(c, n))
    if (c->IsText()) return c;
  return nullptr;
}

// Puts a no-break space into an empty block, inside its innermost first inline element (an
// empty bold copy keeps typed text bold). Returns the text node.
Node* FillEmptyBlock(Document& doc, Node* block) {
  Node* at = block;
  while (at->firstChild && at->firstChild->IsElement() && !IsBlockNode(at->firstChild) &&
         !IsVoidTag(at->firstChild->tagId))
    at = at->firstChild;
  // Empty text left in the way goes first.
  Node* text = doc.CreateText(u"\u00A0");
  doc.InsertBefore(at, text, at->firstChild);
  return text;
}

// The block a caret's line is split or typed in: a line directly in the body, a cell or
// another container is wrapped into a block of its own.
Node* LineBlockFor(Document& doc, Node* text, int wrapTag) {
  Node* block = BlockOf(text);
  if (!block) return nullptr;
  if (IsLineBlock(block)) return block;
  return WrapLine(doc, text, wrapTag);
}

// The first position of a node in a layout (its own, or that of what follows it).
int PositionBefore(const BodyText& layout, const Node* node) {
  for (const Node* n = node; n; n = n->next) {
    if (n->IsText()) {
      for (const TextRun& r : layout.Runs())
        if (r.node == n && r.kind == TextRun::Text) return r.start;
    } else if (const auto* span = n->IsElement() ? layout.FindSpan(n) : nullptr) {
      return span->first;
    }
  }
  for (const Node* parent = node->parent; parent; parent = parent->parent)
    if (const auto* span = layout.FindSpan(parent)) return span->second;
  return 0;
}

// Whether a block holds no line of its own: nothing shows in it but blanks and lone no-break
// spaces.
bool IsEmptyLine(const Node* block) {
  for (const Node* n = block; n; n = NextInTree(n, block)) {
    if (n->IsText()) {
      for (char16_t c : n->data)
        if (!IsCollapsible(c) && c != kNbsp) return false;
    } else if (n != block && n->IsElement() && !ShowsNothing(n)) {
      return false;
    }
  }
  return true;
}

}  // namespace

Node* Retag(Document& doc, Node* element, int tagId, bool keepAttributes) {
  Node* e = doc.CreateElement(TagNameOfId(tagId));
  if (keepAttributes) e->attributes = element->attributes;
  doc.InsertBefore(element->parent, e, element);
  while (Node* c = element->firstChild) doc.AppendChild(e, c);
  doc.Remove(element);
  return e;
}

Node* WrapLine(Document& doc, Node* n, int tagId) {
  Node* a = TopInline(n);
  Node* first = a;
  while (first->prev && !IsBlockNode(first->prev)) first = first->prev;
  Node* last = a;
  while (last->next && !IsBlockNode(last->next)) last = last->next;
  Node* block = doc.CreateElement(TagNameOfId(tagId));
  doc.InsertBefore(first->parent, block, first);
  for (Node* c = first;;) {
    Node* next = c->next;
    doc.AppendChild(block, c);
    if (c == last) break;
    c = next;
  }
  return block;
}

Node* LeaveList(Document& doc, Node* item, int tagId) {
  Node* list = item->parent;
  if (item->next) SplitElement(doc, list, list, item->next);
  doc.InsertBefore(list->parent, item, list->next);
  if (!list->firstChild) doc.Remove(list);
  return Retag(doc, item, tagId, false);
}

Node* BlockOf(Node* node) {
  for (Node* n = node; n; n = n->parent)
    if (IsBlockNode(n) && !n->Is(TAGID_HTML)) return n;
  return nullptr;
}

bool ShowsNothing(const Node* node) {
  if (node->IsText()) {
    for (char16_t c : node->data)
      if (!IsCollapsible(c)) return false;
    return true;
  }
  if (!node->IsElement()) return true;
  for (const Node* n = node; n; n = NextInTree(n, node)) {
    if (n->IsText()) {
      for (char16_t c : n->data)
        if (!IsCollapsible(c)) return false;
    } else if (n->IsElement() && (n->Is(TAGID_BR) || n->Is(TAGID_IMG) || n->Is(TAGID_HR) || n->Is(TAGID_INPUT) ||
                                  n->Is(TAGID_IFRAME) || n->Is(TAGID_OBJECT) || n->Is(TAGID_TABLE) ||
                                  n->Is(TAGID_SELECT) || n->Is(TAGID_TEXTAREA) || n->Is(TAGID_BUTTON))) {
      return false;
    }
  }
  return true;
}

Node* ShallowCopy(Document& doc, const Node* element) {
  Node* e = doc.CreateElement(element->tagName);
  e->attributes = element->attributes;
  return e;
}

Node* SplitElement(Document& doc, Node* ancestor, Node* container, Node* before) {
  Node* moveFrom = before;
  for (Node* c = container;; c = c->parent) {
    Node* copy = ShallowCopy(doc, c);
    InsertAfter(doc, c, copy);
    for (Node* n = moveFrom; n && n != copy;) {
      Node* next = n->next;
      doc.AppendChild(copy, n);
      n = next;
    }
    if (c == ancestor || !c->parent) return copy;
    moveFrom = copy;  // the copy and what follows it move at the next level
  }
}

DomPoint InsertionPoint(const BodyText& layout, int pos) {
  pos = layout.Clamp(pos);
  if (pos > 0) {
    int i = layout.RunAt(pos - 1);
    if (i >= 0) {
      const TextRun& r = layout.Runs()[static_cast<size_t>(i)];
      if (r.kind == TextRun::Text && pos - 1 >= r.start && pos <= r.start + r.length) {
        if (r.collapsed) return {r.node, static_cast<int>(WhitespaceEnd(r.node, static_cast<size_t>(r.nodeOffset)))};
        return {r.node, r.nodeOffset + (pos - r.start)};
      }
      // Right after an embedded object: after it, in its parent.
      if (r.kind == TextRun::Object && r.start == pos - 1 && r.node->parent) return {r.node->parent, IndexOf(r.node) + 1};
    }
  }
  return layout.PointAt(pos);
}

int PositionOfPoint(const BodyText& layout, const DomPoint& point) {
  if (!point.node) return 0;
  if (point.node->IsText()) {
    for (const TextRun& r : layout.Runs())
      if (r.node == point.node && r.kind == TextRun::Text) return layout.PositionOf(point.node, point.offset);
    return PositionBefore(layout, point.node);
  }
  if (Node* child = ChildAt(point.node, point.offset)) return PositionBefore(layout, child);
  return layout.PositionOf(point.node, 1);
}

DomPoint DeleteContent(Document& doc, const BodyText& layout, int start, int end) {
  start = layout.Clamp(start);
  end = layout.Clamp(end);
  if (end < start) std::swap(start, end);
  DomPoint caret = EnsureTextPoint(doc, InsertionPoint(layout, start));
  if (end == start || !caret.node) return caret;

  // What holds the first character after the range, and the blocks either side.
  Node* after = nullptr;
  if (end < layout.Length()) after = layout.Runs()[static_cast<size_t>(layout.RunAt(end))].node;
  Node* firstBlock = BlockOf(caret.node);
  Node* lastBlock = after ? BlockOf(after) : nullptr;

  // Blocks and tables wholly inside the range: removed when nothing of them is left.
  std::vector<Node*> inside;
  {
    std::unordered_set<const Node*> seen;
    const Node* common = layout.CommonElement(start, end);
    for (const TextRun& r : layout.Runs()) {
      if (r.start + r.length <= start) continue;
      if (r.start >= end) break;
      for (Node* n = r.node; n && n != common; n = n->parent) {
        if (!seen.insert(n).second) break;
        if (!(IsBlockNode(n) || n->Is(TAGID_TABLE)) || (IsTableish(n) && !n->Is(TAGID_TABLE))) continue;
        auto [a, b] = layout.SpanOf(n);
        if (a >= start && b <= end && !Contains(n, caret.node) && !(after && Contains(n, after))) inside.push_back(n);
      }
    }
  }

  DeleteRange(doc, layout, start, end);
  for (Node* n : inside)
    if (n->parent && (ShowsNothing(n) || n->Is(TAGID_TABLE))) doc.Remove(n);

  // The line after the range joins the block before it.
  if (firstBlock && lastBlock && firstBlock != lastBlock && !IsTableish(firstBlock) && !IsTableish(lastBlock) &&
      !lastBlock->Is(TAGID_BODY) && CellOf(firstBlock) == CellOf(lastBlock) && after->parent) {
    if (after != lastBlock) {
      Node* first = TopInline(after);
      while (first->prev && !IsBlockNode(first->prev)) first = first->prev;
      Node* target = TopInline(caret.node);
      for (Node* n = first; n && !IsBlockNode(n);) {
        Node* next = n->next;
        if (IsPlaceholder(n)) {
          doc.Remove(n);  // it held the emptied line open; the joined line needs none
        } else {
          InsertAfter(doc, target, n);
          target = n;
        }
        n = next;
      }
    }
    // The emptied block goes, and so do lists and containers left empty by it.
    for (Node* b = lastBlock; b && b->parent && !b->Is(TAGID_BODY) && !IsTableish(b) && !Contains(b, caret.node);) {
      if (!ShowsNothing(b)) break;
      Node* parent = b->parent;
      doc.Remove(b);
      b = parent;
    }
  }
  // A paragraph left empty keeps its line: the caret's text holds it open.
  Node* block = BlockOf(caret.node);
  if (block && IsLineBlock(block) && ShowsNothing(block) && caret.node->data.empty()) {
    doc.SetText(caret.node, u"\u00A0");
    caret.offset = 0;
  }
  return caret;
}

std::pair<int, int> DeletionRange(const BodyText& layout, int pos, bool forward, bool word) {
  const std::u16string& t = layout.Text();
  const int len = layout.Length();
  pos = layout.Clamp(pos);
  auto isHigh = [](char16_t c) { return c >= 0xD800 && c <= 0xDBFF; };
  auto isLow = [](char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
  if (!forward) {
    if (pos == 0 || t[pos - 1] == kCellSeparator) return {pos, pos};
    int a = pos - 1;
    if (word && !IsLineEnd(t[a])) {
      a = pos;
      while (a > 0 && IsBlank(t[a - 1])) --a;
      while (a > 0 && !IsBlank(t[a - 1]) && !IsLineEnd(t[a - 1])) --a;
      if (a == pos) a = pos - 1;
    } else if (a > 0 && isLow(t[a]) && isHigh(t[a - 1])) {
      --a;
    }
    return {a, pos};
  }
  if (pos >= len || t[pos] == kCellSeparator) return {pos, pos};
  int b = pos + 1;
  if (word && !IsLineEnd(t[pos])) {
    b = pos;
    while (b < len && !IsBlank(t[b]) && !IsLineEnd(t[b])) ++b;
    while (b < len && IsBlank(t[b])) ++b;
    if (b == pos) b = pos + 1;
  } else if (b < len && isHigh(t[pos]) && isLow(t[b])) {
    ++b;
  }
  return {pos, b};
}

DomPoint InsertText(Document& doc, const BodyText& layout, int start, int end, std::u16string_view text) {
  start = layout.Clamp(start);
  end = layout.Clamp(end);
  if (end < start) std::swap(start, end);
  const std::u16string& t = layout.Text();
  const bool lineStartBefore = start == 0 || IsLineEnd(t[start - 1]) || IsBlank(t[start - 1]);
  const bool lineEndAfter = end >= layout.Length() || IsLineEnd(t[end]);
  DomPoint p = end > start ? DeleteContent(doc, layout, start, end) : EnsureTextPoint(doc, InsertionPoint(layout, start));
  if (!p.node) return p;
  Node* node = p.node;
  int offset = p.offset;
  if (IsPlaceholder(node)) {
    doc.SetText(node, u"");
    offset = 0;
  }
  // The lines of the text.
  std::vector<std::u16string_view> lines;
  size_t from = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == u'\r' || text[i] == u'\n') {
      lines.push_back(text.substr(from, i - from));
      if (i < text.size() && text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      from = i + 1;
    }
  }
  for (size_t li = 0; li < lines.size(); ++li) {
    if (li > 0) {
      Node* before = SplitPoint(doc, node, offset);
      Node* br = doc.CreateElement(u"BR");
      doc.InsertBefore(node->parent, br, before);
      if (before != node) {
        // The next line goes into a text node of its own after the BR.
        node = doc.CreateText(u"");
        InsertAfter(doc, br, node);
      }
      offset = 0;
    }
    std::u16string_view line = lines[li];
    std::u16string s;
    s.reserve(line.size());
    for (size_t k = 0; k < line.size(); ++k) {
      char16_t c = line[k];
      if (c == u' ' || c == u'\t') {
        bool prevBlank;
        if (!s.empty()) prevBlank = IsBlank(s.back());
        else if (offset > 0) prevBlank = IsBlank(node->data[static_cast<size_t>(offset - 1)]);
        else prevBlank = li > 0 || lineStartBefore;
        const bool atLineEnd = k + 1 == line.size() && (li + 1 < lines.size() || lineEndAfter) &&
                               offset >= static_cast<int>(node->data.size());
        c = (prevBlank || atLineEnd) ? kNbsp : u' ';
      }
      s += c;
    }
    std::u16string data = node->data;
    // A no-break space typed at a line's end becomes a plain blank once text follows it.
    if (!s.empty() && !IsBlank(s.front()) && offset > 0 && data[static_cast<size_t>(offset - 1)] == kNbsp &&
        offset - 1 > 0 && !IsBlank(data[static_cast<size_t>(offset - 2)]))
      data[static_cast<size_t>(offset - 1)] = u' ';
    data.insert(static_cast<size_t>(offset), s);
    doc.SetText(node, data);
    offset += static_cast<int>(s.size());
  }
  // A line break that ends its block keeps the new line open.
  if (lines.size() > 1 && lines.back().empty() && node->data.empty() && NothingVisibleAfter(node)) {
    doc.SetText(node, u"\u00A0");
    offset = 0;
  }
  return {node, offset};
}

DomPoint InsertLineBreak(Document& doc, const BodyText& layout, int start, int end) {
  return InsertText(doc, layout, start, end, u"\r");
}

DomPoint SplitBlock(Document& doc, const BodyText& layout, int start, int end, int newBlockTag) {
  DomPoint p = end != start ? DeleteContent(doc, layout, start, end) : EnsureTextPoint(doc, InsertionPoint(layout, start));
  if (!p.node) return p;
  Node* block = LineBlockFor(doc, p.node, newBlockTag);
  if (!block) return p;
  // An empty list item leaves its list.
  if (block->Is(TAGID_LI) && IsListTag(block->parent) && IsEmptyLine(block)) {
    Node* b = LeaveList(doc, block, newBlockTag);
    Node* text = FirstText(b);
    if (!text) text = FillEmptyBlock(doc, b);
    return {text, 0};
  }
  Node* second = SplitElement(doc, block, p.node->parent, SplitPoint(doc, p.node, p.offset));
  const bool heading = block->tagId >= TAGID_H1 && block->tagId <= TAGID_H6;
  if (heading && ShowsNothing(second)) second = Retag(doc, second, newBlockTag, false);
  if (ShowsNothing(block)) FillEmptyBlock(doc, block);
  Node* text = nullptr;
  if (ShowsNothing(second)) {
    // Empty copies of inline elements stay: what is typed there keeps their formatting.
    for (Node* n = second->firstChild; n;) {
      Node* next = n->next;
      if (n->IsText()) doc.Remove(n);
      n = next;
    }
    text = FillEmptyBlock(doc, second);
  } else {
    text = FirstText(second);
    if (!text) {
      text = doc.CreateText(u"");
      doc.InsertBefore(second, text, second->firstChild);
    }
  }
  return {text, 0};
}

DomPoint PasteFragment(Document& doc, const BodyText& layout, int start, int end, std::u16string_view html) {
  std::vector<Node*> nodes = ParseFragment(doc, html);
  if (nodes.empty()) return {};
  DomPoint p = end != start ? DeleteContent(doc, layout, start, end) : EnsureTextPoint(doc, InsertionPoint(layout, start));
  if (!p.node) return {};
  if (IsPlaceholder(p.node)) {
    doc.SetText(p.node, u"");
    p.offset = 0;
  }
  const bool blocks = std::any_of(nodes.begin(), nodes.end(), [](const Node* n) { return IsBlockNode(n); });
  Node* block = BlockOf(p.node);
  Node* container = p.node->parent;
  Node* before = SplitPoint(doc, p.node, p.offset);
  if (blocks && IsLineBlock(block)) {
    // Blocks go between the two halves of the paragraph they land in.
    Node* second = SplitElement(doc, block, container, before);
    for (Node* n : nodes) doc.InsertBefore(second->parent, n, second);
    if (ShowsNothing(block)) doc.Remove(block);
    if (ShowsNothing(second)) doc.Remove(second);
  } else {
    for (Node* n : nodes) doc.InsertBefore(container, n, before);
  }
  // The caret goes after the last text of what was pasted.
  Node* last = nodes.back();
  Node* lastText = nullptr;
  for (Node* n = last; n; n = NextInTree(n, last))
    if (n->IsText()) lastText = n;
  if (lastText) return {lastText, static_cast<int>(lastText->data.size())};
  if (!last->parent) return {};
  return EnsureTextPoint(doc, DomPoint{last->parent, IndexOf(last) + 1});
}

}  // namespace htmledit
