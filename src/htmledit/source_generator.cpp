#include "htmledit/source_generator.h"

#include <algorithm>
#include <set>
#include <vector>

#include "htmledit/html_tables.h"
#include "htmledit/module_routines.h"
#include "htmledit/url_paths.h"

namespace htmledit {

using Opt = THtmlEditSourceCodeOption;

namespace {

bool IsInlineTagId(int id) {
  switch (id) {
    case TAGID_A: case TAGID_ACRONYM: case TAGID_B: case TAGID_BASEFONT: case TAGID_BDO: case TAGID_BIG:
    case TAGID_BR: case TAGID_CITE: case TAGID_CODE: case TAGID_DFN: case TAGID_EM: case TAGID_FONT:
    case TAGID_I: case TAGID_IMG: case TAGID_INPUT: case TAGID_KBD: case TAGID_LABEL: case TAGID_Q:
    case TAGID_S: case TAGID_SAMP: case TAGID_SELECT: case TAGID_SMALL: case TAGID_SPAN: case TAGID_STRIKE:
    case TAGID_STRONG: case TAGID_SUB: case TAGID_SUP: case TAGID_TEXTAREA: case TAGID_TT: case TAGID_U:
    case TAGID_VAR:
      return true;
    default:
      return false;
  }
}

bool IsEmptyTagId(int id) {
  switch (id) {
    case TAGID_AREA: case TAGID_BASE: case TAGID_BASEFONT: case TAGID_BR: case TAGID_COL: case TAGID_FRAME:
    case TAGID_HR: case TAGID_IMG: case TAGID_INPUT: case TAGID_LINK: case TAGID_META: case TAGID_PARAM:
      return true;
    default:
      return false;
  }
}

bool NeverFilled(int id) {
  switch (id) {
    case TAGID_BUTTON: case TAGID_FORM: case TAGID_GENERIC: case TAGID_IFRAME: case TAGID_MARQUEE:
    case TAGID_OBJECT: case TAGID_SELECT: case TAGID_STYLE: case TAGID_TBODY: case TAGID_TEXTAREA:
    case TAGID_TITLE:
      return true;
    // Elements that cannot hold text: a filler there would move into the body (or in front
    // of the table) when the source is read again, one more line at every rewrite.
    case TAGID_HTML: case TAGID_HEAD: case TAGID_TABLE: case TAGID_THEAD: case TAGID_TFOOT: case TAGID_TR:
    case TAGID_COLGROUP:
      return true;
    default:
      return false;
  }
}

bool StartsWithText(std::u16string_view s, std::u16string_view prefix) {
  return s.size() >= prefix.size() && HtmlSameText(s.substr(0, prefix.size()), prefix);
}

std::u16string LowercaseStyleNames(std::u16string css) {
  // Backwards from each ':', the run of capitals and hyphens before it.
  for (size_t i = 0; i < css.size(); ++i) {
    if (css[i] != u':') continue;
    size_t k = i;
    while (k > 0 && ((css[k - 1] >= u'A' && css[k - 1] <= u'Z') || css[k - 1] == u'-')) {
      --k;
      if (css[k] != u'-') css[k] += 32;
    }
  }
  return css;
}

// A comment that ends: one whose "-->" follows its "<!--" stays as it is; otherwise the
// characters of " -->" are matched from the end and each missing one is inserted (never into
// the opening "<!--"), so that "<!--a" and "<!--a--" both become "<!--a -->".
std::u16string TerminatedComment(std::u16string_view text) {
  std::u16string c(text);
  if (!StartsWithText(c, u"<!--")) return c;
  if (c.size() >= 7 && c.compare(c.size() - 3, 3, u"-->") == 0) return c;
  const std::u16string_view close = kCommentClose;
  size_t j = c.size();  // c[4, j) is what may still match
  for (size_t k = close.size(); k > 0; --k) {
    if (j > 4 && c[j - 1] == close[k - 1]) --j;
    else c.insert(j, 1, close[k - 1]);
  }
  return c;
}

std::u16string RewriteAddress(std::u16string_view value, bool isHref, bool isBase, const SourceContext& ctx) {
  bool efp = ctx.options.Has(Opt::ExcludeFileProtocol);
  bool ebu = ctx.options.Has(Opt::ExcludeBaseURL);
  bool backslash = ctx.options.Has(Opt::UseBackSlashAsPathDelimiter);
  auto unchanged = [&] { return isHref ? CanonicalUrl(value) : std::u16string(value); };
  auto relative = [&] {
    std::u16string rel = RelativePath(LocalPathOf(ctx.baseUrl, true), LocalPathOf(value, true));
    if (!backslash)
      for (char16_t& c : rel)
        if (c == u'\\') c = u'/';
    return rel;
  };
  if (efp && !ebu) return LocalPathOf(value, backslash);
  if (efp && ebu) {
    if (ctx.baseUrl.empty() || isBase) return LocalPathOf(value, backslash);
    return relative();
  }
  if (ebu) {
    if (ctx.baseUrl.empty() || isBase) return unchanged();
    std::u16string rel = RelativePath(LocalPathOf(ctx.baseUrl, true), LocalPathOf(value, true));
    for (char16_t& c : rel)
      if (c == u'\\') c = u'/';
    return rel;
  }
  return unchanged();
}

class Generator {
 public:
  Generator(const Document& doc, const SourceContext& ctx) : doc_(doc), ctx_(ctx), o_(ctx.options) {}

