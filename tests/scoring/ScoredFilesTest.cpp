// The scored pairs sessions of tests/data/sessions come with the percentages, positions and field
// averages a second, independent scorer found; scoring them here must find the same.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include "base/Numbers.h"

#include "scoring/Scoring.h"
#include "session/SessionFile.h"
#include "support/ExpectedSessions.h"
#include "support/ScriptedPorts.h"
#include "support/SessionWriter.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

std::vector<test::ExpectedSession> ScoredSessions() {
  std::vector<test::ExpectedSession> scored;
  for (const test::ExpectedSession& e : test::ExpectedSessions()) {
    if (!e.PairPercent.empty()) scored.push_back(e);
  }
  return scored;
}

// The expected figures are given to two decimals.
std::string TwoDecimals(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

class ScoredFile : public testing::TestWithParam<test::ExpectedSession> {};

TEST_P(ScoredFile, ScoresAsTheOtherScorerDid) {
  const test::ExpectedSession& e = GetParam();
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Context ctx(ports.ports());
  Session s;
  test::PlaceDataSession(dir.path(), e.file, s);
  ReadSession(s, ctx);
  ASSERT_FALSE(s.ReadFailed);

  ScoreSession(s, ctx);
  ASSERT_TRUE(s.ScoreOK);
  if (e.Top) {
    EXPECT_EQ(s.Top, *e.Top);
  }
  ASSERT_EQ(static_cast<size_t>(s.PairCount), e.PairPercent.size());
  // Each figure as the single-precision value kept and as the two decimals shown: a
  // double-precision quotient would pass a comparison within a tolerance.
  for (short p = 1; p <= s.PairCount; ++p) {
    EXPECT_EQ(s.PairPercent(p), static_cast<float>(e.PairPercent[p - 1])) << "pair " << p;
    EXPECT_EQ(FormatNumber(s.PairPercent(p), "0.00"), TwoDecimals(e.PairPercent[p - 1]))
        << "pair " << p;
    EXPECT_EQ(s.PairPos(p), e.PairPos[p - 1]) << "pair " << p;
  }
  for (size_t g = 0; g < e.FieldAverage.size(); ++g) {
    ASSERT_TRUE(s.FieldAverage(g + 1).IsNumber()) << "group " << g + 1;
    const double average = s.FieldAverage(g + 1).number();
    EXPECT_EQ(static_cast<float>(average), static_cast<float>(e.FieldAverage[g]))
        << "group " << g + 1;
    EXPECT_EQ(FormatNumber(average, "0.00"), TwoDecimals(e.FieldAverage[g])) << "group " << g + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Sessions, ScoredFile, testing::ValuesIn(ScoredSessions()),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace pg
