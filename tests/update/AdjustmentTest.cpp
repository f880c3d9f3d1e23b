#include <gtest/gtest.h>

#include <ostream>

#include "update/Adjustment.h"

namespace pg {
namespace {

struct AdjustCase {
  const char* name;
  double net;
  double average;
  double difference;
  double adjustment;
};

void PrintTo(const AdjustCase& c, std::ostream* out) {
  *out << c.name;
}

class Adjust : public ::testing::TestWithParam<AdjustCase> {};

TEST_P(Adjust, MovesByTheClubsRule) {
  const AdjustCase& c = GetParam();
  const PairAdjustment a = AdjustPair(c.net, c.average, HandicapParameters{});
  EXPECT_EQ(a.difference, c.difference);
  EXPECT_EQ(a.side, c.difference < 0 ? 1 : 0);
  EXPECT_EQ(a.adjustment, c.adjustment);
}

// Net scores come from single precision, as a session's percentages do: 53.23f is
// 53.2299995..., which must still count as exactly 2 above an average of 51.23.
INSTANTIATE_TEST_SUITE_P(
    Defaults, Adjust,
    ::testing::Values(AdjustCase{"WorkedExample", 58, 51.23, 6.77, -0.68},
                      AdjustCase{"OnTheUpperEdge", 53.23f, 51.23, 2, -0.2},
                      AdjustCase{"InsideTheUpperEdge", 53.22f, 51.23, 1.99, 0},
                      AdjustCase{"OnTheLowerEdge", 49.23f, 51.23, -2, 0.4},
                      AdjustCase{"InsideTheLowerEdge", 49.24f, 51.23, -1.99, 0},
                      AdjustCase{"OnTheAverage", 51.23f, 51.23, 0, 0},
                      AdjustCase{"FarBelowIsCapped", 31.23f, 51.23, -20, 1},
                      AdjustCase{"FarAboveIsCapped", 71.23f, 51.23, 20, -1},
                      AdjustCase{"HalfAStepGoesAwayFromZero", 57.98f, 51.23, 6.75, -0.68}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Adjust, FollowsTheClubsParameters) {
  HandicapParameters p;
  p.RoundingStep = 0.1;
  p.AdjustRate = {0.5, 0.5};
  p.MaxAdjust = {3, 2};
  EXPECT_DOUBLE_EQ(AdjustPair(58, 51.23, p).adjustment, -3);
  EXPECT_DOUBLE_EQ(AdjustPair(51.23 - 3, 51.23, p).adjustment, 1.5);
  EXPECT_DOUBLE_EQ(AdjustPair(51.23 - 10, 51.23, p).adjustment, 2);
  p.DeadZone = {0, 0};
  EXPECT_DOUBLE_EQ(AdjustPair(51.33, 51.23, p).adjustment, -0.1);
}

TEST(SettleHandicap, RoundsThenKeepsWithinTheRange) {
  const HandicapParameters p;
  EXPECT_DOUBLE_EQ(SettleHandicap(-1 - 0.68, p), -1.68);
  EXPECT_DOUBLE_EQ(SettleHandicap(2.3449, p), 2.34);
  EXPECT_EQ(SettleHandicap(6.5, p), 6);
  EXPECT_EQ(SettleHandicap(-12.004, p), -12);
  EXPECT_EQ(SettleHandicap(-13, p), -12);
}

}  // namespace
}  // namespace pg
