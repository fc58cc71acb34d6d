#include "desktop/hook_protocol.h"

namespace desktop {

namespace {
// Mouse messages as the platform numbers them; kept here so that this file stays
// free of platform headers.
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLeftDown = 0x0201;  // then left up, left double, right down ... middle double
constexpr uint32_t kMiddleDouble = 0x0209;
constexpr uint32_t kNonClientMouseMove = 0x00A0;
constexpr uint32_t kNonClientLeftDown = 0x00A1;
constexpr uint32_t kNonClientMiddleDouble = 0x00A9;
}  // namespace

KeyReport DecodeKeyReport(uint32_t wParam, uint32_t lParam) {
  KeyReport k;
  k.VirtualKeyCode = static_cast<int32_t>(wParam);
  k.RepeatCount = static_cast<uint16_t>(lParam & 0xFFFF);
  k.ScanCode = static_cast<uint8_t>((lParam >> 16) & 0xFF);
  k.isExtendedKey = (lParam >> 24) & 1;
  k.altIsDown = (lParam >> 29) & 1;
  k.keyWasDownBefore = (lParam >> 30) & 1;
  k.keyIsBeingPressed = ((lParam >> 31) & 1) == 0;
  return k;
}

std::optional<MouseReport> DecodeMouseReport(uint32_t code, uint32_t wParam, uint32_t lParam) {
  const uint32_t c = code & 15;
  if (c > 9) return std::nullopt;
  MouseReport m;
  m.sourceWindow = lParam;
  m.x = static_cast<int32_t>(wParam & 0xFFFF);
  m.y = static_cast<int32_t>(wParam >> 16);
  if (c == 0) {
    m.isMove = true;
    return m;
  }
  switch ((c - 1) / 3) {
    case 1: m.button = TMouseButton::mbRight; break;
    case 2: m.button = TMouseButton::mbMiddle; break;
    default: m.button = TMouseButton::mbLeft; break;
  }
  switch ((c - 1) % 3) {
    case 0: m.movement = TSysMouseButtonMovement::mbmDown; break;
    case 1: m.movement = TSysMouseButtonMovement::mbmUp; break;
    default: m.movement = TSysMouseButtonMovement::mbmDouble; break;
  }
  return m;
}

std::optional<uint32_t> MouseReportCode(uint32_t mouseMessage) {
  // The client and non-client messages both run move, then left, right and middle
  // button each with down, up and double click: the report codes 0 to 9 in order.
  if (mouseMessage == kMouseMove) return 0u;
  if (mouseMessage >= kLeftDown && mouseMessage <= kMiddleDouble) return mouseMessage - kMouseMove;
  if (mouseMessage == kNonClientMouseMove) return kNonClientReportFlag;
  if (mouseMessage >= kNonClientLeftDown && mouseMessage <= kNonClientMiddleDouble)
    return (mouseMessage - kNonClientMouseMove) | kNonClientReportFlag;
  return std::nullopt;
}

uint32_t PackMousePoint(int32_t x, int32_t y) {
  return (static_cast<uint32_t>(x) & 0xFFFF) | ((static_cast<uint32_t>(y) & 0xFFFF) << 16);
}

}  // namespace desktop
