#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "history/ChartScale.h"
#include "support/NamedCases.h"

namespace pg {
namespace {

using test::PrintTo;  // NOLINT(misc-unused-using-decls): GoogleTest finds it for the cases

struct Scale {
  const char* name;
  std::vector<double> values;
  int most;
  std::vector<std::string> labels;
};

class ChartScaleTest : public ::testing::TestWithParam<Scale> {};

// The finest step of 1, 2 or 5 that leaves no more lines than asked for, every value on the
// axis, and labels that tell the lines apart, whatever the values.
TEST_P(ChartScaleTest, HasAtMostTheLinesAskedForAroundEveryValue) {
  const Scale& s = GetParam();
  const ChartScale scale = ScaleFor(s.values, s.most);
  std::vector<std::string> labels;
  for (const ChartScale::Line& line : scale.lines) {
    labels.push_back(line.label);
    EXPECT_TRUE(line.value >= scale.low && line.value <= scale.high) << line.label;
  }
  EXPECT_EQ(labels, s.labels);
  for (const double v : s.values) {
    if (!std::isfinite(v) || std::abs(v) > 1e300) continue;
    EXPECT_TRUE(scale.Fraction(v) > 0 && scale.Fraction(v) < 1) << v;
  }
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, ChartScaleTest,
    ::testing::Values(
        Scale{"TheClubsRange",
              {-12, 6, -8.42},
              10,
              {"-12", "-10", "-8", "-6", "-4", "-2", "0", "2", "4", "6"}},
        Scale{"LittleRoom", {-12, 6, -8.42}, 5, {"-10", "-5", "0", "5"}},
        Scale{"Decimals", {-0.3, 0.25}, 6, {"-0.3", "-0.2", "-0.1", "0.0", "0.1", "0.2"}},
        Scale{"OneValue", {3, 3}, 3, {"2", "3", "4"}},
        Scale{"NothingFinite", {std::nan(""), kInf}, 3, {"0.0", "0.5", "1.0"}},
        Scale{"APhoneNumber",
              {-12, 6, 1234567890},
              8,
              {"0", "2e+08", "4e+08", "6e+08", "8e+08", "1.0e+09", "1.2e+09"}},
        Scale{"TheLargestDoubles", {-1.7e308, 1.7e308}, 3, {"-1e+300", "0", "1e+300"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pg
