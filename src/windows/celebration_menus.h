// The celebration window's menu bar, as data.
#pragma once

#include <span>

#include "gui/menu_spec.h"

namespace windows {

std::span<const gui::MenuRowSpec> CelebrationMenuRows();

// The white line written over the rippling picture.
constexpr char16_t kCelebrationPictureLine[] = u"移动鼠标，水面便泛起涟漪";

// The banner's caption: two lines with an empty line between them.
constexpr char16_t kCelebrationBanner[] = u"热烈庆祝Quillora荣登世界第一\r\n\r\n       （已登上光辉的顶峰）";

}  // namespace windows