  // Walks element at level 0; false when the walk meets something it cannot write.
  bool Walk(const Node* root, std::u16string& out) {
    struct Frame {
      const Node* element;
      std::u16string name;
      bool indent;
      bool writeTags;
      size_t childrenStart;
      int level;
    };
    std::vector<Frame> stack;
    const Node* n = root;
    int level = 0;
    while (n) {
      bool descended = false;
      if (n->IsElement()) {
        Frame f{n, {}, false, false, 0, level};
        int result = StartElement(n, level, out, f.name, f.indent, f.writeTags);
        if (result < 0) return false;
        if (result == 1) {
          // Children walked (SCRIPT, STYLE and TITLE without children contribute nothing).
          f.childrenStart = out.size();
          if (n->firstChild) {
            stack.push_back(std::move(f));
            n = n->firstChild;
            ++level;
            descended = true;
          } else {
            FinishElement(f.element, f.name, f.indent, f.writeTags, f.childrenStart, f.level, out);
          }
        }
      } else if (n->IsText()) {
        std::u16string_view data = n->data;
        // Raw text (a script, a style sheet) has no references: it is written as it stands.
        if ((n->parent && IsRawTextTagId(n->parent->tagId)) || (data.size() >= 2 && data.substr(data.size() - 2) == u"?>"))
          out += data;
        else if (!IndentReplaces(n))
          out += EscapeSourceText(data, o_);
      } else if (n->type == NodeType::Comment) {
        WriteComment(n->data, out);
      } else {
        return false;  // a node kind the generator does not know
      }
      if (descended) continue;
      while (n != root && !n->next) {
        n = n->parent;
        --level;
        if (stack.empty() || stack.back().element != n) return false;
        Frame f = std::move(stack.back());
        stack.pop_back();
        FinishElement(f.element, f.name, f.indent, f.writeTags, f.childrenStart, f.level, out);
        if (n == root) break;
      }
      if (n == root) break;
      n = n->next;
    }
    return true;
  }

 private:
  void WriteComment(std::u16string_view text, std::u16string& out) {
    if (o_.Has(Opt::TerminateComments)) out += TerminatedComment(text);
    else out += text;
  }

  // Blanks between blocks show nothing; indented output puts its own line breaks there, and
  // writing them as well would add a line at every save that is read again.
  bool IndentReplaces(const Node* text) const {
    if (!o_.Has(Opt::IndentSource)) return false;
    for (char16_t c : text->data)
      if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != u'\f') return false;
    for (const Node* a = text->parent; a; a = a->parent)
      if (a->Is(TAGID_PRE) || a->Is(TAGID_XMP) || a->Is(TAGID_LISTING) || a->Is(TAGID_PLAINTEXT) || a->Is(TAGID_TEXTAREA))
        return false;
    auto block = [](const Node* n) { return n && n->IsElement() && IsBlockTag(n->tagId); };
    return block(text->prev) || block(text->next) || (!text->prev && block(text->parent)) ||
           (!text->next && block(text->parent));
  }

