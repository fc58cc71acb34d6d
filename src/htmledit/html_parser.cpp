#include "htmledit/html_parser.h"

#include <algorithm>

#include "htmledit/html_tables.h"

namespace htmledit {

namespace {

// ---------------------------------------------------------------- character references

// Windows-1252 meanings of the references 128..159, as browsers read them.
constexpr char16_t kC1Remap[32] = {0x20AC, 0x81, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D, 0x017D, 0x8F,
                                   0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D, 0x017E, 0x0178};

void AppendCodePoint(std::u16string& out, uint32_t cp) {
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp >= 0x80 && cp <= 0x9F) cp = kC1Remap[cp - 0x80];
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<char16_t>(cp);
  }
}

bool IsAsciiAlpha(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsAsciiAlnum(char16_t c) { return IsAsciiAlpha(c) || (c >= u'0' && c <= u'9'); }
bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }
char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }

// Decodes one reference at s[i] == '&'; returns the characters consumed (0: not a reference).
size_t DecodeReference(std::u16string_view s, size_t i, bool inAttribute, std::u16string& out) {
  size_t j = i + 1;
  if (j < s.size() && s[j] == u'#') {
    ++j;
    bool hex = j < s.size() && (s[j] == u'x' || s[j] == u'X');
    if (hex) ++j;
    size_t digitsStart = j;
    uint32_t cp = 0;
    while (j < s.size()) {
      char16_t c = s[j];
      int d = (c >= u'0' && c <= u'9') ? c - u'0'
              : (hex && c >= u'a' && c <= u'f') ? c - u'a' + 10
              : (hex && c >= u'A' && c <= u'F') ? c - u'A' + 10 : -1;
      if (d < 0) break;
      cp = cp > 0x10FFFF ? cp : cp * (hex ? 16 : 10) + d;
      ++j;
    }
    if (j == digitsStart) return 0;
    if (j < s.size() && s[j] == u';') ++j;
    AppendCodePoint(out, cp);
    return j - i;
  }
  size_t nameStart = j;
  while (j < s.size() && j - nameStart < 10 && IsAsciiAlnum(s[j])) ++j;
  if (j == nameStart) return 0;
  std::u16string_view name = s.substr(nameStart, j - nameStart);
  bool semicolon = j < s.size() && s[j] == u';';
  if (!semicolon && inAttribute) return 0;  // "&copy=" in a URL stays as written
  int code = EntityCode(name);
  if (code < 0) return 0;
  out += static_cast<char16_t>(code);
  return j - i + (semicolon ? 1 : 0);
}

void AppendDecoded(std::u16string& out, std::u16string_view s, bool inAttribute) {
  for (size_t i = 0; i < s.size();) {
    if (s[i] == u'&') {
      size_t used = DecodeReference(s, i, inAttribute, out);
      if (used) { i += used; continue; }
    }
    out += s[i++];
  }
}

// ---------------------------------------------------------------- tag classes

bool IsHeading(int id) { return id >= TAGID_H1 && id <= TAGID_H6; }

bool IsFormatting(int id) {
  switch (id) {
    case TAGID_A: case TAGID_B: case TAGID_BIG: case TAGID_CODE: case TAGID_EM: case TAGID_FONT:
    case TAGID_I: case TAGID_NOBR: case TAGID_S: case TAGID_SMALL: case TAGID_STRIKE: case TAGID_STRONG:
    case TAGID_TT: case TAGID_U:
      return true;
    default:
      return false;
  }
}

bool ClosesParagraph(int id) {
  switch (id) {
    case TAGID_ADDRESS: case TAGID_BLOCKQUOTE: case TAGID_CENTER: case TAGID_DIR: case TAGID_DIV:
    case TAGID_DL: case TAGID_FIELDSET: case TAGID_MENU: case TAGID_OL: case TAGID_P: case TAGID_UL:
    case TAGID_H1: case TAGID_H2: case TAGID_H3: case TAGID_H4: case TAGID_H5: case TAGID_H6:
    case TAGID_PRE: case TAGID_LISTING: case TAGID_FORM: case TAGID_HR: case TAGID_XMP:
    case TAGID_PLAINTEXT: case TAGID_TABLE: case TAGID_LI: case TAGID_DD: case TAGID_DT:
      return true;
    default:
      return false;
  }
}

