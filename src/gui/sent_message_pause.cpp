#include "gui/sent_message_pause.h"

#include <windows.h>

namespace gui {

void PauseAnsweringSentMessages(unsigned ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // answers what was sent
    const DWORD passed = GetTickCount() - start;
    if (passed >= ms) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - passed, QS_SENDMESSAGE);
  }
}

}  // namespace gui