  void Indent(int level, std::u16string& out) {
    if (level == 0) return;
    out += u"\r\n";
    out.append(static_cast<size_t>(level) * 2, u' ');
  }

  // Writes the start tag. Returns -1 to fail, 0 when the element is done (nothing more,
  // children not walked), 1 when its children are to be walked.
  int StartElement(const Node* e, int level, std::u16string& out, std::u16string& name, bool& indent,
                   bool& writeTags) {
    if (doc_.SourceIndex(e) >= 0 && visited_.count(doc_.SourceIndex(e))) return 0;
    indent = o_.Has(Opt::IndentSource);
    bool empty = false;
    int id = e->tagId;
    writeTags = true;
    if (id == TAGID_GENERIC || id == TAGID_TC) {
      writeTags = false;
    } else if (id == TAGID_BASE && o_.Has(Opt::HideBaseElement)) {
      return 0;
    } else if (id >= 2 && id <= kLastClassicTagId) {
      name = TagNameOfId(id);
      if (IsInlineTagId(id)) indent = false;
      empty = IsEmptyTagId(id);
    } else {
      name = e->tagName;
      if (!name.empty() && name[0] == u'/') {
        std::u16string_view rest = std::u16string_view(name).substr(1);
        if (IsEmptyElementName(rest) && !o_.Has(Opt::TerminateEmptyElements)) {
          out += u"<" + (o_.Has(Opt::LowercaseElementNames) ? HtmlLowerCase(rest) : std::u16string(rest)) + u">";
        }
        return 0;
      }
      if (name.find(u':') != std::u16string::npos) return 0;
      if (IsInlineElementName(name)) indent = false;
      empty = IsEmptyElementName(name);
    }
    if (!writeTags) return 1;
    if (o_.Has(Opt::LowercaseElementNames)) name = HtmlLowerCase(name);
    for (const auto& item : ctx_.substitutions)
      if (HtmlSameText(item.OriginalTag, name)) name = item.ReplacementTag;

    std::u16string tag = u"<" + name;
    int written = WriteAttributes(e, tag);
    if (empty) {
      if (id == TAGID_META && written == 0) {
        MarkVisited(e);
        return 0;
      }
      if (indent) Indent(level, out);
      out += tag;
      if (o_.Has(Opt::TerminateEmptyElements)) out += o_.Has(Opt::AddSpaceInTerminatedEmptyElements) ? u" />" : u"/>";
      else out += u">";
      MarkVisited(e);
      return 0;
    }
    if (id == TAGID_FONT && written == 0) {
      writeTags = false;
      return 1;
    }
    if (indent) Indent(level, out);
    out += tag;
    out += u'>';
    return 1;
  }

  void FinishElement(const Node* e, const std::u16string& name, bool indent, bool writeTags, size_t childrenStart,
                     int level, std::u16string& out) {
    if (!writeTags) {
      MarkVisited(e);
      return;
    }
    if (indent && !e->Is(TAGID_PRE) && out.find(u"\r\n", childrenStart) != std::u16string::npos) {
      out += u"\r\n";
      out.append(static_cast<size_t>(level) * 2, u' ');
    }
    if (o_.Has(Opt::AddNbsp) && out.size() == childrenStart && !NeverFilled(e->tagId)) out += u"&nbsp;";
    out += u"</" + name + u">";
    MarkVisited(e);
  }

  void MarkVisited(const Node* e) {
    if (!e->Is(TAGID_PARAM)) visited_.insert(doc_.SourceIndex(e));
  }

