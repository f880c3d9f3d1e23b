#include "base/Errors.h"

namespace pg {

std::string ErrorDescription(int number) {
  switch (number) {
    case err::kInvalidCall: return "Invalid procedure call or argument";
    case err::kOverflow: return "Overflow";
    case err::kOutOfMemory: return "Out of memory";
    case err::kSubscript: return "Subscript out of range";
    case err::kDivisionByZero: return "Division by zero";
    case err::kTypeMismatch: return "Type mismatch";
    case err::kBadFileName: return "Bad file name or number";
    case err::kFileNotFound: return "File not found";
    case err::kFileAlreadyExists: return "File already exists";
    case err::kDiskFull: return "Disk full";
    case err::kInputPastEnd: return "Input past end of file";
    case err::kPermissionDenied: return "Permission denied";
    case err::kPathFileAccess: return "Path/File access error";
    case err::kPathNotFound: return "Path not found";
    case err::kInvalidUseOfNull: return "Invalid use of Null";
    default: return "Application-defined or object-defined error";
  }
}

RunTimeError::RunTimeError(int number) : RunTimeError(number, ErrorDescription(number)) {}

RunTimeError::RunTimeError(int number, const std::string& description)
    : std::runtime_error(description), number_(number), description_(description) {}

void Raise(int number) {
  throw RunTimeError(number);
}

void Raise(int number, const std::string& description) {
  throw RunTimeError(number, description);
}

}  // namespace pg
