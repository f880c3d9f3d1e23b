#include "scoring/Rounding.h"

#include <cmath>

#include "base/Errors.h"

namespace pg {
namespace {

double Sgn(double v) {
  return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
}

// Null, and whatever equals "" (an empty text, or Empty, which is never set), is no number to
// round and comes back as it is.
bool PassesThrough(const CellValue& value) {
  return value.IsNull() || value.IsEmpty() || (value.IsText() && value.text().empty());
}

double Operand(const CellValue& v) {
  if (v.IsNull()) Raise(err::kInvalidUseOfNull);
  if (v.IsText() && !v.IsNumeric()) Raise(err::kTypeMismatch);
  return v.NumericValue();
}

}  // namespace

double RoundTo(double value, double step) {
  if (step == 0) return value;
  return step * std::trunc(value / step + Sgn(value) * 0.5);
}

CellValue RoundTo(const CellValue& value, const CellValue& step) {
  if (PassesThrough(value)) return value;
  const double s = Operand(step);
  if (s == 0) return value;
  return CellValue(RoundTo(Operand(value), s));
}

double RoundUpTo(double value, double step) {
  if (step == 0) Raise(err::kDivisionByZero);
  const double a = -std::fabs(value) / step;
  const double r = RoundTo(a, step * 0.01);
  return Sgn(value) * step * -std::floor(r);
}

CellValue RoundUpTo(const CellValue& value, const CellValue& step) {
  if (PassesThrough(value)) return value;
  return CellValue(RoundUpTo(Operand(value), Operand(step)));
}

std::string Ordinal(long n, int width) {
  long d = n % 10;
  if (n > 10 && n < 14) d = 4;
  const char* suffix = d == 1 ? "st" : d == 2 ? "nd" : d == 3 ? "rd" : "th";
  const std::string text = std::to_string(n) + suffix;
  const size_t w = width > 0 ? static_cast<size_t>(width) : 0;
  if (text.size() >= w) return text.substr(0, w);
  return std::string(w - text.size(), ' ') + text;
}

}  // namespace pg