// Elements whose unknown end tags stop the search ("special" in HTML5).
bool IsSpecial(const Node* n) {
  if (n->tagId == TAGID_UNKNOWN) {
    static const std::u16string_view kHtml5Blocks[] = {u"article", u"aside", u"details", u"dialog",
                                                       u"figcaption", u"figure", u"footer", u"header",
                                                       u"hgroup", u"main", u"nav", u"section", u"summary"};
    for (auto name : kHtml5Blocks)
      if (n->tagName == name) return true;
    return false;
  }
  return !IsFormatting(n->tagId) && n->tagId != TAGID_SPAN && n->tagId != TAGID_LABEL &&
         n->tagId != TAGID_SUB && n->tagId != TAGID_SUP && n->tagId != TAGID_Q && n->tagId != TAGID_CITE &&
         n->tagId != TAGID_ABBR && n->tagId != TAGID_ACRONYM && n->tagId != TAGID_DFN &&
         n->tagId != TAGID_KBD && n->tagId != TAGID_SAMP && n->tagId != TAGID_VAR && n->tagId != TAGID_INS &&
         n->tagId != TAGID_DEL && n->tagId != TAGID_BDO && n->tagId != TAGID_OPTION &&
         n->tagId != TAGID_OPTGROUP && n->tagId != TAGID_RP && n->tagId != TAGID_RT &&
         n->tagId != TAGID_RUBY && n->tagId != TAGID_BLINK;
}

bool IsHeadElement(int id) {
  return id == TAGID_TITLE || id == TAGID_META || id == TAGID_LINK || id == TAGID_BASE || id == TAGID_STYLE ||
         id == TAGID_SCRIPT || id == TAGID_BASEFONT || id == TAGID_BGSOUND;
}

bool IsTableContext(int id) {
  return id == TAGID_TABLE || id == TAGID_TBODY || id == TAGID_THEAD || id == TAGID_TFOOT || id == TAGID_TR;
}

bool IsTablePart(int id) {
  return id == TAGID_CAPTION || id == TAGID_COLGROUP || id == TAGID_COL || id == TAGID_TBODY ||
         id == TAGID_THEAD || id == TAGID_TFOOT || id == TAGID_TR || id == TAGID_TD || id == TAGID_TH ||
         id == TAGID_TABLE;
}

// Elements whose content is raw text up to their end tag; RCDATA ones decode references.
bool IsRawText(int id) {
  return id == TAGID_SCRIPT || id == TAGID_STYLE || id == TAGID_XMP || id == TAGID_IFRAME ||
         id == TAGID_NOEMBED || id == TAGID_NOFRAMES || id == TAGID_TEXTAREA || id == TAGID_TITLE ||
         id == TAGID_PLAINTEXT;
}
bool IsRcdata(int id) { return id == TAGID_TEXTAREA || id == TAGID_TITLE; }

// ---------------------------------------------------------------- tree builder

struct Tag {
  std::u16string name;  // lower-case
  int id = TAGID_UNKNOWN;
  std::vector<Attribute> attributes;
};

class TreeBuilder {
 public:
  TreeBuilder(Document& doc, const ParseLimits& limits, ParseReport& report)
      : doc_(doc), limits_(limits), report_(report) {}

  void Doctype(std::u16string_view text) {
    if (html_) return;
    Attach(doc_.Root(), doc_.CreateDoctype(text));
  }

  void Comment(std::u16string_view text) {
    Node* c = doc_.CreateComment(text);
    if (!html_) Attach(doc_.Root(), c);
    else Attach(Current(), c);
  }

  void Text(std::u16string_view raw) { TextDecoded(raw, true); }

  void TextDecoded(std::u16string_view text, bool decode) {
    if (text.empty()) return;
    bool allSpace = std::all_of(text.begin(), text.end(), IsSpace);
    if (!body_) {
      if (allSpace) return;  // whitespace before the body is dropped
      EnsureBody();
    }
    Node* current = Current();
    std::u16string decoded;
    if (decode) {
      AppendDecoded(decoded, text, false);
      text = decoded;
    }
    if (IsTableContext(current->tagId)) {
      if (allSpace) { AppendText(current, nullptr, text); return; }
      Node* table = LastInStack(TAGID_TABLE);
      if (table && table->parent) { AppendText(table->parent, table, text); return; }
    }
    ReconstructFormatting();
    AppendText(Current(), nullptr, text);
  }

