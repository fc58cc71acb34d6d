// Element tag ids: the values of the published ELEMENT_TAG_ID enumeration of the markup
// services, so that the source generator's id sets read as the platform's do. Only the
// classic ids 2..110 are named here; every other element is TAGID_UNKNOWN.
#pragma once

#include <string_view>

namespace htmledit {

enum TagId : int {
  TAGID_NULL = 0, TAGID_UNKNOWN = 1, TAGID_A = 2, TAGID_ACRONYM = 3, TAGID_ADDRESS = 4, TAGID_APPLET = 5,
  TAGID_AREA = 6, TAGID_B = 7, TAGID_BASE = 8, TAGID_BASEFONT = 9, TAGID_BDO = 10, TAGID_BGSOUND = 11,
  TAGID_BIG = 12, TAGID_BLINK = 13, TAGID_BLOCKQUOTE = 14, TAGID_BODY = 15, TAGID_BR = 16,
  TAGID_BUTTON = 17, TAGID_CAPTION = 18, TAGID_CENTER = 19, TAGID_CITE = 20, TAGID_CODE = 21,
  TAGID_COL = 22, TAGID_COLGROUP = 23, TAGID_COMMENT = 24, TAGID_COMMENT_RAW = 25, TAGID_DD = 26,
  TAGID_DEL = 27, TAGID_DFN = 28, TAGID_DIR = 29, TAGID_DIV = 30, TAGID_DL = 31, TAGID_DT = 32,
  TAGID_EM = 33, TAGID_EMBED = 34, TAGID_FIELDSET = 35, TAGID_FONT = 36, TAGID_FORM = 37,
  TAGID_FRAME = 38, TAGID_FRAMESET = 39, TAGID_GENERIC = 40, TAGID_H1 = 41, TAGID_H2 = 42,
  TAGID_H3 = 43, TAGID_H4 = 44, TAGID_H5 = 45, TAGID_H6 = 46, TAGID_HEAD = 47, TAGID_HR = 48,
  TAGID_HTML = 49, TAGID_I = 50, TAGID_IFRAME = 51, TAGID_IMG = 52, TAGID_INPUT = 53, TAGID_INS = 54,
  TAGID_KBD = 55, TAGID_LABEL = 56, TAGID_LEGEND = 57, TAGID_LI = 58, TAGID_LINK = 59,
  TAGID_LISTING = 60, TAGID_MAP = 61, TAGID_MARQUEE = 62, TAGID_MENU = 63, TAGID_META = 64,
  TAGID_NEXTID = 65, TAGID_NOBR = 66, TAGID_NOEMBED = 67, TAGID_NOFRAMES = 68, TAGID_NOSCRIPT = 69,
  TAGID_OBJECT = 70, TAGID_OL = 71, TAGID_OPTION = 72, TAGID_P = 73, TAGID_PARAM = 74,
  TAGID_PLAINTEXT = 75, TAGID_PRE = 76, TAGID_Q = 77, TAGID_RP = 78, TAGID_RT = 79, TAGID_RUBY = 80,
  TAGID_S = 81, TAGID_SAMP = 82, TAGID_SCRIPT = 83, TAGID_SELECT = 84, TAGID_SMALL = 85,
  TAGID_SPAN = 86, TAGID_STRIKE = 87, TAGID_STRONG = 88, TAGID_STYLE = 89, TAGID_SUB = 90,
  TAGID_SUP = 91, TAGID_TABLE = 92, TAGID_TBODY = 93, TAGID_TC = 94, TAGID_TD = 95,
  TAGID_TEXTAREA = 96, TAGID_TFOOT = 97, TAGID_TH = 98, TAGID_THEAD = 99, TAGID_TITLE = 100,
  TAGID_TR = 101, TAGID_TT = 102, TAGID_U = 103, TAGID_UL = 104, TAGID_VAR = 105, TAGID_WBR = 106,
  TAGID_XMP = 107, TAGID_ROOT = 108, TAGID_OPTGROUP = 109, TAGID_ABBR = 110,
};

inline constexpr int kLastClassicTagId = TAGID_ABBR;

// The id of a tag name (any case); TAGID_UNKNOWN for names outside the table.
int TagIdOfName(std::u16string_view name);
// The standard (upper-case) name of an id 2..110; empty otherwise.
std::u16string_view TagNameOfId(int id);

// Elements whose text is markup-free raw text, written as it stands (no references):
// SCRIPT, STYLE, XMP, PLAINTEXT, NOEMBED, NOFRAMES, IFRAME.
bool IsRawTextTagId(int id);

}  // namespace htmledit
