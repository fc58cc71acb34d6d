// The desktop theme's colour scheme and the display's colour depth, read once when the
// widgets are first used and the scheme again whenever the theme changes.
#pragma once

#include "widgets/colors.h"

namespace widgets {

ColorScheme CurrentColorScheme();
void RereadColorScheme();
// More than 256 colours (NUMCOLORS answers -1).
bool DisplayHasManyColors();

}  // namespace widgets
