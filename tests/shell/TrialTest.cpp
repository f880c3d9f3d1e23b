// Replaying the club's saved updates: on clubs of the tests' making, saved through the program with
// visitors, parameters changed between updates and a hand correction, "as saved" gives back every
// handicap the history has; what a file or the history lacks is named and marked; the visitor
// prompt offers what the name was given before; and the window's stretch and its way to the
// parameter editor.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "base/Files.h"
#include "history/HistoryClub.h"
#include "review/ReviewDialog.h"
#include "shell/StartUp.h"
#include "shell/TrialWindow.h"
#include "support/NamedCases.h"
#include "support/ScriptedPorts.h"
#include "support/SessionWriter.h"
#include "support/TempFolder.h"
#include "update/UpdateDialog.h"

namespace pg {
namespace {

using test::PrintTo;  // NOLINT(misc-unused-using-decls): GoogleTest finds it for the cases

const std::string kMembers =
    " 10            11           01/01/26\r\n"
    "1,Ann,Ash,,,F,0,,,,\r\n2,Bob,Birch,,,M,1.5,,,,\r\n3,Cy,Cedar,,,M,-2,,,,\r\n"
    "4,Di,Dove,,,F,4,,,,\r\n5,Ed,Elm,,,M,0.5,,,,\r\n6,Flo,Fir,,,F,0,,,,\r\n"
    "7,Guy,Gorse,,,M,3,,,,\r\n8,Hal,Hazel,,,M,-1,,,,\r\n9,Ivy,Ives,,,F,2.25,,,,\r\n"
    "10,Jo,Jay,,,F,0,,,,\r\n";

// A club of the tests' making, its updates run and saved through the program's windows.
struct TrialClub {
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Program program{ports.ports()};
  Context& c = program.context;
  MainWindow main{program};

  TrialClub() {
    StartUp(main, dir.path());
    test::WriteBytes(c.MemberFile, kMembers);
  }

  std::string File(Date day) const {
    return c.ResultsRoot + FormatDate(day, "yyyy") + kPathSeparator + FormatDate(day, "mmdd") +
           "S1.AFT";
  }

  // A three-table Mitchell of the ten members and two visitors, seated by `seating` (seat k,
  // from 0, holds name (k * step + shift) % 12; pair p sits in seats p - 1 and p + 5). A file
  // that carries handicaps records each member's as Membersh.dat has it now, and 2 for a visitor;
  // in one that does not, the visitors will be asked for theirs, in seat order.
  void Play(Date day, std::pair<int, int> seating, bool handicaps) {
    static const char* const kPool[] = {"Ann Ash",  "Bob Birch", "Cy Cedar",    "Di Dove",
                                        "Ed Elm",   "Flo Fir",   "Guy Gorse",   "Hal Hazel",
                                        "Ivy Ives", "Jo Jay",    "Val Visitor", "Wyn Wanderer"};
    test::SessionPlan plan;
    plan.date = day;
    plan.wantHandicaps = handicaps ? 1 : 0;
    MemberTable members;
    LoadMembers(members, c);
    for (int k = 0; k < 12; ++k) {
      const std::string name = kPool[(k * seating.first + seating.second) % 12];
      plan.players.push_back(name);
      double h = 2;
      bool member = false;
      for (short m = 1; m <= members.MemberCount(); ++m)
        if (members.Member(m).FullName == name) h = members.Member(m).StartHandicap, member = true;
      if (handicaps) plan.handicaps.emplace_back(h);
      if (!handicaps && !member) asked_.push_back(name);
    }
    std::filesystem::create_directories(std::filesystem::path(File(day)).parent_path());
    test::WriteSession(File(day), plan);
  }

  // "Update handicaps" on `today` over every session since the last update, saved; each visitor
  // asked for is given their `answers`, and the review's first member `correction` by hand.
  void Update(Date today, const std::map<std::string, std::string>& answers,
              const char* correction = "") {
    ports.clock.today = today;
    ports.windows.onShow[WindowId::Update] = [&] {
      UpdateDialog update(c, program.session, program.members, program.outputs, program.nameCheck);
      update.onClose = [] {};
      update.Load();
      update.UpdateClick();
    };
    ports.windows.onShow[WindowId::Review] = [&] {
      ReviewDialog review(c, program.members, program.outputs);
      if (*correction != 0) review.GridClick(ReviewGrid::kFixedRows, 3);
      review.SaveClick();
      EXPECT_TRUE(review.BackClick());
    };
    if (c.NoUpdateYet) ports.dialogs.ExpectPrompt("1/2/2026");
    for (const std::string& name : asked_)
      ports.dialogs.ExpectPrompt(answers.at(name));
    asked_.clear();
    if (*correction != 0) ports.dialogs.ExpectPrompt(correction);
    ports.dialogs.ExpectMessageContaining("This will overwrite", Answer::Yes)
        .ExpectMessage("New handicaps have been saved");
    main.UpdateClick();
    ports.dialogs.VerifyAllUsed();
  }

