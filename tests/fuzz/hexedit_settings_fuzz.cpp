// The hex editor's settings text as hostile input: applying it either works or raises
// EHexEditor, painting always resumes, and the text the editor then gives settles: applied
// to a fresh editor it comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "hexedit/hex_editor_ex.h"
#include "unicode/codepage.h"

using namespace hexedit;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string text = unicode::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  THexEditorEx editor;
  try {
    editor.SetPropertiesFromText(text);
  } catch (const EHexEditor&) {
  }
  Require(!editor.SettingsUpdating());
  Require(editor.BytesPerRow() >= 1 && editor.BytesPerRow() <= kMaxBytesPerRow);
  const std::u16string once = editor.GetPropertiesAsText();
  THexEditorEx fresh;
  fresh.SetPropertiesFromText(once);  // must not throw: it is the editor's own text
  Require(fresh.GetPropertiesAsText() == once);
  return 0;
}
