// The scored pairs sessions of tests/data/sessions come with the percentages, positions and field
// averages a second, independent scorer found; scoring them here must find the same.
#include <gtest/gtest.h>

#include <cctype>

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

class ScoredFile : public testing::TestWithParam<test::ExpectedSession> {};

TEST_P(ScoredFile, ScoresAsTheOtherScorerDid) {
  const test::ExpectedSession& e = GetParam();
  // The independent writer scored its own model, which holds fouled-row marks and split-score
  // tables; files of the versions before those two were stored lose them, so their expected
  // figures cannot be reached from the file (restoring the lost rows reproduces them exactly).
  if (e.SessionFileVersion < "8.5")
    GTEST_SKIP() << e.file << " (version " << e.SessionFileVersion
                 << ") lacks the split scores and row marks its expected figures were made with";
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
  for (short p = 1; p <= s.PairCount; ++p) {
    EXPECT_NEAR(s.PairPercent(p), e.PairPercent[p - 1], 0.001) << "pair " << p;
    EXPECT_EQ(s.PairPos(p), e.PairPos[p - 1]) << "pair " << p;
  }
  for (size_t g = 0; g < e.FieldAverage.size(); ++g) {
    ASSERT_TRUE(s.FieldAverage(g + 1).IsNumber()) << "group " << g + 1;
    EXPECT_NEAR(s.FieldAverage(g + 1).number(), e.FieldAverage[g], 0.001) << "group " << g + 1;
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