  void StartTag(Tag& tag, std::u16string_view rawContent, bool hasRawContent) {
    int id = tag.id;
    if (id == TAGID_HTML) {
      EnsureHtml();
      MergeAttributes(html_, tag);
      return;
    }
    if (!body_ && (IsHeadElement(id) || id == TAGID_HEAD || id == TAGID_NOSCRIPT)) {
      EnsureHead();
      if (id == TAGID_HEAD) return;
      Node* e = Make(tag);
      if (!e) return;
      Attach(head_, e);
      if (hasRawContent) AddRawContent(e, rawContent, IsRcdata(id));
      return;
    }
    if (id == TAGID_HEAD) return;
    if (id == TAGID_BODY) {
      if (body_) MergeAttributes(body_, tag);
      else EnsureBody(&tag);
      return;
    }
    EnsureBody();
    if (nodesCapped_) return;

    // Table structure.
    if (IsTablePart(id)) {
      if (TableStart(tag)) return;
    } else if (IsTableContext(Current()->tagId) && id != TAGID_SCRIPT && id != TAGID_STYLE &&
               id != TAGID_FORM && !(id == TAGID_INPUT && IsHiddenInput(tag))) {
      // Stray content inside a table goes in front of it.
      Node* table = LastInStack(TAGID_TABLE);
      if (table && table->parent) {
        Node* e = Make(tag);
        if (!e) return;
        Link(table->parent, e, table);
        if (hasRawContent) AddRawContent(e, rawContent, IsRcdata(id));
        else if (!IsVoidTag(id)) Push(e);
        return;
      }
    }

    if (ClosesParagraph(id) && id != TAGID_TABLE) ClosePInButtonScope();
    if (IsHeading(id) && IsHeading(Current()->tagId)) Pop();
    if (id == TAGID_LI) CloseListItem({TAGID_LI});
    if (id == TAGID_DD || id == TAGID_DT) CloseListItem({TAGID_DD, TAGID_DT});
    if (id == TAGID_OPTION && Current()->Is(TAGID_OPTION)) Pop();
    if (id == TAGID_OPTGROUP) {
      if (Current()->Is(TAGID_OPTION)) Pop();
      if (Current()->Is(TAGID_OPTGROUP)) Pop();
    }
    if (id == TAGID_A || id == TAGID_NOBR) {
      // A new link closes an open one.
      if (Node* open = ActiveFormatting(id)) CloseFormatting(open);
    }
    if (!IsSpecialStart(id)) ReconstructFormatting();

    Node* e = Make(tag);
    if (!e) return;
    Attach(Current(), e);
    if (hasRawContent) {
      AddRawContent(e, rawContent, IsRcdata(id));
      return;
    }
    if (IsVoidTag(id)) return;
    if (!Push(e)) return;
    if (IsFormatting(id) && active_.size() < kMaxActiveFormatting) active_.push_back(e);
    if (id == TAGID_APPLET || id == TAGID_OBJECT || id == TAGID_MARQUEE) active_.push_back(nullptr);
  }

  void EndTag(const Tag& tag) {
    int id = tag.id;
    if (id == TAGID_HTML || id == TAGID_BODY) return;
    if (id == TAGID_HEAD) {
      if (head_ && !body_) headClosed_ = true;
      return;
    }
    if (!body_) {
      if (id == TAGID_BR) {
        EnsureBody();
      } else {
        return;
      }
    }
    if (id == TAGID_BR) {
      Tag br{u"br", TAGID_BR, {}};
      StartTag(br, {}, false);
      return;
    }
    if (id == TAGID_P) {
      if (!InScope(TAGID_P, Scope::Button)) {
        Tag p{u"p", TAGID_P, {}};
        StartTag(p, {}, false);
      }
      PopUntil(TAGID_P);
      return;
    }
    if (id == TAGID_LI) {
      if (InScope(TAGID_LI, Scope::ListItem)) PopUntil(TAGID_LI);
      return;
    }
    if (id == TAGID_DD || id == TAGID_DT) {
      if (InScope(id, Scope::Normal)) PopUntil(id);
      return;
    }
    if (IsHeading(id)) {
      for (size_t i = stack_.size(); i-- > 0;) {
        Node* n = stack_[i];
        if (IsHeading(n->tagId)) {
          while (stack_.size() > i) Pop();
          return;
        }
        if (IsScopeBoundary(n, Scope::Normal)) return;
      }
      return;
    }
    if (id == TAGID_TABLE) {
      if (InScope(TAGID_TABLE, Scope::Table)) PopUntil(TAGID_TABLE);
      return;
    }
    if (id == TAGID_TBODY || id == TAGID_THEAD || id == TAGID_TFOOT || id == TAGID_TR || id == TAGID_CAPTION ||
        id == TAGID_COLGROUP) {
      if (InScope(id, Scope::Table)) PopUntil(id);
      return;
    }
    if (id == TAGID_TD || id == TAGID_TH) {
      if (InScope(id, Scope::Table)) {
        PopUntil(id);
        ClearFormattingToMarker();
      }
      return;
    }
    if (IsFormatting(id)) {
      if (Node* open = ActiveFormatting(id)) {
        CloseFormatting(open);
        return;
      }
    }
    // Any other end tag: the nearest open element of that name, unless a special element
    // comes first.
    for (size_t i = stack_.size(); i-- > 1;) {
      Node* n = stack_[i];
      if (SameName(n, tag)) {
        while (stack_.size() > i) Pop();
        return;
      }
      if (IsSpecial(n)) return;
    }
  }

