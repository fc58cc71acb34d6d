// The skin INI reader as hostile input: every section it lists can be looked up, and
// look-ups answer within the text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/quick_ini.h"
#include "unicode/stream.h"

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  unicode::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  skin::TQuickIni ini;
  ini.LoadFromStream(stream);
  for (const std::u16string& line : ini.Lines()) Require(!line.empty() && line.front() != u';');
  for (const std::u16string& section : ini.ReadSections()) {
    const int at = ini.SectionIndex(section);
    Require(at >= -1 && at < static_cast<int>(ini.Lines().size()));
    for (const char16_t* key : {u"Image", u"Frame", u"Action", u"", u"color"}) {
      const std::u16string value = ini.ReadString(section, key, u"\x01");
      Require(value == u"\x01" || !value.empty());
      ini.ReadInteger(section, key, 0);
    }
  }
  return 0;
}
