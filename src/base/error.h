#pragma once
// Failures travel as exceptions carrying the message shown to the user by the
// application's default handler ("compression error", "Bitmap image is not
// valid", ...). Text is UTF-8.
#include <stdexcept>
#include <string>

namespace kelmar {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A text that is not a valid number ("'%s' is not a valid integer value").
class ConvertError : public Error {
 public:
  using Error::Error;
};

// A file that could not be created or written; the message names the file
// and the system's reason, and the system's error code goes with it where
// there is one (0 where not), so that a caller can tell the user in words
// of its own.
class FileError : public Error {
 public:
  explicit FileError(const std::string& what, unsigned long code = 0) : Error(what), code_(code) {}
  unsigned long Code() const { return code_; }

 private:
  unsigned long code_;
};

}  // namespace kelmar
