// The messages between the hook library and a receiver window. The library sends or posts
// WM_USER + code to the receiver; these routines build and read the codes and parameters,
// so that the library (which links only this file) and the components agree on them.
#pragma once

#include <cstdint>
#include <optional>

namespace desktop {

// Hook types given to AttachReceiver.
inline constexpr int32_t kKeyboardHookType = 1;
inline constexpr int32_t kMouseHookType = 2;

// A report is message kReportMessageBase + code (WM_USER).
inline constexpr uint32_t kReportMessageBase = 1024;
// Keyboard: the one report code, a key action.
inline constexpr uint32_t kKeyReportCode = 0;
// Mouse: added to a code when the event happened in a window's non-client area
// (frame, caption). Receivers that only look at code and 15 treat both alike.
inline constexpr uint32_t kNonClientReportFlag = 16;

// Results of AttachReceiver and DetachReceiver besides the platform's own error codes
// (which are above 0).
inline constexpr int32_t kHookNoError = 0;
inline constexpr int32_t kHookMissingExports = -1;
inline constexpr int32_t kHookReceiverAlreadyRegistered = -2;
inline constexpr int32_t kHookReceiverNotRegistered = -3;
inline constexpr int32_t kHookTooManyReceivers = -4;
inline constexpr int32_t kHookAlreadyInstalled = -5;

// An answer of the receiver: 1 drops the event (only for receivers that allow filtering).
inline constexpr intptr_t kReportDropEvent = 1;
inline constexpr intptr_t kReportPassEvent = 0;

// The keystroke of a key report: wParam is the virtual-key code, lParam the keystroke
// flags of the platform's keyboard hook.
struct KeyReport {
  int32_t VirtualKeyCode = 0;
  uint16_t RepeatCount = 0;
  uint8_t ScanCode = 0;
  bool isExtendedKey = false;
  bool altIsDown = false;
  bool keyWasDownBefore = false;
  bool keyIsBeingPressed = false;
};
KeyReport DecodeKeyReport(uint32_t wParam, uint32_t lParam);

// The window framework's mouse buttons, in its order.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum class TSysMouseButtonMovement { mbmDown, mbmUp, mbmDouble };

struct MouseReport {
  bool isMove = false;  // a move has no button and no movement
  uint32_t sourceWindow = 0;  // the window under the mouse
  int32_t x = 0;  // screen position, each an unsigned 16-bit value
  int32_t y = 0;
  TMouseButton button = TMouseButton::mbLeft;
  TSysMouseButtonMovement movement = TSysMouseButtonMovement::mbmDown;
};
// Reads a mouse report (code = message - WM_USER). Codes whose low four bits are above 9
// are no mouse event: nothing.
std::optional<MouseReport> DecodeMouseReport(uint32_t code, uint32_t wParam, uint32_t lParam);

// The library's side: the report code of a mouse message (WM_MOUSEMOVE, WM_LBUTTONDOWN and
// their kin, also the non-client ones), or nothing for messages that are not reported
// (wheel, extra buttons).
std::optional<uint32_t> MouseReportCode(uint32_t mouseMessage);
// The wParam of a mouse report: x in the low, y in the high 16 bits.
uint32_t PackMousePoint(int32_t x, int32_t y);

}  // namespace desktop
