#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>

#include "base/Numbers.h"
#include "support/ScriptedPorts.h"
#include "support/SessionWriter.h"
#include "support/TempFolder.h"
#include "update/UpdateDialog.h"

namespace pg {
namespace {

using test::SessionPlan;
using Texts = std::vector<std::string>;

// The clock stands at Tuesday 26 September 2006 in every test here.
const Date kToday = MakeDate(2006, 9, 26);
const Date kMonday = MakeDate(2006, 9, 18);   // 8 days before: usable
const Date kTuesday = MakeDate(2006, 9, 19);  // 7 days before: inside the correction period
const Date kSunday = MakeDate(2006, 9, 17);

constexpr short kAft = 1;
constexpr short kEve = 2;

test::RowSpec Row(short ns, short ew, int nsScore) {
  test::RowSpec r;
  r.ns = ns;
  r.ew = ew;
  r.nsScore = nsScore;
  r.ewScore = -nsScore;
  return r;
}

// Two tables, two winners: pair 1 wins both boards north-south (100 %) and pair 4 east-west,
// so with handicaps of 0 pairs 1 and 4 lose the largest adjustment and pairs 2 and 3 gain it.
SessionPlan Small(Date day, Texts players = {}) {
  SessionPlan p;
  p.date = day;
  p.rounds = 1;
  p.rows = 2;
  p.boardsPerRound = 2;
  p.tables = 2;
  p.pairs = 4;
  p.roundsPlayed = 1;
  p.movementName = "Howell 2";
  p.travellers = {Row(1, 3, 420), Row(2, 4, 400), Row(1, 3, 140), Row(2, 4, 100)};
  p.players = players.empty() ? Texts{"Ann Ash", "Bob Birch", "Cy Cedar",  "Di Dove",
                                      "Ed Elm",  "Flo Fir",   "Guy Gorse", "Hal Hazel"}
                              : std::move(players);
  return p;
}

// Members 1..8 are the players of Small in order: pair p is members p and p + 4.
const char* const kMembers =
    "8,11,01/09/06\r\n"
    "1,Ann,Ash,,,,0,,,,\r\n2,Bob,Birch,,,,0,,,,\r\n3,Cy,Cedar,,,,0,,,,\r\n4,Di,Dove,,,,0,,,,\r\n"
    "5,Ed,Elm,,,,0.5,,,,\r\n6,Flo,Fir,,,,0,,,,\r\n7,Guy,Gorse,,,,0,,,,\r\n8,Hal,Hazel,,,,5.5,,,,"
    "\r\n";

struct Club {
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Context ctx{ports.ports()};
  Session session;
  MemberTable members;
  UpdateOutputs outputs;
  UpdateDialog window{ctx, session, members, outputs};

  Club() {
    ports.clock.today = kToday;
    ctx.SetFolders(dir.path());
    std::filesystem::create_directories(ctx.ResultsRoot + "2006");
    test::WriteBytes(ctx.MemberFile, kMembers);
  }

