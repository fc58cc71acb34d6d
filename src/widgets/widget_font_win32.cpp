#include "widgets/widget_font_win32.h"

namespace widgets {

gui::UniqueFont MakeWidgetFont(const WidgetFont& font, int escapement) {
  LOGFONTW lf{};
  lf.lfHeight = -font.height;
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic;
  lf.lfUnderline = font.underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfEscapement = lf.lfOrientation = escapement;
  lf.lfOutPrecision = escapement ? OUT_TT_ONLY_PRECIS : OUT_DEFAULT_PRECIS;
  lstrcpynW(lf.lfFaceName, reinterpret_cast<const wchar_t*>(font.name.c_str()), LF_FACESIZE);
  return gui::UniqueFont(CreateFontIndirectW(&lf));
}

bool IsTrueTypeFont(const WidgetFont& font) {
  gui::UniqueFont f = MakeWidgetFont(font);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, f.get());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  return (tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

}  // namespace widgets
