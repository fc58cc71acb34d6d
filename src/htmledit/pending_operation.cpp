#include "htmledit/pending_operation.h"

#include <exception>

#include "unicode/codepage.h"

namespace htmledit {

bool PendingOperation::ExecuteAndWait(std::shared_ptr<void> obj, uint8_t state, const std::function<bool()>& proc) {
  const int64_t limit = timeout_.LimitMs();
  held_ = std::move(obj);
  state_ = state;
  bool result = false;
  try {
    result = proc();
    if ((state == kLoadingUrl || state == kLoadingFile || state == kOpeningDialogFile) && ieVersion_ >= 7.0)
      return result;
    const uint32_t start = host_.TickCount();
    while (Busy()) {
      host_.ProcessMessages();
      if (state != kWaitUnlimited && Busy() && static_cast<int64_t>(host_.TickCount() - start) > limit) {
        held_.reset();
        ExecuteAndWait(nullptr, kWaitUnlimited, [this] { return DoTimeout(); });
        return false;
      }
    }
    held_.reset();
    return result;
  } catch (const std::exception& e) {
    state_ = kIdle;
    held_.reset();
    host_.ShowMessage(unicode::Utf8ToUtf16(e.what()));
    return result;
  }
}

bool PendingOperation::DoTimeout() {
  bool ok = host_.ResetDocument();
  // Without a fresh document the unlimited wait would never end: the state ends anyway.
  state_ = kIdle;
  if (ok) host_.OnTimedOut();
  return ok;
}

std::vector<CompletionStep> PendingOperation::DocumentComplete() {
  using S = CompletionStep;
  switch (state_) {
    case kIdle: return {S::SetIdle};
    case kCreating: return {S::CreationStep};
    case kWaitUnlimited:
    case kOtherWait: return {};
    case kLoadingUrl: state_ = kIdle; return {S::SetIdle, S::Glyphs, S::Reattach, S::EndWait, S::Focus, S::FireLoadUrl};
    case kLoadingFile: state_ = kIdle; return {S::SetIdle, S::Focus, S::Glyphs, S::Reattach, S::FireLoadFromFile};
    case kStopping: state_ = kIdle; return {S::SetIdle, S::Reattach, S::EndWait, S::FireStop};
    case kOpeningDialogFile: state_ = kIdle; return {S::SetIdle, S::Focus, S::Glyphs, S::Reattach, S::FireOpenDialog};
    case kNavigationFailed: state_ = kIdle; return {S::SetIdle, S::Reattach, S::EndWait, S::FireLoadUrlError};
    default: return {};
  }
}

bool PendingOperation::BeforeNavigate2(bool browseMode, bool& sendCommand) {
  sendCommand = false;
  if (state_ == kLoadingUrl) return false;
  if (navigationAllowed_) {
    navigationAllowed_ = false;
    return false;
  }
  sendCommand = browseMode;
  return true;
}

}  // namespace htmledit
