// No C++ exception may unwind through a Windows frame (window procedures, timer and
// hook callbacks). Every such boundary runs its work through Guarded(), which reports
// what escaped and keeps the program running.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace gui {

// Shows the error to the user (a message box captioned "出错"), unless a test or the
// caller replaced the reporter. Never throws.
void ReportUnhandledException(const char* where) noexcept;

// Replaces the reporter (for example to collect errors in a test). Pass nullptr to restore.
using ExceptionReporter = std::function<void(const std::string& where, const std::string& what)>;
void SetExceptionReporter(ExceptionReporter reporter);

template <class F, class R>
R Guarded(const char* where, R fallback, F&& work) noexcept {
  try {
    return work();
  } catch (...) {
    ReportUnhandledException(where);
    return fallback;
  }
}

template <class F>
void Guarded(const char* where, F&& work) noexcept {
  try {
    work();
  } catch (...) {
    ReportUnhandledException(where);
  }
}

}  // namespace gui
