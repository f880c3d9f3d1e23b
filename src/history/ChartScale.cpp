#include "history/ChartScale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace pg {
namespace {

constexpr double kFarthest = 1e300;

// A grid line's label, the step being a mantissa times ten to `exponent`: decimals down to the
// step's last digit; on an axis reaching past a billion, or with steps finer than a millionth, in
// powers of ten with as many digits as tell two lines apart.
std::string Label(double value, int exponent, bool powers) {
  std::array<char, 64> text{};
  if (!powers) {
    std::snprintf(text.data(), text.size(), "%.*f", std::max(0, -exponent), value);
  } else if (value == 0) {
    return "0";
  } else {
    const auto magnitude = static_cast<int>(std::floor(std::log10(std::abs(value))));
    std::snprintf(text.data(), text.size(), "%.*e", std::clamp(magnitude - exponent, 0, 15), value);
  }
  return text.data();
}

}  // namespace

ChartScale ScaleFor(std::span<const double> values, int most) {
  most = std::max(most, 2);
  ChartScale scale;
  bool any = false;
  for (double v : values) {
    if (!std::isfinite(v)) continue;
    v = std::clamp(v, -kFarthest, kFarthest);
    scale.low = any ? std::min(scale.low, v) : v;
    scale.high = any ? std::max(scale.high, v) : v;
    any = true;
  }
  if (!any) scale.high = 1;
  // Values (nearly) equal are shown on an axis a point either way, or a little more for large
  // ones, so that the step stays one a double can count in.
  const double size = std::max({1.0, std::abs(scale.low), std::abs(scale.high)});
  if (scale.high - scale.low < size * 1e-12) {
    const double middle = scale.low / 2 + scale.high / 2;
    scale.low = middle - size * 0.5;
    scale.high = middle + size * 0.5;
  }
  const double margin = (scale.high - scale.low) * 0.05;
  scale.low -= margin;
  scale.high += margin;

  // The finest step of 1, 2 or 5 times a power of ten that gives no more than `most` lines.
  auto count = [&](double step) {
    return std::floor(scale.high / step) - std::ceil(scale.low / step) + 1;
  };
  int exponent = static_cast<int>(std::floor(std::log10((scale.high - scale.low) / most))) - 1;
  for (size_t m = 0;; m = (m + 1) % 3) {
    static constexpr std::array<double, 3> kMantissas{1, 2, 5};
    scale.step = kMantissas[m] * std::pow(10.0, exponent);
    if (count(scale.step) <= most) break;
    if (m == 2) ++exponent;
  }

  const bool powers = std::max(std::abs(scale.low), std::abs(scale.high)) >= 1e9 || exponent < -6;
  const double first = std::ceil(scale.low / scale.step);
  const auto lines = static_cast<int>(count(scale.step));
  for (int i = 0; i < lines; ++i) {
    // Adding zero makes a negative zero the zero a label shows without a sign.
    const double value = (first + i) * scale.step + 0.0;
    scale.lines.push_back({value, Label(value, exponent, powers)});
  }
  return scale;
}

}  // namespace pg