  void Finish() { EnsureBody(); }

 private:
  static constexpr size_t kMaxActiveFormatting = 32;
  enum class Scope { Normal, Button, ListItem, Table };

  static bool IsHiddenInput(const Tag& tag) {
    for (const Attribute& a : tag.attributes)
      if (a.name == u"type" && HtmlSameTextAscii(a.value, u"hidden")) return true;
    return false;
  }
  static bool HtmlSameTextAscii(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
  }
  static bool IsSpecialStart(int id) { return IsTablePart(id) || ClosesParagraph(id); }
  static bool SameName(const Node* n, const Tag& tag) {
    if (tag.id != TAGID_UNKNOWN) return n->tagId == tag.id;
    return n->tagId == TAGID_UNKNOWN && n->tagName == tag.name;
  }

  Node* Make(const Tag& tag) {
    if (doc_.NodeCount() >= limits_.maxNodes) {
      nodesCapped_ = report_.nodesCapped = true;
      return nullptr;
    }
    Node* e = doc_.CreateElement(tag.name);
    e->attributes = tag.attributes;
    return e;
  }

  void Attach(Node* parent, Node* child) { Link(parent, child, nullptr); }

  // Links without notification: the document announces the whole parse once.
  static void Link(Node* parent, Node* child, Node* before) {
    child->parent = parent;
    child->next = before;
    child->prev = before ? before->prev : parent->lastChild;
    if (child->prev) child->prev->next = child; else parent->firstChild = child;
    if (before) before->prev = child; else parent->lastChild = child;
  }

  void AppendText(Node* parent, Node* before, std::u16string_view text) {
    Node* prev = before ? before->prev : parent->lastChild;
    if (prev && prev->IsText()) {
      prev->data += text;
      return;
    }
    if (doc_.NodeCount() >= limits_.maxNodes) {
      nodesCapped_ = report_.nodesCapped = true;
      // Text still lands in the last text node somewhere before, never dropped silently
      // while one exists.
      return;
    }
    Link(parent, doc_.CreateText(text), before);
  }

  void AddRawContent(Node* e, std::u16string_view content, bool decode) {
    if (content.empty()) return;
    std::u16string text;
    if (decode) AppendDecoded(text, content, false);
    else text = content;
    if (e->Is(TAGID_TEXTAREA) || e->Is(TAGID_PLAINTEXT) || e->Is(TAGID_XMP)) {
      // A leading newline after <textarea> belongs to the markup.
      if (!text.empty() && text[0] == u'\n' && e->Is(TAGID_TEXTAREA)) text.erase(0, 1);
    }
    if (!text.empty()) Link(e, doc_.CreateText(text), nullptr);
  }

  void MergeAttributes(Node* e, const Tag& tag) {
    for (const Attribute& a : tag.attributes)
      if (!e->GetAttribute(a.name)) e->attributes.push_back(a);
  }

  void EnsureHtml() {
    if (html_) return;
    Tag t{u"html", TAGID_HTML, {}};
    html_ = doc_.CreateElement(t.name);
    Attach(doc_.Root(), html_);
    stack_.push_back(html_);
  }

  void EnsureHead() {
    EnsureHtml();
    if (head_) return;
    head_ = doc_.CreateElement(u"head");
    Attach(html_, head_);
  }

  void EnsureBody(const Tag* tag = nullptr) {
    EnsureHead();
    if (body_) return;
    body_ = doc_.CreateElement(u"body");
    if (tag) body_->attributes = tag->attributes;
    Attach(html_, body_);
    stack_.push_back(body_);
  }

