#include "windows/secondary_forms_win32.h"

namespace windows {

namespace {
gui::FormSpec Describe(const char16_t* windowClass, const char16_t* caption, int width, int height, DWORD style,
                   DWORD exStyle = 0) {
  gui::FormSpec desc;
  desc.windowClass = windowClass;
  desc.caption = caption;
  desc.width = width;
  desc.height = height;
  desc.style = style;
  desc.exStyle = exStyle;
  return desc;
}
}  // namespace

TForm2::TForm2()
    : SecondaryForm(Describe(u"TForm2", u"属性设置", 520, 420, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX,
                         WS_EX_TOPMOST),
                    true) {}


}  // namespace windows
