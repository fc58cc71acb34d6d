#include "gui/guard.h"

#include <windows.h>

#include <exception>
#include <new>
#include <string>

#include "gui/modal_loop.h"
#include "gui/wide.h"
#include "unicode/codepage.h"

namespace gui {

namespace {
ExceptionReporter& Reporter() {
  static ExceptionReporter reporter;
  return reporter;
}
}  // namespace

void SetExceptionReporter(ExceptionReporter reporter) { Reporter() = std::move(reporter); }

void ReportUnhandledException(const char* where) noexcept {
  try {
    std::string what = "unknown error";
    try {
      throw;
    } catch (const std::exception& e) {
      what = e.what();
    } catch (...) {
    }
    if (Reporter()) {
      Reporter()(where, what);
      return;
    }
    // Library exceptions carry English texts; the message keeps them as they are.
    const std::u16string text = u"程序内部错误（" + unicode::Utf8ToUtf16(where) + u"）：\r\n" + unicode::Utf8ToUtf16(what);
    const ModalLoopScope modal;
    MessageBoxW(nullptr, W(text), L"出错", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  } catch (...) {
    // Nothing more can be done without risking an exception through a Windows frame.
  }
}

}  // namespace gui
