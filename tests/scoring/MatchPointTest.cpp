#include <gtest/gtest.h>

#include <ostream>

#include <optional>
#include <random>
#include <vector>

#include "scoring/Scoring.h"
#include "scoring/TestSessions.h"

namespace pg {
namespace {

using test::MakeSession;
using test::SetRow;

std::vector<double> NorthSouthPoints(const Session& s, short board) {
  std::vector<double> points;
  for (short r = 1; r <= s.RowCount; ++r)
    points.push_back(s.MatchPoints(board, r, 1).NumericValue());
  return points;
}

struct TravellerCase {
  const char* name;
  short maxEntries;
  std::vector<double> scores;  // North-South, one row each
  std::vector<double> points;  // North-South match points expected
};
void PrintTo(const TravellerCase& c, std::ostream* out) {
  *out << c.name;
}

class Traveller : public testing::TestWithParam<TravellerCase> {};

TEST_P(Traveller, ScoresAgainstTheFullestTraveller) {
  const TravellerCase& c = GetParam();
  const short rows = static_cast<short>(c.scores.size());
  Session s = MakeSession(2 * rows, 1, rows);
  for (short r = 1; r <= rows; ++r)
    SetRow(s, 1, r, r, static_cast<short>(rows + r), c.scores[r - 1]);
  s.MaxEntries = c.maxEntries;
  MatchPointBoard(s, 1);
  const std::vector<double> points = NorthSouthPoints(s, 1);
  for (size_t i = 0; i < points.size(); ++i)
    EXPECT_NEAR(points[i], c.points[i], 1e-12) << "row " << i + 1;
  // East-West holds the mirror of North-South on a plain traveller.
  EXPECT_NEAR(s.MatchPoints(1, 1, 2).NumericValue(), 2 * c.maxEntries - 2 - c.points[0], 1e-12);
}

constexpr double k8of7 = 8.0 / 7;
INSTANTIATE_TEST_SUITE_P(
    Figures, Traveller,
    testing::Values(
        TravellerCase{
            "Distinct", 8, {800, 700, 600, 500, 400, 300, 200, 100}, {14, 12, 10, 8, 6, 4, 2, 0}},
        TravellerCase{
            "SharedTop", 8, {800, 800, 600, 500, 400, 300, 200, 100}, {13, 13, 10, 8, 6, 4, 2, 0}},
        TravellerCase{"SevenScaledToEight",
                      8,
                      {700, 600, 500, 400, 300, 200, 100},
                      {14 - k8of7 + 1, 11 * k8of7 - 1, 9 * k8of7 - 1, 7 * k8of7 - 1, 5 * k8of7 - 1,
                       3 * k8of7 - 1, k8of7 - 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MatchPointBoard, AdjustedScoresAreFixedAndLeaveTheComparison) {
  Session s = MakeSession(16, 1, 8);
  SetRow(s, 1, 1, 1, 9, CellValue(9003), CellValue(9001));
  SetRow(s, 1, 2, 2, 10, CellValue(9002), CellValue(9002));
  for (short r = 3; r <= 8; ++r)
    SetRow(s, 1, r, r, static_cast<short>(8 + r), 100.0 * r);
  s.MaxEntries = 8;
  MatchPointBoard(s, 1);
  EXPECT_EQ(s.MatchPoints(1, 1, 1).number(), 8.4);
  EXPECT_NEAR(s.MatchPoints(1, 1, 2).number(), 5.6, 1e-12);
  EXPECT_EQ(s.MatchPoints(1, 2, 1).number(), 7);
  EXPECT_TRUE(s.HasAveAdjusted);
  // Six results compete, scaled to eight.
  EXPECT_NEAR(s.MatchPoints(1, 8, 1).number(), 14 - 8.0 / 6 + 1, 1e-12);

  s.MaxEntries = 7;  // top 12: 12 x 0.1 lies above 1.2 and rounds up a whole step
  MatchPointBoard(s, 1);
  EXPECT_FLOAT_EQ(static_cast<float>(s.MatchPoints(1, 1, 1).number()), 7.20001f);
  EXPECT_FLOAT_EQ(static_cast<float>(s.MatchPoints(1, 1, 2).number()), 4.79999f);
}

TEST(MatchPointBoard, SplitScorePartsCompeteWithTheirWeights) {
  Session s = MakeSession(6, 1, 3);
  SetRow(s, 1, 1, 1, 4, 400);
  SetRow(s, 1, 2, 2, 5, 100);
  SetRow(s, 1, 3, 3, 6, CellValue(9101), CellValue(9102));
  s.SplitScores.Dim({Bounds{1, 2}, Bounds{0, 12}});
  for (short n = 1; n <= 2; ++n) {
    const double sign = n == 1 ? 1 : -1;
    s.SplitScores(n, 3) = CellValue(50);
    s.SplitScores(n, 4) = CellValue(50);
    s.SplitScores(n, 5) = CellValue(0);  // a weight of 0 takes no part
    s.SplitScores(n, 8) = CellValue(sign * 400);
    s.SplitScores(n, 9) = CellValue(sign * 100);
    s.SplitScores(n, 10) = CellValue(sign * 250);
  }
  s.MaxEntries = 3;
  MatchPointBoard(s, 1);
  EXPECT_EQ(NorthSouthPoints(s, 1), (std::vector<double>{3.5, 0.5, 2}));
  EXPECT_EQ(s.MatchPoints(1, 1, 2).number(), 0.5);
  EXPECT_EQ(s.MatchPoints(1, 3, 2).number(), 2);
}

TEST(ScoreBoard, FouledRowsAreATravellerOfTheirOwn) {
  Session s = MakeSession(18, 1, 9);
  for (short r = 1; r <= 9; ++r) {
    SetRow(s, 1, r, r, static_cast<short>(9 + r), 10.0 * r);
    if (r % 2 == 0) s.RowText(1, r, 0) = "F";
  }
  s.RowText(1, 1, 0) = "x F";  // only a leading "F" flags a row
  s.MaxEntries = 9;
  ScoreBoard(s, 1);
  EXPECT_EQ(s.BoardEntries(1), 9);
  double flagged = 0;
  double unflagged = 0;
  for (short r = 1; r <= 9; ++r)
    (r % 2 == 0 ? flagged : unflagged) += s.MatchPoints(1, r, 1).number();
  // Each group averages half the top, its best score scaled as in a traveller of nine.
  EXPECT_NEAR(flagged / 4, 8, 1e-12);
  EXPECT_NEAR(unflagged / 5, 8, 1e-12);
  EXPECT_NEAR(s.MatchPoints(1, 9, 1).number(), 16 - 9.0 / 5 + 1, 1e-12);
  EXPECT_NEAR(s.MatchPoints(1, 8, 1).number(), 16 - 9.0 / 4 + 1, 1e-12);
  EXPECT_EQ(s.Score(1, 8, 1).number(), 80);
}

// On random travellers of plain scores every score gets two points per score beaten and one per
// other score equalled, plus one, scaled to the fullest traveller, less one.
TEST(ScoreResults, MatchPointsFollowTheScaledCountOfScoresBeaten) {
  std::mt19937 random(20261208);
  const short rows = 9;
  const short boards = 40;
  Session s = MakeSession(2 * rows, boards, rows);
  for (short b = 1; b <= boards; ++b) {
    // The fullest board comes last, so that no board is scored against a smaller top.
    const int results = b == boards ? rows : std::uniform_int_distribution<int>(0, rows)(random);
    for (short r = 1; r <= results; ++r) {
      const double score = 10 * std::uniform_int_distribution<int>(-8, 8)(random);
      SetRow(s, b, r, r, static_cast<short>(rows + r), score);
    }
  }
  test::ScoringContext sc;
  ScoreResults(s, sc.ctx);
  ASSERT_EQ(s.MaxEntries, rows);
  for (short b = 1; b <= boards; ++b) {
    for (short side = 1; side <= 2; ++side) {
      std::vector<double> scores;
      for (short r = 1; r <= rows; ++r) {
        if (!s.Score(b, r, side).IsNull()) scores.push_back(s.Score(b, r, side).number());
      }
      for (short r = 1; r <= static_cast<short>(scores.size()); ++r) {
        int beaten = 0;
        int equalled = -1;
        for (double other : scores) {
          beaten += other < scores[r - 1];
          equalled += other == scores[r - 1];
        }
        const double expected =
            (2.0 * beaten + equalled + 1) * rows / static_cast<double>(scores.size()) - 1;
        EXPECT_NEAR(s.MatchPoints(b, r, side).number(), expected, 1e-9)
            << "board " << b << " row " << r << " side " << side;
      }
    }
  }
}

}  // namespace
}  // namespace pg
