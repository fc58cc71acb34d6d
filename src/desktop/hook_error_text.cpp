#include "desktop/hook_error_text.h"

#include <string>

#include "desktop/hook_protocol.h"

namespace desktop {

std::u16string HookErrorText(int32_t code, const std::function<std::u16string(uint32_t)>& systemMessage) {
  switch (code) {
    case kHookNoError: return u"No error.";
    case kHookMissingExports: return u"DLL doesn't export all required functions.";
    case kHookReceiverAlreadyRegistered: return u"Receiver already registered.";
    case kHookReceiverNotRegistered: return u"Receiver not registered.";
    case kHookTooManyReceivers: return u"Too many receivers.";
    case kHookAlreadyInstalled: return u"System hook already installed.";
    default: break;
  }
  if (code > 0) return systemMessage(static_cast<uint32_t>(code));
  const std::string number = std::to_string(code);
  return u"Unknown error " + std::u16string(number.begin(), number.end());
}

}  // namespace desktop
