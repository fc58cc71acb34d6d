#include "htmledit/rtf_view.h"

#include <algorithm>
#include <vector>

namespace htmledit {

namespace {

void AppendRtfText(std::string& out, std::u16string_view text) {
  for (char16_t c : text) {
    if (c == u'\\' || c == u'{' || c == u'}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == u'\t') {
      out += "\\tab ";
    } else if (c == kCellLineBreak) {
      out += "\\u11?";
    } else if (c >= 0x20 && c < 0x80) {
      out += static_cast<char>(c);
    } else {
      // \uN with a one-character fallback; N is a signed 16-bit number.
      out += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
    }
  }
}

// The text of [a, b) with each IMG's placeholder replaced by its picture where there is one.
void AppendRunText(std::string& out, const BodyText& layout, int a, int b, const PictureRtfLookup& pictures) {
  const std::u16string_view text = layout.Text();
  int from = a;
  for (int i = a; pictures && i < b; ++i) {
    if (text[static_cast<size_t>(i)] != kObjectPlaceholder) continue;
    const int run = layout.RunAt(i);
    if (run < 0) continue;
    const TextRun& r = layout.Runs()[static_cast<size_t>(run)];
    if (r.kind != TextRun::Object || r.picture < 0) continue;
    const std::string picture = pictures(layout.Pictures()[static_cast<size_t>(r.picture)]);
    if (picture.empty()) continue;
    AppendRtfText(out, text.substr(static_cast<size_t>(from), static_cast<size_t>(i - from)));
    out += picture;
    from = i + 1;
  }
  AppendRtfText(out, text.substr(static_cast<size_t>(from), static_cast<size_t>(b - from)));
}

// One to four bytes of v, the lowest first.
void AppendLittleEndian(std::string& out, uint32_t v, int bytes) {
  for (int k = 0; k < bytes && k < 4; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
}

}  // namespace

ViewPicture PictureOnWhite(int width, int height, const uint8_t* bgra) {
  ViewPicture p;
  if (width <= 0 || height <= 0 || !bgra) return p;
  p.width = width;
  p.height = height;
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  p.bits.assign(stride * static_cast<size_t>(height), '\0');
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = bgra + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
    char* dst = p.bits.data() + static_cast<size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x, src += 4)
      for (int c = 0; c < 3; ++c) dst[x * 3 + c] = static_cast<char>((src[c] * src[3] + 255 * (255 - src[3]) + 127) / 255);
  }
  return p;
}

std::string PictureRtf(const ViewPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0 || picture.bits.empty()) return {};
  std::string dib;
  dib.reserve(44 + picture.bits.size());
  AppendLittleEndian(dib, 40, 4);  // BITMAPINFOHEADER: size, width, height (bottom-up), planes, 24 bits
  AppendLittleEndian(dib, static_cast<uint32_t>(picture.width), 4);
  AppendLittleEndian(dib, static_cast<uint32_t>(picture.height), 4);
  AppendLittleEndian(dib, 1, 2);
  AppendLittleEndian(dib, 24, 2);
  AppendLittleEndian(dib, 0, 4);  // BI_RGB
  AppendLittleEndian(dib, static_cast<uint32_t>(picture.bits.size()), 4);
  dib.append(16, '\0');  // resolution, colours used and important
  // Wine's RichEdit reads the bits after a whole BITMAPINFO, one colour entry included.
  dib.append(4, '\0');
  dib += picture.bits;
  static const char kHex[] = "0123456789abcdef";
  std::string out = "{\\pict\\dibitmap0\\picw" + std::to_string(picture.width) + "\\pich" +
                    std::to_string(picture.height) + "\\picwgoal" + std::to_string(picture.width * 15) +
                    "\\pichgoal" + std::to_string(picture.height * 15) + " ";
  out.reserve(out.size() + dib.size() * 2 + 1);
  for (unsigned char c : dib) {
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
  out += '}';
  return out;
}

