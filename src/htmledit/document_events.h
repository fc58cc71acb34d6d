// The document's events numbered as the editor's handler objects carry them: in the
// alphabetical order of the event names, from 0 (abort) to 77 (unload).
#pragma once

#include <string_view>

namespace htmledit {

inline constexpr int kDocumentEventCount = 78;

// The event's name ("keydown"), empty outside 0..77.
std::u16string_view DocumentEventName(int index);
// The index of an event name, -1 when there is none.
int DocumentEventIndex(std::u16string_view name);

}  // namespace htmledit
