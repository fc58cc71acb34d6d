// The entry-list text format: one entry per line; an entry with line breaks stands
// between a line "[[begin]]" and a line "[[end]]". This file holds the pure part of
// the format: the file-kind test, the two readers' walks over the lines and the
// writers' bytes. Files are read and written by listfile_io.h.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// The file kind, told from the first two bytes of the file.
enum class TextFileFormat { tfANSI, tfUnicode, tfUnicodeBigEndian, tfUtf8 };

// "tfANSI", "tfUnicode", "tfUnicodeBigEndian" or "tfUtf8".
std::string_view TextFileFormatName(TextFileFormat format);

// b0 * 256 + b1 of the first two bytes: FFFE, FEFF, EFBB, anything else (and a file
// shorter than two bytes) is ANSI.
TextFileFormat GetTextFileFormat(std::string_view firstBytes);

// The two readers: `menuopenmy` reads code page 936 line by line; `daoruutf8ziClick`
// reads UTF-8 (with its mark) and UTF-16 little-endian (with its mark) and refuses the rest.
enum class ListReader { Ansi, Utf8 };

// The history store has slots 0..100000: a list of more entries is cut there.
inline constexpr std::size_t kListReadLimit = 100001;

// What a reader tells the user, each at most once per read, in the order met.
enum class ListMessage { UnknownFormat, TooManyEntries, DuplicateBegin, MissingEnd };

struct ListParseResult {
  std::vector<std::u16string> entries;
  std::vector<ListMessage> messages;
  bool tooMany = false;  // the read stopped early: the recent-files menu stays as it is
};

// The walks over already separated text. `inputCut` says that the text is only the start
// of a longer file (cut after its last complete line): what would continue past the cut is
// dropped and reported as too many entries.
ListParseResult ParseAnsiList(std::string_view ansiBytes, std::size_t limit = kListReadLimit,
                              bool inputCut = false);
ListParseResult ParseUtf8List(std::string_view utf8Bytes, std::size_t limit = kListReadLimit,
                              bool inputCut = false);
ListParseResult ParseUtf16List(std::u16string_view text, std::size_t limit = kListReadLimit,
                               bool inputCut = false);
// The same walk over a decoded text as the ANSI reader makes it: a "[[begin]]" on the last
// line opens a block (the fixed entries are read so whatever the file's kind).
ListParseResult ParseUtf16Lines(std::u16string_view text, std::size_t limit, bool inputCut = false);

// The whole-file routines of the UTF-8 reader and writers.
// `ReadUtf8File`: the text after the mark EF BB BF (a file without the full mark is
// decoded from its first byte, so nothing but the mark is ever dropped).
std::u16string ReadUtf8File(std::string_view fileBytes);
// `ReadUnicodeFile`: with hasBom the file must start FF FE (else the text is empty);
// then (size - 2) / 2 UTF-16LE characters; an odd last byte is ignored.
std::u16string ReadUnicodeFile(std::string_view fileBytes, bool hasBom);
// `WriteUtf8File`'s bytes: EF BB BF and the text in UTF-8.
std::string Utf8FileBytes(std::u16string_view text);

// An entry goes between "[[begin]]" and "[[end]]" when it holds a line break of any
// kind: a lone CR or LF would otherwise split it into several entries on reading.
bool NeedsBlock(std::u16string_view entry);

// The writers' bytes: each entry as one line, or as a block, every line ended by CR LF.
std::string FormatAnsiList(std::span<const std::u16string> entries);  // code page 936, no mark
std::string FormatUtf8List(std::span<const std::u16string> entries);  // EF BB BF, then UTF-8

// A single entry saved on its own: as it is, without block lines.
std::string FormatSingleEntryAnsi(std::u16string_view text);  // code page 936 and one CR LF
std::string FormatSingleEntryUtf8(std::u16string_view text);  // `WriteUtf8File` of the text

}  // namespace app
