#include "htmledit/document_edits.h"

#include <algorithm>
#include <vector>

#include "htmledit/html_parser.h"
#include "htmledit/range_html.h"
#include "htmledit/text_editing.h"

namespace htmledit {

Node* SplitText(Document& doc, Node* text, int offset) {
  Node* second = doc.CreateText(std::u16string_view(text->data).substr(static_cast<size_t>(offset)));
  std::u16string first = text->data.substr(0, static_cast<size_t>(offset));
  doc.InsertBefore(text->parent, second, text->next);
  doc.SetText(text, first);
  return second;
}

void DeleteRange(Document& doc, const BodyText& layout, int start, int end) {
  start = layout.Clamp(start);
  end = layout.Clamp(end);
  if (end <= start) return;
  struct Cut { Node* node; int from; int to; };
  std::vector<Cut> cuts;
  std::vector<Node*> removals;
  for (const TextRun& r : layout.Runs()) {
    int a = std::max(start, r.start), b = std::min(end, r.start + r.length);
    if (a >= b) continue;
    if (r.kind == TextRun::Text) {
      if (r.collapsed) {
        // The whole whitespace run the space stands for.
        int to = r.nodeOffset;
        while (to < static_cast<int>(r.node->data.size()) &&
               (r.node->data[to] == u' ' || r.node->data[to] == u'\t' || r.node->data[to] == u'\n' ||
                r.node->data[to] == u'\r' || r.node->data[to] == u'\f'))
          ++to;
        cuts.push_back({r.node, r.nodeOffset, to});
      } else {
        cuts.push_back({r.node, r.nodeOffset + (a - r.start), r.nodeOffset + (b - r.start)});
      }
    } else if (r.kind == TextRun::Object || (r.kind == TextRun::Break && r.node->Is(TAGID_BR))) {
      removals.push_back(r.node);
    }
  }
  // Later cuts first, so that earlier offsets stay valid.
  std::sort(cuts.begin(), cuts.end(), [](const Cut& x, const Cut& y) {
    return x.node != y.node ? x.node < y.node : x.from > y.from;
  });
  for (const Cut& c : cuts) {
    std::u16string data = c.node->data;
    data.erase(static_cast<size_t>(c.from), static_cast<size_t>(c.to - c.from));
    doc.SetText(c.node, data);
  }
  for (Node* n : removals) doc.Remove(n);
}

Node* InsertHtmlAt(Document& doc, const BodyText& layout, int pos, std::u16string_view html) {
  std::vector<Node*> nodes = ParseFragment(doc, html);
  if (nodes.empty()) return nullptr;
  DomPoint p = layout.PointAt(pos);
  Node* parent;
  Node* before;
  if (!p.node) {
    parent = doc.Body();
    before = nullptr;
    if (!parent) return nullptr;
  } else if (p.node->IsText()) {
    parent = p.node->parent;
    if (p.offset <= 0) before = p.node;
    else if (p.offset >= static_cast<int>(p.node->data.size())) before = p.node->next;
    else before = SplitText(doc, p.node, p.offset);
  } else {
    parent = p.node;
    before = parent->firstChild;
    for (int i = 0; i < p.offset && before; ++i) before = before->next;
  }
  for (Node* n : nodes) doc.InsertBefore(parent, n, before);
  return nodes.front();
}

namespace {
void MoveBaseFontToHead(Document& doc) {
  std::vector<Node*> fonts = doc.ElementsByTagId(TAGID_BASEFONT);
  std::vector<Node*> heads = doc.ElementsByTagId(TAGID_HEAD);
  if (fonts.size() == 1 && heads.size() == 1 && !Contains(heads[0], fonts[0])) doc.AppendChild(heads[0], fonts[0]);
}
}  // namespace

bool PasteHtmlAtRange(Document& doc, int start, int end, std::u16string_view html) {
  if (!doc.Body()) return false;
  if (start > end) std::swap(start, end);
  BodyText layout = BodyText::Build(doc);
  // A range that already holds this HTML is left as it is.
  const bool pasted = RangeHtml(doc, layout, start, end) != html && PasteFragment(doc, layout, start, end, html).node != nullptr;
  MoveBaseFontToHead(doc);
  return pasted;
}

bool ReplaceElementHtml(Document& doc, Node* element, std::u16string_view html) {
  if (!element || !element->parent || OuterHTML(element) == html) return false;
  std::vector<Node*> nodes = ParseFragment(doc, html);
  Node* parent = element->parent;
  for (Node* n : nodes) doc.InsertBefore(parent, n, element);
  doc.Remove(element);
  MoveBaseFontToHead(doc);
  return true;
}

}  // namespace htmledit