  Node* Current() { return stack_.empty() ? doc_.Root() : stack_.back(); }

  bool Push(Node* e) {
    if (stack_.size() >= limits_.maxDepth) {
      report_.depthCapped = true;
      return false;
    }
    stack_.push_back(e);
    return true;
  }

  void Pop() {
    if (stack_.size() > 2) stack_.pop_back();  // html and body stay open
  }

  void PopUntil(int id) {
    while (stack_.size() > 2) {
      Node* n = stack_.back();
      stack_.pop_back();
      if (n->tagId == id) return;
    }
  }

  Node* LastInStack(int id) {
    for (size_t i = stack_.size(); i-- > 0;)
      if (stack_[i]->tagId == id) return stack_[i];
    return nullptr;
  }

  static bool IsScopeBoundary(const Node* n, Scope scope) {
    int id = n->tagId;
    if (scope == Scope::Table) return id == TAGID_HTML || id == TAGID_TABLE;
    bool base = id == TAGID_HTML || id == TAGID_TABLE || id == TAGID_TD || id == TAGID_TH ||
                id == TAGID_CAPTION || id == TAGID_MARQUEE || id == TAGID_OBJECT || id == TAGID_APPLET;
    if (scope == Scope::Button) return base || id == TAGID_BUTTON;
    if (scope == Scope::ListItem) return base || id == TAGID_OL || id == TAGID_UL;
    return base;
  }

  bool InScope(int id, Scope scope) {
    for (size_t i = stack_.size(); i-- > 0;) {
      if (stack_[i]->tagId == id) return true;
      if (IsScopeBoundary(stack_[i], scope)) return false;
    }
    return false;
  }

  void ClosePInButtonScope() {
    if (InScope(TAGID_P, Scope::Button)) PopUntil(TAGID_P);
  }

  void CloseListItem(std::initializer_list<int> ids) {
    for (size_t i = stack_.size(); i-- > 0;) {
      Node* n = stack_[i];
      for (int id : ids) {
        if (n->tagId == id) {
          while (stack_.size() > i) Pop();
          return;
        }
      }
      if (IsSpecial(n) && n->tagId != TAGID_ADDRESS && n->tagId != TAGID_DIV && n->tagId != TAGID_P) return;
    }
  }

  // Table parts; true when handled (or dropped).
  bool TableStart(Tag& tag) {
    int id = tag.id;
    if (id == TAGID_TABLE) {
      if (IsTableContext(Current()->tagId)) PopUntil(TAGID_TABLE);  // a table directly in a table ends it
      ClosePInButtonScope();
      return false;
    }
    if (!InScope(TAGID_TABLE, Scope::Table)) return true;  // a stray part outside any table is dropped
    if (id == TAGID_CAPTION || id == TAGID_COLGROUP || id == TAGID_TBODY || id == TAGID_THEAD ||
        id == TAGID_TFOOT) {
      ClearBackTo({TAGID_TABLE});
      Node* e = Make(tag);
      if (!e) return true;
      Attach(Current(), e);
      if (Push(e) && id == TAGID_CAPTION) active_.push_back(nullptr);
      return true;
    }
    if (id == TAGID_COL) {
      if (!Current()->Is(TAGID_COLGROUP)) ClearBackTo({TAGID_TABLE});
      if (Node* e = Make(tag)) Attach(Current(), e);
      return true;
    }
    if (id == TAGID_TR) {
      ClearBackTo({TAGID_TBODY, TAGID_THEAD, TAGID_TFOOT, TAGID_TABLE});
      if (Current()->Is(TAGID_TABLE)) ImplyElement(u"tbody");
      Node* e = Make(tag);
      if (!e) return true;
      Attach(Current(), e);
      Push(e);
      return true;
    }
    // TD, TH
    if (InScope(TAGID_TD, Scope::Table) || InScope(TAGID_TH, Scope::Table)) {
      for (size_t i = stack_.size(); i-- > 0;) {
        if (stack_[i]->Is(TAGID_TD) || stack_[i]->Is(TAGID_TH)) {
          while (stack_.size() > i) Pop();
          break;
        }
      }
      ClearFormattingToMarker();
    }
    ClearBackTo({TAGID_TR, TAGID_TBODY, TAGID_THEAD, TAGID_TFOOT, TAGID_TABLE});
    if (Current()->Is(TAGID_TABLE)) ImplyElement(u"tbody");
    if (!Current()->Is(TAGID_TR)) ImplyElement(u"tr");
    Node* e = Make(tag);
    if (!e) return true;
    Attach(Current(), e);
    if (Push(e)) active_.push_back(nullptr);
    return true;
  }

