#include "gui/gdi.h"

#include <string>

namespace gui {

UniqueFont MakeFont(std::u16string_view face, int height, int weight, BYTE charset, bool italic, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = charset;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfQuality = DEFAULT_QUALITY;
  const size_t n = std::min(face.size(), size_t{LF_FACESIZE - 1});
  for (size_t i = 0; i < n; ++i) lf.lfFaceName[i] = static_cast<wchar_t>(face[i]);
  return UniqueFont(CreateFontIndirectW(&lf));
}

namespace {
int g_wait_depth = 0;
}

WaitCursor::WaitCursor() : old_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) { ++g_wait_depth; }
WaitCursor::~WaitCursor() {
  --g_wait_depth;
  SetCursor(old_ ? old_ : LoadCursorW(nullptr, IDC_ARROW));
}
bool WaitCursorActive() { return g_wait_depth > 0; }

}  // namespace gui
