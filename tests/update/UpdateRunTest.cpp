#include <gtest/gtest.h>

#include <ostream>

#include "support/ScriptedPorts.h"
#include "update/UpdateRun.h"

namespace pg {
namespace {

// A pair as scoring leaves it: its names, its percentage, whether it played a board, and the
// handicaps the session file recorded for its players.
struct PairSpec {
  std::string first;
  std::string second;
  float percent = 50;
  bool played = true;
  CellValue h1 = CellValue();
  CellValue h2 = CellValue();
};

struct SessionSpec {
  short winners = 1;
  std::vector<PairSpec> pairs;
  short phantom = 0;
  // A file of 8.7 or later with the handicap flag: its averages are given, not computed.
  bool carries = false;
  double fieldAverage1 = 0;
  double fieldAverage2 = 0;
};

struct Member {
  std::string name;
  double start = 0;
};

// One member's record in one session: (member, session, direction, net score, adjustment).
struct Record {
  short member;
  short session;
  short direction;
  float net;
  float adjustment;
};

struct RunCase {
  const char* name;
  std::vector<Member> members;
  std::vector<SessionSpec> sessions;
  std::vector<std::optional<std::string>> visitorAnswers;  // for the prompts, in order
  std::vector<double> endHandicaps;                        // members 1..
  std::vector<std::array<double, 2>> averages;             // per session: directions 1 and 2
  std::vector<Record> records;                             // a record for each; no others
  std::vector<short> notPlayed;                            // members without PlayedFlags
};

void PrintTo(const RunCase& c, std::ostream* out) {
  *out << c.name;
}

// Session s of the run as the session record holds it after reading and scoring.
void Load(Session& s, const SessionSpec& spec) {
  const auto pairs = static_cast<short>(spec.pairs.size());
  s.PairCount = pairs;
  s.NSPairCount = static_cast<short>(spec.winners == 2 ? pairs / 2 : (pairs + 1) / 2);
  s.WinnerCount = spec.winners;
  s.PhantomPair = spec.phantom;
  s.RoundCount = s.RowCount = s.BoardsPerRound = s.BoardCount = s.RoundsPlayed = 1;
  s.SessionFileVersion = spec.carries ? "9.3" : "8.6";
  s.WantHandicaps = 1;
  DimensionSession(s);
  s.PairBoards.DimFrom1(pairs);
  for (short p = 1; p <= pairs; ++p) {
    const PairSpec& pair = spec.pairs[static_cast<size_t>(p - 1)];
    s.PairPercent(p) = pair.percent;
    s.PairBoards(p) = pair.played ? 1 : 0;
    s.Players(p, 1) = CellValue(pair.first);
    s.Players(p + pairs, 1) = CellValue(pair.second);
    s.PlayerHandicaps(p) = pair.h1;
    s.PlayerHandicaps(p + pairs) = pair.h2;
  }
  s.FieldAverage(1) = CellValue(spec.fieldAverage1);
  s.FieldAverage(2) = CellValue(spec.fieldAverage2);
}

struct RunFixture {
  test::ScriptedPorts ports;
  Context ctx{ports.ports()};
  Session session;
  MemberTable members;
  UpdateOutputs outputs;
  UpdateRun run{ctx, session, members, outputs};
  const CatalogueLine line{"01. 25 September 2006 - Monday afternoon", MakeDate(2006, 9, 25), 1, 1};

