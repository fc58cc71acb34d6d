#include "htmledit/editing_fixups.h"

#include <vector>

#include "htmledit/text_editing.h"

namespace htmledit {

bool SelectionCoversBlock(const BodyText& layout, int start, int end) {
  start = layout.Clamp(start);
  end = layout.Clamp(end);
  if (start > end) std::swap(start, end);
  if (end == start) return false;
  if (start == 0 && end == layout.Length()) return true;
  for (const Paragraph& p : layout.Paragraphs()) {
    if (p.start > end) break;
    if (p.end > p.start && start <= p.start && end >= p.end) return true;
  }
  return false;
}

bool SelStartCountsOneLess(std::u16string_view html) {
  return html == u"<P>&nbsp;</P>" || html == u"<DIV>&nbsp;</DIV>" || html.substr(0, 7) == u"<P></P>";
}

bool ParagraphFixup(Document& doc, const BodyText& layout, int caret, std::u16string_view remembered) {
  Node* body = doc.Body();
  if (!body) return false;
  const std::u16string now = InnerHTML(body);
  if (now == remembered || now.find(u"</P>") == std::u16string::npos) return false;
  DomPoint p = InsertionPoint(layout, caret);
  Node* paragraph = p.node ? ClosestElement(p.node, {TAGID_P}, body) : nullptr;
  if (!paragraph) return false;
  Retag(doc, paragraph, TAGID_DIV, true);
  return true;
}

namespace {
// Nothing in it but blanks and no-break spaces.
bool IsEmptyBlock(const Node* b) {
  for (const Node* n = b->firstChild; n; n = NextInTree(n, b)) {
    if (n->IsText()) {
      if (n->data.find_first_not_of(u" \t\r\n\u00A0") != std::u16string::npos) return false;
    } else if (n->IsElement() && !ShowsNothing(n)) {
      return false;
    }
  }
  return true;
}
}  // namespace

bool DivisionFixup(Document& doc, const BodyText& layout, int caret, bool lineBreakMode) {
  Node* body = doc.Body();
  if (!body) return false;
  DomPoint p = InsertionPoint(layout, caret);
  Node* at = p.node ? ClosestElement(p.node, {TAGID_P, TAGID_BODY}) : body;
  if (!at) return false;
  if (at->Is(TAGID_P)) {
    // An empty one goes whole (a no-break space left behind would show as a blank).
    if (IsEmptyBlock(at)) doc.Remove(at);
    else if (lineBreakMode) doc.RemoveKeepingChildren(at);
    else return false;
    return true;
  }
  std::vector<Node*> blocks;
  for (Node* n = body->firstChild; n; n = NextInTree(n, body))
    if (n->Is(TAGID_P) || n->Is(TAGID_DIV)) blocks.push_back(n);
  bool changed = false;
  for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) {
    Node* b = *it;
    const bool empty = IsEmptyBlock(b);
    if (empty && (b->attributes.empty() || !b->firstChild)) {
      doc.Remove(b);
    } else if (!empty && lineBreakMode && b->attributes.empty()) {
      doc.RemoveKeepingChildren(b);
    } else {
      continue;
    }
    changed = true;
  }
  return changed;
}

}  // namespace htmledit
