#include <filesystem>

#include "base/Errors.h"
#include "session/SessionFixture.h"

namespace pg {
namespace {

using test::SessionPlan;
using ReaderTest = test::SessionFixture;

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << "no " << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST_F(ReaderTest, RefusesASessionOfALaterVersion) {
  SessionPlan plan;
  plan.version = "9.4";
  s.EventName = "before";
  ports.dialogs.ExpectMessage("Cannot read " + (dir / "0302S1.AFT") +
                              "\r\nas this session was created in a later version (9.4) of "
                              "Quorell\r\nYou are using version 9.3");
  Read(plan);
  EXPECT_TRUE(s.ReadFailed);
  EXPECT_EQ(s.EventName, "before");
  ASSERT_EQ(ports.dialogs.messages.size(), 1u);
  EXPECT_EQ(ports.dialogs.messages[0].buttons, Buttons::OK);
  EXPECT_EQ(ports.dialogs.messages[0].icon, Icon::None);
}

class TitleFirst : public test::SessionFixture,
                   public ::testing::WithParamInterface<const char*> {};

// Titles that sort above the current version or among the versions are still titles.
TEST_P(TitleFirst, ReadsAsAFileWithoutVersion) {
  SessionPlan plan;
  plan.version = "";
  plan.eventName = GetParam();
  s.SectionNo = 2;
  s.SectionCount = 3;
  Read(plan);
  ASSERT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.EventName, GetParam());
  EXPECT_EQ(s.SessionFileVersion, "0");
  EXPECT_EQ(s.SectionNo, 1);
  EXPECT_EQ(s.SectionCount, 1);
  EXPECT_EQ(s.PairCount, 6);
  EXPECT_EQ(s.Players(12, 1), CellValue("Player 12"));
}

INSTANTIATE_TEST_SUITE_P(Titles, TitleFirst,
                         ::testing::Values("Tuesday Pairs", "2026 Spring Pairs",
                                           "10th Anniversary Cup", "1.1 mile charity walk"));

TEST_F(ReaderTest, PasswordProtectedSessionLoadsItsHeaderOnly) {
  Read(SessionPlan{});
  ASSERT_FALSE(s.ReadFailed);
  SessionPlan locked;
  locked.eventName = "Locked Pairs";
  locked.date = MakeDate(2026, 5, 1);
  locked.tables = 5;
  locked.pairs = 10;
  locked.rows = 5;
  locked.scoringType = "Aggregate";
  locked.passwordState = 2;
  Read(locked);
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.PasswordState, 2);
  EXPECT_EQ(s.EventName, "Locked Pairs");
  EXPECT_EQ(s.SessionDate, CellValue(MakeDate(2026, 5, 1)));
  EXPECT_EQ(s.PairCount, 10);
  EXPECT_EQ(s.ScoringType, "Aggregate");
  // The travellers and players are the previous session's, still sized for its 6 pairs.
  EXPECT_EQ(s.Players.upper(0), 12);
  EXPECT_EQ(s.Players(1, 1), CellValue("Player 1"));
}

TEST_F(ReaderTest, StoredScoringTypeZeroIsPairs) {
  SessionPlan plan;
  plan.scoringType = "Aggregate";
  Read(plan);
  EXPECT_EQ(s.MPStep, 10);
  plan.scoringType = "0";
  Read(plan);
  EXPECT_EQ(s.ScoringType, "Pairs");
  EXPECT_EQ(s.MPStep, 0.00001);
}

TEST_F(ReaderTest, SectionOneSetsTheSectionsAndTheOthersShareThem) {
  SessionPlan plan;
  plan.sectionCount = 3;
  plan.sectionNames = {"Red", "Green", "Blue"};
  s.SectionNo = 1;
  Read(plan);
  EXPECT_EQ(s.SectionCount, 3);
  EXPECT_EQ(s.SectionNames(3), "Blue");

  plan.sectionCount = 2;
  plan.sectionNames = {"North", "South"};
  s.SectionNo = 2;
  Read(plan, "0302S2.AFT");
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.SectionCount, 3);
  EXPECT_EQ(s.SectionNames(1), "Red");

  s.SectionNo = 0;
  Read(plan, "0302S0.AFT");
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.SectionNames(0), "combined");
  EXPECT_EQ(s.SectionNames(2), "Green");
}

