#pragma once
// The framework's exception classes. Exceptions that escape an event handler are caught
// at the window procedure and shown by the application's standard error box.
#include <stdexcept>
#include <string>

namespace fw {

class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  std::string Message() const { return what(); }
};

// A text that is not a number ("'%s' is not a valid floating point value").
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Reading a stream or a stored description failed (short data, unknown class, bad value).
class EReadError : public Exception {
 public:
  using Exception::Exception;
};

// A Win32 call failed; the message names the call and GetLastError's code.
class EOSError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace fw