  std::string Path(Date day, short timeOfDay, short section) const {
    static const char* const kExtensions[] = {"MOR", "AFT", "EVE"};
    return ctx.ResultsRoot + FormatDate(day, "yyyy") + "/" + FormatDate(day, "mmdd") + "S" +
           std::to_string(section) + "." + kExtensions[timeOfDay];
  }
  void Place(Date day, short timeOfDay, short section, SessionPlan plan) const {
    plan.date = day;
    plan.sectionNo = section;
    test::WriteSession(Path(day, timeOfDay, section), plan);
  }
  // A session of three sections "red", "green" and "blue", with or without the combined file.
  void PlaceSections(Date day, short timeOfDay, bool combined) const {
    SessionPlan plan = Small(day);
    plan.sectionCount = 3;
    plan.sectionNames = {"red", "green", "blue"};
    for (short k = combined ? 0 : 1; k <= 3; ++k)
      Place(day, timeOfDay, k, plan);
  }
  void Open(Date start) {
    ctx.StartDate = start;
    window.Load();
  }
  Texts Lines(int i) const {
    Texts out;
    for (const CatalogueLine& line : window.lists[static_cast<size_t>(i)])
      out.push_back(line.Text);
    return out;
  }
  // Clicks the line of either list whose text contains part.
  void Click(const std::string& part) {
    for (int i = 0; i < 2; ++i) {
      const Texts lines = Lines(i);
      for (size_t row = 0; row < lines.size(); ++row) {
        if (lines[row].find(part) != std::string::npos) {
          window.ListClick(i, static_cast<int>(row));
          return;
        }
      }
    }
    ADD_FAILURE() << "no line " << part;
  }
};

SessionPlan With(SessionPlan plan, const std::function<void(SessionPlan&)>& change) {
  change(plan);
  return plan;
}

const std::string kMondayInfo =
    "Club Pairs\r\nMonday 18 September 2006\r\n\r\n2 tables\r\nHowell 2\r\n2 winner movement\r\n"
    "Pairs scoring";

struct ListCase {
  const char* name;
  std::function<void(Club&)> place;
  Texts used;
  Texts ignored;
  std::string info;  // lblDay once the window is open
  Texts messages;    // reader messages while listing, by a part of each
};

void PrintTo(const ListCase& c, std::ostream* out) {
  *out << c.name;
}

class Catalogue : public ::testing::TestWithParam<ListCase> {};

TEST_P(Catalogue, ListsUsableAndIgnoredSessions) {
  const ListCase& c = GetParam();
  Club club;
  c.place(club);
  for (const std::string& part : c.messages)
    club.ports.dialogs.ExpectMessageContaining(part);
  club.Open(kSunday);
  club.ports.dialogs.VerifyAllUsed();
  EXPECT_EQ(club.Lines(0), c.used);
  EXPECT_EQ(club.Lines(1), c.ignored);
  EXPECT_EQ(club.window.lblDay.caption, c.info);
  EXPECT_EQ(club.window.cmdOK.enabled, !c.used.empty());
  // The first line is ready to move out of its list.
  const bool any = !c.used.empty() || !c.ignored.empty();
  EXPECT_EQ(club.window.cmdAdd[1].visible, !c.used.empty());
  EXPECT_EQ(club.window.cmdAdd[0].visible, c.used.empty() && any);
  EXPECT_EQ(club.window.selected[0], c.used.empty() ? -1 : 0);
  EXPECT_EQ(club.window.selected[1], c.used.empty() && any ? 0 : -1);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, Catalogue,
    ::testing::Values(
        // Mornings are never listed, and today is never scanned.
        ListCase{"NothingPlayed",
                 [](Club& c) {
                   c.Place(kMonday, 0, 1, Small(kMonday));
                   c.Place(kToday, kAft, 1, Small(kToday));
                 },
                 {},
                 {},
                 "No previous scores found",
                 {}},
        ListCase{"TheCorrectionPeriod",
                 [](Club& c) {
                   c.Place(kMonday, kAft, 1, Small(kMonday));
                   c.Place(kTuesday, kEve, 1, Small(kTuesday));
                 },
                 {"01. 18 September 2006 - Monday afternoon"},
                 {"02. 19 September 2006 - Tuesday evening"},
                 kMondayInfo,
                 {}},
        ListCase{"SectionsCombined",
                 [](Club& c) { c.PlaceSections(kMonday, kAft, true); },
                 {"01. 18 September 2006 - Monday afternoon : 3 sections combined"},
                 {},
                 "Club Pairs\r\nMonday 18 September 2006\r\n\r\n3 sections combined\r\n4 pairs",
                 {}},
        ListCase{"SectionsOneByOne",
                 [](Club& c) { c.PlaceSections(kMonday, kEve, false); },
                 {"01. 18 September 2006 - Monday evening : Section 1 (red)",
                  "02. 18 September 2006 - Monday evening : Section 2 (green)",
                  "03. 18 September 2006 - Monday evening : Section 3 (blue)"},
                 {},
                 "Club Pairs\r\nMonday 18 September 2006\r\n3 sections\r\n2 tables\r\nHowell 2\r\n"
                 "2 winner movement\r\nPairs scoring",
                 {}},
        // Everything the usable test refuses; only the first session is described.
        ListCase{
            "SessionsThatCannotBeUsed",
            [](Club& c) {
              c.Place(kSunday, kAft, 1,
                      With(Small(kSunday), [](SessionPlan& p) { p.scoringType = "Aggregate"; }));
              c.Place(kSunday, kEve, 1,
                      With(Small(kSunday), [](SessionPlan& p) { p.passwordState = 2; }));
              c.Place(kMonday, kAft, 1, With(Small(kMonday), [](SessionPlan& p) { p.rounds = 0; }));
              c.Place(kMonday, kEve, 1, With(Small(kMonday), [](SessionPlan& p) {
                        for (auto& row : p.travellers)
                          row.nsScore = row.ewScore = CellValue::Null();
                      }));
              c.Place(kTuesday, kAft, 1,
                      With(Small(kTuesday), [](SessionPlan& p) { p.version = "9.4"; }));
            },
            {},
            {"01. 17 September 2006 - Sunday afternoon", "02. 17 September 2006 - Sunday evening",
             "03. 18 September 2006 - Monday afternoon", "04. 18 September 2006 - Monday evening",
             "05. 19 September 2006 - Tuesday afternoon"},
            "No previous scores found",
            {"later version (9.4)"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Read literally ("exactly 99"), a day of several sections would step past 99 and the listing
// would run on to yesterday.
TEST(CatalogueStop, EndsWithTheDayOnWhichTheCountReached99) {
  Club club;
  const Date first = MakeDate(2006, 7, 1);
  Date day = first;
  for (int i = 0; i < 48; ++i, day += std::chrono::days{1}) {
    club.Place(day, kAft, 1, Small(day));
    club.Place(day, kEve, 1, Small(day));
  }
  club.Place(day, kAft, 1, Small(day));  // 97
  club.PlaceSections(day, kEve, false);  // 98, 99, 100
  club.Place(day + std::chrono::days{1}, kAft, 1, Small(day));
  club.Open(first);
  const Texts used = club.Lines(0);
  ASSERT_EQ(used.size(), 100u);
  EXPECT_EQ(used.front(), "01. 01 July 2006 - Saturday afternoon");
  EXPECT_EQ(used.back(), "100. 18 August 2006 - Friday evening : Section 3 (blue)");
}

struct InfoCase {
  const char* name;
  std::function<void(Club&)> place;
  const char* line;                      // the line clicked, by a part of its text
  std::function<void(Club&)> afterOpen;  // what happens to the files meanwhile
  std::string info;
  Texts messages;
};

void PrintTo(const InfoCase& c, std::ostream* out) {
  *out << c.name;
}

class Description : public ::testing::TestWithParam<InfoCase> {};

TEST_P(Description, DescribesTheClickedLinesOwnFile) {
  const InfoCase& c = GetParam();
  Club club;
  club.Place(kMonday, kAft, 1, Small(kMonday));
  c.place(club);
  club.Open(kMonday);
  if (c.afterOpen) c.afterOpen(club);
  for (const std::string& part : c.messages)
    club.ports.dialogs.ExpectMessageContaining(part);
  club.Click(c.line);
  club.ports.dialogs.VerifyAllUsed();
  EXPECT_EQ(club.window.lblDay.caption, c.info);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Description,
    ::testing::Values(
        InfoCase{"ASitOutTableCountsHalf",
                 [](Club& c) {
                   c.Place(kMonday, kEve, 1, With(Small(kMonday), [](SessionPlan& p) {
                             p.eventName = "Monday Evening";
                             p.phantom = 4;
                             p.winners = 1;
                             p.movementName = "Mitchell 2";
                           }));
                 },
                 "evening",
                 nullptr,
                 "Monday Evening\r\nMonday 18 September 2006\r\n\r\n1\xBD tables\r\nMitchell 2\r\n"
                 "1 winner movement\r\nPairs scoring",
                 {}},
        InfoCase{"OneSectionOfThree",
                 [](Club& c) { c.PlaceSections(kTuesday, kEve, false); },
                 "(green)",
                 nullptr,
                 "Club Pairs\r\nTuesday 19 September 2006\r\n3 sections\r\n2 tables\r\nHowell 2\r\n"
                 "2 winner movement\r\nPairs scoring",
                 {}},
        InfoCase{"PasswordProtected",
                 [](Club& c) {
                   c.Place(kMonday, kEve, 1,
                           With(Small(kMonday), [](SessionPlan& p) { p.passwordState = 2; }));
                 },
                 "evening",
                 nullptr,
                 kMondayInfo + "\r\nPassword protected",
                 {}},
        InfoCase{"MovementNotYetEntered",
                 [](Club& c) {
                   c.Place(kMonday, kEve, 1,
                           With(Small(kMonday), [](SessionPlan& p) { p.rounds = 0; }));
                 },
                 "evening",
                 nullptr,
                 "Club Pairs\r\nMonday 18 September 2006\r\n\r\nMovement not yet entered",
                 {}},
        InfoCase{"AVanishedFileShowsItsDay",
                 [](Club&) {},
                 "afternoon",
                 [](Club& c) { std::filesystem::remove(c.Path(kMonday, kAft, 1)); },
                 "Monday",
                 {}},
        InfoCase{"AFileThatCannotBeRead",
                 [](Club&) {},
                 "afternoon",
                 [](Club& c) {
                   c.Place(kMonday, kAft, 1,
                           With(Small(kMonday), [](SessionPlan& p) { p.version = "9.4"; }));
                 },
                 "Error - cannot read the file for this session",
                 {"later version (9.4)"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
  const char* name;
  std::function<void(SessionPlan&)> change;
  Date day;
  std::string message;
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
  *out << c.name;
}

class MoveBack : public ::testing::TestWithParam<RefusalCase> {};

// The checks read the selected line's own file, whatever was described last.
TEST_P(MoveBack, RefusesASessionThatCannotBeUsed) {
  const RefusalCase& c = GetParam();
  Club club;
  club.Place(kSunday, kAft, 1, Small(kSunday));
  club.Place(c.day, kEve, 1, With(Small(c.day), c.change));
  club.Open(kSunday);
  ASSERT_EQ(club.Lines(1).size(), 1u);
  club.Click("evening");
  club.ports.dialogs.ExpectMessage(c.message);
  club.window.MoveClick(0);
  club.ports.dialogs.VerifyAllUsed();
  EXPECT_EQ(club.Lines(0).size(), 1u);
  EXPECT_EQ(club.Lines(1).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, MoveBack,
    ::testing::Values(
        RefusalCase{"InsideTheCorrectionPeriod", [](SessionPlan&) {}, kTuesday,
                    "Cannot use sessions within your specified correction period of 7 days"},
        RefusalCase{"Aggregate", [](SessionPlan& p) { p.scoringType = "Aggregate"; }, kMonday,
                    "Cannot use this session because it is Aggregate scoring"},
        RefusalCase{"PasswordProtected", [](SessionPlan& p) { p.passwordState = 2; }, kMonday,
                    "Password protected file"},
        // Saved before its movement was entered: what the record holds is another session's.
        RefusalCase{"NoMovementYet", [](SessionPlan& p) { p.rounds = 0; }, kMonday,
                    "Scores have not been entered for this session"},
        RefusalCase{"NoScores",
                    [](SessionPlan& p) {
                      for (auto& row : p.travellers)
                        row.nsScore = row.ewScore = CellValue::Null();
                    },
                    kMonday, "Scores have not been entered for this session"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Moves, LinesGoToTheEndOfTheOtherListAndTheButtonsFollowTheSelection) {
  Club club;
  club.Place(kSunday, kAft, 1, Small(kSunday));
  club.Place(kMonday, kAft, 1, Small(kMonday));
  club.Place(kTuesday, kAft, 1, Small(kTuesday));
  club.Open(kSunday);
  ASSERT_EQ(club.Lines(0), (Texts{"01. 17 September 2006 - Sunday afternoon",
                                  "02. 18 September 2006 - Monday afternoon"}));

  // Out of the list to be used: never refused; the line now in its place is selected.
  club.window.MoveClick(1);
  EXPECT_EQ(club.Lines(0), Texts{"02. 18 September 2006 - Monday afternoon"});
  EXPECT_EQ(club.Lines(1), (Texts{"03. 19 September 2006 - Tuesday afternoon",
                                  "01. 17 September 2006 - Sunday afternoon"}));
  EXPECT_EQ(club.window.selected, (std::array<int, 2>{0, -1}));
  EXPECT_EQ(club.window.lblDay.caption, kMondayInfo);

  // Emptying the list hides its button and clears the description; Update needs a session.
  club.window.MoveClick(1);
  EXPECT_TRUE(club.Lines(0).empty());
  EXPECT_FALSE(club.window.cmdAdd[1].visible);
  EXPECT_FALSE(club.window.cmdAdd[0].visible);
  EXPECT_EQ(club.window.lblDay.caption, "");
  EXPECT_FALSE(club.window.cmdOK.enabled);

  // A click in the other list shows the button that moves out of it.
  club.window.ListClick(1, 1);
  EXPECT_TRUE(club.window.cmdAdd[0].visible);
  EXPECT_FALSE(club.window.cmdAdd[1].visible);
  club.window.MoveClick(0);
  EXPECT_EQ(club.Lines(0), Texts{"01. 17 September 2006 - Sunday afternoon"});
  EXPECT_TRUE(club.window.cmdOK.enabled);
  // The last line went, so the one before it is selected and described.
  EXPECT_EQ(club.window.selected, (std::array<int, 2>{-1, 1}));
  EXPECT_EQ(club.window.lblDay.caption, kMondayInfo);
}

// The run, from Update to the review window, over lines moved about.
TEST(Update, AppliesTheListInOrderAndOpensTheReviewOnceTheWindowIsClosed) {
  Club club;
  const Date d11 = MakeDate(2006, 9, 11), d12 = MakeDate(2006, 9, 12), d13 = MakeDate(2006, 9, 13);
  club.Place(d11, kAft, 1, Small(d11));
  club.Place(d12, kAft, 1, Small(d12));
  // A section's name must not make an evening line stand for the afternoon file.
  SessionPlan evening = Small(d13);
  evening.sectionCount = 2;
  evening.sectionNames = {"afternoon tea", "late"};
  club.Place(d13, kEve, 1, evening);
  club.Place(d13, kEve, 2, evening);
  club.Place(d13, kAft, 1, With(Small(d13), [](SessionPlan& p) { p.scoringType = "Butler"; }));
  club.Open(d11);
  ASSERT_EQ(club.Lines(0).size(), 4u);
  club.window.MoveClick(1);
  club.window.ListClick(1, 1);
  club.window.MoveClick(0);

  bool closedFirst = false;
  club.ports.windows.onShow[WindowId::Review] = [&] { closedFirst = club.window.closed; };
  club.window.UpdateClick();
  EXPECT_EQ(club.ports.windows.shown, std::vector<WindowId>{WindowId::Review});
  EXPECT_TRUE(closedFirst);

  const UpdateOutputs& out = club.outputs;
  ASSERT_EQ(out.SessionCount, 4);
  Texts labels;
  for (short s = 0; s < 4; ++s)
    labels.push_back(out.SessionLabels(s));
  EXPECT_EQ(labels, (Texts{"Tue 12/09/06 aft", "Wed 13/09/06 eve", "Wed 13/09/06 eve",
                           "Mon 11/09/06 aft"}));
  // The session moved back was applied last, yet the latest day is the one kept.
  EXPECT_EQ(out.LastSessionDate, d13);
  // Four sessions of the largest adjustment each, down for the winners (pairs 1 and 4).
  const double ends[] = {-4, 4, 4, -4, -3.5, 4, 4, 1.5};
  for (short m = 1; m <= 8; ++m)
    EXPECT_EQ(club.members.Member(m).EndHandicap, ends[m - 1]) << m;
  EXPECT_EQ(out.SessionResults(8, 3).Adjustment, -1);
  EXPECT_EQ(out.SessionResults(4, 1).Direction, 2);
  EXPECT_EQ(out.SessionResults(1, 2).NetScore, 100.5);
  EXPECT_DOUBLE_EQ(out.SessionAverages(3, 2), 52.75);
}

struct StopCase {
  const char* name;
  std::function<void(Club&)> afterOpen;
  Texts messages;  // by a part of each
  std::function<std::string(const Club&)> info;
};

void PrintTo(const StopCase& c, std::ostream* out) {
  *out << c.name;
}

class UpdateStops : public ::testing::TestWithParam<StopCase> {};

// A stopped run leaves the window open, opens nothing and leaves no outputs behind.
TEST_P(UpdateStops, LeavesTheWindowOpen) {
  const StopCase& c = GetParam();
  Club club;
  club.Place(kSunday, kAft, 1, Small(kSunday));
  club.Place(kMonday, kAft, 1,
             Small(kMonday, {"Ann Ash", "Bob Birch", "Cy Cedar", "Di Dove", "Vera Visitor",
                             "Flo Fir", "Guy Gorse", "Hal Hazel"}));
  club.Open(kSunday);
  c.afterOpen(club);
  for (const std::string& part : c.messages)
    club.ports.dialogs.ExpectMessageContaining(part, Answer::Yes);
  club.window.UpdateClick();
  club.ports.dialogs.VerifyAllUsed();
  EXPECT_FALSE(club.window.closed);
  EXPECT_TRUE(club.ports.windows.shown.empty());
  EXPECT_EQ(club.outputs.SessionCount, 0);
  EXPECT_FALSE(club.outputs.LastSessionDate);
  EXPECT_EQ(club.window.lblDay.caption, c.info(club));
}

// What the window says once open: the first session's description.
std::string SundayInfo(const Club&) {
  return "Club Pairs\r\nSunday 17 September 2006\r\n\r\n2 tables\r\nHowell 2\r\n"
         "2 winner movement\r\nPairs scoring";
}

INSTANTIATE_TEST_SUITE_P(
    Stops, UpdateStops,
    ::testing::Values(StopCase{"NoMembershipFile",
                               [](Club& c) { std::filesystem::remove(c.ctx.MemberFile); },
                               {"Cannot open the membership file "},
                               SundayInfo},
                      StopCase{"NothingChosen",
                               [](Club& c) {
                                 c.window.MoveClick(1);
                                 c.window.MoveClick(1);
                               },
                               {"No files have been selected"},
                               [](const Club&) { return std::string(); }},
                      StopCase{"AVanishedFile",
                               [](Club& c) { std::filesystem::remove(c.Path(kMonday, kAft, 1)); },
                               {"0918S1.AFT no longer exists"},
                               SundayInfo},
                      StopCase{"AFileThatCannotBeRead",
                               [](Club& c) {
                                 c.Place(kMonday, kAft, 1, With(Small(kMonday), [](SessionPlan& p) {
                                           p.version = "9.4";
                                         }));
                               },
                               {"later version (9.4)"},
                               [](const Club& c) {
                                 return "Error - cannot read the file " + c.Path(kMonday, kAft, 1);
                               }},
                      StopCase{"AFileNoLongerUsable",
                               [](Club& c) {
                                 c.Place(kMonday, kAft, 1, With(Small(kMonday), [](SessionPlan& p) {
                                           p.passwordState = 2;
                                         }));
                               },
                               {"0918S1.AFT\r\nPassword protected file"},
                               SundayInfo},
                      // The visitor's prompt answered with nothing, and Yes to giving up.
                      StopCase{"AVisitorsHandicapCancelled",
                               [](Club& c) { c.ports.dialogs.ExpectPrompt(""); },
                               {"Are you sure that you want to cancel updating handicaps?"},
                               SundayInfo}),
    [](const auto& info) { return std::string(info.param.name); });

// A file that stores its players' handicaps needs no prompt; an older one with the flag set
// asks for its visitor, and its own average counts the answer.
TEST(Update, AsksForVisitorsOnlyWhenTheFileStoresNoHandicaps) {
  const Texts players = {"Ann Ash",      "Bob Birch", "Cy Cedar",  "Di Dove",
                         "Vera Visitor", "Flo Fir",   "Guy Gorse", "Hal Hazel"};
  for (const char* version : {"9.3", "8.6"}) {
    SCOPED_TRACE(version);
    Club club;
    SessionPlan plan = Small(kMonday, players);
    plan.version = version;
    plan.wantHandicaps = 1;
    plan.handicaps = {0, 0, 0, 0, 3, 0, 0, 0};
    club.Place(kMonday, kAft, 1, plan);
    club.Open(kMonday);
    const bool old = std::string(version) == "8.6";
    if (old) club.ports.dialogs.ExpectPrompt("-2");
    club.window.UpdateClick();
    club.ports.dialogs.VerifyAllUsed();
    EXPECT_EQ(club.ports.dialogs.prompts,
              old ? Texts{"Monday 18/09/06 afternoon\r\nEnter handicap for visitor Vera Visitor"}
                  : Texts{});
    // Pair 1 is Ann and the visitor: 100 plus the visitor's handicap; north-south averages it
    // with pair 2's 0 plus Flo's 0.
    EXPECT_EQ(club.outputs.SessionResults(1, 0).NetScore, old ? 98 : 103);
    EXPECT_DOUBLE_EQ(club.outputs.SessionAverages(0, 1), old ? 49 : 51.5);
    EXPECT_EQ(club.outputs.SessionResults(0, 0).NetScore, old ? 98 : 103);
  }
}

}  // namespace
}  // namespace pg