  void ImplyElement(std::u16string_view name) {
    Tag t{std::u16string(name), TagIdOfName(name), {}};
    Node* e = Make(t);
    if (!e) return;
    Attach(Current(), e);
    Push(e);
  }

  void ClearBackTo(std::initializer_list<int> ids) {
    while (stack_.size() > 2) {
      int cur = stack_.back()->tagId;
      for (int id : ids)
        if (cur == id) return;
      if (cur == TAGID_TABLE) return;
      Pop();
    }
  }

  Node* ActiveFormatting(int id) {
    for (size_t i = active_.size(); i-- > 0;) {
      if (!active_[i]) return nullptr;
      if (active_[i]->tagId == id) return active_[i];
    }
    return nullptr;
  }

  void RemoveActive(Node* e) {
    auto it = std::find(active_.begin(), active_.end(), e);
    if (it != active_.end()) active_.erase(it);
  }

  // A simplified adoption: the element and whatever formatting is open above it close;
  // those stay active and are reopened before the next content. A block opened inside
  // the formatting element keeps the content instead.
  void CloseFormatting(Node* e) {
    auto it = std::find(stack_.begin(), stack_.end(), e);
    if (it == stack_.end()) {
      RemoveActive(e);
      return;
    }
    for (auto above = it + 1; above != stack_.end(); ++above) {
      if (!IsFormatting((*above)->tagId) && IsSpecial(*above)) {
        RemoveActive(e);
        return;
      }
    }
    size_t index = static_cast<size_t>(it - stack_.begin());
    while (stack_.size() > index) stack_.pop_back();
    RemoveActive(e);
  }

  void ClearFormattingToMarker() {
    while (!active_.empty()) {
      Node* n = active_.back();
      active_.pop_back();
      if (!n) return;
    }
  }

  void ReconstructFormatting() {
    if (active_.empty() || !active_.back()) return;
    if (std::find(stack_.begin(), stack_.end(), active_.back()) != stack_.end()) return;
    size_t i = active_.size() - 1;
    while (i > 0) {
      Node* n = active_[i - 1];
      if (!n || std::find(stack_.begin(), stack_.end(), n) != stack_.end()) break;
      --i;
    }
    for (; i < active_.size(); ++i) {
      Node* old = active_[i];
      if (doc_.NodeCount() >= limits_.maxNodes || stack_.size() >= limits_.maxDepth) return;
      Node* copy = doc_.CreateElement(old->tagId == TAGID_UNKNOWN ? old->tagName : HtmlLowerAscii(old->tagName));
      copy->attributes = old->attributes;
      Attach(Current(), copy);
      stack_.push_back(copy);
      active_[i] = copy;
    }
  }

  static std::u16string HtmlLowerAscii(std::u16string_view s) {
    std::u16string r(s);
    for (char16_t& c : r) c = Lower(c);
    return r;
  }

  Document& doc_;
  const ParseLimits& limits_;
  ParseReport& report_;
  Node* html_ = nullptr;
  Node* head_ = nullptr;
  Node* body_ = nullptr;
  bool headClosed_ = false;
  bool nodesCapped_ = false;
  std::vector<Node*> stack_;
  std::vector<Node*> active_;  // active formatting elements; nullptr is a marker
};

// ---------------------------------------------------------------- tokenizer

class Tokenizer {
 public:
  Tokenizer(std::u16string_view s, TreeBuilder& builder) : s_(s), b_(builder) {}

  void Run() {
    size_t textStart = 0;
    while (i_ < s_.size()) {
      if (s_[i_] != u'<') {
        size_t next = s_.find(u'<', i_);
        i_ = next == std::u16string_view::npos ? s_.size() : next;
        continue;
      }
      size_t tagAt = i_;
      if (TryMarkup(textStart, tagAt)) {
        textStart = i_;
      } else {
        ++i_;
      }
    }
    FlushText(textStart, s_.size());
    b_.Finish();
  }

 private:
  void FlushText(size_t from, size_t to) {
    if (to > from) b_.Text(s_.substr(from, to - from));
  }

  char16_t At(size_t k) const { return k < s_.size() ? s_[k] : 0; }