TEST_F(ReaderTest, TimeOfDayComesFromTheExtension) {
  for (const auto& [name, time] : {std::pair{"0302S1.AFT", 1}, std::pair{"0302S1.aft", 1},
                                   std::pair{"0302S1.EVE", 2}, std::pair{"0302S1.MOR", 2}}) {
    s.TimeOfDay = 0;
    Read(SessionPlan{}, name);
    EXPECT_EQ(s.TimeOfDay, time) << name;
  }
}

struct SettingsCase {
  const char* version;
  short mpScale;
  const char* chargeRate;
  short wantScale;
  const char* wantRate;
};
void PrintTo(const SettingsCase& c, std::ostream* out) {
  *out << c.version;
}

class EventSettings : public test::SessionFixture,
                      public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(EventSettings, ScaleAndChargeRateAreMadeUsable) {
  const SettingsCase& c = GetParam();
  SessionPlan plan;
  plan.version = c.version;
  plan.mpScale = c.mpScale;
  plan.chargeRate = c.chargeRate;
  Read(plan);
  ASSERT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.MpScale, c.wantScale);
  EXPECT_EQ(s.ChargeRate, c.wantRate);
}

INSTANTIATE_TEST_SUITE_P(Cases, EventSettings,
                         ::testing::Values(SettingsCase{"9.3", -4, "", 4, "10"},
                                           SettingsCase{"9.3", 0, "60", 1, "60"},
                                           SettingsCase{"8.9", -4, "ignored", 4, "10"},
                                           SettingsCase{"6.0", 5, "ignored", 5, "10"}));

TEST_F(ReaderTest, BlankHandicapsReadAsEmpty) {
  SessionPlan plan;
  plan.wantHandicaps = 1;
  plan.handicaps = {CellValue("   "), CellValue(""), CellValue(), CellValue(-1.5), CellValue("2")};
  Read(plan);
  ASSERT_FALSE(s.ReadFailed);
  EXPECT_TRUE(s.PlayerHandicaps(1).IsEmpty());
  EXPECT_TRUE(s.PlayerHandicaps(2).IsEmpty());
  EXPECT_TRUE(s.PlayerHandicaps(3).IsEmpty());
  EXPECT_EQ(s.PlayerHandicaps(4), CellValue(-1.5));
  EXPECT_EQ(s.PlayerHandicaps(5), CellValue("2"));
}

TEST_F(ReaderTest, NoRoundsYetEndsTheReadAfterTheCounts) {
  Read(SessionPlan{});
  SessionPlan empty;
  empty.rounds = 0;
  empty.eventName = "Not started";
  // What follows the counts must not be read, though it looks like the rest of a session.
  ReadText(test::SessionText(empty) + "\"never read\"\r\n");
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.EventName, "Not started");
  EXPECT_EQ(s.RoundCount, 0);
  EXPECT_EQ(s.MovementName, "Mitchell 3");
  EXPECT_EQ(s.Players(1, 1), CellValue("Player 1"));
}

TEST_F(ReaderTest, FileEndingAfterPlayerCategoriesKeepsTheTrailerAndNamesNoHands) {
  SessionPlan first;
  first.trailerText = "earlier trailer";
  Read(first);
  SessionPlan plan;
  plan.stratUsed = 1;
  plan.stratCatNames = {"A", "B"};
  plan.playerStratCats = {2, 1};
  Read(plan);
  ASSERT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.PlayerStratCat(1), 2);
  EXPECT_EQ(s.TrailerText, "earlier trailer");
  EXPECT_EQ(s.HandRecordFile, "");
}

TEST_F(ReaderTest, AShortHandRecordNameIsCleared) {
  SessionPlan plan;
  plan.trailerText = "end";
  plan.handRecordFile = "abc";
  Read(plan);
  ASSERT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.TrailerText, "end");
  EXPECT_EQ(s.HandRecordFile, "");
}

TEST_F(ReaderTest, FindsAFileWhoseNameDiffersOnlyInLetterCase) {
  PG_SKIP_WITHOUT_NAME_CASE();
  SessionPlan plan;
  plan.eventName = "Copied";
  test::WriteBytes(dir / "0302s1.aft", test::SessionText(plan));
  PointAt("0302S1.AFT");
  ASSERT_EQ(FindSessionFile(s), dir / "0302s1.aft");
  ReadSession(s, ctx);
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.EventName, "Copied");
  EXPECT_EQ(s.TimeOfDay, 1);
}

