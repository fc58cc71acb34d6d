// The hook library watches input through low-level hooks, which see each key and button
// as the system raw input gives it. Receivers expect the reports of the classic keyboard and
// mouse hooks: a generic virtual key with the keystroke flags, and double clicks. These
// classes rebuild those reports; the library feeds them from its hook thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace desktop {

// The low-level keyboard hook's flags (KBDLLHOOKSTRUCT.flags).
inline constexpr uint32_t kLowLevelExtended = 0x01;
inline constexpr uint32_t kLowLevelAltDown = 0x20;
inline constexpr uint32_t kLowLevelUp = 0x80;

struct RebuiltKeyReport {
  uint32_t wParam;  // the generic virtual key
  uint32_t lParam;  // the keystroke flags
};

class KeyReportBuilder {
 public:
  // One low-level key event: left and right Shift, Ctrl and Alt become 16, 17 and 18; lParam
  // holds repeat 1, the scan code, bit 24 extended, bit 29 Alt held (clear on Alt's own
  // release), bit 30 the key was down before, bit 31 released.
  RebuiltKeyReport Build(uint32_t vkCode, uint32_t scanCode, uint32_t flags);

 private:
  std::array<bool, 256> down_{};
};

// Generic virtual key of a left/right one (160..165); any other key as it is.
uint32_t GenericVirtualKey(uint32_t vkCode);

enum class MouseButtonKind { Left, Right, Middle };

// One low-level button event, with what the double-click rule needs to know of the window
// under the point.
struct ButtonPress {
  MouseButtonKind button = MouseButtonKind::Left;
  int32_t x = 0, y = 0;
  uint32_t time = 0;      // milliseconds, the event's time stamp
  uintptr_t window = 0;   // the window under the point
  bool windowTakesDoubleClicks = false;  // its class has CS_DBLCLKS
};

struct DoubleClickRule {
  uint32_t time = 500;  // GetDoubleClickTime
  int32_t width = 4;    // SM_CXDOUBLECLK: the rectangle around the first press
  int32_t height = 4;   // SM_CYDOUBLECLK
};

// The system's rule: a second press of the same button on the same window, within the time
// and the rectangle of the first, is a double click when the window's class takes them. The
// press after a double click starts afresh.
class DoubleClickTracker {
 public:
  explicit DoubleClickTracker(DoubleClickRule rule) : rule_(rule) {}
  void SetRule(DoubleClickRule rule) { rule_ = rule; }
  // True when this press is a double click.
  bool Press(const ButtonPress& press);

 private:
  DoubleClickRule rule_;
  std::optional<ButtonPress> last_;
};

// The report code of a low-level mouse event: 0 move, 1..9 button down, up, double for left,
// right and middle; nothing for the wheel and the extra buttons.
std::optional<uint32_t> LowLevelMouseReportCode(uint32_t mouseMessage, bool isDouble);

}  // namespace desktop
