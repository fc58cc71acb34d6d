// The hook components' platform on Windows: the hook library through LoadLibrary, a
// message-only listener window on the calling thread, system error texts and message boxes.
#pragma once

#include "desktop/sys_hook.h"

namespace desktop {

// The one platform of the process. Components using it must be started, stopped and fed
// messages on one thread (the GUI thread). At process end it warns when the hook library
// is still loaded (a component was never stopped).
HookPlatform& Win32HookPlatform();

}  // namespace desktop