  int WriteAttributes(const Node* e, std::u16string& tag) {
    int written = 0;
    bool quote = o_.Has(Opt::QuoteAttributeValues);
    for (const Attribute& a : e->attributes) {
      std::u16string attrName = a.name;
      std::u16string value = a.value;
      if (HtmlSameText(attrName, u"style")) {
        value = StyleText(e);
        if (o_.Has(Opt::LowercaseStylePropertyNames)) value = LowercaseStyleNames(value);
        if (value.empty()) continue;
      } else if ((HtmlSameText(attrName, u"align") || HtmlSameText(attrName, u"class")) && value.empty()) {
        continue;
      }
      if (HtmlSameText(attrName, u"DESIGNTIMESP") || HtmlSameText(attrName, u"DESIGNTIMEURL")) continue;
      if (e->Is(TAGID_META)) {
        if (HtmlSameText(attrName, u"content") &&
            (StartsWithText(value, u"MSHTML ") || value == u"Microsoft DHTML Editing Control"))
          continue;
        if (HtmlSameText(attrName, u"name") && HtmlSameText(value, u"GENERATOR")) continue;
        if (o_.Has(Opt::Preserve8BitCharacters) && HtmlSameText(attrName, u"content") &&
            HtmlSameText(value, u"text/html; charset=unicode")) {
          value = value.substr(0, value.size() - 7) + u"windows-";
          std::string cp = std::to_string(ctx_.ansiCodePage > 0 ? ctx_.ansiCodePage : 1252);
          value.append(cp.begin(), cp.end());
        }
      }
      if (o_.Has(Opt::LowercaseAttributeNames)) attrName = HtmlLowerCase(attrName);
      bool isHref = HtmlSameText(attrName, u"href");
      if (StartsWithText(value, kFileProtocol) || StartsWithText(value, kAboutBlank) ||
          StartsWithText(value, kAbout) || (isHref && !value.empty() && !UsesNetwork(value)))
        value = RewriteAddress(value, isHref, e->Is(TAGID_BASE), ctx_);
      if (IsBooleanAttributeName(attrName)) {
        if (HtmlSameText(value, u"false")) continue;
        if (o_.Has(Opt::UnminimizeBooleanAttributes)) tag += u" " + attrName + u"=" + QuoteAttributeValue(attrName, quote);
        else tag += u" " + attrName;
      } else {
        tag += u" " + attrName + u"=" + QuoteAttributeValue(value, quote);
      }
      ++written;
    }
    return written;
  }

  const Document& doc_;
  const SourceContext& ctx_;
  THtmlEditSourceCodeOptions o_;
  std::set<int> visited_;
};

std::u16string PrefixOf(const SourceContext& ctx) {
  const std::u16string& preserved = ctx.preservedSource;
  int at = HtmlPosText(u"<html>", preserved);
  int at2 = HtmlPosText(u"<html ", preserved);
  if (at <= 1 || (at2 > 1 && at2 < at)) at = at2;
  if (at <= 1) return {};
  std::u16string prefix = preserved.substr(0, static_cast<size_t>(at - 1));
  if (ctx.doctype != kDefaultDoctype) {
    std::u16string withBreak = std::u16string(kDefaultDoctype) + u"\r\n";
    int pos = HtmlPosText(withBreak, prefix);
    size_t len = withBreak.size();
    if (pos == 0) {
      pos = HtmlPosText(kDefaultDoctype, prefix);
      len = kDefaultDoctype.size();
    }
    if (pos > 0) {
      prefix.erase(static_cast<size_t>(pos - 1), len);
      if (!ctx.doctype.empty()) prefix.insert(static_cast<size_t>(pos - 1), ctx.doctype + u"\r\n");
    }
  }
  return prefix;
}

}  // namespace

std::u16string EscapeSourceText(std::u16string_view text, THtmlEditSourceCodeOptions options) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 8);
  bool entities = options.Has(Opt::UseEntityReferences);
  bool keep8bit = options.Has(Opt::Preserve8BitCharacters);
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      out += u"\r\n";
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      continue;
    }
    std::u16string_view name = EntityName(c);
    if (!name.empty() && (entities || c == u'<' || c == u'>' || c == u'&' || c == 0xA0)) {
      out += u'&';
      out += name;
      out += u';';
      continue;
    }
    if (c <= 127 || (keep8bit && RoundTripsAnsi(c))) {
      out += c;
      continue;
    }
    uint32_t cp = c;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((c - 0xD800u) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      cp = 0xFFFD;  // a lone half of a pair stands for nothing
    }
    std::string digits = std::to_string(cp);
    out += u"&#";
    out.append(digits.begin(), digits.end());
    out += u';';
  }
  return out;
}

