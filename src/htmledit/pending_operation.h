// The concrete editor's pending-operation state: loads complete later, through the
// message queue, and every operation waits for them with a time limit. Portable: the
// clock, the message pump and the reports come from a host, so the state machine runs
// the same against the real engine and against a test engine.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "htmledit/editor_attributes.h"

namespace htmledit {

enum PendingState : uint8_t {
  kIdle = 0, kCreating = 1, kWaitUnlimited = 2, kLoadingUrl = 3, kLoadingFile = 4, kStopping = 5,
  kOtherWait = 6, kOpeningDialogFile = 7, kNavigationFailed = 8
};

class WaitHost {
 public:
  virtual ~WaitHost() = default;
  virtual uint32_t TickCount() = 0;
  // Handles the window messages waiting now (one pass); DocumentComplete arrives here.
  virtual void ProcessMessages() = 0;
  virtual void ShowMessage(const std::u16string& text) = 0;
  // DoTimeout: a fresh empty document; true when it could be made.
  virtual bool ResetDocument() = 0;
  virtual void OnTimedOut() = 0;  // OnTimeout, or the message "The operation timed out."
};

// The steps DocumentComplete runs, in order.
enum class CompletionStep : uint8_t {
  SetIdle,           // state := 0
  Reattach,          // R: document events, paste events, change sink
  EndWait,           // U: the held reference released
  Focus,             // F: focus the document window when the editor has the focus
  Glyphs,            // G: glyphs when ShowDetails
  CreationStep,      // state 1: step C of creation
  FireLoadUrl, FireLoadFromFile, FireStop, FireOpenDialog, FireLoadUrlError,
};

class PendingOperation {
 public:
  explicit PendingOperation(WaitHost& host) : host_(host) {}

  uint8_t State() const { return state_; }
  void SetState(uint8_t s) { state_ = s; }
  bool Busy() const { return state_ != kIdle; }
  bool HoldsObject() const { return held_ != nullptr; }
  TimeoutSetting& Timeout() { return timeout_; }
  void SetIEVersion(double v) { ieVersion_ = v; }
  double IEVersion() const { return ieVersion_; }

  // Step B: holds obj, enters state, runs proc, then pumps messages until the state is 0
  // again or, unless the state is 2, more than Timeout has passed (then the timeout path
  // runs and the result is false). States 3, 4 and 7 return at once from version 7 on.
  bool ExecuteAndWait(std::shared_ptr<void> obj, uint8_t state, const std::function<bool()>& proc);

  // What DocumentComplete does in the current state (the table of states).
  std::vector<CompletionStep> DocumentComplete();

  // BeforeNavigate2: true to cancel. A cancelled navigation in browse mode also sends
  // WM_COMMAND 2137 to the document window (sendCommand).
  bool BeforeNavigate2(bool browseMode, bool& sendCommand);
  void AllowNextNavigation() { navigationAllowed_ = true; }
  void NavigateError() { state_ = kNavigationFailed; }
  void EndWait() { held_.reset(); }

 private:
  bool DoTimeout();

  WaitHost& host_;
  uint8_t state_ = kCreating;
  std::shared_ptr<void> held_;
  TimeoutSetting timeout_;
  double ieVersion_ = 0;
  bool navigationAllowed_ = false;
};

}  // namespace htmledit
