#include "desktop/sys_hook.h"

#include <stdexcept>

#include "desktop/hook_error_text.h"

namespace desktop {

TSysHook::~TSysHook() { Stop(); }

void TSysHook::SetHookDLL(const std::u16string& Value) {
  if (active_) {
    platform_.ShowErrorBox(DisplayName(), u"DLL name cannot be set while hook is active!");
    return;
  }
  hookDLL_ = Value;
}

void TSysHook::SetAllowFiltering(bool Value) {
  if (active_) throw std::runtime_error("Cannot set AllowFiltering propert while hook is active!");
  allowFiltering_ = Value;
}

std::u16string TSysHook::DisplayName() const { return Name.empty() ? ClassName() : Name; }

void TSysHook::Start(std::u16string& ErrorMessage) {
  if (active_) return;
  if (hookDLL_.empty()) {
    ErrorMessage = u"Cannot activate hook because DLL name is not set.";
    return;
  }
  auto errorText = [this](int32_t code) {
    return HookErrorText(code, [this](uint32_t system) { return platform_.SystemErrorText(system); });
  };
  HookLibraryLoader& loader = platform_.Loader();
  if (const int32_t loaded = loader.LoadHookDLL(hookDLL_); loaded != 0) {
    ErrorMessage = errorText(loaded);
    return;
  }
  const uintptr_t listener = platform_.AllocateListener(*this);
  if (!listener) {
    loader.UnloadHookDLL();
    ErrorMessage = u"Failed to create listening window.";
    return;
  }
  if (const int32_t attached = loader.AttachReceiver(GetHookType(), listener, allowFiltering_); attached != 0) {
    platform_.FreeListener(listener);
    loader.UnloadHookDLL();
    ErrorMessage = errorText(attached);
    return;
  }
  listener_ = listener;
  attachedHookType_ = GetHookType();
  active_ = true;
  ErrorMessage.clear();
}

void TSysHook::Stop() {
  if (!active_) return;
  // Unregistered before its window goes, so that the library neither keeps its system
  // hook for nobody nor reports to a window that no longer exists.
  HookLibraryLoader& loader = platform_.Loader();
  loader.DetachReceiver(attachedHookType_, listener_);
  platform_.FreeListener(listener_);
  listener_ = 0;
  loader.UnloadHookDLL();
  active_ = false;
}

bool TSysHook::DoUnfiltered(uint32_t code, uintptr_t wParam, intptr_t lParam) {
  bool handled = false;
  if (OnUnfiltered) OnUnfiltered(*this, code, wParam, lParam, handled);
  return handled;
}

intptr_t TSysKeyboardHook::ProcessHookMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const uint32_t code = message - kReportMessageBase;
  if (DoUnfiltered(code, wParam, lParam)) return kReportPassEvent;
  if (code != kKeyReportCode) return kReportPassEvent;
  const KeyReport key = DecodeKeyReport(static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
  return DoKeyAction(key) ? kReportDropEvent : kReportPassEvent;
}

bool TSysKeyboardHook::DoKeyAction(const KeyReport& key) {
  bool filterEvent = false;
  if (OnKeyAction)
    OnKeyAction(*this, key.VirtualKeyCode, key.RepeatCount, key.ScanCode, key.isExtendedKey, key.altIsDown,
                key.keyWasDownBefore, key.keyIsBeingPressed, filterEvent);
  return filterEvent;
}

intptr_t TSysMouseHook::ProcessHookMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const uint32_t code = message - kReportMessageBase;
  if (DoUnfiltered(code, wParam, lParam)) return kReportPassEvent;
  const auto report = DecodeMouseReport(code, static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
  if (!report) return kReportPassEvent;
  if (report->isMove)
    DoMouseMove(report->sourceWindow, report->x, report->y);
  else
    DoMouseClick(report->sourceWindow, report->x, report->y, report->button, report->movement);
  return kReportPassEvent;
}

void TSysMouseHook::DoMouseClick(uint32_t sourceWindow, int32_t x, int32_t y, TMouseButton button,
                                 TSysMouseButtonMovement movement) {
  if (OnMouseClick) OnMouseClick(*this, sourceWindow, x, y, button, movement);
}

void TSysMouseHook::DoMouseMove(uint32_t sourceWindow, int32_t x, int32_t y) {
  if (OnMouseMove) OnMouseMove(*this, sourceWindow, x, y);
}

}  // namespace desktop
