#include "htmledit/module_routines.h"

namespace htmledit {

// The portable build converts through code page 936, the target system's ANSI code page.
int AnsiCodePageOf() { return 936; }

}  // namespace htmledit
