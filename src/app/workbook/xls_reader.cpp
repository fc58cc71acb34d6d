// The Excel 97-2003 (.xls, BIFF8) reader: the "Workbook" stream of the compound file, its
// global records (sheets, active sheet, date system, shared strings, formats) and the cell
// records of the active sheet.
#include <cstring>
#include <map>

#include "app/workbook/cell_text.h"
#include "app/workbook/compound_file.h"
#include "app/workbook/workbook_reader.h"
#include "unicode/codepage.h"

namespace app {

namespace {
[[noreturn]] void Damaged() { throw WorkbookFailure(WorkbookError::Damaged); }

enum : std::uint16_t {
  kFormula = 0x0006, kEof = 0x000A, kDateMode = 0x0022, kFilePass = 0x002F, kContinue = 0x003C,
  kWindow1 = 0x003D, kBoundSheet = 0x0085, kMulRk = 0x00BD, kRString = 0x00D6, kXf = 0x00E0,
  kSst = 0x00FC, kLabelSst = 0x00FD, kNumber = 0x0203, kLabel = 0x0204, kBoolErr = 0x0205,
  kString = 0x0207, kRk = 0x027E, kFormat = 0x041E, kBof = 0x0809,
};

struct Record {
  std::uint16_t id = 0;
  std::string_view data;
  std::size_t offset = 0;  // of the record header in the stream
};

// The stream as records; CONTINUE records are read by whoever needs them.
class Records {
 public:
  explicit Records(std::string_view stream, std::size_t from = 0) : stream_(stream), pos_(from) {}
  bool next(Record& r) {
    if (pos_ + 4 > stream_.size()) return false;
    r.offset = pos_;
    r.id = U16(stream_, pos_);
    const std::size_t length = U16(stream_, pos_ + 2);
    if (pos_ + 4 + length > stream_.size()) Damaged();
    r.data = stream_.substr(pos_ + 4, length);
    pos_ += 4 + length;
    return true;
  }
  bool peek(Record& r) const {
    Records copy = *this;
    return copy.next(r);
  }
  static std::uint16_t U16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
  }

 private:
  std::string_view stream_;
  std::size_t pos_;
};

std::uint16_t U16(std::string_view b, std::size_t at) {
  if (at + 2 > b.size()) Damaged();
  return Records::U16(b, at);
}
std::uint32_t U32(std::string_view b, std::size_t at) {
  if (at + 4 > b.size()) Damaged();
  return std::uint32_t(U16(b, at)) | std::uint32_t(U16(b, at + 2)) << 16;
}
double F64(std::string_view b, std::size_t at) {
  if (at + 8 > b.size()) Damaged();
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | std::uint8_t(b[at + i]);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

double RkValue(std::uint32_t rk) {
  double v;
  if (rk & 2) {
    v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    const std::uint64_t bits = std::uint64_t(rk & 0xFFFFFFFC) << 32;
    std::memcpy(&v, &bits, sizeof v);
  }
  return (rk & 1) ? v / 100 : v;
}

// Reads strings whose characters may continue in following CONTINUE records; each
// continuation starts with a fresh flag byte saying whether its characters are 8 or 16 bits.
class ContinuedReader {
 public:
  ContinuedReader(std::string_view first, Records* rest) : part_(first), rest_(rest) {}

  std::uint8_t byte() {
    ensure();
    return static_cast<std::uint8_t>(part_[pos_++]);
  }
  std::uint16_t u16() {
    const std::uint16_t lo = byte();
    return static_cast<std::uint16_t>(lo | byte() << 8);
  }
  std::uint32_t u32() {
    const std::uint32_t lo = u16();
    return lo | std::uint32_t(u16()) << 16;
  }
  void skip(std::uint64_t count) {
    while (count > 0) {
      ensure();
      const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(count, part_.size() - pos_));
      pos_ += take;
      count -= take;
    }
  }
  // An XLUnicodeRichExtendedString (the shared-string table, LABEL, STRING).
  std::u16string unicodeString(bool lengthIs16 = true) {
    std::size_t count = lengthIs16 ? u16() : byte();
    const std::uint8_t flags = byte();
    bool wide = flags & 0x01;
    const std::uint16_t runs = (flags & 0x08) ? u16() : 0;
    const std::uint32_t extended = (flags & 0x04) ? u32() : 0;
    std::u16string text;
    text.reserve(std::min<std::size_t>(count, 8224));
    while (count > 0) {
      if (pos_ >= part_.size()) {
        nextPart();
        wide = byte() & 0x01;  // the continuation's own flag byte
      }
      const std::size_t width = wide ? 2 : 1;
      const std::size_t fit = std::min(count, (part_.size() - pos_) / width);
      if (fit == 0) Damaged();  // half a character before the record's end
      for (std::size_t i = 0; i < fit; ++i) {
        text.push_back(wide ? static_cast<char16_t>(std::uint8_t(part_[pos_]) | std::uint8_t(part_[pos_ + 1]) << 8)
                            : static_cast<char16_t>(std::uint8_t(part_[pos_])));
        pos_ += width;
      }
      count -= fit;
    }
    skip(std::uint64_t(runs) * 4 + extended);
    return text;
  }

 private:
  void ensure() {
    if (pos_ >= part_.size()) nextPart();
  }
  void nextPart() {
    Record r;
    if (!rest_ || !rest_->peek(r) || r.id != kContinue) Damaged();
    rest_->next(r);
    part_ = r.data;
    pos_ = 0;
    if (part_.empty()) nextPart();
  }
  std::string_view part_;
  std::size_t pos_ = 0;
  Records* rest_;
};

struct Globals {
  bool dates1904 = false;
  std::uint16_t activeTab = 0;
  std::vector<std::uint32_t> sheetOffsets;  // worksheets and others, in tab order
  std::vector<std::uint8_t> sheetTypes;
  std::vector<std::u16string> strings;
  std::map<std::uint16_t, std::string> formats;
  std::vector<std::uint16_t> xfFormats;

