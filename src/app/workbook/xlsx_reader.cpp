// The .xlsx/.xlsm reader: the package's relationships lead to the workbook, its active sheet,
// the shared strings and the styles (which number formats are dates).
#include <cstdlib>
#include <map>
#include <optional>

#include "app/workbook/cell_text.h"
#include "app/workbook/workbook_reader.h"
#include "app/workbook/xml_scanner.h"
#include "app/workbook/zip_archive.h"
#include "unicode/codepage.h"

namespace app {

namespace {
using Token = XmlScanner::Token;

[[noreturn]] void Damaged() { throw WorkbookFailure(WorkbookError::Damaged); }

std::string Folder(std::string_view part) {
  const std::size_t slash = part.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

// A relationship target relative to the folder of its source part, "../" resolved.
std::string ResolveTarget(const std::string& sourceFolder, std::string_view target) {
  std::string joined = !target.empty() && target.front() == '/' ? std::string(target.substr(1))
                                                                 : sourceFolder + std::string(target);
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= joined.size()) {
    const std::size_t slash = joined.find('/', start);
    const std::string piece = joined.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (piece == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!piece.empty() && piece != ".") {
      parts.push_back(piece);
    }
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "/") + p;
  return out;
}

struct Relationship {
  std::string type;  // the last segment of the type URI ("officeDocument", "worksheet", ...)
  std::string target;
};

std::map<std::string, Relationship> ReadRelationships(const ZipArchive& zip, const std::string& part,
                                                      const WorkbookLimits& limits) {
  const std::string folder = Folder(part);
  const std::string name = folder + "_rels/" + part.substr(folder.size()) + ".rels";
  std::map<std::string, Relationship> rels;
  const std::optional<std::string> xml = zip.read(name, limits.maxPartBytes);
  if (!xml) return rels;
  XmlScanner scan(*xml);
  for (Token t; (t = scan.next()) != Token::End;) {
    if (t != Token::StartTag || scan.name() != "Relationship") continue;
    if (scan.attribute("TargetMode").value_or("") == "External") continue;
    const std::string type = scan.attribute("Type").value_or("");
    rels[scan.attribute("Id").value_or("")] = {type.substr(type.rfind('/') + 1),
                                               ResolveTarget(folder, scan.attribute("Target").value_or(""))};
  }
  return rels;
}

std::optional<std::string> TargetOfType(const std::map<std::string, Relationship>& rels, std::string_view type) {
  for (const auto& [id, rel] : rels) {
    if (rel.type == type) return rel.target;
  }
  return std::nullopt;
}

bool TrueAttribute(const std::optional<std::string>& value) { return value && (*value == "1" || *value == "true"); }

long ParseLong(const std::optional<std::string>& value, long fallback) {
  if (!value || value->empty()) return fallback;
  char* end = nullptr;
  const long v = std::strtol(value->c_str(), &end, 10);
  return *end == '\0' ? v : fallback;
}

// The text of a rich or plain string item (<si>, <is>): every <t> but those of phonetic runs.
std::u16string StringItem(XmlScanner& scan, std::string_view itemTag) {
  std::string utf8;
  int phonetic = 0;
  bool inText = false;
  for (Token t; (t = scan.next()) != Token::End;) {
    if (t == Token::StartTag) {
      if (scan.name() == "rPh") ++phonetic;
      else if (scan.name() == "t") inText = !scan.selfClosing();
    } else if (t == Token::EndTag) {
      if (scan.name() == "rPh") --phonetic;
      else if (scan.name() == "t") inText = false;
      else if (scan.name() == itemTag) return unicode::Utf8ToUtf16(utf8);
    } else if (t == Token::Text && inText && phonetic == 0) {
      utf8 += scan.text();
    }
  }
  Damaged();
}

std::vector<std::u16string> ReadSharedStrings(const ZipArchive& zip, const std::optional<std::string>& part,
                                              const WorkbookLimits& limits) {
  std::vector<std::u16string> strings;
  if (!part) return strings;
  const std::optional<std::string> xml = zip.read(*part, limits.maxPartBytes);
  if (!xml) return strings;
  XmlScanner scan(*xml);
  for (Token t; (t = scan.next()) != Token::End;) {
    if (t == Token::StartTag && scan.name() == "si") {
      strings.push_back(scan.selfClosing() ? std::u16string() : StringItem(scan, "si"));
    }
  }
  return strings;
}

// Whether each cell format (index into cellXfs) shows dates.
std::vector<bool> ReadDateStyles(const ZipArchive& zip, const std::optional<std::string>& part,
                                 const WorkbookLimits& limits) {
  std::vector<bool> dateStyles;
  if (!part) return dateStyles;
  const std::optional<std::string> xml = zip.read(*part, limits.maxPartBytes);
  if (!xml) return dateStyles;
  std::map<long, std::string> codes;
  XmlScanner scan(*xml);
  bool inCellXfs = false;
  for (Token t; (t = scan.next()) != Token::End;) {
    if (t == Token::StartTag) {
      if (scan.name() == "numFmt") {
        codes[ParseLong(scan.attribute("numFmtId"), -1)] = scan.attribute("formatCode").value_or("");
      } else if (scan.name() == "cellXfs") {
        inCellXfs = !scan.selfClosing();
      } else if (scan.name() == "xf" && inCellXfs) {
        const long id = ParseLong(scan.attribute("numFmtId"), 0);
        const auto code = codes.find(id);
        dateStyles.push_back(IsDateFormat(static_cast<int>(id), code == codes.end() ? "" : code->second));
      }
    } else if (t == Token::EndTag && scan.name() == "cellXfs") {
      inCellXfs = false;
    }
  }
  return dateStyles;
}

// "B3" -> row 2, column 1; false for anything else.
bool ParseReference(std::string_view ref, std::uint32_t& row, std::uint32_t& col) {
  std::size_t i = 0;
  std::uint64_t c = 0, r = 0;
  while (i < ref.size() && ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
    c = c * 26 + static_cast<std::uint64_t>((ref[i] | 0x20) - 'a' + 1);
    if (c > 16384) return false;
    ++i;
  }
  if (i == 0 || i == ref.size()) return false;
  for (; i < ref.size(); ++i) {
    if (ref[i] < '0' || ref[i] > '9') return false;
    r = r * 10 + static_cast<std::uint64_t>(ref[i] - '0');
    if (r > 1048576) return false;
  }
  if (r == 0) return false;
  row = static_cast<std::uint32_t>(r - 1);
  col = static_cast<std::uint32_t>(c - 1);
  return true;
}

std::optional<double> ParseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (*end != '\0') return std::nullopt;
  return value;
}

// An ISO 8601 date ("2024-01-05" or "2024-01-05T13:45:00") of a t="d" cell as a serial.
std::optional<double> IsoDateSerial(const std::string& text, bool dates1904) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0;
  double s = 0;
  const int n = std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%lf", &y, &mo, &d, &h, &mi, &s);
  if (n < 3 || mo < 1 || mo > 12 || d < 1 || d > 31) return std::nullopt;
  // Days from 1970-01-01 (civil), then to the workbook's system.
  const int yy = y - (mo <= 2);
  const int era = (yy >= 0 ? yy : yy - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(yy - era * 400);
  const unsigned doy = static_cast<unsigned>((153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1);
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const long long days = static_cast<long long>(era) * 146097 + static_cast<long long>(doe) - 719468;
  double serial = static_cast<double>(days) + (dates1904 ? 24107 : 25569);
  if (!dates1904 && serial < 61) serial -= 1;
  return serial + (h * 3600 + mi * 60 + s) / 86400.0;
}

struct SheetContext {
  const std::vector<std::u16string>& strings;
  const std::vector<bool>& dateStyles;
  bool dates1904;
};

// One <c> element (the scanner stands on its start tag): its text, or nothing without a value.
std::optional<std::u16string> CellValue(XmlScanner& scan, const SheetContext& ctx) {
  const std::string type = scan.attribute("t").value_or("n");
  const long style = ParseLong(scan.attribute("s"), 0);
  if (scan.selfClosing()) {
    scan.next();
    return std::nullopt;
  }
  std::optional<std::string> value;
  std::optional<std::u16string> inlineText;
  bool inValue = false;
  for (Token t; (t = scan.next()) != Token::End;) {
    if (t == Token::StartTag) {
      if (scan.name() == "v") {
        inValue = !scan.selfClosing();
        if (inValue) value = std::string();
      } else if (scan.name() == "is" && !scan.selfClosing()) {
        inlineText = StringItem(scan, "is");
      }
    } else if (t == Token::EndTag) {
      if (scan.name() == "v") inValue = false;
      else if (scan.name() == "c") break;
    } else if (t == Token::Text && inValue) {
      *value += scan.text();
    }
  }
  if (type == "inlineStr") return inlineText;
  if (!value) return std::nullopt;
  if (type == "s") {
    const long index = ParseLong(value, -1);
    if (index < 0 || static_cast<std::size_t>(index) >= ctx.strings.size()) Damaged();
    return ctx.strings[static_cast<std::size_t>(index)];
  }
  if (type == "str" || type == "e") return unicode::Utf8ToUtf16(*value);
  if (type == "b") return BoolText(*value == "1" || *value == "true");
  if (type == "d") {
    const std::optional<double> serial = IsoDateSerial(*value, ctx.dates1904);
    return serial ? DateText(*serial, ctx.dates1904) : unicode::Utf8ToUtf16(*value);
  }
  const std::optional<double> number = ParseNumber(*value);
  if (!number) return unicode::Utf8ToUtf16(*value);
  const bool isDate = style >= 0 && static_cast<std::size_t>(style) < ctx.dateStyles.size() &&
                      ctx.dateStyles[static_cast<std::size_t>(style)];
  return isDate ? DateText(*number, ctx.dates1904) : NumberText(*number);
}

void ReadSheet(std::string_view xml, const SheetContext& ctx, SheetCells& cells) {
  XmlScanner scan(xml);
  std::uint32_t row = 0, col = 0;
  bool anyRow = false;
  for (Token t; (t = scan.next()) != Token::End;) {
    if (t != Token::StartTag) continue;
    if (scan.name() == "row") {
      const long r = ParseLong(scan.attribute("r"), 0);
      row = r >= 1 && r <= 1048576 ? static_cast<std::uint32_t>(r - 1) : (anyRow ? row + 1 : 0);
      anyRow = true;
      col = 0;
    } else if (scan.name() == "c") {
      std::uint32_t r = row, c = col;
      if (const auto ref = scan.attribute("r")) {
        if (!ParseReference(*ref, r, c)) Damaged();
      }
      row = r;
      col = c + 1;
      if (std::optional<std::u16string> text = CellValue(scan, ctx)) cells.add(r, c, std::move(*text));
    }
  }
}
}  // namespace

std::vector<SheetCell> ReadXlsxCells(std::string_view bytes, const WorkbookLimits& limits) {
  const ZipArchive zip(bytes);
  if (zip.contains("mimetype") && !zip.contains("[Content_Types].xml")) {
    const auto mime = zip.read("mimetype", 256);
    if (mime && mime->find("opendocument") != std::string::npos) throw WorkbookFailure(WorkbookError::OpenDocument);
  }
  if (zip.contains("EncryptionInfo")) throw WorkbookFailure(WorkbookError::Encrypted);
  std::string workbook = TargetOfType(ReadRelationships(zip, "", limits), "officeDocument").value_or("xl/workbook.xml");
  const std::optional<std::string> workbookXml = zip.read(workbook, limits.maxPartBytes);
  if (!workbookXml) throw WorkbookFailure(zip.contains("content.xml") ? WorkbookError::OpenDocument
                                                                      : WorkbookError::NotAWorkbook);
  const auto rels = ReadRelationships(zip, workbook, limits);

  bool dates1904 = false;
  long activeTab = 0;
  bool viewSeen = false;
  std::vector<std::string> sheetIds;
  XmlScanner scan(*workbookXml);
  for (Token t; (t = scan.next()) != Token::End;) {
    if (t != Token::StartTag) continue;
    if (scan.name() == "workbookPr") dates1904 = TrueAttribute(scan.attribute("date1904"));
    else if (scan.name() == "workbookView" && !viewSeen) {
      activeTab = ParseLong(scan.attribute("activeTab"), 0);
      viewSeen = true;
    } else if (scan.name() == "sheet") {
      sheetIds.push_back(scan.attribute("id").value_or(""));
    }
  }
  if (sheetIds.empty()) Damaged();
  if (activeTab < 0 || static_cast<std::size_t>(activeTab) >= sheetIds.size()) activeTab = 0;
  const auto sheetRel = rels.find(sheetIds[static_cast<std::size_t>(activeTab)]);
  if (sheetRel == rels.end()) Damaged();

  const std::vector<std::u16string> strings = ReadSharedStrings(zip, TargetOfType(rels, "sharedStrings"), limits);
  const std::vector<bool> dateStyles = ReadDateStyles(zip, TargetOfType(rels, "styles"), limits);
  SheetCells cells(limits.maxCells);
  // A chart sheet or a missing part has no cells.
  if (sheetRel->second.type == "worksheet") {
    const std::optional<std::string> sheetXml = zip.read(sheetRel->second.target, limits.maxPartBytes);
    if (!sheetXml) Damaged();
    ReadSheet(*sheetXml, {strings, dateStyles, dates1904}, cells);
  }
  return std::move(cells.cells());
}

}  // namespace app