  explicit RunFixture(const std::vector<Member>& list) {
    members.Records.DimFrom1(list.size());
    for (size_t i = 0; i < list.size(); ++i)
      members.Records(i + 1).FullName = list[i].name,
                          members.Records(i + 1).StartHandicap = list[i].start;
  }
};

class UpdateRunCases : public ::testing::TestWithParam<RunCase> {};

TEST_P(UpdateRunCases, AppliesEverySessionInTurn) {
  const RunCase& c = GetParam();
  RunFixture r(c.members);
  for (const auto& answer : c.visitorAnswers)
    r.ports.dialogs.ExpectPrompt(answer);
  r.run.Begin(static_cast<short>(c.sessions.size()));
  for (size_t s = 0; s < c.sessions.size(); ++s) {
    Load(r.session, c.sessions[s]);
    RunSession(r.run, static_cast<short>(s), r.line);
    ASSERT_FALSE(r.ctx.Cancelled);
  }
  r.ports.dialogs.VerifyAllUsed();

  for (size_t m = 0; m < c.endHandicaps.size(); ++m) {
    ASSERT_TRUE(r.members.Records(m + 1).EndHandicap);
    EXPECT_DOUBLE_EQ(*r.members.Records(m + 1).EndHandicap, c.endHandicaps[m])
        << "member " << m + 1;
  }
  for (size_t s = 0; s < c.averages.size(); ++s) {
    EXPECT_DOUBLE_EQ(r.outputs.SessionAverages(s, 1), c.averages[s][0]) << "session " << s;
    EXPECT_DOUBLE_EQ(r.outputs.SessionAverages(s, 2), c.averages[s][1]) << "session " << s;
  }
  size_t recorded = 0;
  for (short m = 0; m <= r.members.MemberCount(); ++m) {
    for (short s = 0; s < static_cast<short>(c.sessions.size()); ++s)
      recorded += r.outputs.SessionResults(m, s).Played ? 1 : 0;
  }
  EXPECT_EQ(recorded, c.records.size());
  for (const Record& e : c.records) {
    const SessionResult& got = r.outputs.SessionResults(e.member, e.session);
    SCOPED_TRACE(testing::Message() << "member " << e.member << " session " << e.session);
    EXPECT_TRUE(got.Played);
    EXPECT_EQ(got.Direction, e.direction);
    EXPECT_EQ(got.NetScore, e.net);
    EXPECT_EQ(got.Adjustment, e.adjustment);
    EXPECT_EQ(r.outputs.PlayedFlags(e.member), 1);
  }
  for (short m : c.notPlayed)
    EXPECT_EQ(r.outputs.PlayedFlags(m), 0) << "member " << m;
}

const std::vector<Member> kFour = {
    {"Ann Ash", 0}, {"Bob Birch", 0}, {"Cy Cedar", 0}, {"Di Dove", 0}};

INSTANTIATE_TEST_SUITE_P(
    Sessions, UpdateRunCases,
    ::testing::Values(
        // Members play off the membership file's handicaps, whatever the session recorded; the
        // average of a session that carries handicaps is the file's.
        RunCase{"WorkedExampleInASessionCarryingHandicaps",
                {{"Ann Ash", -1}, {"Bob Birch", 3}},
                {{1,
                  {{"Ann Ash", "Bob Birch", 56, true, 0, 0},
                   {"Vi Visitor", "Wu Visitor", 46.46f, true, 0, -2}},
                  0,
                  true,
                  51.23,
                  51.23}},
                {},
                {-1.68, 2.32},
                {{51.23, 51.23}},
                {{1, 0, 0, 58, -0.68f}, {2, 0, 0, 58, -0.68f}, {0, 0, 0, 44.46f, 1}},
                {}},
        // Average 50: +2 is adjusted, +1.99 is not, -2 is, and a pair on the average has a
        // record of 0.
        RunCase{"DeadZoneEdgesAgainstTheRunsOwnAverage",
                {{"A 1", 0},
                 {"A 2", 0},
                 {"B 1", 0},
                 {"B 2", 0},
                 {"C 1", 0},
                 {"C 2", 0},
                 {"D 1", 0},
                 {"D 2", 0},
                 {"E 1", 0},
                 {"E 2", 0}},
                {{1,
                  {{"A 1", "A 2", 52},
                   {"B 1", "B 2", 51.99f},
                   {"C 1", "C 2", 48},
                   {"D 1", "D 2", 48.01f},
                   {"E 1", "E 2", 50}}}},
                {},
                {-0.2, -0.2, 0, 0, 0.4, 0.4, 0, 0, 0, 0},
                {{50, 50}},
                {{1, 0, 0, 52, -0.2f},
                 {2, 0, 0, 52, -0.2f},
                 {3, 0, 0, 51.99f, 0},
                 {4, 0, 0, 51.99f, 0},
                 {5, 0, 0, 48, 0.4f},
                 {6, 0, 0, 48, 0.4f},
                 {7, 0, 0, 48.01f, 0},
                 {8, 0, 0, 48.01f, 0},
                 {9, 0, 0, 50, 0},
                 {10, 0, 0, 50, 0}},
                {}},
        // -20 is capped to +1 and +20 to -1; the range holds after each session, and the second
        // session's opposite move starts from the clamped figure.
        RunCase{"CapsAndTheRangeAfterEverySession",
                {{"Ann Ash", 5.5}, {"Bob Birch", 5.5}, {"Cy Cedar", -11.5}, {"Di Dove", -11.5}},
                {{1, {{"Ann Ash", "Bob Birch", 10}, {"Cy Cedar", "Di Dove", 90}}},
                 {1, {{"Ann Ash", "Bob Birch", 90}, {"Cy Cedar", "Di Dove", 10}}}},
                {},
                {5, 5, -11, -11},
                {{44, 44}, {44, 44}},
                {{1, 0, 0, 21, 1},
                 {2, 0, 0, 21, 1},
                 {3, 0, 0, 67, -1},
                 {4, 0, 0, 67, -1},
                 {1, 1, 0, 101, -1},
                 {2, 1, 0, 101, -1},
                 {3, 1, 0, -13, 1},
                 {4, 1, 0, -13, 1}},
                {}},
        // Each direction against its own average, the direction in every record.
        RunCase{"TwoWinnerDirections",
                kFour,
                {{2,
                  {{"Ann Ash", "V 1", 60},
                   {"Bob Birch", "V 2", 44},
                   {"Cy Cedar", "V 3", 58},
                   {"Di Dove", "V 4", 42}}}},
                {"0", "0", "0", "0"},
                {-0.8, 1, -0.8, 1},
                {{52, 50}},
                {{1, 0, 1, 60, -0.8f},
                 {2, 0, 1, 44, 1},
                 {3, 0, 2, 58, -0.8f},
                 {4, 0, 2, 42, 1},
                 {0, 0, 2, 42, 1}},
                {}},
        // The visitor's handicap counts in the pair's net score; the member gets the
        // adjustment, and the visitor only the scratch slot.
        RunCase{"VisitorPartneredByAMember",
                kFour,
                {{1,
                  {{"Ann Ash", "Vera Visitor", 50},
                   {"Bob Birch", "Cy Cedar", 55},
                   {"Di Dove", "Vic Visitor", 41}}}},
                {"4", "-1.5"},
                {-0.45, -0.55, -0.55, 1},
                {{49.5, 49.5}},
                {{1, 0, 0, 54, -0.45f},
                 {2, 0, 0, 55, -0.55f},
                 {3, 0, 0, 55, -0.55f},
                 {4, 0, 0, 39.5f, 1},
                 {0, 0, 0, 39.5f, 1}},
                {}},
        // Neither the sit-out pair nor a pair that played no board is averaged or adjusted.
        RunCase{"SitOutAndPairsWithoutABoardTakeNoPart",
                kFour,
                {{1,
                  {{"Ann Ash", "Bob Birch", 60},
                   {"Sit Out", "Sit Out", 0},
                   {"Cy Cedar", "Di Dove", 40},
                   {"No Show", "Nor Her", 0, false}},
                  2}},
                {},
                {-1, -1, 1, 1},
                {{50, 50}},
                {{1, 0, 0, 60, -1}, {2, 0, 0, 60, -1}, {3, 0, 0, 40, 1}, {4, 0, 0, 40, 1}},
                {}},
        RunCase{"AnAverageOfNoPairsIsZero",
                kFour,
                {{2, {{"Ann Ash", "Bob Birch", 0}, {"Cy Cedar", "Di Dove", 0, false}}, 1}},
                {},
                {0, 0, 0, 0},
                {{0, 0}},
                {},
                {1, 2, 3, 4}},
        // The last record stands; both adjustments count.
        RunCase{
            "AMemberPlayingTwiceInOneSession",
            kFour,
            {{1, {{"Ann Ash", "Bob Birch", 60}, {"Ann Ash", "Cy Cedar", 50}, {"Di Dove", "", 40}}}},
            {},
            {-1, -1, 0, 1},
            {{50, 50}},
            {{1, 0, 0, 50, 0},
             {2, 0, 0, 60, -1},
             {3, 0, 0, 50, 0},
             {4, 0, 0, 40, 1},
             {0, 0, 0, 40, 1}},
            {}},
        // A visitor in a session carrying handicaps keeps the one the file recorded.
        RunCase{"VisitorKeepsTheFilesHandicap",
                kFour,
                {{1,
                  {{"Ann Ash", "Vera Visitor", 50, true, 9, 2.5}, {"Bob Birch", "Cy Cedar", 50}},
                  0,
                  true,
                  50,
                  50}},
                {},
                {-0.25, 0, 0, 0},
                {{50, 50}},
                {{1, 0, 0, 52.5f, -0.25f},
                 {2, 0, 0, 50, 0},
                 {3, 0, 0, 50, 0},
                 {0, 0, 0, 52.5f, -0.25f}},
                {4}}),
    [](const auto& info) { return std::string(info.param.name); });

// One prompt: the answer typed (nothing: cancelled), and the message it draws, if any, with the
// reply given to it.
struct Turn {
  Turn(std::optional<std::string> a, std::string m = "", Answer r = Answer::OK)
      : answer(std::move(a)), message(std::move(m)), reply(r) {}
  std::optional<std::string> answer;
  std::string message;
  Answer reply;
};

struct PromptCase {
  const char* name;
  std::vector<Turn> turns;
  bool cancelled;
  double visitorHandicap;
};

void PrintTo(const PromptCase& c, std::ostream* out) {
  *out << c.name;
}

class VisitorPrompt : public ::testing::TestWithParam<PromptCase> {};

const char* const kRange = "Handicap must be a number between -12 and 6";
const char* const kQuestion = "Are you sure that you want to cancel updating handicaps?";

TEST_P(VisitorPrompt, TakesOnlyAHandicapWithinTheRange) {
  const PromptCase& c = GetParam();
  RunFixture r(kFour);
  for (const Turn& t : c.turns) {
    r.ports.dialogs.ExpectPrompt(t.answer);
    if (!t.message.empty()) r.ports.dialogs.ExpectMessage(t.message, t.reply);
  }
  r.run.Begin(1);
  Load(r.session, {1, {{"Ann Ash", "Vera Visitor", 50}, {"Bob Birch", "Cy Cedar", 50}}});
  RunSession(r.run, 0, r.line);
  r.ports.dialogs.VerifyAllUsed();
  EXPECT_EQ(r.ctx.Cancelled, c.cancelled);
  EXPECT_EQ(
      r.ports.dialogs.prompts,
      std::vector<std::string>(
          c.turns.size(), "Monday 25/09/06 afternoon\r\nEnter handicap for visitor Vera Visitor"));
  if (c.cancelled) {
    // Nothing of a cancelled session is applied.
    EXPECT_FALSE(r.outputs.PlayedFlags(1));
  } else {
    EXPECT_EQ(r.session.PlayerHandicaps(3).NumericValue(), c.visitorHandicap);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, VisitorPrompt,
    ::testing::Values(
        PromptCase{"ANumber", {{" 1.5 "}}, false, 1.5},
        PromptCase{"TextIsRefusedAndAskedAgain", {{"abc", kRange}, {"-2"}}, false, -2},
        PromptCase{
            "OutsideTheRangeIsRefused", {{"15", kRange}, {"-12.5", kRange}, {"6"}}, false, 6},
        PromptCase{"EmptyThenNoAsksAgain", {{"", kQuestion, Answer::No}, {"-12"}}, false, -12},
        PromptCase{"CancelledThenYesEndsTheRun", {{std::nullopt, kQuestion, Answer::Yes}}, true, 0},
        PromptCase{"BlanksThenYesEndsTheRun", {{"  ", kQuestion, Answer::Yes}}, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A visitor who comes back later in the run is offered the handicap given the first time.
TEST(VisitorPrompt, OffersTheHandicapGivenEarlierInTheRun) {
  RunFixture r(kFour);
  r.ports.dialogs.ExpectPrompt("1.5").ExpectPrompt("3").ExpectPrompt("1.5");
  r.run.Begin(2);
  Load(r.session, {1, {{"Ann Ash", "Vera Visitor", 50}, {"Bob Birch", "Vic Visitor", 50}}});
  RunSession(r.run, 0, r.line);
  Load(r.session, {1, {{"Ann Ash", "Vera Visitor", 50}, {"Bob Birch", "Cy Cedar", 50}}});
  RunSession(r.run, 1, r.line);
  EXPECT_EQ(r.ports.dialogs.promptDefaults, (std::vector<std::string>{"", "", "1.5"}));
}

// Files before 8.7 store no handicaps, whatever their flag says.
TEST(CarriesHandicaps, OnlyFilesThatStoreThem) {
  struct Case {
    const char* version;
    short flag;
    bool carries;
  } const cases[] = {{"9.3", 1, true},  {"8.7", 1, true},  {"9.3", 0, false},
                     {"8.6", 1, false}, {"6.0", 1, false}, {"0", 1, false}};
  for (const Case& c : cases) {
    Session s;
    s.SessionFileVersion = c.version;
    s.WantHandicaps = c.flag;
    EXPECT_EQ(CarriesHandicaps(s), c.carries) << c.version << " " << c.flag;
  }
}

}  // namespace
}  // namespace pg