  bool isDate(std::uint16_t xf) const {
    if (xf >= xfFormats.size()) return false;
    const std::uint16_t id = xfFormats[xf];
    const auto code = formats.find(id);
    if (code != formats.end()) return IsDateFormat(-1, code->second);  // the file's own code decides
    return IsBuiltInDateFormat(id);
  }
  std::u16string numberText(double value, std::uint16_t xf) const {
    return isDate(xf) ? DateText(value, dates1904) : NumberText(value);
  }
};

Globals ReadGlobals(std::string_view stream) {
  Records records(stream);
  Record r;
  if (!records.next(r) || r.id != kBof) throw WorkbookFailure(WorkbookError::OldFormat);
  if (U16(r.data, 0) != 0x0600) throw WorkbookFailure(WorkbookError::OldFormat);  // BIFF5/7 in a compound file
  Globals g;
  bool windowSeen = false;
  while (records.next(r) && r.id != kEof) {
    switch (r.id) {
      case kFilePass: throw WorkbookFailure(WorkbookError::Encrypted);
      case kDateMode: g.dates1904 = U16(r.data, 0) == 1; break;
      case kWindow1:
        if (!windowSeen) g.activeTab = U16(r.data, 10);
        windowSeen = true;
        break;
      case kBoundSheet:
        g.sheetOffsets.push_back(U32(r.data, 0));
        g.sheetTypes.push_back(r.data.size() > 5 ? static_cast<std::uint8_t>(r.data[5]) : 0);
        break;
      case kFormat: {
        ContinuedReader in(r.data.substr(std::min<std::size_t>(2, r.data.size())), nullptr);
        const std::u16string code = in.unicodeString();
        g.formats[U16(r.data, 0)] = unicode::Utf16ToUtf8(code);
        break;
      }
      case kXf: g.xfFormats.push_back(U16(r.data, 2)); break;
      case kSst: {
        ContinuedReader in(r.data, &records);
        in.u32();  // total count of uses
        const std::uint32_t unique = in.u32();
        g.strings.reserve(std::min<std::size_t>(unique, stream.size() / 3));
        for (std::uint32_t i = 0; i < unique; ++i) g.strings.push_back(in.unicodeString());
        break;
      }
      default: break;
    }
  }
  return g;
}

void ReadSheetCells(std::string_view stream, std::size_t offset, const Globals& g, SheetCells& cells) {
  if (offset >= stream.size()) Damaged();
  Records records(stream, offset);
  Record r;
  if (!records.next(r) || r.id != kBof) Damaged();
  while (records.next(r) && r.id != kEof) {
    switch (r.id) {
      case kNumber: cells.add(U16(r.data, 0), U16(r.data, 2), g.numberText(F64(r.data, 6), U16(r.data, 4))); break;
      case kRk: cells.add(U16(r.data, 0), U16(r.data, 2), g.numberText(RkValue(U32(r.data, 6)), U16(r.data, 4))); break;
      case kMulRk: {
        const std::uint16_t row = U16(r.data, 0), first = U16(r.data, 2);
        if (r.data.size() < 6) Damaged();
        const std::size_t count = (r.data.size() - 6) / 6;
        for (std::size_t i = 0; i < count; ++i) {
          const std::size_t at = 4 + i * 6;
          cells.add(row, static_cast<std::uint32_t>(first + i), g.numberText(RkValue(U32(r.data, at + 2)), U16(r.data, at)));
        }
        break;
      }
      case kLabelSst: {
        const std::uint32_t index = U32(r.data, 6);
        if (index >= g.strings.size()) Damaged();
        cells.add(U16(r.data, 0), U16(r.data, 2), g.strings[index]);
        break;
      }
      case kLabel:
      case kRString: {
        if (r.data.size() < 6) Damaged();
        ContinuedReader in(r.data.substr(6), &records);
        cells.add(U16(r.data, 0), U16(r.data, 2), in.unicodeString());
        break;
      }
      case kBoolErr: {
        if (r.data.size() < 8) Damaged();
        const std::uint8_t value = static_cast<std::uint8_t>(r.data[6]);
        cells.add(U16(r.data, 0), U16(r.data, 2), r.data[7] ? ErrorText(value) : BoolText(value != 0));
        break;
      }
      case kFormula: {
        const std::uint16_t row = U16(r.data, 0), col = U16(r.data, 2);
        if (r.data.size() < 14) Damaged();
        if (U16(r.data, 12) != 0xFFFF) {
          cells.add(row, col, g.numberText(F64(r.data, 6), U16(r.data, 4)));
          break;
        }
        switch (static_cast<std::uint8_t>(r.data[6])) {
          case 0: {  // a text result: the STRING record that follows holds it
            Record s;
            while (records.peek(s) && s.id != kString && s.id != kEof && s.id != kFormula && s.id != kNumber &&
                   s.id != kLabelSst && s.id != kRk && s.id != kMulRk) {
              records.next(s);  // ARRAY, SHRFMLA, TABLE may stand between
            }
            if (records.peek(s) && s.id == kString) {
              records.next(s);
              ContinuedReader in(s.data, &records);
              cells.add(row, col, in.unicodeString());
            }
            break;
          }
          case 1: cells.add(row, col, BoolText(r.data[8] != 0)); break;
          case 2: cells.add(row, col, ErrorText(static_cast<std::uint8_t>(r.data[8]))); break;
          default: cells.add(row, col, std::u16string()); break;  // an empty text
        }
        break;
      }
      default: break;
    }
  }
}
}  // namespace

std::vector<SheetCell> ReadXlsCells(std::string_view bytes, const WorkbookLimits& limits) {
  const CompoundFile file(bytes);
  if (file.hasStream(u"EncryptionInfo") || file.hasStream(u"EncryptedPackage")) {
    throw WorkbookFailure(WorkbookError::Encrypted);  // a password-protected .xlsx
  }
  const std::optional<std::string> stream = file.readStream(u"Workbook", limits.maxPartBytes);
  if (!stream) {
    throw WorkbookFailure(file.hasStream(u"Book") ? WorkbookError::OldFormat : WorkbookError::NotAWorkbook);
  }
  const Globals g = ReadGlobals(*stream);
  SheetCells cells(limits.maxCells);
  if (g.sheetOffsets.empty()) Damaged();
  const std::size_t active = g.activeTab < g.sheetOffsets.size() ? g.activeTab : 0;
  if (g.sheetTypes[active] == 0) ReadSheetCells(*stream, g.sheetOffsets[active], g, cells);  // charts have no cells
  return std::move(cells.cells());
}

}  // namespace app