std::u16string QuoteAttributeValue(std::u16string_view value, bool alwaysQuote) {
  bool needs = alwaysQuote || value.empty();
  for (char16_t c : value)
    if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'"' || c == u'\'' || c == u'=' || c == u'<' ||
        c == u'>' || c == u'`')
      needs = true;
  std::u16string out;
  if (needs) out += u'"';
  for (char16_t c : value) {
    if (c == u'&') out += u"&amp;";
    else if (c == u'"') out += u"&quot;";
    else out += c;
  }
  if (needs) out += u'"';
  return out;
}

std::u16string GenerateElementSource(const Document& doc, const Node* element, const SourceContext& ctx) {
  std::u16string out;
  Generator g(doc, ctx);
  if (!g.Walk(element, out)) return std::u16string(kErrorText);
  return out;
}

std::u16string GenerateSource(const Document& doc, const SourceContext& ctx) {
  std::vector<Node*> htmls = doc.ElementsByTagId(TAGID_HTML);
  if (htmls.size() != 1) return std::u16string(kErrorText);
  std::u16string out;
  out.reserve(ctx.preservedSource.size() + 1024);
  Generator g(doc, ctx);
  if (!g.Walk(htmls[0], out)) return std::u16string(kErrorText);
  std::u16string prefix = PrefixOf(ctx);
  if (!prefix.empty()) {
    if (prefix.size() < 2 || prefix.compare(prefix.size() - 2, 2, u"\r\n") != 0) prefix += u"\r\n";
    out.insert(0, prefix);
  }
  return out;
}

std::u16string MoveStrayContentIntoBody(std::u16string_view preserved) {
  std::u16string work(preserved);
  // Without the DOCTYPE and the comments, anything left before <html> is stray content.
  int d = HtmlPosText(u"<!DOCTYPE", work);
  if (d > 0) {
    size_t gt = work.find(u'>', static_cast<size_t>(d - 1));
    work.erase(static_cast<size_t>(d - 1), gt == std::u16string::npos ? std::u16string::npos : gt - (d - 1) + 1);
  }
  for (size_t c = work.find(u"<!--"); c != std::u16string::npos; c = work.find(u"<!--", c)) {
    size_t end = work.find(u"-->", c + 4);
    work.erase(c, end == std::u16string::npos ? std::u16string::npos : end + 3 - c);
  }
  size_t lead = 0;
  while (lead < work.size() && (work[lead] == u' ' || work[lead] == u'\r' || work[lead] == u'\n' || work[lead] == u'\t'))
    ++lead;
  work.erase(0, lead);
  int html = HtmlPosText(u"<html>", work);
  std::u16string result(preserved);
  if (html <= 1) return result;
  std::u16string stray = work.substr(0, static_cast<size_t>(html - 1));
  int body = HtmlPosText(u"<body>", result);
  size_t insertAt;
  if (body > 0) {
    insertAt = static_cast<size_t>(body - 1) + 6;
  } else {
    int bodyOpen = HtmlPosText(u"<body ", result);
    if (bodyOpen == 0) return result;
    size_t gt = result.find(u'>', static_cast<size_t>(bodyOpen - 1));
    if (gt == std::u16string::npos) return result;
    insertAt = gt + 1;
  }
  result.insert(insertAt, stray);
  // The stretch before <html> goes away.
  int htmlInResult = HtmlPosText(u"<html>", result);
  if (htmlInResult > 1) {
    int strayAt = HtmlPosText(stray, result.substr(0, static_cast<size_t>(htmlInResult - 1)));
    if (strayAt > 0) result.erase(static_cast<size_t>(strayAt - 1), stray.size());
  }
  return result;
}

std::u16string ReplaceTitle(std::u16string_view source, std::u16string_view title) {
  int open = HtmlPosText(u"<title>", source);
  if (open == 0) return std::u16string(source);
  size_t start = static_cast<size_t>(open - 1) + 7;
  int close = HtmlPosTextFrom(u"</title>", source, static_cast<int>(start) + 1);
  if (close == 0) return std::u16string(source);
  std::u16string out(source.substr(0, start));
  out += EscapeSourceText(title, THtmlEditSourceCodeOptions::None());
  out += source.substr(static_cast<size_t>(close - 1));
  return out;
}