  void SetParameters(const std::function<void(HandicapParameters&)>& change) {
    change(c.Parameters);
    ASSERT_TRUE(WriteParameters(c.HandicapFolder, c.ProgramVersion, c.Parameters, c.dialogs()));
  }

  std::vector<std::string> asked_;

  // The window on the whole history, its trial set by `trial`.
  std::unique_ptr<TrialDialog> Trial(const std::function<void(HandicapParameters&)>& trial = {}) {
    if (trial) {
      Program::TrialStart start{c.Parameters, c.Parameters};
      trial(start.trial);
      program.trialStart = start;
    }
    auto window = std::make_unique<TrialDialog>(program);
    window->Load();
    window->ChooseFrom(0);
    return window;
  }
};

// Seatings that pair the players differently.
const std::pair<int, int> kSeats[] = {{1, 0}, {5, 3}, {7, 8}, {11, 2}, {5, 9}};
const std::map<std::string, std::string> kNoVisitor;

// Two updates of sessions that carry handicaps.
void TwoUpdatesWithHandicaps(TrialClub& club) {
  club.Play(MakeDate(2026, 2, 2), kSeats[0], true);
  club.Play(MakeDate(2026, 2, 9), kSeats[1], true);
  club.Update(MakeDate(2026, 3, 1), kNoVisitor);
  club.Play(MakeDate(2026, 3, 2), kSeats[2], true);
  club.Play(MakeDate(2026, 3, 9), kSeats[3], true);
  club.Update(MakeDate(2026, 4, 1), kNoVisitor);
}

// Three updates: visitors in sessions with handicaps and without, and other parameters for each
// update (a narrow dead zone and steep rates, then a coarse step and a short range).
void ThreeUpdatesOfVisitorsAndParameters(TrialClub& club) {
  club.Play(MakeDate(2026, 2, 2), kSeats[2], false);
  club.Play(MakeDate(2026, 2, 9), kSeats[3], true);
  club.Update(MakeDate(2026, 3, 1), {{"Val Visitor", "3"}, {"Wyn Wanderer", "-1"}});
  club.SetParameters([](HandicapParameters& p) {
    p.DeadZone = {-1, 1};
    p.AdjustRate = {0.3, 0.3};
    p.MaxAdjust = {1.5, 1.5};
  });
  club.Play(MakeDate(2026, 3, 2), kSeats[3], false);
  club.Play(MakeDate(2026, 3, 9), kSeats[4], false);
  club.Update(MakeDate(2026, 4, 1), {{"Val Visitor", "1.5"}, {"Wyn Wanderer", "4"}});
  club.SetParameters([](HandicapParameters& p) {
    p.RoundingStep = 0.5;
    p.HandicapRange = {-4, 4};
  });
  club.Play(MakeDate(2026, 4, 6), kSeats[0], true);
  club.Play(MakeDate(2026, 4, 13), kSeats[1], false);
  club.Update(MakeDate(2026, 5, 1), {{"Val Visitor", "-1"}, {"Wyn Wanderer", "0.5"}});
}

// Two updates, the first member's new handicap corrected by hand in the first review.
void ACorrectionByHand(TrialClub& club) {
  club.Play(MakeDate(2026, 2, 2), kSeats[0], true);
  club.Update(MakeDate(2026, 3, 1), kNoVisitor, "5");
  club.Play(MakeDate(2026, 3, 2), kSeats[1], true);
  club.Update(MakeDate(2026, 4, 1), kNoVisitor);
}

struct SelfCheck {
  const char* name;
  std::function<void(TrialClub&)> make;
  int updates;
  int differences;  // each a member corrected by hand
};

class ReplayAsSaved : public ::testing::TestWithParam<SelfCheck> {};

// Every member's handicap after every update, replayed under the parameters it ran under, is the
// one the history has, bit for bit as it writes them, except where a review corrected it.
TEST_P(ReplayAsSaved, GivesEveryHandicapTheHistoryHas) {
  TrialClub club;
  GetParam().make(club);
  const auto trial = club.Trial();
  const Replay& replay = trial->replay();
  ASSERT_EQ(replay.updates.size(), static_cast<size_t>(GetParam().updates));
  EXPECT_EQ(replay.Agreeing() + replay.Differing(), 10 * GetParam().updates);
  EXPECT_EQ(replay.Differing(), GetParam().differences);
  for (const ReplayedUpdate& u : replay.updates)
    for (const ReplayDifference& d : u.differences)
      EXPECT_EQ(d.why, kCorrectedByHand) << d.name;
  EXPECT_EQ(trial->notes().rows.size(), static_cast<size_t>(GetParam().differences));
}

INSTANTIATE_TEST_SUITE_P(Clubs, ReplayAsSaved,
                         ::testing::Values(SelfCheck{"SessionsWithHandicaps",
                                                     TwoUpdatesWithHandicaps, 2, 0},
                                           SelfCheck{"VisitorsAndParametersChanged",
                                                     ThreeUpdatesOfVisitorsAndParameters, 3, 0},
                                           SelfCheck{"CorrectedByHand", ACorrectionByHand, 2, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// Trials whose outcome is known: the parameters the updates ran under give every handicap as
// saved (the sessions recorded the handicaps the members then had, as the trial puts in its
// own), and rates of 0 leave every member where the stretch began.
TEST(Trial, OfKnownParametersEndsWhereItMust) {
  TrialClub club;
  TwoUpdatesWithHandicaps(club);
  const auto same = club.Trial([](HandicapParameters&) {});
  const auto still = club.Trial([](HandicapParameters& p) { p.AdjustRate = {0, 0}; });
  for (const ReplayMember& m : same->replay().members) {
    EXPECT_EQ(m.End(kTrial), m.End(kAsSaved)) << m.name;
    EXPECT_EQ(m.columns[kTrial].deviationSum, m.columns[kAsSaved].deviationSum) << m.name;
  }
  for (const ReplayMember& m : still->replay().members) {
    EXPECT_EQ(m.End(kTrial), m.columns[kTrial].handicaps.front()) << m.name;
    EXPECT_EQ(m.columns[kTrial].movementSum, 0) << m.name;
  }
  EXPECT_EQ(still->replay().Movement(kTrial), 0);
  // Everyone played all four sessions; nobody the six the figure of fairness asks for.
  EXPECT_EQ(same->members().rows.at(0).at(2), "4");
  EXPECT_EQ(same->lblFairness.caption, "Fairness: no member played 6 sessions");
}

struct BadInput {
  const char* name;
  std::function<void(TrialClub&)> spoil;
  const char* note;     // part of a note the window shows
  unsigned mark;        // what marks the members the fault touched
  bool differs = true;  // whether some handicap then differs from the history's
};

class ReplayOfBadInput : public ::testing::TestWithParam<BadInput> {};

std::string HistoryFile(TrialClub& club) {
  return club.c.HandicapFolder + kHistoryFileName;
}

// Drops the lines of the kinds named from the history file.
void DropLines(TrialClub& club, const std::vector<std::string>& kinds) {
  std::string text = test::ReadBytes(HistoryFile(club)), kept;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at) + 1;
    const std::string line = text.substr(at, end - at);
    bool drop = false;
    for (const std::string& kind : kinds)
      drop = drop || line.find(",\"" + kind + "\",") != std::string::npos;
    if (!drop) kept += line;
    at = end;
  }
  test::WriteBytes(HistoryFile(club), kept);
}

// A file gone, changed or unreadable, a visitor nobody answered, a damaged line or no record at
// all: the window names it, the replay goes on without it, and every handicap it cannot give as
// saved is put down to the fault.
TEST_P(ReplayOfBadInput, IsNamedAndMarkedAndTheReplayGoesOn) {
  TrialClub club;
  ThreeUpdatesOfVisitorsAndParameters(club);
  GetParam().spoil(club);
  const auto trial = club.Trial();
  const Replay& replay = trial->replay();
  ASSERT_EQ(replay.updates.size(), 3u);
  ASSERT_EQ(replay.members.size(), 10u);
  bool named = false;
  for (const auto& row : trial->notes().rows)
    named = named || row.at(1).find(GetParam().note) != std::string::npos;
  EXPECT_TRUE(named) << (trial->notes().rows.empty() ? "" : trial->notes().rows.front().at(1));
  bool marked = false;
  for (const ReplayMember& m : replay.members)
    marked = marked || (m.marks & GetParam().mark) != 0;
  EXPECT_TRUE(marked);
  EXPECT_EQ(replay.Differing() > 0, GetParam().differs);
  for (const ReplayedUpdate& u : replay.updates)
    for (const ReplayDifference& d : u.differences)
      EXPECT_NE(d.why, 0u) << FormatDate(u.lastSession, "dd/mm") << " " << d.name;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReplayOfBadInput,
    ::testing::Values(
        BadInput{"SessionGone",
                 [](TrialClub& c) { std::filesystem::remove(c.File(MakeDate(2026, 3, 9))); },
                 "0309S1.AFT no longer exists. Replayed without it.", kSessionLeftOut},
        BadInput{"SessionChanged",
                 [](TrialClub& c) {
                   const std::string file = c.File(MakeDate(2026, 2, 9));
                   std::string bytes = test::ReadBytes(file);
                   bytes.replace(bytes.find("Club Pairs"), 4, "Golf");
                   test::WriteBytes(file, bytes);
                 },
                 "0209S1.AFT has changed since the update used it. Replayed without it.",
                 kSessionLeftOut},
        BadInput{"SessionUnreadable",
                 [](TrialClub& c) {
                   const std::string file = c.File(MakeDate(2026, 4, 6));
                   test::WriteBytes(file, test::ReadBytes(file).substr(0, 60));
                 },
                 "whilst reading file", kSessionLeftOut},
        BadInput{"VisitorNeverAnswered", [](TrialClub& c) { DropLines(c, {"Visitor"}); },
                 "Nobody recorded the handicap of the visitor Val Visitor on Mon 02/02/26 aft. "
                 "Replayed with 0.",
                 kUnknownVisitor},
        BadInput{"DamagedSessionLine",
                 [](TrialClub& c) {
                   std::string text = test::ReadBytes(HistoryFile(c));
                   text.replace(text.find("\"0302S1.AFT\",\"") + 14, 4, "zzzz");
                   test::WriteBytes(HistoryFile(c), text);
                 },
                 "A line of what the history file records of the sessions cannot be read.",
                 kLessCertain, false},
        BadInput{"SavedBeforeTheRecord",
                 [](TrialClub& c) {
                   DropLines(c, {"Session", "Parameters", "Visitor"});
                 },
                 "Saved before the parameters were recorded.", kLessCertain}),
    [](const auto& info) { return std::string(info.param.name); });

// The prompt offers the handicap the name was last given: earlier in the same update, or else in
// the last saved update that gave it one.
TEST(VisitorPrompt, OffersTheHandicapTheNameWasLastGiven) {
  TrialClub club;
  club.Play(MakeDate(2026, 2, 2), kSeats[0], false);
  club.Update(MakeDate(2026, 3, 1), {{"Val Visitor", "3"}, {"Wyn Wanderer", "-1"}});
  club.Play(MakeDate(2026, 3, 2), kSeats[0], false);
  club.Play(MakeDate(2026, 3, 9), kSeats[0], false);
  club.Update(MakeDate(2026, 4, 1), {{"Val Visitor", "2.5"}, {"Wyn Wanderer", "-1"}});
  // The first date, the visitors of February, then of March twice.
  EXPECT_EQ(club.ports.dialogs.promptDefaults,
            (std::vector<std::string>{"", "", "", "3", "-1", "2.5", "-1"}));
}

// The stretch is the last twelve months of updates by default, its two ends move together, and
// the replay tells how far it has come.
TEST(TrialWindow, TheStretchIsTheLastTwelveMonthsAndItsEndsNeverCross) {
  test::HistoryClub club;
  for (const Date day :
       {MakeDate(2025, 1, 6), MakeDate(2025, 2, 23), MakeDate(2025, 9, 1), MakeDate(2026, 2, 23)})
    club.Save(day, 0.5);
  Program program(club.ports.ports());
  program.context.SetFolders(club.dir.path());
  program.context.Parameters = club.c.Parameters;
  TrialDialog trial(program);
  struct : ReplayProgress {
    void Step(const std::string& text, size_t, size_t) override { told.push_back(text); }
    std::vector<std::string> told;
  } progress;
  trial.Load(&progress);
  EXPECT_EQ(progress.told, (std::vector<std::string>{"Replaying the updates: 0 of 2",
                                                     "Replaying the updates: 1 of 2",
                                                     "Replaying the updates: 2 of 2"}));
  EXPECT_EQ(trial.updateNames(), (std::vector<std::string>{"Mon 06/01/25", "Sun 23/02/25",
                                                           "Mon 01/09/25", "Mon 23/02/26"}));
  EXPECT_EQ(std::pair(trial.from(), trial.to()), std::pair(2, 3));
  trial.ChooseTo(1);
  EXPECT_EQ(std::pair(trial.from(), trial.to()), std::pair(1, 1));
  trial.ChooseFrom(3);
  EXPECT_EQ(std::pair(trial.from(), trial.to()), std::pair(3, 3));
  EXPECT_EQ(trial.replay().updates.size(), 1u);
}

}  // namespace
}  // namespace pg