TEST_F(ReaderTest, AMissingFileIsAReadError) {
  PointAt("0302S1.AFT");
  ports.dialogs.ExpectMessage(ReadError("File not found"));
  ReadSession(s, ctx);
  EXPECT_TRUE(s.ReadFailed);

  s.BasePath = dir / "RES2026/0302S1";
  ports.dialogs.ExpectMessage("Path not found whilst reading file " + s.BasePath + ".AFT");
  ReadSession(s, ctx);
  EXPECT_TRUE(s.ReadFailed);
}

struct MovementCase {
  short type;
  short winners;
  short added;  // to every card's East-West pair
};
void PrintTo(const MovementCase& c, std::ostream* out) {
  *out << "type " << c.type << ", " << c.winners << " winners";
}

class OldMovementFile : public test::SessionFixture,
                        public ::testing::WithParamInterface<MovementCase> {};

// Files before 8.7 take their movement cards from the movement file they name.
TEST_P(OldMovementFile, GivesTheCardsAndRoundsPlayed) {
  const MovementCase& c = GetParam();
  std::string movement = "\"Mitchell 3\",1,2,3," + std::to_string(c.type) + ",5,4\r\n";
  for (int i = 0; i < 3 * 3 * 3; ++i)  // a traveller layout the cards come after
    movement += "9,";
  for (int t = 1; t <= 3; ++t)
    for (int n = 1; n <= 4; ++n)
      movement +=
          std::to_string(n) + "," + std::to_string(t) + "," + std::to_string(t + n) + "\r\n";
  test::WriteBytes(dir / "M3.MOV", movement);
  SessionPlan plan;
  plan.version = "8.6";
  plan.winners = c.winners;
  plan.movementFile = dir / "M3.MOV";
  Read(plan);
  ASSERT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.RoundsPlayed, 4);
  EXPECT_EQ(s.MovementCards.upper(0), 3);
  EXPECT_EQ(s.MovementCards.upper(1), 4);
  EXPECT_EQ(s.MovementCards(3, 4, 0), 4);
  EXPECT_EQ(s.MovementCards(3, 4, 1), 3);
  EXPECT_EQ(s.MovementCards(3, 4, 2), 7 + c.added);
  EXPECT_EQ(s.MovementCards(1, 1, 2), 2 + c.added);
}

INSTANTIATE_TEST_SUITE_P(Cases, OldMovementFile,
                         ::testing::Values(MovementCase{2, 1, 3}, MovementCase{2, 2, 0},
                                           MovementCase{1, 1, 0}));

TEST_F(ReaderTest, AnUnreadableMovementFileIsReportedAndMarked) {
  test::WriteBytes(dir / "M3.MOV", "\"Mitchell 3\",1,2,3,x,5,4\r\n");
  SessionPlan plan;
  plan.version = "8.6";
  plan.movementFile = dir / "M3.MOV";
  ports.dialogs.ExpectMessage(
      "ModSession\r\nType mismatch\r\nError no. 13\r\nLine 100\r\nDo you wish to try to "
      "continue?",
      Answer::Yes);
  Read(plan);
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.MovementCards(1, 1, 1), -1);
}

struct DamagedCase {
  const char* name;
  std::string text;
  const char* description;
};
void PrintTo(const DamagedCase& c, std::ostream* out) {
  *out << c.name;
}

