#pragma once

#include <string>
#include <variant>

#include "base/Date.h"

namespace pg {

// A dynamically typed value as a text file yields it: Empty (never set), Null (no value, as in
// "no result"), a number, a date, a truth value or a text.
class CellValue {
 public:
  enum class Kind { Empty, Null, Number, Date, Bool, Text };

  CellValue() = default;
  CellValue(double n) : v_(n) {}
  CellValue(int n) : v_(static_cast<double>(n)) {}
  CellValue(Date d) : v_(d) {}
  CellValue(bool b) : v_(b) {}
  CellValue(std::string s) : v_(std::move(s)) {}
  CellValue(const char* s) : v_(std::string(s)) {}
  static CellValue Null() {
    CellValue c;
    c.v_ = NullTag{};
    return c;
  }

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool IsEmpty() const { return kind() == Kind::Empty; }
  bool IsNull() const { return kind() == Kind::Null; }
  bool IsNumber() const { return kind() == Kind::Number; }
  bool IsDate() const { return kind() == Kind::Date; }
  bool IsBool() const { return kind() == Kind::Bool; }
  bool IsText() const { return kind() == Kind::Text; }

  // Accessors for a known kind; the wrong kind raises Type mismatch.
  double number() const;
  Date date() const;
  bool boolean() const;
  const std::string& text() const;

  // The value as a number the way arithmetic sees it: numbers as they are, text by its leading
  // number (0 when none), true -1, false 0, Empty and Null 0.
  double NumericValue() const;
  // Whether the value is a number or a text that is wholly a number.
  bool IsNumeric() const;
  // The value as text: numbers in plain decimal form, dates dd/mm/yyyy, Empty and Null "".
  std::string ToText() const;

  bool operator==(const CellValue& other) const = default;

 private:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  std::variant<std::monostate, NullTag, double, Date, bool, std::string> v_;
};

}  // namespace pg
