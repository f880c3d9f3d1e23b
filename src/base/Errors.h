#pragma once

#include <stdexcept>
#include <string>

namespace pg {

// Run-time error numbers the program raises; the descriptions are the ones users of the club's
// older tools already know from their error reports.
namespace err {
inline constexpr int kInvalidCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscript = 9;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kBadFileName = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileAlreadyExists = 58;
inline constexpr int kDiskFull = 61;
inline constexpr int kInputPastEnd = 62;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidUseOfNull = 94;
}  // namespace err

// The description shown with an error number ("Overflow", "Subscript out of range", ...).
std::string ErrorDescription(int number);

// An unexpected failure inside a step: carries the number and description ReportError shows.
class RunTimeError : public std::runtime_error {
 public:
  explicit RunTimeError(int number);
  RunTimeError(int number, const std::string& description);
  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

[[noreturn]] void Raise(int number);
[[noreturn]] void Raise(int number, const std::string& description);

// The error a failed file operation leaves behind, for messages that show it without raising.
struct FileError {
  int number = 0;
  std::string description;
};

}  // namespace pg
