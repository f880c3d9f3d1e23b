// The session files of tests/data/sessions were written by a writer built apart from this one, so
// reading them checks the reader against a second reading of the same layout.
#include <gtest/gtest.h>

#include <filesystem>

#include "session/SessionFile.h"
#include "support/ExpectedSessions.h"
#include "support/ScriptedPorts.h"
#include "support/SessionWriter.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

template <class T, class U>
void ExpectIfGiven(const char* name, const std::optional<T>& want, const U& got) {
  if (want) {
    EXPECT_EQ(got, *want) << name;
  }
}

class Conformance : public ::testing::TestWithParam<test::ExpectedSession> {};

TEST_P(Conformance, ReadsWhatTheOtherWriterWrote) {
  const test::ExpectedSession& e = GetParam();
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Context ctx(ports.ports());
  Session s;
  test::PlaceDataSession(dir.path(), e.file, s);
  ReadSession(s, ctx);

  ASSERT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.SessionFileVersion, e.SessionFileVersion);
  EXPECT_EQ(s.EventName, e.EventName);
  ASSERT_TRUE(s.SessionDate.IsDate());
  EXPECT_EQ(FormatDate(s.SessionDate.date(), "yyyy-mm-dd"), e.SessionDate);
  EXPECT_EQ(s.TimeOfDay, e.file.ends_with("AFT") ? 1 : 2);
  EXPECT_EQ(s.RoundCount, e.RoundCount);
  EXPECT_EQ(s.RowCount, e.RowCount);
  EXPECT_EQ(s.BoardsPerRound, e.BoardsPerRound);
  EXPECT_EQ(s.NSPairCount, e.NSPairCount);
  EXPECT_EQ(s.PairCount, e.PairCount);
  ExpectIfGiven("MovementName", e.MovementName, s.MovementName);
  ExpectIfGiven("PhantomPair", e.PhantomPair, s.PhantomPair);
  ExpectIfGiven("WinnerCount", e.WinnerCount, s.WinnerCount);
  ExpectIfGiven("ScoringType", e.ScoringType, s.ScoringType);
  ExpectIfGiven("RoundsPlayed", e.RoundsPlayed, s.RoundsPlayed);
  ExpectIfGiven("WantHandicaps", e.WantHandicaps, s.WantHandicaps);
  ExpectIfGiven("PasswordState", e.PasswordState, s.PasswordState);
  // Only one file names a hand-record file (too short a name, cleared); anything else found at
  // the end would be an item of the layout left unread.
  EXPECT_EQ(s.HandRecordFile, e.HandRecordFile.value_or(""));

  for (size_t r = 0; r < e.ScoreBoard1.size(); ++r) {
    SCOPED_TRACE("board 1 row " + std::to_string(r + 1));
    const int row = static_cast<int>(r + 1);
    const auto& [ns, ew] = e.ScoreBoard1[r];
    for (const auto& [side, want] : {std::pair{1, ns}, std::pair{2, ew}}) {
      const CellValue& got = s.Score(1, row, side);
      if (want) {
        ASSERT_TRUE(got.IsNumber()) << got.ToText();
        EXPECT_EQ(got.number(), *want);
      } else {
        EXPECT_TRUE(got.IsNull()) << got.ToText();
      }
    }
  }
  if (!e.PlayerNames.empty()) {
    ASSERT_EQ(s.Players.upper(0), 2 * e.PairCount);
  }
  for (size_t p = 0; p < e.PlayerNames.size(); ++p)
    EXPECT_EQ(s.Players(p + 1, 1).ToText(), e.PlayerNames[p]) << "player " << p + 1;
  for (size_t p = 0; p < e.PlayerHandicaps.size(); ++p) {
    ASSERT_TRUE(s.PlayerHandicaps(p + 1).IsNumber()) << "player " << p + 1;
    EXPECT_EQ(s.PlayerHandicaps(p + 1).number(), e.PlayerHandicaps[p]) << "player " << p + 1;
  }
}

std::string FileName(const ::testing::TestParamInfo<test::ExpectedSession>& info) {
  std::string name = info.param.file;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(IndependentFiles, Conformance,
                         ::testing::ValuesIn(test::ExpectedSessions()), FileName);

// Every file of the folder has its entry, so a file added without one is not silently skipped.
TEST(Conformance, EveryFileHasExpectedValues) {
  size_t files = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(PG_TEST_DATA) + "/sessions")) {
    const std::string name = entry.path().filename().string();
    if (name.ends_with(".AFT") || name.ends_with(".EVE")) ++files;
  }
  EXPECT_EQ(files, test::ExpectedSessions().size());
}

}  // namespace
}  // namespace pg
