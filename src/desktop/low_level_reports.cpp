#include "desktop/low_level_reports.h"

#include <cstdlib>

namespace desktop {

namespace {
constexpr uint32_t kVkMenu = 18;
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLeftDown = 0x0201, kLeftUp = 0x0202;
constexpr uint32_t kRightDown = 0x0204, kRightUp = 0x0205;
constexpr uint32_t kMiddleDown = 0x0207, kMiddleUp = 0x0208;
}  // namespace

uint32_t GenericVirtualKey(uint32_t vkCode) {
  switch (vkCode) {
    case 160: case 161: return 16;  // VK_LSHIFT, VK_RSHIFT
    case 162: case 163: return 17;  // VK_LCONTROL, VK_RCONTROL
    case 164: case 165: return 18;  // VK_LMENU, VK_RMENU
    default: return vkCode;
  }
}

RebuiltKeyReport KeyReportBuilder::Build(uint32_t vkCode, uint32_t scanCode, uint32_t flags) {
  const uint32_t vk = GenericVirtualKey(vkCode);
  const bool released = flags & kLowLevelUp;
  bool& down = down_[vkCode & 0xFF];
  const bool wasDown = down;
  down = !released;
  // Bit 29 tells whether Alt is held while this key moves; Alt's own release ends it. The
  // table answers where the system leaves the low-level flag out (Wine does).
  const bool altHeld = (flags & kLowLevelAltDown) || down_[18] || down_[164] || down_[165];
  const bool alt = altHeld && !(released && vk == kVkMenu);
  uint32_t lParam = 1u | ((scanCode & 0xFF) << 16);
  if (flags & kLowLevelExtended) lParam |= 1u << 24;
  if (alt) lParam |= 1u << 29;
  if (wasDown) lParam |= 1u << 30;
  if (released) lParam |= 1u << 31;
  return {vk, lParam};
}

bool DoubleClickTracker::Press(const ButtonPress& press) {
  const bool isDouble = last_ && press.windowTakesDoubleClicks && last_->button == press.button &&
                        last_->window == press.window && press.time - last_->time <= rule_.time &&
                        std::abs(press.x - last_->x) <= rule_.width / 2 &&
                        std::abs(press.y - last_->y) <= rule_.height / 2;
  if (isDouble) last_.reset();
  else last_ = press;
  return isDouble;
}

std::optional<uint32_t> LowLevelMouseReportCode(uint32_t mouseMessage, bool isDouble) {
  switch (mouseMessage) {
    case kMouseMove: return 0u;
    case kLeftDown: return isDouble ? 3u : 1u;
    case kLeftUp: return 2u;
    case kRightDown: return isDouble ? 6u : 4u;
    case kRightUp: return 5u;
    case kMiddleDown: return isDouble ? 9u : 7u;
    case kMiddleUp: return 8u;
    default: return std::nullopt;
  }
}

}  // namespace desktop
