#include "windows/celebration_menus.h"

namespace windows {

namespace {
using gui::MenuRowSpec;
constexpr unsigned kSub = gui::kMenuSubmenu;

constexpr MenuRowSpec kRows[] = {
    // Hidden at creation: the simulated click, run by the show's own timer.
    {0, u"qidongyincang", u"  启动时隐藏  ", u"", kSub},
    {1, u"monisubiaozuojian", u"模拟鼠标左键", u"monisubiaozuojianClick"},
    {0, u"N1", u"命令  ", u"", kSub},
    {1, u"kaisifangyanhua", u"开始放烟花", u"kaisifangyanhuaClick", gui::kMenuCheckable},
};
}  // namespace

std::span<const gui::MenuRowSpec> CelebrationMenuRows() { return kRows; }

}  // namespace windows
