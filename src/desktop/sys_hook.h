// The system hook components: TSysKeyboardHook and TSysMouseHook report key actions, mouse
// clicks and mouse moves anywhere on the desktop. They load the hook library by name, give it
// a hidden listener window as receiver, and turn the library's reports into events.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "desktop/hook_library_loader.h"
#include "desktop/hook_protocol.h"

namespace desktop {

class TSysHook;

// What the components need from the platform (the Win32 one is in sys_hook_platform_win32.h).
class HookPlatform {
 public:
  virtual ~HookPlatform() = default;
  // The process-wide load of the hook library.
  virtual HookLibraryLoader& Loader() = 0;
  // A hidden window whose messages from WM_USER up go to hook.ProcessHookMessage; 0 on failure.
  virtual uintptr_t AllocateListener(TSysHook& hook) = 0;
  virtual void FreeListener(uintptr_t listener) = 0;
  // The platform's text for a system error code.
  virtual std::u16string SystemErrorText(uint32_t code) = 0;
  // A message box with the error icon.
  virtual void ShowErrorBox(const std::u16string& caption, const std::u16string& text) = 0;
};

class TSysHook {
 public:
  using TSysHookUnfilteredEvent =
      std::function<void(TSysHook& Sender, uint32_t code, uintptr_t wParam, intptr_t lParam, bool& Handled)>;

  explicit TSysHook(HookPlatform& platform) : platform_(platform) {}
  virtual ~TSysHook();
  TSysHook(const TSysHook&) = delete;
  TSysHook& operator=(const TSysHook&) = delete;

  // The component's name on its form (the caption of its message boxes).
  std::u16string Name;
  // Every report first goes here, raw; setting Handled stops its usual handling.
  TSysHookUnfilteredEvent OnUnfiltered;

  bool Active() const { return active_; }
  uintptr_t Listener() const { return listener_; }
  const std::u16string& HookDLL() const { return hookDLL_; }
  // Refused with a message box while active.
  virtual void SetHookDLL(const std::u16string& Value);

  // Loads the library, makes the listener window and registers it. On failure ErrorMessage
  // says why and the component stays inactive holding nothing; on success it is emptied.
  // An active component returns at once and leaves ErrorMessage as it was.
  void Start(std::u16string& ErrorMessage);
  // Unregisters and frees the listener window and releases the library.
  void Stop();

  // 1 keyboard, 2 mouse: the hook type given to the library.
  virtual int32_t GetHookType() const = 0;
  virtual std::u16string ClassName() const = 0;
  // Name, or the class name when there is none.
  virtual std::u16string DisplayName() const;
  // A report from the library (message from WM_USER up); the result is the answer to it.
  virtual intptr_t ProcessHookMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;

 protected:
  bool AllowFiltering() const { return allowFiltering_; }
  // Throws std::runtime_error while active.
  void SetAllowFiltering(bool Value);
  // Fires OnUnfiltered; true when the handler took the report.
  virtual bool DoUnfiltered(uint32_t code, uintptr_t wParam, intptr_t lParam);

 private:
  HookPlatform& platform_;
  bool active_ = false;
  std::u16string hookDLL_;
  bool allowFiltering_ = false;
  uintptr_t listener_ = 0;
  int32_t attachedHookType_ = 0;
};

class TSysKeyboardHook : public TSysHook {
 public:
  using TSysKeyboardNotifyEvent = std::function<void(
      TSysKeyboardHook& Sender, int32_t VirtualKeyCode, uint16_t RepeatCount, uint8_t ScanCode, bool isExtendedKey,
      bool altIsDown, bool keyWasDownBefore, bool keyIsBeingPressed, bool& filterEvent)>;

  using TSysHook::TSysHook;
  // Stopped here already, so that no report reaches a half-destroyed component.
  ~TSysKeyboardHook() override { Stop(); }
  using TSysHook::AllowFiltering;
  using TSysHook::SetAllowFiltering;

  // Fires on every key action; setting filterEvent asks the library to drop the key (only
  // heard when AllowFiltering was on at Start).
  TSysKeyboardNotifyEvent OnKeyAction;

  int32_t GetHookType() const override { return kKeyboardHookType; }
  std::u16string ClassName() const override { return u"TSysKeyboardHook"; }
  intptr_t ProcessHookMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 protected:
  // Returns filterEvent.
  virtual bool DoKeyAction(const KeyReport& key);
};

class TSysMouseHook : public TSysHook {
 public:
  using TSysMouseClickNotifyEvent = std::function<void(TSysMouseHook& Sender, uint32_t sourceWindow, int32_t x,
                                                       int32_t y, TMouseButton button,
                                                       TSysMouseButtonMovement movement)>;
  using TSysMouseMoveNotifyEvent =
      std::function<void(TSysMouseHook& Sender, uint32_t sourceWindow, int32_t x, int32_t y)>;

  using TSysHook::TSysHook;
  ~TSysMouseHook() override { Stop(); }

  TSysMouseClickNotifyEvent OnMouseClick;
  TSysMouseMoveNotifyEvent OnMouseMove;

  int32_t GetHookType() const override { return kMouseHookType; }
  std::u16string ClassName() const override { return u"TSysMouseHook"; }
  intptr_t ProcessHookMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 protected:
  virtual void DoMouseClick(uint32_t sourceWindow, int32_t x, int32_t y, TMouseButton button,
                            TSysMouseButtonMovement movement);
  virtual void DoMouseMove(uint32_t sourceWindow, int32_t x, int32_t y);
};

}  // namespace desktop
