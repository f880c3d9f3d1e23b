#pragma once

#include <string>

#include "base/Cell.h"

namespace pg {

// value rounded to the nearest multiple of step, halves away from zero, in double precision in
// exactly this order: step * Fix(value / step + Sgn(value) * 0.5). Null, Empty, "" and a zero
// step give value back unchanged.
CellValue RoundTo(const CellValue& value, const CellValue& step);
double RoundTo(double value, double step);

// value rounded away from zero up to a multiple of step, after cleaning the quotient to a
// hundredth of the step: Sgn(value) * step * -Floor(RoundTo(-|value| / step, step * 0.01)).
// Null, Empty and "" come back unchanged; a zero step raises Division by zero.
CellValue RoundUpTo(const CellValue& value, const CellValue& step);
double RoundUpTo(double value, double step);

// n and its English suffix, right-aligned in width characters, cut to its leftmost width
// characters when longer: Ordinal(1, 6) is "   1st".
std::string Ordinal(long n, int width);

}  // namespace pg
