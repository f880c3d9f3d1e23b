#include "base/Cell.h"

#include "base/Errors.h"
#include "base/Numbers.h"

namespace pg {

double CellValue::number() const {
  if (!IsNumber()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return number_;
}

Date CellValue::date() const {
  if (!IsDate()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return date_;
}

bool CellValue::boolean() const {
  if (!IsBool()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return boolean_;
}

const std::string& CellValue::text() const {
  if (!IsText()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return text_;
}

double CellValue::NumericValue() const {
  switch (kind()) {
    case Kind::Number: return number_;
    case Kind::Text: return pg::NumericValue(text_);
    case Kind::Bool: return boolean_ ? -1.0 : 0.0;
    default: return 0.0;
  }
}

bool CellValue::IsNumeric() const {
  return IsNumber() || (IsText() && pg::IsNumber(text_));
}

std::string CellValue::ToText() const {
  switch (kind()) {
    case Kind::Number: return NumberText(number_);
    case Kind::Text: return text_;
    case Kind::Bool: return boolean_ ? "True" : "False";
    case Kind::Date: return FormatDate(date_, "dd/mm/yyyy");
    default: return "";
  }
}

}  // namespace pg
