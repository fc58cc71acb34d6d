// What the extended hex editor puts on the clipboard and how it reads what it finds there:
// the own clipboard block, the text renderings, the choice among offered formats and the
// decoding of a pasted or dropped block. Every reader treats the block as hostile: it never
// reads beyond the size the block has.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hexedit/hx_units.h"

namespace hexedit {

// Standard clipboard format numbers.
namespace cf {
inline constexpr unsigned TEXT = 1, BITMAP = 2, METAFILEPICT = 3, SYLK = 4, DIF = 5, TIFF = 6, OEMTEXT = 7, DIB = 8,
                          PALETTE = 9, PENDATA = 10, RIFF = 11, WAVE = 12, UNICODETEXT = 13, ENHMETAFILE = 14,
                          HDROP = 15, LOCALE = 16, DIBV5 = 17;
}

// The names under which the formats are registered.
inline constexpr char16_t kOwnFormatName[] = u"THexeditorEx Clipboard Format";
inline constexpr char16_t kRegEditFormatName[] = u"RegEdit_HexData";
inline constexpr char16_t kRichTextFormatName[] = u"Rich Text Format";
inline constexpr char16_t kFileContentsName[] = u"FileContents";
inline constexpr char16_t kFileGroupDescriptorName[] = u"FileGroupDescriptor";
inline constexpr char16_t kPerformedDropEffectName[] = u"Performed DropEffect";
inline constexpr char16_t kLogicalPerformedDropEffectName[] = u"Logical Performed DropEffect";

// The registered numbers of the formats above in this process (0 where unknown).
struct RegisteredFormats {
  unsigned own = 0, regEdit = 0, richText = 0, fileContents = 0, fileGroupDescriptor = 0;
};

// "HXTH", $00010001, the byte count, the bytes.
Bytes BuildOwnBlock(const Bytes& bytes);
// The bytes of an own block; nullopt unless the block starts with the header and holds the
// whole count it states.
std::optional<Bytes> DecodeOwnBlock(const std::uint8_t* block, std::size_t blockSize);

// CF_TEXT as the editor renders it: the bytes as hex text, or up to the first zero byte;
// always followed by one zero byte.
Bytes RenderTextFormat(const Bytes& bytes, bool asHexText, bool swapNibbles);
// "Dump of <name>.bin", the name without folder and extension, at most 259 characters.
std::u16string VirtualFileName(const std::u16string& editorFileName);

struct OfferedFormat {
  unsigned id = 0;
  std::u16string name;  // the registered name; empty for standard formats
};

// "Text", "Bitmap Picture", "Unicode Text", ...; registered formats by their name.
std::u16string FormatDisplayName(const OfferedFormat& format);
bool IsTextFormat(unsigned id, const RegisteredFormats& registered);

struct PasteChoice {
  enum class Kind { None, Take, Ask } kind = Kind::None;
  unsigned format = 0;                   // Take
  std::vector<OfferedFormat> candidates; // Ask: in the order of preference
};
// The own format or a file list is taken at once; of the other accepted formats one is
// taken, several are offered for a choice.
PasteChoice ChoosePasteFormat(const std::vector<OfferedFormat>& offered, bool supportsOtherFormats,
                              const RegisteredFormats& registered);

// The bytes a pasted or dropped memory block gives in a format: the own block's bytes (an
// unusable block gives nullopt), text formats up to their terminating zero (within the
// block), other formats as they are; with asHexText a text is read as hex digits.
std::optional<Bytes> DecodePastedBlock(unsigned format, const std::uint8_t* block, std::size_t blockSize,
                                       bool asHexText, bool swapNibbles, const RegisteredFormats& registered);

// A file list (CF_HDROP) dropped with the link effect: each name followed by a zero byte.
Bytes FileNamesAsBytes(const std::vector<std::u16string>& names);

}  // namespace hexedit
