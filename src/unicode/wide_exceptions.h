// Exceptions of the wide string layer. Messages are UTF-16 (file names may hold any
// character); what() gives the same text as UTF-8 for generic handlers and logs.
#pragma once

#include <stdexcept>
#include <initializer_list>
#include <string>
#include <string_view>

namespace unicode {

class WideException : public std::exception {
 public:
  explicit WideException(std::u16string message);
  const std::u16string& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::u16string message_;
  std::string utf8_;
};

// A file that cannot be opened or created by TUniFileStream.
class EWideFileStreamError : public WideException {
 public:
  explicit EWideFileStreamError(std::u16string message, int systemError = 0)
      : WideException(std::move(message)), systemError_(systemError) {}
  // The system's error number behind the failure.
  int SystemError() const { return systemError_; }

 private:
  int systemError_;
};
class EWideFCreateError : public EWideFileStreamError {
 public:
  using EWideFileStreamError::EWideFileStreamError;
};
class EWideFOpenError : public EWideFileStreamError {
 public:
  using EWideFileStreamError::EWideFileStreamError;
};

// A read or write that moved fewer bytes than asked (ReadBuffer/WriteBuffer).
class EStreamError : public WideException {
 public:
  using WideException::WideException;
};

// An index outside a list: "List index out of bounds (%d)", or another misuse of a list.
class EListError : public WideException {
 public:
  using WideException::WideException;
  static EListError IndexOutOfBounds(int index);
};

// A window that refused a line ("Unable to insert a line", "Line too long").
class EOutOfResources : public WideException {
 public:
  using WideException::WideException;
};

// Replaces each "%s" of a message pattern by the next argument, in order.
std::u16string FormatMessageText(std::u16string_view pattern, std::initializer_list<std::u16string_view> args);

// Decimal text of a number, as UTF-16.
std::u16string IntToText(long long value);

}  // namespace unicode