std::string BodyTextToRtf(const BodyText& layout, const PictureRtfLookup& pictures, std::u16string_view defaultFace,
                          int defaultHalfPoints) {
  return ParagraphsToRtf(layout, 0, layout.Paragraphs().size(), pictures, defaultFace, defaultHalfPoints);
}

std::string ParagraphsToRtf(const BodyText& layout, size_t first, size_t count, const PictureRtfLookup& pictures,
                            std::u16string_view defaultFace, int defaultHalfPoints) {
  const size_t paragraphs = layout.Paragraphs().size();
  first = std::min(first, paragraphs);
  count = std::min(count, paragraphs - first);
  std::vector<std::u16string> faces{std::u16string(defaultFace)};
  std::vector<int32_t> colors;
  auto faceIndex = [&](const std::u16string& f) {
    if (f.empty()) return 0;
    auto it = std::find(faces.begin(), faces.end(), f);
    if (it != faces.end()) return static_cast<int>(it - faces.begin());
    faces.push_back(f);
    return static_cast<int>(faces.size() - 1);
  };
  auto colorIndex = [&](int32_t c) {
    if (c < 0) return 0;
    auto it = std::find(colors.begin(), colors.end(), c);
    if (it != colors.end()) return static_cast<int>(it - colors.begin()) + 1;
    colors.push_back(c);
    return static_cast<int>(colors.size());
  };
  const std::vector<CharFormat>& formats = layout.Formats();
  std::vector<int> formatFace(formats.size()), formatColor(formats.size());
  for (size_t i = 0; i < formats.size(); ++i) {
    formatFace[i] = faceIndex(formats[i].face);
    formatColor[i] = colorIndex(formats[i].color);
  }

  std::string body;
  const std::vector<TextRun>& runs = layout.Runs();
  size_t run = 0;
  if (count > 0 && layout.Length() > 0) {
    const int at = layout.RunAt(layout.Paragraphs()[first].start);
    run = at < 0 ? 0 : static_cast<size_t>(at);
  }
  for (size_t p = first; p < first + count; ++p) {
    const Paragraph& para = layout.Paragraphs()[p];
    const ParaFormat& pf = layout.ParaFormats()[para.format];
    body += "\\pard";
    switch (pf.align) {
      case ParaAlign::Center: body += "\\qc"; break;
      case ParaAlign::Right: body += "\\qr"; break;
      case ParaAlign::Justify: body += "\\qj"; break;
      default: body += "\\ql"; break;
    }
    if (pf.indentLevel > 0) body += "\\li" + std::to_string(pf.indentLevel * 360);
    for (int stop : pf.tabStops) body += "\\tx" + std::to_string(stop);
    if (pf.list == ListKind::Bullet) body += "{\\*\\pn\\pnlvlblt\\pnindent360{\\pntxtb\\u8226?}}";
    if (pf.list == ListKind::Number)
      body += "{\\*\\pn\\pnlvlbody\\pndec\\pnstart" + std::to_string(std::max(1, pf.listNumber)) +
              "\\pnindent360{\\pntxta.}}";
    // The runs follow as groups: no blank, which would be text after a group.
    while (run < runs.size() && runs[run].start + runs[run].length <= para.start && runs[run].start < para.start) ++run;
    while (run < runs.size() && runs[run].start < para.end) {
      const TextRun& r = runs[run];
      int a = std::max(r.start, para.start), b = std::min(r.start + r.length, para.end);
      // Neighbouring runs of one format are one group.
      while (run + 1 < runs.size() && runs[run + 1].format == r.format && runs[run + 1].start < para.end &&
             runs[run].start + runs[run].length <= para.end) {
        ++run;
        b = std::min(runs[run].start + runs[run].length, para.end);
      }
      if (b > a) {
        const CharFormat& f = formats[r.format];
        body += "{\\f" + std::to_string(formatFace[r.format]);
        body += "\\fs" + std::to_string(f.halfPoints > 0 ? f.halfPoints : defaultHalfPoints);
        if (formatColor[r.format]) body += "\\cf" + std::to_string(formatColor[r.format]);
        if (f.bold) body += "\\b";
        if (f.italic) body += "\\i";
        if (f.underline) body += "\\ul";
        body += ' ';
        AppendRunText(body, layout, a, b, pictures);
        body += '}';
      }
      if (runs[run].start + runs[run].length > para.end) break;
      ++run;
    }
    if (p + 1 < paragraphs) body += "\\par\r\n";
  }

  std::string out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1{\\fonttbl";
  for (size_t i = 0; i < faces.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset134 ";
    AppendRtfText(out, faces[i]);
    out += ";}";
  }
  out += "}{\\colortbl ;";
  for (int32_t c : colors)
    out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) + "\\blue" +
           std::to_string((c >> 16) & 0xFF) + ";";
  out += "}\r\n" + body + "}";
  return out;
}

