#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "scoring/Rounding.h"
#include "scoring/Scoring.h"
#include "scoring/TestSessions.h"

namespace pg {
namespace {

using test::MakeSession;
using test::SetRow;

struct RankCase {
  const char* name;
  std::vector<float> keys;
  std::vector<short> order;
  std::vector<std::string> texts;  // by index
};
void PrintTo(const RankCase& c, std::ostream* out) {
  *out << c.name;
}

class Ranking : public testing::TestWithParam<RankCase> {};

TEST_P(Ranking, OrdersAndNamesPositions) {
  const RankCase& c = GetParam();
  const short n = static_cast<short>(c.keys.size());
  Array1<float> key;
  Array1<short> order;
  Array1<std::string> text;
  key.DimFrom1(n + 1);
  order.DimFrom1(n + 1);
  text.DimFrom1(n + 1);
  // Index 1 lies outside the range ranked, so positions count from the range's first index.
  key(1) = 1000;
  for (short i = 1; i <= n; ++i)
    key(i + 1) = c.keys[i - 1];
  RankPairs(2, static_cast<short>(n + 1), key, order, text, true);
  for (short i = 1; i <= n; ++i) {
    EXPECT_EQ(order(i + 1), c.order[i - 1] + 1) << "position " << i;
    EXPECT_EQ(text(i + 1), c.texts[i - 1]) << "index " << i;
  }
  EXPECT_EQ(text(1), "");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Ranking,
    testing::Values(
        RankCase{"SharedSecond",
                 {60, 55, 55, 50},
                 {1, 2, 3, 4},
                 {"    1st", "=   2nd", "=   2nd", "    4th"}},
        RankCase{"WithinATenThousandth", {55.0001f, 55.00015f}, {2, 1}, {"=   1st", "=   1st"}},
        RankCase{"JustApart", {55.0f, 55.0002f}, {2, 1}, {"    2nd", "    1st"}},
        RankCase{"ARunTiesAsAWhole",
                 {50.00016f, 50.00008f, 50, 40},
                 {1, 2, 3, 4},
                 {"=   1st", "=   1st", "=   1st", "    4th"}},
        // The selection sort leaves equal keys in the order its swaps made.
        RankCase{"EqualKeysAfterASwap", {5, 5, 9}, {3, 2, 1}, {"=   2nd", "=   2nd", "    1st"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Two winner groups of three pairs; North-South pair 3 is the phantom, so its opponents sit out.
Session TwoWinnerSession() {
  Session s = MakeSession(6, 3, 3);
  s.NSPairCount = 3;
  s.WinnerCount = 2;
  s.PhantomPair = 3;
  SetRow(s, 1, 1, 1, 4, 420);
  SetRow(s, 1, 2, 2, 5, 400);
  SetRow(s, 1, 3, 3, 6, CellValue::Null(), CellValue::Null());
  SetRow(s, 2, 1, 1, 5, 100);
  SetRow(s, 2, 2, -2, -6, -100);  // a pair number may be stored negative
  SetRow(s, 2, 3, 3, 4, CellValue::Null(), CellValue::Null());
  SetRow(s, 3, 1, 1, 6, 50);  // one result: scored, but worth nothing to anybody
  return s;
}

TEST(ScoreResults, RanksEachWinnerGroupWithThePhantomLast) {
  Session s = TwoWinnerSession();
  test::ScoringContext sc;
  ScoreResults(s, sc.ctx);
  ASSERT_TRUE(s.ScoreOK);
  EXPECT_EQ(s.Top, 2);
  EXPECT_EQ(s.MatchPoints(3, 1, 1).number(), 1);
  EXPECT_TRUE(s.PairBoardMP(1, 3).IsEmpty());
  EXPECT_EQ(std::vector<float>({4, 0, 0, 0, 2, 2}),
            std::vector<float>({s.PairTotal(1), s.PairTotal(2), s.PairTotal(3), s.PairTotal(4),
                                s.PairTotal(5), s.PairTotal(6)}));
  EXPECT_EQ(std::vector<short>({2, 2, 0, 1, 2, 1}),
            std::vector<short>({s.PairBoards(1), s.PairBoards(2), s.PairBoards(3), s.PairBoards(4),
                                s.PairBoards(5), s.PairBoards(6)}));
  // Pair 6 played one board of two: its total counts double.
  EXPECT_EQ(s.PairFactored(6), 4);
  EXPECT_EQ(s.PairFactored(3), -999999);
  EXPECT_EQ(std::vector<float>({100, 0, 0, 0, 50, 100}),
            std::vector<float>({s.PairPercent(1), s.PairPercent(2), s.PairPercent(3),
                                s.PairPercent(4), s.PairPercent(5), s.PairPercent(6)}));
  EXPECT_EQ(std::vector<short>({1, 2, 3, 6, 5, 4}),
            std::vector<short>({s.PairOrder(1), s.PairOrder(2), s.PairOrder(3), s.PairOrder(4),
                                s.PairOrder(5), s.PairOrder(6)}));
  EXPECT_EQ(s.PairPos(3), "    3rd");
  EXPECT_EQ(s.PairPos(6), "    1st");
  EXPECT_EQ(s.PairPos(4), "    3rd");
}

TEST(ScoreResults, HandicappedSessionAveragesEachGroupWithoutThePhantom) {
  Session s = TwoWinnerSession();
  s.WantHandicaps = 1;
  s.PlayerHandicaps(1) = CellValue(1.5);
  s.PlayerHandicaps(7) = CellValue(-0.5);
  s.PlayerHandicaps(2) = CellValue("abc");  // not a number: counts 0
  s.PlayerHandicaps(3) = CellValue(30);     // the phantom's is never used
  s.PlayerHandicaps(5) = CellValue(" 2.5 ");
  test::ScoringContext sc;
  sc.ctx.Cancelled = true;
  ScoreResults(s, sc.ctx);
  EXPECT_FALSE(sc.ctx.Cancelled);
  EXPECT_EQ(s.PairNetScore(1), 101);
  EXPECT_EQ(s.PairNetScore(5), 52.5);
  EXPECT_EQ(s.FieldAverage(1), CellValue(50.5));
  EXPECT_EQ(s.FieldAverage(2), CellValue(RoundTo(152.5 / 3, 0.01)));
}

TEST(ScoreResults, ASitOutPairInTheSecondGroupRanksLastThereAndIsNotAveraged) {
  Session s = TwoWinnerSession();
  s.PhantomPair = 6;
  s.WantHandicaps = 1;
  test::ScoringContext sc;
  ScoreResults(s, sc.ctx);
  ASSERT_TRUE(s.ScoreOK);
  EXPECT_EQ(s.PairFactored(6), -999999);
  EXPECT_EQ(std::vector<short>({5, 4, 6}),
            std::vector<short>({s.PairOrder(4), s.PairOrder(5), s.PairOrder(6)}));
  EXPECT_EQ(s.PairPos(6), "    3rd");
  EXPECT_EQ(s.FieldAverage(2), CellValue(25.0));  // pairs 4 (0 %) and 5 (50 %) only
}

TEST(HandicappedResults, NetScoresAndFieldAverage) {
  Session s = MakeSession(4, 1, 1);
  s.PhantomPair = 4;
  const float percent[] = {52.5f, 48.25f, 51, 0};
  for (short p = 1; p <= 4; ++p) {
    s.PairPercent(p) = percent[p - 1];
    s.PairBoards(p) = 1;
  }
  s.PlayerHandicaps(1) = CellValue(1.5);
  s.PlayerHandicaps(5) = CellValue(-0.5);
  s.PlayerHandicaps(7) = CellValue(-1);
  test::ScoringContext sc;
  HandicappedResults(s, sc.ctx);
  EXPECT_EQ(s.PairNetScore(1), 53.5f);
  EXPECT_EQ(s.FieldAverage(1).number(), RoundTo(151.75 / 3, 0.01));
  EXPECT_FLOAT_EQ(static_cast<float>(s.FieldAverage(1).number()), 50.58f);
  EXPECT_EQ(s.FieldAverage(2), s.FieldAverage(1));

  // A pair that played no board keeps its net score but would pull the average down.
  s.PairBoards(2) = 0;
  HandicappedResults(s, sc.ctx);
  EXPECT_EQ(s.PairNetScore(2), 48.25f);
  EXPECT_EQ(s.FieldAverage(1).number(), RoundTo(103.5 / 2, 0.01));

  // A group holding nothing but the phantom has no average.
  s.WinnerCount = 2;
  s.NSPairCount = 3;
  HandicappedResults(s, sc.ctx);
  EXPECT_EQ(s.FieldAverage(2), CellValue(0.0));
}

// Pair 1 has an "Ave+" and 75 % of its own on the boards it played; pair 6 an "Ave-" and 25 %.
// Pair 1 sits out board 4, which must not count against it.
TEST(ScoreResults, AdjustedAveragesGiveWayToThePairsOwn) {
  Session s = MakeSession(6, 4, 3);
  SetRow(s, 1, 1, 1, 4, 600);
  SetRow(s, 1, 2, 2, 5, 400);
  SetRow(s, 1, 3, 3, 6, 500);
  SetRow(s, 2, 1, 1, 5, 500);
  SetRow(s, 2, 2, 2, 6, 600);
  SetRow(s, 2, 3, 3, 4, 400);
  SetRow(s, 3, 1, 1, 6, CellValue(9003), CellValue(9001));
  SetRow(s, 3, 2, 2, 4, 500);
  SetRow(s, 3, 3, 3, 5, 400);
  SetRow(s, 4, 1, 2, 4, 100);
  SetRow(s, 4, 2, 3, 5, 200);
  s.PairCarry(1) = CellValue("1.5");
  s.PairCarry(2) = CellValue("n/a");
  test::ScoringContext sc;
  ScoreResults(s, sc.ctx);
  ASSERT_TRUE(s.HasAveAdjusted);
  EXPECT_EQ(s.PairBoardMP(1, 3).number(), 3);
  EXPECT_EQ(s.PairTotal(1), 1.5f + 4 + 2 + 3);
  EXPECT_EQ(s.PairBoardMP(6, 3).number(), 1);
  EXPECT_EQ(s.PairTotal(6), 2 + 0 + 1);
  EXPECT_EQ(s.PairTotal(2), 0 + 4 + 3.5f + 0.5f);
  EXPECT_EQ(s.PairPercent(1), 87.5f);  // 10.5 over 3 boards, factored to 4, of 16
}

TEST(ScoreResults, ASessionWithoutResultsOrOfAnUnknownKindIsNotScored) {
  test::ScoringContext sc;
  Session empty = MakeSession(4, 2, 2);
  ScoreResults(empty, sc.ctx);
  EXPECT_FALSE(empty.ScoreOK);

  Session teams = MakeSession(4, 1, 2, "Teams");
  SetRow(teams, 1, 1, 1, 3, 420);
  SetRow(teams, 1, 2, 2, 4, 400);
  ScoreResults(teams, sc.ctx);
  EXPECT_FALSE(teams.ScoreOK);
}

TEST(ScoreResults, ABoardThatFailsIsReportedAndTheOthersScored) {
  Session s = MakeSession(4, 2, 2);
  SetRow(s, 1, 1, 1, 3, CellValue(9107), CellValue(9107));  // no such split score
  SetRow(s, 1, 2, 2, 4, 400);
  SetRow(s, 2, 1, 1, 4, 420);
  SetRow(s, 2, 2, 2, 3, 400);
  test::ScoringContext sc;
  sc.ports.dialogs.ExpectMessage(
      "ModScore\r\nSubscript out of range\r\nError no. 9\r\nLine 110\r\nDo you wish to try to "
      "continue?",
      Answer::Yes);
  ScoreResults(s, sc.ctx);
  EXPECT_TRUE(s.ScoreOK);
  EXPECT_EQ(s.MatchPoints(2, 1, 1).number(), 2);
  EXPECT_EQ(s.PairTotal(1), 2);
  EXPECT_EQ(s.PairBoards(1), 1);
}

TEST(ScoreResults, ADamagedHeaderEndsInOneReportNotAHugeTable) {
  // Thousands of pairs and boards with rows of one result each: a header no real session has.
  Session s = MakeSession(16000, 2000, 1);
  SetRow(s, 1, 1, 1, 2, 420);
  test::ScoringContext sc;
  sc.ports.dialogs.ExpectMessage(
      "ModScore\r\nOut of memory\r\nError no. 7\r\nLine 130\r\nDo you wish to try to "
      "continue?",
      Answer::Yes);
  ScoreResults(s, sc.ctx);
  EXPECT_FALSE(s.ScoreOK);
  EXPECT_TRUE(s.PairBoardMP.empty());
}

TEST(Aggregate, RowsAreWorthTheirScoresAndTheBlankTheAverage) {
  Session s = MakeSession(12, 2, 6, "Aggregate");
  SetRow(s, 1, 1, 1, 7, 420);
  SetRow(s, 1, 2, 2, 8, 450);
  SetRow(s, 1, 3, 3, 9, -50);
  SetRow(s, 1, 4, 4, 10, CellValue(9003), CellValue(9001));
  SetRow(s, 1, 5, 5, 11, CellValue::Null(), CellValue::Null());
  SetRow(s, 1, 6, 6, 12, CellValue(9105), CellValue(9105));
  // Real scores adding up past 16 bits still average.
  for (short r = 1; r <= 5; ++r)
    SetRow(s, 2, r, r, static_cast<short>(6 + r), 7000);
  AggregateBoard(s, 1);
  AggregateBoard(s, 2);
  EXPECT_EQ(s.MatchPoints(1, 5, 1).number(), 270);
  EXPECT_EQ(s.MatchPoints(1, 4, 1).number(), 300);
  EXPECT_EQ(s.MatchPoints(1, 1, 1).number(), 420);
  EXPECT_EQ(s.MatchPoints(1, 5, 2).number(), -270);
  // With a negative average "Ave-" lies above it.
  EXPECT_EQ(s.MatchPoints(1, 4, 2).number(), -240);
  EXPECT_TRUE(s.MatchPoints(1, 6, 1).IsNull());
  EXPECT_EQ(s.MatchPoints(2, 6, 1).number(), 7000);

  s.Score(1, 4, 1) = CellValue(9001);
  AggregateBoard(s, 1);
  EXPECT_EQ(s.MatchPoints(1, 4, 1).number(), 240);
}

TEST(Butler, DatumAndImps) {
  Session s = MakeSession(26, 4, 13, "Butler");
  const double first[] = {100, 400, 450, 2000};
  for (short r = 1; r <= 4; ++r)
    SetRow(s, 1, r, r, static_cast<short>(13 + r), first[r - 1]);
  SetRow(s, 1, 5, 5, 18, CellValue(9003), CellValue(9001));
  SetRow(s, 1, 6, 6, 19, CellValue(9101), CellValue(9101));
  SetRow(s, 1, 7, 7, 20, CellValue(420), CellValue(-400));
  for (short r = 1; r <= 4; ++r)
    SetRow(s, 2, r, r, static_cast<short>(13 + r), -first[r - 1]);
  const double third[] = {100, 200, 600};
  for (short r = 1; r <= 3; ++r)
    SetRow(s, 3, r, r, static_cast<short>(13 + r), third[r - 1]);
  for (short r = 1; r <= 13; ++r)
    SetRow(s, 4, r, r, static_cast<short>(13 + r),
           r == 1   ? 5000
           : r == 2 ? 2000
           : r == 3 ? -3000
                    : 100);

  BoardWork work;
  for (short b = 1; b <= 4; ++b)
    ButlerBoard(s, b, work);
  // Highest and lowest left out: 425, rounded half away from zero.
  EXPECT_EQ(s.BoardDatum(1), 430);
  EXPECT_EQ(s.BoardDatum(2), -430);
  EXPECT_EQ(s.BoardDatum(3), 300);
  EXPECT_EQ(s.BoardDatum(4), 270);  // (2000 + 10 x 100) / 11, one dropped at each end
  EXPECT_EQ(s.MatchPoints(1, 4, 1).number(), 17);
  EXPECT_EQ(s.MatchPoints(1, 4, 2).number(), -17);
  EXPECT_EQ(s.MatchPoints(1, 1, 1).number(), -8);
  EXPECT_EQ(s.MatchPoints(1, 5, 1).number(), 2);
  EXPECT_EQ(s.MatchPoints(1, 5, 2).number(), -2);
  EXPECT_TRUE(s.MatchPoints(1, 6, 1).IsNull());
  EXPECT_TRUE(s.MatchPoints(1, 6, 2).IsNull());
  EXPECT_EQ(s.MatchPoints(1, 7, 1).number(), 0);
  EXPECT_EQ(s.MatchPoints(1, 7, 2).number(), 1);
  EXPECT_TRUE(s.MatchPoints(1, 8, 1).IsNull());
}

TEST(Butler, ImpScale) {
  EXPECT_EQ(Imps(10), 0);
  EXPECT_EQ(Imps(-11), -1);
  EXPECT_EQ(Imps(3990), 23);
  EXPECT_EQ(Imps(3991), 24);
  EXPECT_EQ(Imps(-12000), -24);
}

}  // namespace
}  // namespace pg
