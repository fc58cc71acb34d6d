// SendKeys with the real keyboard: VkKeyScanA and MapVirtualKeyA of the current layout,
// keybd_event, and message boxes captioned "SendKeys".
#pragma once

#include <string_view>

#include "desktop/send_keys.h"

namespace desktop {

SendKeysPlatform& Win32SendKeysPlatform();

// SendKeys on the real keyboard.
bool SendKeys(std::string_view Keys, bool Wait);

}  // namespace desktop