namespace {

// Whether paragraph i of a and paragraph j of b show the same: text, character formats and
// paragraph format.
bool SameParagraph(const BodyText& a, size_t i, const BodyText& b, size_t j) {
  const Paragraph& pa = a.Paragraphs()[i];
  const Paragraph& pb = b.Paragraphs()[j];
  const int len = pa.end - pa.start;
  if (len != pb.end - pb.start) return false;
  if (!(a.ParaFormats()[pa.format] == b.ParaFormats()[pb.format])) return false;
  if (a.Text().compare(static_cast<size_t>(pa.start), static_cast<size_t>(len), b.Text(),
                       static_cast<size_t>(pb.start), static_cast<size_t>(len)) != 0)
    return false;
  if (len == 0) return true;
  // The character formats, run by run: both runs cover the text up to k.
  size_t ra = static_cast<size_t>(a.RunAt(pa.start)), rb = static_cast<size_t>(b.RunAt(pb.start));
  for (int k = 0; k < len;) {
    if (ra >= a.Runs().size() || rb >= b.Runs().size()) return false;
    const TextRun& x = a.Runs()[ra];
    const TextRun& y = b.Runs()[rb];
    if (!(a.Formats()[static_cast<size_t>(x.format)] == b.Formats()[static_cast<size_t>(y.format)])) return false;
    // The same placeholder may stand for another picture.
    if ((x.picture >= 0) != (y.picture >= 0) ||
        (x.picture >= 0 && !(a.Pictures()[static_cast<size_t>(x.picture)] == b.Pictures()[static_cast<size_t>(y.picture)])))
      return false;
    const int endX = x.start + x.length - pa.start, endY = y.start + y.length - pb.start;
    k = std::min(endX, endY);
    if (endX == k) ++ra;
    if (endY == k) ++rb;
  }
  return true;
}

}  // namespace

ParagraphChange DiffParagraphs(const BodyText& before, const BodyText& after) {
  const size_t na = before.Paragraphs().size(), nb = after.Paragraphs().size();
  size_t first = 0;
  while (first < na && first < nb && SameParagraph(before, first, after, first)) ++first;
  if (first == na && first == nb) return {};
  size_t tail = 0;
  while (tail < na - first && tail < nb - first && SameParagraph(before, na - 1 - tail, after, nb - 1 - tail)) ++tail;
  ParagraphChange change{first, na - first - tail, nb - first - tail};
  // The last paragraph has no mark of its own in the text: the one before it gives it.
  if (tail == 0 && change.first > 0) {
    --change.first;
    ++change.oldCount;
    ++change.newCount;
  }
  return change;
}

std::pair<int, int> ParagraphRange(const BodyText& layout, size_t first, size_t count) {
  const auto& paras = layout.Paragraphs();
  if (first >= paras.size()) return {layout.Length(), layout.Length()};
  const int start = paras[first].start;
  const int end = first + count < paras.size() ? paras[first + count].start : layout.Length();
  return {start, end};
}

}  // namespace htmledit