std::vector<DamagedCase> DamagedFiles() {
  SessionPlan plain;
  const std::string base = test::SessionText(plain);
  const std::string counts = "\r\n3,3,2,3,6\r\n";

  SessionPlan sections = plain;
  sections.sectionCount = 27;
  SessionPlan categories = plain;
  categories.stratUsed = 1;
  categories.stratCatNames = {"A", "B", "C", "D", "E"};
  SessionPlan scale = plain;
  scale.mpScale = -32768;
  SessionPlan old = plain;
  old.version = "8.6";
  const std::string oldText =
      Replace(Replace(test::SessionText(old), counts, "\r\n3,3,2,30000,6\r\n"), "\"Pairs\",3",
              "\"Pairs\",30000");

  return {
      {"ItemOfTheWrongType", Replace(base, counts, "\r\n3,three,2,3,6\r\n"), "Type mismatch"},
      {"DateThatIsNoDate", Replace(base, "#2026-03-02#", "#2026-13-45#"), "Type mismatch"},
      {"NullForACount", Replace(base, counts, "\r\n3,#NULL#,2,3,6\r\n"), "Invalid use of Null"},
      {"CountBeyondSixteenBits", Replace(base, counts, "\r\n3,40000,2,3,6\r\n"), "Overflow"},
      {"BoardsBeyondSixteenBits", Replace(base, counts, "\r\n200,3,200,3,6\r\n"), "Overflow"},
      {"PlayersBeyondSixteenBits", Replace(base, counts, "\r\n3,3,2,3,20000\r\n"), "Overflow"},
      {"ScaleWithoutPositiveValue", test::SessionText(scale), "Overflow"},
      {"TwentySeventhSectionName", test::SessionText(sections), "Subscript out of range"},
      {"FifthCategoryName", test::SessionText(categories), "Subscript out of range"},
      {"EndBeforeTheLastItem", base.substr(0, base.rfind(",\"\"")), "Input past end of file"},
      {"EmptyFile", "", "Input past end of file"},
      // Counts that would size tables of gigabytes in a file of a few hundred bytes.
      {"TravellersBeyondTheFile", Replace(base, counts, "\r\n100,30000,300,3,6\r\n"),
       "Input past end of file"},
      {"CardsBeyondTheFile", Replace(base, counts, "\r\n3,3,2,30000,6\r\n"),
       "Input past end of file"},
      {"OldFileCardsBeyondTheFile", oldText, "Input past end of file"},
      {"SplitScoresBeyondTheFile",
       Replace(base, "\"\"\r\n0\r\n0,0\r\n", "\"\"\r\n30000\r\n0,0\r\n"), "Input past end of file"},
  };
}

class DamagedFile : public test::SessionFixture,
                    public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedFile, IsAReadErrorNamingTheFile) {
  ports.dialogs.ExpectMessage(ReadError(GetParam().description));
  ReadText(GetParam().text);
  EXPECT_TRUE(s.ReadFailed);
  EXPECT_EQ(ports.dialogs.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedFile, ::testing::ValuesIn(DamagedFiles()),
                         [](const auto& info) { return std::string(info.param.name); });

// Reads a real file cut at every byte: each prefix reads or ends in the read-error message.
TEST(SessionPrefixes, EveryPrefixReadsOrFailsWithTheReadError) {
  class AnyMessage : public test::ScriptedDialogs {
   public:
    Answer Message(const std::string& text, Buttons, Icon) override {
      messages.push_back({text});
      return Answer::OK;
    }
  };
  const std::string whole = test::ReadBytes(std::string(PG_TEST_DATA) + "/sessions/0311S1.AFT");
  ASSERT_GT(whole.size(), 4000u);
  test::TempFolder dir;
  AnyMessage dialogs;
  test::ScriptedPorts rest;
  Context ctx(Ports{dialogs, rest.windows, rest.settings, rest.clock, rest.locks});
  size_t reads = 0;
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    // A new file each time: cutting the old one short makes the file system flush it.
    std::filesystem::remove(dir / "0311S1.AFT");
    test::WriteBytes(dir / "0311S1.AFT", whole.substr(0, cut));
    Session s;
    s.BasePath = dir / "0311S1";
    s.Extension = "AFT";
    dialogs.messages.clear();
    ReadSession(s, ctx);
    if (s.ReadFailed) {
      ASSERT_EQ(dialogs.messages.size(), 1u) << "cut at " << cut;
      EXPECT_NE(dialogs.messages[0].text.find(" whilst reading file "), std::string::npos)
          << "cut at " << cut << ": " << dialogs.messages[0].text;
    } else {
      ASSERT_TRUE(dialogs.messages.empty()) << "cut at " << cut << ": " << dialogs.messages[0].text;
      ++reads;
    }
  }
  // The file ends with the player references, so only a cut inside the last one still reads.
  EXPECT_GE(reads, 1u);
  EXPECT_LT(reads, 10u);
}

}  // namespace
}  // namespace pg
