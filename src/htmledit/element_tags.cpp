#include "htmledit/element_tags.h"

#include <array>
#include <string>
#include <unordered_map>

namespace htmledit {

namespace {
constexpr std::array<std::u16string_view, kLastClassicTagId + 1> kNames = {
    u"", u"", u"A", u"ACRONYM", u"ADDRESS", u"APPLET", u"AREA", u"B", u"BASE", u"BASEFONT", u"BDO",
    u"BGSOUND", u"BIG", u"BLINK", u"BLOCKQUOTE", u"BODY", u"BR", u"BUTTON", u"CAPTION", u"CENTER",
    u"CITE", u"CODE", u"COL", u"COLGROUP", u"COMMENT", u"COMMENT_RAW", u"DD", u"DEL", u"DFN", u"DIR",
    u"DIV", u"DL", u"DT", u"EM", u"EMBED", u"FIELDSET", u"FONT", u"FORM", u"FRAME", u"FRAMESET",
    u"GENERIC", u"H1", u"H2", u"H3", u"H4", u"H5", u"H6", u"HEAD", u"HR", u"HTML", u"I", u"IFRAME",
    u"IMG", u"INPUT", u"INS", u"KBD", u"LABEL", u"LEGEND", u"LI", u"LINK", u"LISTING", u"MAP",
    u"MARQUEE", u"MENU", u"META", u"NEXTID", u"NOBR", u"NOEMBED", u"NOFRAMES", u"NOSCRIPT", u"OBJECT",
    u"OL", u"OPTION", u"P", u"PARAM", u"PLAINTEXT", u"PRE", u"Q", u"RP", u"RT", u"RUBY", u"S", u"SAMP",
    u"SCRIPT", u"SELECT", u"SMALL", u"SPAN", u"STRIKE", u"STRONG", u"STYLE", u"SUB", u"SUP", u"TABLE",
    u"TBODY", u"TC", u"TD", u"TEXTAREA", u"TFOOT", u"TH", u"THEAD", u"TITLE", u"TR", u"TT", u"U", u"UL",
    u"VAR", u"WBR", u"XMP", u"ROOT", u"OPTGROUP", u"ABBR"};
}  // namespace

int TagIdOfName(std::u16string_view name) {
  static const std::unordered_map<std::u16string, int> byName = [] {
    std::unordered_map<std::u16string, int> m;
    for (int id = 2; id <= kLastClassicTagId; ++id) {
      // Pseudo-elements of the markup services are not tag names of a document.
      if (id == TAGID_COMMENT_RAW || id == TAGID_GENERIC || id == TAGID_ROOT || id == TAGID_TC) continue;
      m.emplace(std::u16string(kNames[id]), id);
    }
    return m;
  }();
  if (name.size() > 16) return TAGID_UNKNOWN;
  std::u16string upper(name);
  for (char16_t& c : upper)
    if (c >= u'a' && c <= u'z') c -= 32;
  auto it = byName.find(upper);
  return it == byName.end() ? TAGID_UNKNOWN : it->second;
}

std::u16string_view TagNameOfId(int id) {
  if (id < 2 || id > kLastClassicTagId) return {};
  return kNames[id];
}

bool IsRawTextTagId(int id) {
  return id == TAGID_SCRIPT || id == TAGID_STYLE || id == TAGID_XMP || id == TAGID_PLAINTEXT ||
         id == TAGID_NOEMBED || id == TAGID_NOFRAMES || id == TAGID_IFRAME;
}

}  // namespace htmledit
