#include <gtest/gtest.h>

#include "support/NamedCases.h"
#include "support/ScriptedPorts.h"
#include "update/UpdateRun.h"

namespace pg {
namespace {

using test::PrintTo;

// A pair as scoring leaves it: its players, its percentage, the handicaps its file recorded, and
// whether it played a board.
struct P {
  std::string first, second;
  float percent;
  double h1 = 0, h2 = 0;
  bool played = true;
};
// Members "A 1", "A 2", "B 1", ... are numbered 1, 2, 3, ... in that order.
P Pair(char letter, float percent) {
  return {std::string(1, letter) + " 1", std::string(1, letter) + " 2", percent};
}

// A session as read and scored; a field average other than 0 means the file carries handicaps.
struct S {
  short winners;
  std::vector<P> pairs;
  short phantom = 0;
  double fieldAverage = 0;
};

struct Record {
  short member, session, direction;
  float net, adjustment;
};

struct RunFixture {
  test::ScriptedPorts ports;
  Context ctx{ports.ports()};
  Session session;
  MemberTable members;
  UpdateOutputs outputs;
  UpdateRun run{ctx, session, members, outputs};
  const CatalogueLine line{"", MakeDate(2006, 9, 25), 1, 1};

  explicit RunFixture(const std::vector<double>& starts) {
    members.Records.DimFrom1(starts.size());
    for (size_t i = 0; i < starts.size(); ++i) {
      members.Records(i + 1).FullName =
          std::string(1, static_cast<char>('A' + i / 2)) + (i % 2 == 0 ? " 1" : " 2");
      members.Records(i + 1).StartHandicap = starts[i];
    }
  }
  void Apply(short index, const S& shape) {
    Session& s = session;
    s.PairCount = static_cast<short>(shape.pairs.size());
    s.NSPairCount = static_cast<short>(s.PairCount / 2);
    s.WinnerCount = shape.winners;
    s.PhantomPair = shape.phantom;
    s.RoundCount = s.RowCount = s.BoardsPerRound = s.BoardCount = s.RoundsPlayed = 1;
    s.SessionFileVersion = shape.fieldAverage != 0 ? "9.3" : "8.6";
    s.WantHandicaps = 1;
    DimensionSession(s);
    s.PairBoards.DimFrom1(s.PairCount);
    for (short p = 1; p <= s.PairCount; ++p) {
      const P& pair = shape.pairs[static_cast<size_t>(p - 1)];
      s.PairPercent(p) = pair.percent;
      s.PairBoards(p) = pair.played ? 1 : 0;
      s.Players(p, 1) = CellValue(pair.first);
      s.Players(p + s.PairCount, 1) = CellValue(pair.second);
      s.PlayerHandicaps(p) = CellValue(pair.h1);
      s.PlayerHandicaps(p + s.PairCount) = CellValue(pair.h2);
    }
    s.FieldAverage(1) = s.FieldAverage(2) = CellValue(shape.fieldAverage);
    RunSession(run, index, line);
  }
};

struct RunCase {
  const char* name;
  std::vector<double> starts;
  std::vector<S> sessions;
  std::vector<std::string> visitorAnswers;
  std::vector<double> ends;
  std::vector<double> averages;  // per session, directions 1 and 2
  std::vector<Record> records;   // some of the records; `recordCount` counts them all
  int recordCount;
};

class UpdateRunCases : public ::testing::TestWithParam<RunCase> {};

TEST_P(UpdateRunCases, MoveEveryMemberSessionBySession) {
  const RunCase& c = GetParam();
  RunFixture f(c.starts);
  for (const std::string& answer : c.visitorAnswers)
    f.ports.dialogs.ExpectPrompt(answer);
  f.run.Begin(static_cast<short>(c.sessions.size()));
  for (size_t s = 0; s < c.sessions.size(); ++s)
    f.Apply(static_cast<short>(s), c.sessions[s]);
  EXPECT_FALSE(f.ctx.Cancelled);
  for (size_t m = 0; m < c.ends.size(); ++m)
    EXPECT_DOUBLE_EQ(f.members.Records(m + 1).EndHandicap.value_or(99), c.ends[m]) << m + 1;
  for (size_t i = 0; i < c.averages.size(); ++i)
    EXPECT_DOUBLE_EQ(f.outputs.SessionAverages(i / 2, i % 2 + 1), c.averages[i]) << i;
  int count = 0;
  for (short m = 0; m <= f.members.MemberCount(); ++m) {
    bool played = false;
    for (short s = 0; s < f.outputs.SessionCount; ++s) {
      played = played || f.outputs.SessionResults(m, s).Played;
      count += f.outputs.SessionResults(m, s).Played ? 1 : 0;
    }
    EXPECT_EQ(f.outputs.PlayedFlags(m) != 0, played) << m;
  }
  EXPECT_EQ(count, c.recordCount);
  for (const Record& e : c.records) {
    const SessionResult& got = f.outputs.SessionResults(e.member, e.session);
    EXPECT_TRUE(got.Played && f.outputs.PlayedFlags(e.member)) << e.member;
    EXPECT_EQ(got.Direction, e.direction) << e.member;
    EXPECT_EQ(got.NetScore, e.net) << e.member;
    EXPECT_EQ(got.Adjustment, e.adjustment) << e.member;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, UpdateRunCases,
    ::testing::Values(
        // Members play off the membership file, not the handicaps the session recorded; a
        // visitor keeps the file's; the average is the file's.
        RunCase{"WorkedExampleCarryingHandicaps",
                {-1, 3},
                {{1, {{"A 1", "A 2", 56, 5, 5}, {"Vi V", "Wu V", 46.46f, 0, -2}}, 0, 51.23}},
                {},
                {-1.68, 2.32},
                {51.23, 51.23},
                {{1, 0, 0, 58, -0.68f}, {0, 0, 0, 44.46f, 1}},
                3},
        // Against the run's own average of 50: +2 is adjusted and +1.99 not, -2 is, a pair on
        // the average gets a record of 0; one winner: direction 0, both averages alike.
        RunCase{
            "DeadZoneEdges",
            std::vector<double>(10, 0.0),
            {{1,
              {Pair('A', 52), Pair('B', 51.99f), Pair('C', 48), Pair('D', 48.01f), Pair('E', 50)}}},
            {},
            {-0.2, -0.2, 0, 0, 0.4, 0.4, 0, 0, 0, 0},
            {50, 50},
            {{1, 0, 0, 52, -0.2f}, {3, 0, 0, 51.99f, 0}, {7, 0, 0, 48.01f, 0}, {9, 0, 0, 50, 0}},
            10},
        // -20 is capped to +1; the range holds after each session, and the second session's
        // opposite move starts from the clamped figure. Net scores use the starting handicaps.
        RunCase{"CapsAndTheRangeAfterEverySession",
                {5.5, 5.5, -11.5, -11.5},
                {{1, {Pair('A', 10), Pair('B', 90)}}, {1, {Pair('A', 90), Pair('B', 10)}}},
                {},
                {5, 5, -11, -11},
                {44, 44, 44, 44},
                {{1, 0, 0, 21, 1}, {3, 0, 0, 67, -1}, {1, 1, 0, 101, -1}},
                8},
        // Each direction against its own average. The visitor's answer counts in the pair's net
        // score and the member gets the adjustment; the sit-out pair and a pair without a board
        // take no part, nobody asks for their handicaps, and a direction of neither averages 0.
        RunCase{"TwoWinnersWithAVisitorAndTheSitOut",
                {0, 0, 0, 0},
                {{2,
                  {Pair('A', 60),
                   {"B 1", "Vera V", 44},
                   {"Sit", "Out", 0},
                   {"No", "Show", 0, 0, 0, false}},
                  3}},
                {"4"},
                {-0.6, -0.6, 1, 0},
                {54, 0},
                {{1, 0, 1, 60, -0.6f}, {3, 0, 1, 48, 1}, {0, 0, 1, 48, 1}},
                4},
        // A member twice in one session keeps the last record and both adjustments; an empty
        // player slot counts as a visitor.
        RunCase{"AMemberPlayingTwice",
                {0, 0, 0, 0},
                {{1, {Pair('A', 60), {"A 1", "B 1", 50}, {"B 2", "", 40}}}},
                {},
                {-1, -1, 0, 1},
                {50, 50},
                {{1, 0, 0, 50, 0}, {0, 0, 0, 40, 1}},
                5}),
    [](const auto& info) { return std::string(info.param.name); });

// The prompt takes only a number within the club's range; an empty or cancelled answer asks
// whether to give up, and Yes ends the run with Cancelled and nothing of the session applied.
TEST(VisitorPrompt, TakesOnlyAHandicapWithinTheRange) {
  const char* const range = "Handicap must be a number between -12 and 6";
  const char* const quit = "Are you sure that you want to cancel updating handicaps?";
  struct Turn {
    std::optional<std::string> answer;
    const char* message;
    Answer reply;
  };
  const std::vector<std::vector<Turn>> cases = {
      {{"abc", range, Answer::OK}, {"15", range, Answer::OK}, {" 1.5 ", nullptr, Answer::OK}},
      {{"", quit, Answer::No}, {"1.5", nullptr, Answer::OK}},
      {{std::nullopt, quit, Answer::Yes}}};
  for (const auto& turns : cases) {
    RunFixture f({0, 0, 0, 0});
    for (const Turn& t : turns) {
      f.ports.dialogs.ExpectPrompt(t.answer);
      if (t.message) f.ports.dialogs.ExpectMessage(t.message, t.reply);
    }
    f.run.Begin(1);
    f.Apply(0, {1, {{"A 1", "Vera V", 50}, Pair('B', 50)}});
    f.ports.dialogs.VerifyAllUsed();
    const bool cancelled = turns.back().reply == Answer::Yes;
    EXPECT_EQ(f.ctx.Cancelled, cancelled);
    EXPECT_EQ(f.ports.dialogs.prompts[0],
              "Monday 25/09/06 afternoon\r\nEnter handicap for visitor Vera V");
    EXPECT_EQ(f.outputs.PlayedFlags(1), cancelled ? 0 : 1);
    EXPECT_EQ(f.outputs.SessionResults(1, 0).NetScore, cancelled ? 0 : 51.5);
  }
}

// A visitor who comes back later in the run is offered the handicap given the first time.
TEST(VisitorPrompt, OffersTheHandicapGivenEarlierInTheRun) {
  RunFixture f({0, 0, 0, 0});
  f.ports.dialogs.ExpectPrompt("1.5").ExpectPrompt("3").ExpectPrompt("1.5");
  f.run.Begin(2);
  f.Apply(0, {1, {{"A 1", "Vera V", 50}, {"B 1", "Vic V", 50}}});
  f.Apply(1, {1, {{"A 1", "Vera V", 50}, Pair('B', 50)}});
  EXPECT_EQ(f.ports.dialogs.promptDefaults, (std::vector<std::string>{"", "", "1.5"}));
}

// Files before 8.7 store no handicaps, whatever their flag says.
TEST(CarriesHandicaps, OnlyFilesThatStoreThem) {
  for (const auto& [version, flag, carries] :
       std::vector<std::tuple<const char*, short, bool>>{{"9.3", 1, true},
                                                         {"8.7", 1, true},
                                                         {"9.3", 0, false},
                                                         {"8.6", 1, false},
                                                         {"0", 1, false}}) {
    Session s;
    s.SessionFileVersion = version;
    s.WantHandicaps = flag;
    EXPECT_EQ(CarriesHandicaps(s), carries) << version;
  }
}

}  // namespace
}  // namespace pg
