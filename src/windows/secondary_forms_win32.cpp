#include "windows/secondary_forms_win32.h"

namespace windows {

namespace {
constexpr DWORD kToolWindowStyle = WS_OVERLAPPEDWINDOW;

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

TForm6::TForm6() : SecondaryForm(Describe(u"TForm6", u"用带格式的浏览器查看当前文本", 640, 480, kToolWindowStyle), true) {}

}  // namespace windows
