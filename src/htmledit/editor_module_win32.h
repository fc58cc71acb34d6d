// Module start and end of the HTML editor on Windows: the constant tables, OLE for the
// calling thread and the engine's class object. Start runs once, before the first editor.
#pragma once

namespace htmledit {

void StartEditorModule();
void EndEditorModule();

}  // namespace htmledit
