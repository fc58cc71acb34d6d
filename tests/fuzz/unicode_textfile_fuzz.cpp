// Arbitrary bytes as a text file for the wide string lists (each byte-order mark, or
// none), and as UTF-7. Besides not crashing: a loaded list saved and loaded again keeps
// its lines, and UTF-7 round trips are exact.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "unicode/stream.h"
#include "unicode/uni_string_list.h"
#include "unicode/utf7.h"
#include "unicode/wide_exceptions.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void LoadSaveLoad(const uint8_t* data, size_t size, bool withBom) {
  unicode::TMemoryStream input(std::vector<uint8_t>(data, data + size));
  unicode::TUniStringList list;
  list.LoadFromStreamBom(input, withBom);
  unicode::TMemoryStream saved;
  list.SaveToStream(saved);
  saved.SetPosition(0);
  unicode::TUniStringList back;
  back.LoadFromStream(saved);
  Check(back.Count() == list.Count());
  for (int i = 0; i < list.Count(); ++i) Check(back[i] == list[i]);
}

void Utf7RoundTrips(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const std::u16string decoded = unicode::Utf7ToUtf16(bytes);
    Check(unicode::Utf7ToUtf16(unicode::Utf16ToUtf7(decoded)) == decoded);
  } catch (const unicode::WideException&) {
    // Malformed UTF-7 is refused; that is all.
  }
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  Check(unicode::Utf7ToUtf16(unicode::Utf16ToUtf7(text, false)) == text);
  Check(unicode::Utf7ToUtf16(unicode::Utf16ToUtf7(text, true)) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadSaveLoad(data, size, true);
  LoadSaveLoad(data, size, false);
  Utf7RoundTrips(data, size);
  return 0;
}
