// The hints of a form's controls, shown as tool-tips: the system's tool-tip control, fed with
// the mouse messages the message loop takes off the queue. Relaying from the loop rather than
// subclassing each control keeps the tips working under any subclass that a skin puts on the
// controls later, which may keep mouse messages to itself.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>

namespace gui {

class HintTips {
 public:
  HintTips() = default;
  ~HintTips();
  HintTips(const HintTips&) = delete;
  HintTips& operator=(const HintTips&) = delete;

  // One mouse message from the queue of a window inside `form`: over a control with a hint
  // the tip shows after the system's delay; a click hides it until the pointer leaves the
  // control.
  void Relay(HWND form, const MSG& msg);
  HWND Handle() const { return tips_; }

 private:
  void Track(HWND form, HWND window);
  void Forget(HWND form, HWND window);
  void Defuse();

  HWND tips_ = nullptr;
  std::unordered_map<HWND, std::u16string> tools_;  // windows registered as tools, with their text
  HWND pressed_ = nullptr;  // the tool clicked while the pointer has not left it
};

// Whether the message is one of the mouse messages the tips follow.
bool IsHintMouseMessage(UINT message);

}  // namespace gui
