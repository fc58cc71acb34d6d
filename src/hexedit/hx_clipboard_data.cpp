#include "hexedit/hx_clipboard_data.h"

#include <algorithm>
#include <cstring>

#include "unicode/codepage.h"

namespace hexedit {

namespace {
constexpr std::uint8_t kOwnMagic[4] = {'H', 'X', 'T', 'H'};
constexpr std::uint32_t kOwnVersion = 0x00010001;

void PutU32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
std::uint32_t GetU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

Bytes UpToZero(const std::uint8_t* block, std::size_t size) {
  const std::uint8_t* end = std::find(block, block + size, 0);
  return Bytes(block, end);
}
}  // namespace

Bytes BuildOwnBlock(const Bytes& bytes) {
  Bytes out(kOwnMagic, kOwnMagic + 4);
  out.reserve(12 + bytes.size());
  PutU32(out, kOwnVersion);
  PutU32(out, static_cast<std::uint32_t>(bytes.size()));
  out.insert(out.end(), bytes.begin(), bytes.end());
  return out;
}

std::optional<Bytes> DecodeOwnBlock(const std::uint8_t* block, std::size_t blockSize) {
  if (!block || blockSize < 12) return std::nullopt;
  if (std::memcmp(block, kOwnMagic, 4) != 0 || GetU32(block + 4) != kOwnVersion) return std::nullopt;
  const std::uint32_t count = GetU32(block + 8);
  if (count > blockSize - 12) return std::nullopt;
  return Bytes(block + 12, block + 12 + count);
}

Bytes RenderTextFormat(const Bytes& bytes, bool asHexText, bool swapNibbles) {
  Bytes out;
  if (asHexText) {
    const std::string hex = ConvertBinToHex(bytes.data(), bytes.size(), swapNibbles);
    out.assign(hex.begin(), hex.end());
  } else {
    out = UpToZero(bytes.data(), bytes.size());
  }
  out.push_back(0);
  return out;
}

std::u16string VirtualFileName(const std::u16string& editorFileName) {
  std::u16string name = editorFileName;
  const std::size_t slash = name.find_last_of(u"\\/:");
  if (slash != std::u16string::npos) name = name.substr(slash + 1);
  const std::size_t dot = name.find_last_of(u'.');
  if (dot != std::u16string::npos) name = name.substr(0, dot);
  std::u16string out = u"Dump of " + name + u".bin";
  if (out.size() > 259) out.resize(259);
  return out;
}

std::u16string FormatDisplayName(const OfferedFormat& format) {
  switch (format.id) {
    case cf::TEXT: return u"Text";
    case cf::BITMAP: return u"Bitmap Picture";
    case cf::METAFILEPICT: return u"Metafile Picture";
    case cf::SYLK: return u"Symbolic Link";
    case cf::DIF: return u"Data Interchange Format";
    case cf::TIFF: return u"TIFF Picture";
    case cf::OEMTEXT: return u"OEM Text";
    case cf::DIB: return u"Device Independent Bitmap";
    case cf::PALETTE: return u"Palette";
    case cf::PENDATA: return u"Pen Data";
    case cf::RIFF: return u"RIFF Audio";
    case cf::WAVE: return u"Wave Audio";
    case cf::UNICODETEXT: return u"Unicode Text";
    case cf::ENHMETAFILE: return u"Enhanced Metafile";
    case cf::HDROP: return u"File List";
    case cf::LOCALE: return u"Locale Identifier";
    default: break;
  }
  return format.name.empty() ? u"Format " + unicode::AnsiToUtf16(std::to_string(format.id)) : format.name;
}

bool IsTextFormat(unsigned id, const RegisteredFormats& registered) {
  return id == cf::TEXT || id == cf::OEMTEXT || id == cf::UNICODETEXT || (registered.richText && id == registered.richText);
}

PasteChoice ChoosePasteFormat(const std::vector<OfferedFormat>& offered, bool supportsOtherFormats,
                              const RegisteredFormats& registered) {
  const auto has = [&](unsigned id) {
    return id != 0 && std::any_of(offered.begin(), offered.end(), [id](const OfferedFormat& f) { return f.id == id; });
  };
  PasteChoice choice;
  for (unsigned id : {registered.own, cf::HDROP}) {
    if (has(id)) {
      choice.kind = PasteChoice::Kind::Take;
      choice.format = id;
      return choice;
    }
  }
  if (!supportsOtherFormats) return choice;
  const unsigned preference[] = {cf::TEXT,    registered.richText, cf::UNICODETEXT, cf::BITMAP,      cf::PALETTE,
                                 cf::METAFILEPICT, cf::TIFF,       cf::OEMTEXT,     cf::DIB,         cf::RIFF,
                                 cf::WAVE,    cf::ENHMETAFILE,     cf::LOCALE,      registered.regEdit};
  for (unsigned id : preference) {
    if (!has(id)) continue;
    const auto it = std::find_if(offered.begin(), offered.end(), [id](const OfferedFormat& f) { return f.id == id; });
    choice.candidates.push_back(*it);
  }
  if (choice.candidates.size() == 1) {
    choice.kind = PasteChoice::Kind::Take;
    choice.format = choice.candidates.front().id;
    choice.candidates.clear();
  } else if (choice.candidates.size() > 1) {
    choice.kind = PasteChoice::Kind::Ask;
  }
  return choice;
}

std::optional<Bytes> DecodePastedBlock(unsigned format, const std::uint8_t* block, std::size_t blockSize,
                                       bool asHexText, bool swapNibbles, const RegisteredFormats& registered) {
  if (!block) return std::nullopt;
  if (registered.own && format == registered.own) return DecodeOwnBlock(block, blockSize);
  Bytes bytes;
  if (format == cf::UNICODETEXT) {
    // Up to the terminating zero character, within the block.
    std::size_t units = blockSize / 2;
    std::u16string text(units, u'\0');
    std::memcpy(text.data(), block, units * 2);
    text.resize(std::min(text.find(u'\0'), text.size()));
    if (asHexText) return ConvertHexToBin(text, swapNibbles);
    bytes.assign(reinterpret_cast<const std::uint8_t*>(text.data()),
                 reinterpret_cast<const std::uint8_t*>(text.data()) + text.size() * 2);
    return bytes;
  }
  if (IsTextFormat(format, registered)) {
    bytes = UpToZero(block, blockSize);
    if (asHexText) return ConvertHexToBin(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), swapNibbles);
    return bytes;
  }
  return Bytes(block, block + blockSize);
}

Bytes FileNamesAsBytes(const std::vector<std::u16string>& names) {
  Bytes out;
  for (const std::u16string& name : names) {
    const std::string ansi = unicode::Utf16ToAnsi(name);
    out.insert(out.end(), ansi.begin(), ansi.end());
    out.push_back(0);
  }
  return out;
}

}  // namespace hexedit
