#include "htmledit/glyph_table.h"

#include <array>

namespace htmledit {

namespace {
struct GlyphEntry {
  std::u16string_view tag, image;
  std::array<int, 8> fields;
};

constexpr std::array<GlyphEntry, 14> kGlyphs{{
    {u"p", u"pbgn", {0, 3, 3, 4, 20, 15, 20, 15}},
    {u"p", u"pend", {1, 3, 3, 4, 20, 15, 20, 15}},
    {u"div", u"divbgn", {0, 3, 3, 4, 43, 14, 43, 14}},
    {u"div", u"divend", {1, 3, 3, 4, 43, 14, 43, 14}},
    {u"span", u"spanbgn", {0, 3, 3, 4, 43, 14, 43, 14}},
    {u"span", u"spanend", {1, 3, 3, 4, 43, 14, 43, 14}},
    {u"form", u"formbgn", {0, 3, 3, 4, 43, 14, 43, 14}},
    {u"form", u"formend", {1, 3, 3, 4, 43, 14, 43, 14}},
    {u"comment", u"comments", {0, 3, 3, 4, 20, 15, 20, 15}},
    {u"br", u"br", {0, 3, 3, 4, 20, 15, 20, 15}},
    {u"style", u"style", {0, 3, 3, 4, 20, 15, 20, 15}},
    {u"script", u"clientsc", {0, 3, 3, 4, 20, 15, 20, 15}},
    {u"img", u"anchorwi", {0, 0, 3, 4, 20, 15, 20, 15}},
    {u"img", u"anchorwi", {0, 2, 3, 4, 20, 15, 20, 15}},
}};

std::u16string Number(int n) {
  std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}
}  // namespace

std::u16string GlyphTableText(std::u16string_view modulePath) {
  std::u16string out;
  bool first = true;
  for (const GlyphEntry& g : kGlyphs) {
    out += u"%%";
    out += g.tag;
    // The first address is written "res://"; the later ones "res:/" then "/": all read alike.
    out += first ? u"^^%%res://" : u"^^%%res:/" u"/";
    first = false;
    out += modulePath;
    out += u"/GIF/IDR_";
    out += g.image;
    out += u"^^";
    for (int f : g.fields) out += u"%%" + Number(f) + u"^^";
    out += u"**";
  }
  return out;
}

}  // namespace htmledit