std::u16string UnescapeHrefAmpersands(std::u16string_view source) {
  std::u16string out;
  size_t pos = 0;
  while (true) {
    int at = HtmlPosTextFrom(u"href=\"", source, static_cast<int>(pos) + 1);
    if (at == 0) break;
    size_t valueStart = static_cast<size_t>(at - 1) + 6;
    size_t valueEnd = source.find(u'"', valueStart);
    if (valueEnd == std::u16string_view::npos) break;
    out += source.substr(pos, valueStart - pos);
    out += HtmlReplaceText(source.substr(valueStart, valueEnd - valueStart), u"&amp;", u"&", true, false);
    pos = valueEnd;
  }
  out += source.substr(pos);
  return out;
}

std::u16string RestoreHeadScripts(std::u16string_view preserved, std::u16string_view generated) {
  auto head = [](std::u16string_view s, size_t& start, size_t& end) {
    int a = HtmlPosText(u"<head>", s);
    int b = HtmlPosText(u"</head>", s);
    if (a == 0 || b == 0 || b < a) return false;
    start = static_cast<size_t>(a - 1);
    end = static_cast<size_t>(b - 1);
    return true;
  };
  size_t ps, pe, gs, ge;
  if (!head(preserved, ps, pe) || !head(generated, gs, ge)) return std::u16string(generated);
  std::u16string_view genHead = generated.substr(gs, ge - gs);
  if (HtmlPosText(u"<script", genHead) > 0) return std::u16string(generated);
  std::u16string_view preHead = preserved.substr(ps, pe - ps);
  std::u16string scripts;
  int from = 1;
  while (true) {
    int s = HtmlPosTextFrom(u"<script", preHead, from);
    if (s == 0) break;
    int e = HtmlPosTextFrom(u"</script>", preHead, s);
    if (e == 0) break;
    size_t end = static_cast<size_t>(e - 1) + 9;
    scripts += preHead.substr(static_cast<size_t>(s - 1), end - static_cast<size_t>(s - 1));
    scripts += u"\r\n";
    from = static_cast<int>(end) + 1;
  }
  std::u16string out(generated);
  if (!scripts.empty()) out.insert(ge, scripts);
  return out;
}

std::u16string GetSourceText(const Document& doc, bool ready, bool preservation, const SourceContext& ctx) {
  if (!ready) return std::u16string(kBusyText);
  if (preservation) {
    std::u16string text = ctx.preservedSource;
    if (text.empty()) return text;
    text = MoveStrayContentIntoBody(text);
    text = ReplaceTitle(text, doc.Title());
    return UnescapeHrefAmpersands(text);
  }
  std::u16string generated = GenerateSource(doc, ctx);
  if (generated == kErrorText) return generated;
  return RestoreHeadScripts(ctx.preservedSource, generated);
}

std::u16string StripDesignTimeAttributes(std::u16string_view html) {
  std::u16string out(html);
  for (std::u16string_view name : {u" DESIGNTIMEURL=", u" DESIGNTIMESP="}) {
    while (true) {
      int at = HtmlPosText(name, out);
      if (at == 0) break;
      size_t start = static_cast<size_t>(at - 1);
      size_t value = start + name.size();
      size_t end;
      if (value < out.size() && out[value] == u'"') {  // through the closing quote
        size_t close = out.find(u'"', value + 1);
        end = close == std::u16string::npos ? out.size() : close + 1;
      } else {  // an unquoted value ends at a blank or the tag's end
        end = out.find_first_of(u" \t\r\n>", value);
        if (end == std::u16string::npos) end = out.size();
        if (end > value && out[end - 1] == u'/' && end < out.size() && out[end] == u'>') --end;
      }
      out.erase(start, end - start);
    }
  }
  size_t a = 0, b = out.size();
  while (a < b && (out[a] == u' ' || out[a] == u'\r' || out[a] == u'\n' || out[a] == u'\t')) ++a;
  while (b > a && (out[b - 1] == u' ' || out[b - 1] == u'\r' || out[b - 1] == u'\n' || out[b - 1] == u'\t')) --b;
  return out.substr(a, b - a);
}

}  // namespace htmledit
