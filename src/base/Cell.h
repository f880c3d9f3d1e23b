#pragma once

#include <string>

#include "base/Date.h"

namespace pg {

// A dynamically typed value as a text file yields it: Empty (never set), Null (no value, as in
// "no result"), a number, a date, a truth value or a text.
class CellValue {
 public:
  enum class Kind : unsigned char { Empty, Null, Number, Date, Bool, Text };

  CellValue() = default;
  CellValue(double n) : kind_(Kind::Number), value_(n) {}
  CellValue(int n) : kind_(Kind::Number), value_(n) {}
  CellValue(Date d) : kind_(Kind::Date), value_(d.time_since_epoch().count()) {}
  CellValue(bool b) : kind_(Kind::Bool), value_(b ? 1 : 0) {}
  CellValue(std::string s) : kind_(Kind::Text), text_(std::move(s)) {}
  CellValue(const char* s) : kind_(Kind::Text), text_(s) {}
  static CellValue Null() {
    CellValue c;
    c.kind_ = Kind::Null;
    return c;
  }

  Kind kind() const { return kind_; }
  bool IsEmpty() const { return kind_ == Kind::Empty; }
  bool IsNull() const { return kind_ == Kind::Null; }
  bool IsNumber() const { return kind_ == Kind::Number; }
  bool IsDate() const { return kind_ == Kind::Date; }
  bool IsBool() const { return kind_ == Kind::Bool; }
  bool IsText() const { return kind_ == Kind::Text; }

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

  // A member the cell's kind does not use keeps its default, so comparing every member compares
  // the values.
  bool operator==(const CellValue& other) const = default;

 private:
  // Not a std::variant: a session holds tens of thousands of cells, copied and assigned while
  // scoring, and plain members copy without a dispatch on the kind each time.
  Kind kind_ = Kind::Empty;
  double value_ = 0;  // a number; a date as its count of days; a truth value as 1 or 0
  std::string text_;
};

}  // namespace pg
