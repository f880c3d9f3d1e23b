#include "base/Cell.h"

#include "base/Errors.h"
#include "base/Numbers.h"

namespace pg {

double CellValue::number() const {
  if (!IsNumber()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return std::get<double>(v_);
}

Date CellValue::date() const {
  if (!IsDate()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return std::get<Date>(v_);
}

bool CellValue::boolean() const {
  if (!IsBool()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return std::get<bool>(v_);
}

const std::string& CellValue::text() const {
  if (!IsText()) Raise(IsNull() ? err::kInvalidUseOfNull : err::kTypeMismatch);
  return std::get<std::string>(v_);
}

double CellValue::NumericValue() const {
  switch (kind()) {
    case Kind::Number: return std::get<double>(v_);
    case Kind::Text: return pg::NumericValue(std::get<std::string>(v_));
    case Kind::Bool: return std::get<bool>(v_) ? -1.0 : 0.0;
    default: return 0.0;
  }
}

bool CellValue::IsNumeric() const {
  return IsNumber() || (IsText() && pg::IsNumber(std::get<std::string>(v_)));
}

std::string CellValue::ToText() const {
  switch (kind()) {
    case Kind::Number: return NumberText(std::get<double>(v_));
    case Kind::Text: return std::get<std::string>(v_);
    case Kind::Bool: return std::get<bool>(v_) ? "True" : "False";
    case Kind::Date: return FormatDate(std::get<Date>(v_), "dd/mm/yyyy");
    default: return "";
  }
}

}  // namespace pg
