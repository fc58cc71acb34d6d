// A pause between tries at the clipboard that answers what other threads and programs send
// meanwhile. A program that empties the clipboard waits, holding it open, for the old owner's
// answer (WM_DESTROYCLIPBOARD, up to 5 s under Wine): an owner that only slept between its
// tries kept that program, and so itself, from the clipboard for its whole wait, and the other
// program's copy then landed in the middle of the owner's next write.
#pragma once

namespace gui {

void PauseAnsweringSentMessages(unsigned ms);

}  // namespace gui
