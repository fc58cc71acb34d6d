#include "htmledit/editor_module_win32.h"

#include <ole2.h>

#include <cstdlib>

#include "htmledit/engine_interfaces_win32.h"
#include "htmledit/html_tables.h"

namespace htmledit {

namespace {
bool started = false;
}

void StartEditorModule() {
  if (started) return;
  started = true;
  StartModule();
  OleInitialize(nullptr);
  RegisterEngineClass();
  std::atexit(EndEditorModule);
}

void EndEditorModule() {
  if (!started) return;
  started = false;
  RevokeEngineClass();
  OleUninitialize();
  EndModule();
}

}  // namespace htmledit
