#include "htmledit/dom.h"

#include <algorithm>
#include <unordered_map>

#include "htmledit/html_tables.h"
#include "htmledit/module_routines.h"

namespace htmledit {

int Node::ChildCount() const {
  int n = 0;
  for (const Node* c = firstChild; c; c = c->next) ++n;
  return n;
}

const std::u16string* Node::GetAttribute(std::u16string_view name) const {
  for (const Attribute& a : attributes)
    if (HtmlSameText(a.name, name)) return &a.value;
  return nullptr;
}

int Node::GetIntAttribute(std::u16string_view name, int fallback) const {
  const std::u16string* v = GetAttribute(name);
  if (!v) return fallback;
  size_t i = 0;
  while (i < v->size() && ((*v)[i] == u' ' || (*v)[i] == u'\t')) ++i;
  long long n = 0;
  bool any = false;
  for (; i < v->size() && (*v)[i] >= u'0' && (*v)[i] <= u'9'; ++i) {
    any = true;
    n = n * 10 + ((*v)[i] - u'0');
    if (n > 1000000) n = 1000000;
  }
  return any ? static_cast<int>(n) : fallback;
}

Node* NextInTree(const Node* node, const Node* root) {
  if (node->firstChild) return node->firstChild;
  return NextSkippingChildren(node, root);
}

Node* NextSkippingChildren(const Node* node, const Node* root) {
  while (node && node != root) {
    if (node->next) return node->next;
    node = node->parent;
  }
  return nullptr;
}

bool Contains(const Node* ancestor, const Node* node) {
  for (; node; node = node->parent)
    if (node == ancestor) return true;
  return false;
}

Node* ClosestElement(Node* node, std::initializer_list<int> ids, const Node* stop) {
  for (; node && node != stop; node = node->parent) {
    if (!node->IsElement()) continue;
    for (int id : ids)
      if (node->tagId == id) return node;
  }
  return nullptr;
}

Document::Document() {
  root_.type = NodeType::Document;
  root_.owner = this;
}

Node* Document::NewNode(NodeType type) {
  Node& n = arena_.emplace_back();
  n.type = type;
  n.owner = this;
  return &n;
}

Node* Document::CreateElement(std::u16string_view name) {
  Node* n = NewNode(NodeType::Element);
  n->tagId = TagIdOfName(name);
  n->tagName = n->tagId == TAGID_UNKNOWN ? std::u16string(name) : std::u16string(TagNameOfId(n->tagId));
  return n;
}

Node* Document::CreateText(std::u16string_view text) {
  Node* n = NewNode(NodeType::Text);
  n->data = text;
  return n;
}

Node* Document::CreateComment(std::u16string_view wholeComment) {
  Node* n = NewNode(NodeType::Comment);
  n->data = wholeComment;
  return n;
}

Node* Document::CreateDoctype(std::u16string_view text) {
  Node* n = NewNode(NodeType::DocumentType);
  n->data = text;
  return n;
}

void Document::Link(Node* parent, Node* child, Node* before) {
  child->parent = parent;
  child->next = before;
  child->prev = before ? before->prev : parent->lastChild;
  if (child->prev) child->prev->next = child; else parent->firstChild = child;
  if (before) before->prev = child; else parent->lastChild = child;
}

void Document::Unlink(Node* node) {
  Node* parent = node->parent;
  if (!parent) return;
  if (node->prev) node->prev->next = node->next; else parent->firstChild = node->next;
  if (node->next) node->next->prev = node->prev; else parent->lastChild = node->prev;
  node->parent = node->prev = node->next = nullptr;
}

void Document::AppendChild(Node* parent, Node* child) { InsertBefore(parent, child, nullptr); }

void Document::InsertBefore(Node* parent, Node* child, Node* before) {
  if (Contains(child, parent)) return;  // a node cannot go below itself
  Unlink(child);
  Link(parent, child, before);
  NoteChanged();
}

void Document::Remove(Node* node) {
  if (!node->parent) return;
  Unlink(node);
  NoteChanged();
}

void Document::RemoveKeepingChildren(Node* node) {
  Node* parent = node->parent;
  if (!parent) return;
  while (Node* c = node->firstChild) {
    Unlink(c);
    Link(parent, c, node);
  }
  Unlink(node);
  NoteChanged();
}

void Document::RemoveChildren(Node* parent) {
  while (Node* c = parent->firstChild) Unlink(c);
  NoteChanged();
}

void Document::SetAttribute(Node* element, std::u16string_view name, std::u16string_view value) {
  for (Attribute& a : element->attributes) {
    if (HtmlSameText(a.name, name)) {
      a.value = value;
      NoteChanged();
      return;
    }
  }
  element->attributes.push_back({std::u16string(name), std::u16string(value)});
  NoteChanged();
}

void Document::RemoveAttribute(Node* element, std::u16string_view name) {
  auto& attrs = element->attributes;
  auto it = std::remove_if(attrs.begin(), attrs.end(), [&](const Attribute& a) { return HtmlSameText(a.name, name); });
  if (it == attrs.end()) return;
  attrs.erase(it, attrs.end());
  NoteChanged();
}

void Document::SetText(Node* node, std::u16string_view text) {
  node->data = text;
  NoteChanged();
}

void Document::Clear() {
  root_.firstChild = root_.lastChild = nullptr;
  arena_.clear();
  NoteChanged();
}

void Document::NoteChanged() {
  ++changeCount_;
  if (suppressed_ > 0) return;
  // A sink may add or remove sinks: call a copy.
  auto sinks = sinks_;
  for (auto& [cookie, sink] : sinks) sink();
}

int Document::AddChangeSink(ChangeSink sink) {
  sinks_.emplace_back(nextCookie_, std::move(sink));
  return nextCookie_++;
}

void Document::RemoveChangeSink(int cookie) {
  sinks_.erase(std::remove_if(sinks_.begin(), sinks_.end(), [&](auto& p) { return p.first == cookie; }), sinks_.end());
}

Node* Document::Html() const {
  for (Node* c = root_.firstChild; c; c = c->next)
    if (c->Is(TAGID_HTML)) return c;
  return nullptr;
}

Node* Document::Head() const {
  Node* html = Html();
  for (Node* c = html ? html->firstChild : nullptr; c; c = c->next)
    if (c->Is(TAGID_HEAD)) return c;
  return nullptr;
}

Node* Document::Body() const {
  Node* html = Html();
  for (Node* c = html ? html->firstChild : nullptr; c; c = c->next)
    if (c->Is(TAGID_BODY) || c->Is(TAGID_FRAMESET)) return c;
  return nullptr;
}

std::u16string Document::Title() const {
  // The first TITLE element, wherever the parser put it.
  for (const Node* n = root_.firstChild; n; n = NextInTree(n, &root_))
    if (n->Is(TAGID_TITLE)) return TextContent(n);
  return {};
}

int Document::SourceIndex(const Node* element) const {
  if (indexedAt_ != changeCount_) {
    sourceIndexes_.clear();
    int i = 0;
    for (const Node* n = root_.firstChild; n; n = NextInTree(n, &root_))
      if (n->IsElement()) sourceIndexes_.emplace_back(n, i++);
    std::sort(sourceIndexes_.begin(), sourceIndexes_.end());
    indexedAt_ = changeCount_;
  }
  auto it = std::lower_bound(sourceIndexes_.begin(), sourceIndexes_.end(), std::make_pair(element, -1));
  return (it != sourceIndexes_.end() && it->first == element) ? it->second : -1;
}

std::vector<Node*> Document::ElementsByTagId(int id) const {
  std::vector<Node*> out;
  for (Node* n = root_.firstChild; n; n = NextInTree(n, &root_))
    if (n->Is(id)) out.push_back(n);
  return out;
}

std::vector<Node*> Document::ElementsByTagName(std::u16string_view name) const {
  std::vector<Node*> out;
  for (Node* n = root_.firstChild; n; n = NextInTree(n, &root_))
    if (n->IsElement() && HtmlSameText(n->tagName, name)) out.push_back(n);
  return out;
}

bool IsBlockTag(int id) {
  switch (id) {
    case TAGID_ADDRESS: case TAGID_BLOCKQUOTE: case TAGID_BODY: case TAGID_CAPTION: case TAGID_CENTER:
    case TAGID_DD: case TAGID_DIR: case TAGID_DIV: case TAGID_DL: case TAGID_DT: case TAGID_FIELDSET:
    case TAGID_FORM: case TAGID_H1: case TAGID_H2: case TAGID_H3: case TAGID_H4: case TAGID_H5:
    case TAGID_H6: case TAGID_HR: case TAGID_LI: case TAGID_LISTING: case TAGID_MENU: case TAGID_OL:
    case TAGID_P: case TAGID_PLAINTEXT: case TAGID_PRE: case TAGID_TABLE: case TAGID_TBODY:
    case TAGID_TD: case TAGID_TFOOT: case TAGID_TH: case TAGID_THEAD: case TAGID_TR: case TAGID_UL:
    case TAGID_XMP: case TAGID_HTML: case TAGID_HEAD: case TAGID_TITLE: case TAGID_META: case TAGID_LINK:
    case TAGID_STYLE: case TAGID_SCRIPT: case TAGID_BASE: case TAGID_NOSCRIPT: case TAGID_FRAMESET:
    case TAGID_NOFRAMES: case TAGID_LEGEND: case TAGID_COLGROUP: case TAGID_COL:
      return true;
    default:
      return false;
  }
}

bool IsVoidTag(int id) {
  switch (id) {
    case TAGID_AREA: case TAGID_BASE: case TAGID_BASEFONT: case TAGID_BGSOUND: case TAGID_BR:
    case TAGID_COL: case TAGID_EMBED: case TAGID_FRAME: case TAGID_HR: case TAGID_IMG: case TAGID_INPUT:
    case TAGID_LINK: case TAGID_META: case TAGID_PARAM: case TAGID_WBR: case TAGID_NEXTID:
      return true;
    default:
      return false;
  }
}

namespace {

void AppendEscapedText(std::u16string& out, std::u16string_view text) {
  for (char16_t c : text) {
    switch (c) {
      case u'&': out += u"&amp;"; break;
      case u'<': out += u"&lt;"; break;
      case u'>': out += u"&gt;"; break;
      case 0xA0: out += u"&nbsp;"; break;
      case u'\n': out += u"\r\n"; break;
      default: out += c;
    }
  }
}

bool NeedsQuotes(std::u16string_view v) {
  if (v.empty()) return true;
  for (char16_t c : v) {
    bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' ||
                 c == u'.' || c == u'_' || c == u'#' || c == u'%';
    if (!plain) return true;
  }
  return false;
}

void AppendStartTag(std::u16string& out, const Node* e) {
  out += u'<';
  out += e->tagName;
  for (const Attribute& a : e->attributes) {
    out += u' ';
    out += a.name;
    if (IsBooleanAttributeName(a.name) && (a.value.empty() || HtmlSameText(a.value, a.name))) continue;
    std::u16string_view v = a.value;
    std::u16string style;
    if (HtmlSameText(a.name, u"style")) v = style = StyleText(e);
    out += u'=';
    if (NeedsQuotes(v)) {
      out += u'"';
      for (char16_t c : v) {
        if (c == u'"') out += u"&quot;"; else if (c == u'&') out += u"&amp;"; else out += c;
      }
      out += u'"';
    } else {
      out += v;
    }
  }
  out += u'>';
}

bool IsEmptyFilled(const Node* e) {
  return e->Is(TAGID_P) || e->Is(TAGID_DIV) || e->Is(TAGID_LI) || e->Is(TAGID_TD) || e->Is(TAGID_TH);
}

void StartElement(std::u16string& out, const Node* e) {
  if (IsBlockTag(e->tagId) && !out.empty() && out.back() != u'\n') out += u"\r\n";
  AppendStartTag(out, e);
}

void EndElement(std::u16string& out, const Node* e) {
  if (IsVoidTag(e->tagId)) return;
  if (!e->firstChild && IsEmptyFilled(e)) out += u"&nbsp;";
  out += u"</";
  out += e->tagName;
  out += u'>';
}

// Writes an element whose content is not walked (raw text, void, empty); false otherwise.
bool WriteLeafElement(std::u16string& out, const Node* e) {
  if (IsRawTextTagId(e->tagId) || e->Is(TAGID_TEXTAREA) || e->Is(TAGID_TITLE)) {
    StartElement(out, e);
    if (e->Is(TAGID_TEXTAREA) || e->Is(TAGID_TITLE)) AppendEscapedText(out, TextContent(e));
    else out += TextContent(e);
    EndElement(out, e);
    return true;
  }
  if (!e->firstChild || IsVoidTag(e->tagId)) {
    StartElement(out, e);
    EndElement(out, e);
    return true;
  }
  return false;
}

// Serialises node's children, iteratively (documents may nest deeply).
void SerializeChildren(std::u16string& out, const Node* node) {
  const Node* n = node->firstChild;
  while (n) {
    if (n->IsElement()) {
      if (!WriteLeafElement(out, n)) {
        StartElement(out, n);
        n = n->firstChild;
        continue;
      }
    } else if (n->IsText()) {
      AppendEscapedText(out, n->data);
    } else {
      out += n->data;
    }
    while (n && !n->next) {
      n = n->parent;
      if (n == node) return;
      EndElement(out, n);
    }
    n = n->next;
  }
}

}  // namespace

std::u16string InnerHTML(const Node* node) {
  std::u16string out;
  SerializeChildren(out, node);
  return out;
}

std::u16string OuterHTML(const Node* node) {
  std::u16string out;
  if (node->IsText()) {
    AppendEscapedText(out, node->data);
  } else if (!node->IsElement()) {
    out = node->data;
  } else if (!WriteLeafElement(out, node)) {
    AppendStartTag(out, node);
    SerializeChildren(out, node);
    EndElement(out, node);
  }
  return out;
}

std::u16string StartTagHTML(const Node* element) {
  std::u16string out;
  AppendStartTag(out, element);
  return out;
}

std::u16string EndTagHTML(const Node* element) {
  if (IsVoidTag(element->tagId)) return {};
  return u"</" + element->tagName + u">";
}

std::u16string EscapedText(std::u16string_view text) {
  std::u16string out;
  AppendEscapedText(out, text);
  return out;
}

std::u16string TextContent(const Node* node) {
  if (node->type == NodeType::Text) return node->data;
  std::u16string out;
  for (const Node* n = node->firstChild; n; n = NextInTree(n, node))
    if (n->type == NodeType::Text) out += n->data;
  return out;
}

std::u16string StyleText(const Node* element) {
  const std::u16string* style = element->GetAttribute(u"style");
  if (!style) return {};
  std::u16string out;
  std::u16string_view s = *style;
  size_t pos = 0;
  while (pos < s.size()) {
    size_t end = s.find(u';', pos);
    if (end == std::u16string_view::npos) end = s.size();
    std::u16string_view decl = s.substr(pos, end - pos);
    pos = end + 1;
    size_t colon = decl.find(u':');
    if (colon == std::u16string_view::npos) continue;
    auto trim = [](std::u16string_view v) {
      while (!v.empty() && (v.front() == u' ' || v.front() == u'\t' || v.front() == u'\n' || v.front() == u'\r'))
        v.remove_prefix(1);
      while (!v.empty() && (v.back() == u' ' || v.back() == u'\t' || v.back() == u'\n' || v.back() == u'\r'))
        v.remove_suffix(1);
      return v;
    };
    std::u16string_view name = trim(decl.substr(0, colon));
    std::u16string_view value = trim(decl.substr(colon + 1));
    if (name.empty()) continue;
    if (!out.empty()) out += u"; ";
    out += HtmlUpperCase(name);
    out += u": ";
    out += value;
  }
  return out;
}

}  // namespace htmledit
