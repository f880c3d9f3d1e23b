#include "base/Cell.h"

#include "base/Errors.h"
#include "base/Numbers.h"

namespace pg {

double CellValue::number() const {
  if (!IsNumber()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return value_;
}

Date CellValue::date() const {
  if (!IsDate()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return Date(std::chrono::days(static_cast<int>(value_)));
}

bool CellValue::boolean() const {
  if (!IsBool()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return value_ != 0;
}

const std::string& CellValue::text() const {
  if (!IsText()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return text_;
}

double CellValue::NumericValue() const {
  switch (kind()) {
    case Kind::Number: return value_;
    case Kind::Text: return pg::NumericValue(text_);
    case Kind::Bool: return value_ != 0 ? -1.0 : 0.0;
    default: return 0.0;
  }
}

bool CellValue::IsNumeric() const {
  return IsNumber() || (IsText() && pg::IsNumber(text_));
}

std::string CellValue::ToText() const {
  switch (kind()) {
    case Kind::Number: return NumberText(value_);
    case Kind::Text: return text_;
    case Kind::Bool: return value_ != 0 ? "True" : "False";
    case Kind::Date: return FormatDate(date(), "dd/mm/yyyy");
    default: return "";
  }
}

}  // namespace pg
