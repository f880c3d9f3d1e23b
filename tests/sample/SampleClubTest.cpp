#include "SampleClub.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>

#include "base/Context.h"
#include "base/Files.h"
#include "review/Members.h"
#include "scoring/Scoring.h"
#include "session/SessionFile.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

namespace fs = std::filesystem;
const std::string kCommitted = PG_SAMPLE_CLUB;

TEST(SampleClub, TheGeneratorMakesTheCommittedFolderByteForByte) {
  test::TempFolder made;
  std::set<std::string> generated;
  for (const sample::SampleFile& f : sample::WriteSampleClub(made.path())) {
    generated.insert(f.path);
    EXPECT_EQ(test::ReadBytes(made / f.path), test::ReadBytes(kCommitted + "/" + f.path))
        << f.path << " differs: run make-sample-club and commit what it writes";
  }
  for (const auto& entry : fs::recursive_directory_iterator(kCommitted)) {
    if (!entry.is_regular_file()) continue;
    const std::string path = fs::relative(entry.path(), kCommitted).generic_string();
    EXPECT_TRUE(generated.count(path)) << path << " is committed but no longer generated";
  }
}

// What each listed session must be for the update to show what the sample promises.
struct Listed {
  const char* file;
  bool usable;  // a "Pairs" session that reads and scores
  short handicaps;
  short winners;
  short phantom;
  bool hands;
  std::set<std::string> visitors;
};

void PrintTo(const Listed& l, std::ostream* os) {
  *os << l.file;
}

class SampleSession : public ::testing::TestWithParam<Listed> {
 protected:
  static void SetUpTestSuite() {
    club_ = std::make_unique<test::TempFolder>();
    sample::WriteSampleClub(club_->path());
  }
  static void TearDownTestSuite() { club_.reset(); }
  static inline std::unique_ptr<test::TempFolder> club_;
};

TEST_P(SampleSession, ReadsAndScoresAsItsPurposeSays) {
  const Listed& l = GetParam();
  test::ScriptedPorts ports;
  Context ctx(ports.ports());
  ctx.SetFolders(club_->path());
  MemberTable members;
  LoadMembers(members, ctx);
  std::set<std::string> names;
  for (short m = 1; m <= members.MemberCount(); ++m) {
    names.insert(members.Member(m).FullName);
    EXPECT_GE(members.Member(m).StartHandicap, ctx.Parameters.HandicapRange[0]);
    EXPECT_LE(members.Member(m).StartHandicap, ctx.Parameters.HandicapRange[1]);
  }
  const std::string file(l.file);
  Session s;
  s.BasePath = ctx.ResultsRoot + "2026" + kPathSeparator + file.substr(0, file.find('.'));
  s.Extension = file.substr(file.find('.') + 1);
  if (file == "0223S1.AFT") {
    // The committed file, as damaged as it must stay, is repaired on its first reading.
    test::WriteBytes(s.BasePath + ".AFT", test::ReadBytes(kCommitted + "/RES2026/" + file));
    ports.dialogs.ExpectMessageContaining("Attempting to repair ");
    ports.dialogs.ExpectMessage("File repaired successfully");
  }
  ReadSession(s, ctx);
  ASSERT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.HandsLoaded, l.hands);
  if (!l.usable) {
    EXPECT_TRUE(s.PasswordState == 2 || s.ScoringType != "Pairs");
    return;
  }
  EXPECT_EQ(s.ScoringType, "Pairs");
  EXPECT_EQ(s.WantHandicaps, l.handicaps);
  EXPECT_EQ(s.WinnerCount, l.winners);
  EXPECT_EQ(s.PhantomPair, l.phantom);
  ScoreSession(s, ctx);
  ASSERT_TRUE(s.ScoreOK);
  std::set<std::string> visitors;
  for (int p = 1; p <= s.PairCount; ++p) {
    if (p == s.PhantomPair) continue;
    EXPECT_GT(s.PairPercent(p), 20) << "pair " << p;
    EXPECT_LT(s.PairPercent(p), 80) << "pair " << p;
    for (int player : {p, p + s.PairCount}) {
      const std::string name = s.Players(player, 1).ToText();
      if (!names.count(name)) visitors.insert(name);
    }
  }
  EXPECT_EQ(visitors, l.visitors);
}

const std::set<std::string> kNone;
INSTANTIATE_TEST_SUITE_P(
    Catalogue, SampleSession,
    ::testing::Values(
        Listed{"0202S1.AFT", true, 1, 2, 0, false, kNone},
        Listed{"0205S1.EVE", true, 0, 1, 0, false, kNone},
        Listed{"0209S1.AFT", true, 1, 2, 7, false, {"Frances Gledhill"}},
        Listed{"0216S1.AFT", true, 0, 2, 0, false, {"Martin Ibbotson"}},
        Listed{"0219S1.EVE", true, 1, 2, 0, false, kNone},
        Listed{"0223S1.AFT", true, 1, 2, 0, false, kNone},
        Listed{"0226S1.EVE", false, 0, 2, 0, false, kNone},
        Listed{"0302S1.AFT", true, 1, 2, 0, true, kNone},
        Listed{"0305S1.EVE", true, 0, 2, 0, false, kNone},
        Listed{"0309S1.AFT", true, 1, 2, 0, true, kNone},
        Listed{"0312S1.EVE", false, 0, 2, 0, false, kNone},
        Listed{"0314S0.AFT", true, 1, 2, 0, false, {"Frances Gledhill", "Martin Ibbotson"}},
        Listed{"0316S1.AFT", true, 0, 2, 0, false, kNone},
        Listed{"0319S1.EVE", true, 1, 1, 0, false, kNone},
        Listed{"0323S1.AFT", true, 1, 2, 0, false, kNone},
        Listed{"0330S1.AFT", true, 1, 2, 0, false, kNone}));

}  // namespace
}  // namespace pg
