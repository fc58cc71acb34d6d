#include "gui/hint_tips.h"

#include <commctrl.h>

#include <vector>

#include "gui/control.h"
#include "gui/wide.h"

namespace gui {

namespace {

// The hint a window shows: its own control's, or for a part of a control (the edit box of a
// combo box) the hint of the control it belongs to.
const std::u16string* HintOf(HWND window, HWND form) {
  for (HWND w = window; w && w != form; w = GetParent(w)) {
    if (const Control* control = FindControl(w); control && !control->hint.empty()) return &control->hint;
  }
  return nullptr;
}

TOOLINFOW ToolOf(HWND form, HWND window) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = form;
  tool.uId = reinterpret_cast<UINT_PTR>(window);
  return tool;
}

}  // namespace

bool IsHintMouseMessage(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return true;
    default:
      return false;
  }
}

HintTips::~HintTips() {
  if (tips_ && IsWindow(tips_)) DestroyWindow(tips_);
}

void HintTips::Relay(HWND form, const MSG& msg) {
  if (msg.message == WM_MOUSEMOVE) {
    if (msg.hwnd == pressed_) return;  // clicked: no tip again until the pointer leaves it
    pressed_ = nullptr;
    Track(form, msg.hwnd);
  }
  if (!tips_) return;
  SendMessageW(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  const bool press = msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK ||
                     msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN;
  if (press && tools_.contains(msg.hwnd)) {
    pressed_ = msg.hwnd;
    Defuse();
  }
}

void HintTips::Track(HWND form, HWND window) {
  const std::u16string* hint = HintOf(window, form);
  const auto known = tools_.find(window);
  if (!hint) {
    if (known != tools_.end()) Forget(form, window);
    return;
  }
  if (!tips_) {
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (!tips_) return;
  }
  TOOLINFOW tool = ToolOf(form, window);
  tool.lpszText = const_cast<wchar_t*>(W(*hint));
  if (known == tools_.end()) {
    // Windows destroyed since they were last hovered leave the list first.
    std::vector<HWND> gone;
    for (const auto& [w, text] : tools_) {
      if (!IsWindow(w)) gone.push_back(w);
    }
    for (HWND w : gone) Forget(form, w);
    if (SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) tools_.emplace(window, *hint);
  } else if (known->second != *hint) {
    SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    known->second = *hint;
  }
}

void HintTips::Forget(HWND form, HWND window) {
  TOOLINFOW tool = ToolOf(form, window);
  SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  tools_.erase(window);
}

void HintTips::Defuse() {
  // A press hides a shown tip, but one whose delay is still running would show after it: the
  // tip is told that the pointer left every tool, so the delay ends with nothing to show.
  MSG away{};
  away.hwnd = tips_;
  away.message = WM_MOUSEMOVE;
  SendMessageW(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&away));
}

}  // namespace gui