  bool StartsWithNoCase(size_t at, std::u16string_view word) const {
    if (at + word.size() > s_.size()) return false;
    for (size_t k = 0; k < word.size(); ++k)
      if (Lower(s_[at + k]) != word[k]) return false;
    return true;
  }

  // Handles the markup at i_ == '<'; false when it is plain text.
  bool TryMarkup(size_t textStart, size_t at) {
    char16_t c = At(at + 1);
    if (c == u'!') {
      FlushText(textStart, at);
      if (At(at + 2) == u'-' && At(at + 3) == u'-') {
        size_t end = s_.find(u"-->", at + 4);
        size_t stop = end == std::u16string_view::npos ? s_.size() : end + 3;
        b_.Comment(s_.substr(at, stop - at));
        i_ = stop;
        return true;
      }
      size_t end = s_.find(u'>', at + 2);
      size_t stop = end == std::u16string_view::npos ? s_.size() : end + 1;
      if (StartsWithNoCase(at + 2, u"doctype")) b_.Doctype(s_.substr(at, stop - at));
      else b_.Comment(BogusComment(at + 2, stop));
      i_ = stop;
      return true;
    }
    if (c == u'?') {
      FlushText(textStart, at);
      size_t end = s_.find(u'>', at + 2);
      size_t stop = end == std::u16string_view::npos ? s_.size() : end + 1;
      b_.Comment(BogusComment(at + 1, stop));
      i_ = stop;
      return true;
    }
    if (c == u'/') {
      if (IsAsciiAlpha(At(at + 2))) {
        FlushText(textStart, at);
        Tag tag;
        size_t k = ReadTag(at + 2, tag);
        b_.EndTag(tag);
        i_ = k;
        return true;
      }
      if (At(at + 2) == u'>') {
        FlushText(textStart, at);
        i_ = at + 3;
        return true;
      }
      if (at + 2 < s_.size()) {
        FlushText(textStart, at);
        size_t end = s_.find(u'>', at + 2);
        size_t stop = end == std::u16string_view::npos ? s_.size() : end + 1;
        b_.Comment(BogusComment(at + 2, stop));
        i_ = stop;
        return true;
      }
      return false;
    }
    if (!IsAsciiAlpha(c)) return false;
    FlushText(textStart, at);
    Tag tag;
    size_t k = ReadTag(at + 1, tag);
    if (IsRawText(tag.id)) {
      size_t contentEnd, after;
      FindRawEnd(k, tag, contentEnd, after);
      b_.StartTag(tag, s_.substr(k, contentEnd - k), true);
      i_ = after;
      return true;
    }
    b_.StartTag(tag, {}, false);
    i_ = k;
    return true;
  }

  std::u16string BogusComment(size_t from, size_t stop) {
    size_t end = stop;
    if (end > from && s_[end - 1] == u'>') --end;
    std::u16string text = u"<!--";
    text += s_.substr(from, end - from);
    text += u"-->";
    return text;
  }

  // Reads a tag name and attributes from k; returns the position after '>'.
  size_t ReadTag(size_t k, Tag& tag) {
    size_t start = k;
    while (k < s_.size() && !IsSpace(s_[k]) && s_[k] != u'/' && s_[k] != u'>') ++k;
    tag.name.reserve(k - start);
    for (size_t m = start; m < k; ++m) tag.name += s_[m] == 0 ? char16_t(0xFFFD) : Lower(s_[m]);
    tag.id = TagIdOfName(tag.name);
    while (k < s_.size()) {
      while (k < s_.size() && (IsSpace(s_[k]) || s_[k] == u'/')) ++k;
      if (k >= s_.size()) break;
      if (s_[k] == u'>') return k + 1;
      size_t nameStart = k;
      ++k;  // the first character may be '=' or a quote, as HTML5 allows
      while (k < s_.size() && !IsSpace(s_[k]) && s_[k] != u'/' && s_[k] != u'>' && s_[k] != u'=') ++k;
      std::u16string name;
      for (size_t m = nameStart; m < k; ++m) name += Lower(s_[m]);
      while (k < s_.size() && IsSpace(s_[k])) ++k;
      std::u16string value;
      if (k < s_.size() && s_[k] == u'=') {
        ++k;
        while (k < s_.size() && IsSpace(s_[k])) ++k;
        if (k < s_.size() && (s_[k] == u'"' || s_[k] == u'\'')) {
          char16_t q = s_[k++];
          size_t end = s_.find(q, k);
          if (end == std::u16string_view::npos) end = s_.size();
          AppendDecoded(value, s_.substr(k, end - k), true);
          k = end < s_.size() ? end + 1 : end;
        } else {
          size_t vs = k;
          while (k < s_.size() && !IsSpace(s_[k]) && s_[k] != u'>') ++k;
          AppendDecoded(value, s_.substr(vs, k - vs), true);
        }
      }
      bool duplicate = false;
      for (const Attribute& a : tag.attributes) duplicate = duplicate || a.name == name;
      if (!duplicate && tag.attributes.size() < 256) tag.attributes.push_back({std::move(name), std::move(value)});
    }
    return k;
  }

