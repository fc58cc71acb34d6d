#include "windows/secondary_forms_win32.h"

namespace windows {

namespace {
constexpr DWORD kToolWindowStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

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

TForm3::TForm3()
    : SecondaryForm(Describe(u"TForm3", u"查看/修改（单条记录，无格式）", 600, 450, kToolWindowStyle, WS_EX_TOPMOST), true) {}

TAboutBox::TAboutBox() : SecondaryForm(Describe(u"TAboutBox", u"About", 360, 260, kDialogStyle), false) {}

TForm6::TForm6() : SecondaryForm(Describe(u"TForm6", u"用带格式的浏览器查看当前文本", 640, 480, kToolWindowStyle), true) {}

Tform8::Tform8() : SecondaryForm(Describe(u"Tform8", u"热烈庆祝（烟花表演）", 527, 423, kToolWindowStyle), true) {}

}  // namespace windows