  void FindRawEnd(size_t k, const Tag& tag, size_t& contentEnd, size_t& after) {
    if (tag.id == TAGID_PLAINTEXT) {
      contentEnd = after = s_.size();
      return;
    }
    size_t from = k;
    while (true) {
      size_t lt = s_.find(u"</", from);
      if (lt == std::u16string_view::npos) {
        contentEnd = after = s_.size();
        return;
      }
      size_t nameEnd = lt + 2 + tag.name.size();
      if (StartsWithNoCase(lt + 2, tag.name) &&
          (nameEnd >= s_.size() || IsSpace(s_[nameEnd]) || s_[nameEnd] == u'>' || s_[nameEnd] == u'/')) {
        contentEnd = lt;
        size_t gt = s_.find(u'>', nameEnd);
        after = gt == std::u16string_view::npos ? s_.size() : gt + 1;
        return;
      }
      from = lt + 2;
    }
  }

  std::u16string_view s_;
  TreeBuilder& b_;
  size_t i_ = 0;
};

}  // namespace

ParseReport ParseDocument(Document& doc, std::u16string_view html, const ParseLimits& limits) {
  ParseReport report;
  if (html.size() > limits.maxChars) {
    html = html.substr(0, limits.maxChars);
    report.truncated = true;
  }
  doc.SuppressNotifications(true);
  doc.Clear();
  // Line breaks read as LF, as HTML parsing normalises them.
  std::u16string normalized;
  if (html.find(u'\r') != std::u16string_view::npos) {
    normalized.reserve(html.size());
    for (size_t i = 0; i < html.size(); ++i) {
      if (html[i] == u'\r') {
        normalized += u'\n';
        if (i + 1 < html.size() && html[i + 1] == u'\n') ++i;
      } else {
        normalized += html[i];
      }
    }
    html = normalized;
  }
  TreeBuilder builder(doc, limits, report);
  Tokenizer(html, builder).Run();
  doc.SuppressNotifications(false);
  doc.NoteChanged();
  return report;
}

Node* CloneTree(Document& target, const Node* node) {
  auto cloneOne = [&](const Node* n) {
    Node* c;
    switch (n->type) {
      case NodeType::Element:
        c = target.CreateElement(n->tagId == TAGID_UNKNOWN ? n->tagName : std::u16string(TagNameOfId(n->tagId)));
        c->attributes = n->attributes;
        break;
      case NodeType::Text: c = target.CreateText(n->data); break;
      case NodeType::Comment: c = target.CreateComment(n->data); break;
      default: c = target.CreateDoctype(n->data); break;
    }
    return c;
  };
  Node* top = cloneOne(node);
  // Parallel walk: source node and the copy it maps to.
  const Node* src = node->firstChild;
  Node* dstParent = top;
  while (src) {
    Node* copy = cloneOne(src);
    copy->parent = dstParent;
    copy->prev = dstParent->lastChild;
    if (copy->prev) copy->prev->next = copy; else dstParent->firstChild = copy;
    dstParent->lastChild = copy;
    if (src->firstChild) {
      src = src->firstChild;
      dstParent = copy;
      continue;
    }
    while (src != node && !src->next) {
      src = src->parent;
      if (src == node) break;
      dstParent = dstParent->parent;
    }
    if (src == node) break;
    src = src->next;
  }
  return top;
}

std::vector<Node*> ParseFragment(Document& target, std::u16string_view html, const ParseLimits& limits) {
  Document scratch;
  ParseDocument(scratch, html, limits);
  std::vector<Node*> out;
  // Head content of a fragment (a stray title or style) is not part of what is pasted.
  if (Node* body = scratch.Body())
    for (Node* c = body->firstChild; c; c = c->next) out.push_back(CloneTree(target, c));
  return out;
}

}  // namespace htmledit
