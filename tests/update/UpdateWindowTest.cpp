#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/FileSystem.h"
#include "base/Files.h"
#include "support/FailingFileSystem.h"
#include "support/NamedCases.h"
#include "support/ScriptedPorts.h"
#include "support/SessionWriter.h"
#include "support/TempFolder.h"
#include "update/UpdateDialog.h"

namespace pg {
namespace {

using test::SessionPlan;
using Texts = std::vector<std::string>;
using Change = std::function<void(SessionPlan&)>;

// Found by GoogleTest through the cases' namespace, which the check does not see.
using test::PrintTo;  // NOLINT(misc-unused-using-decls)

// The clock stands at Tuesday 26 September 2006 in every test here.
const Date kToday = MakeDate(2006, 9, 26);
const Date kSunday = MakeDate(2006, 9, 17);
const Date kMonday = MakeDate(2006, 9, 18);   // 8 days before: usable
const Date kTuesday = MakeDate(2006, 9, 19);  // 7 days before: inside the correction period
constexpr short kAft = 1, kEve = 2;

// Pair 1 (members 1 and 5) wins both boards north-south and pair 4 (members 4 and 8) east-west,
// so each session moves them by -1 and pairs 2 and 3 by +1.
SessionPlan Small(const Change& change = nullptr) {
  SessionPlan p = test::TwoTableSession();
  if (change) change(p);
  return p;
}

struct Club {
  test::TempFolder dir;
  // The machine's files, but for the folders a test makes unreadable.
  test::FailingFileSystem files;
  FileSystemOverride useFiles{files};
  test::ScriptedPorts ports;
  Context ctx{ports.ports()};
  Session session;
  MemberTable members;
  UpdateOutputs outputs;
  NameCheck names;
  UpdateDialog window{ctx, session, members, outputs, names};

  Club() {
    ports.clock.today = kToday;
    ctx.SetFolders(dir.path());
    std::filesystem::create_directories(ctx.ResultsRoot + "2006");
    test::WriteBytes(ctx.MemberFile,
                     "8,11,01/09/06\r\n1,Ann,Ash,,,,0,,,,\r\n2,Bob,Birch,,,,0,,,,\r\n"
                     "3,Cy,Cedar,,,,0,,,,\r\n4,Di,Dove,,,,0,,,,\r\n5,Ed,Elm,,,,0.5,,,,\r\n"
                     "6,Flo,Fir,,,,0,,,,\r\n7,Guy,Gorse,,,,0,,,,\r\n8,Hal,Hazel,,,,5.5,,,,\r\n");
  }
  std::string Path(Date day, short timeOfDay, short section = 1) const {
    return ctx.ResultsRoot + FormatDate(day, "yyyy") + kPathSeparator + FormatDate(day, "mmdd") +
           "S" + std::to_string(section) + "." +
           std::array{"MOR", "AFT", "EVE"}[static_cast<size_t>(timeOfDay)];
  }
  void Place(Date day, short timeOfDay, const Change& change = nullptr, short section = 1) const {
    SessionPlan plan = Small(change);
    plan.date = day;
    plan.sectionNo = section;
    test::WriteSession(Path(day, timeOfDay, section), plan);
  }
  // Three sections "red", "green" and "blue", with or without their combined file.
  void PlaceSections(Date day, short timeOfDay, bool combined) const {
    for (short k = combined ? 0 : 1; k <= 3; ++k) {
      Place(
          day, timeOfDay,
          [](SessionPlan& p) {
            p.sectionCount = 3;
            p.sectionNames = {"red", "green", "blue"};
          },
          k);
    }
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
};

const std::string kSundayInfo =
    "Club Pairs\r\nSunday 17 September 2006\r\n\r\n2 tables\r\nHowell 2\r\n2 winner movement\r\n"
    "Pairs scoring";

struct ListCase {
  const char* name;
  std::function<void(Club&)> place;
  Texts used = {}, ignored = {};
  Texts refusals = {};  // moving each ignored line back, in order
};

class Catalogue : public ::testing::TestWithParam<ListCase> {};

TEST_P(Catalogue, ListsUsableAndIgnoredSessionsAndRefusesTheIgnoredBack) {
  const ListCase& c = GetParam();
  Club club;
  c.place(club);
  club.Open(kSunday);
  EXPECT_EQ(club.Lines(0), c.used);
  EXPECT_EQ(club.Lines(1), c.ignored);
  EXPECT_EQ(club.window.cmdOK.enabled, !c.used.empty());
  EXPECT_EQ(club.window.lblDay.caption == "No previous scores found", c.used.empty());
  for (size_t i = 0; i < c.refusals.size(); ++i) {
    club.window.ListClick(1, static_cast<int>(i));
    club.ports.dialogs.ExpectMessage(c.refusals[i]);
    club.window.MoveClick(0);
  }
  EXPECT_EQ(club.Lines(1), c.ignored);
}

INSTANTIATE_TEST_SUITE_P(
    Days, Catalogue,
    ::testing::Values(
        // Mornings are never listed, and today is never scanned.
        ListCase{"NothingPlayed",
                 [](Club& c) {
                   c.Place(kMonday, 0);
                   c.Place(kToday, kAft);
                 }},
        // The evening was saved before its movement was entered and is read right after the
        // afternoon, whose travellers stay in the session record.
        ListCase{
            "UnusableSessions",
            [](Club& c) {
              c.Place(kSunday, kAft, [](SessionPlan& p) { p.scoringType = "Aggregate"; });
              c.Place(kSunday, kEve, [](SessionPlan& p) { p.passwordState = 2; });
              c.Place(kMonday, kAft);
              c.Place(kMonday, kEve, [](SessionPlan& p) { p.rounds = 0; });
              c.Place(kTuesday, kAft);
            },
            {"03. 18 September 2006 - Monday afternoon"},
            {"01. 17 September 2006 - Sunday afternoon", "02. 17 September 2006 - Sunday evening",
             "04. 18 September 2006 - Monday evening", "05. 19 September 2006 - Tuesday afternoon"},
            {"Cannot use this session because it is Aggregate scoring", "Password protected file",
             "Scores have not been entered for this session",
             "Cannot use sessions within your specified correction period of 7 days"}},
        ListCase{"Sections",
                 [](Club& c) {
                   c.PlaceSections(kMonday, kAft, true);
                   c.PlaceSections(kMonday, kEve, false);
                 },
                 {"01. 18 September 2006 - Monday afternoon : 3 sections combined",
                  "02. 18 September 2006 - Monday evening : Section 1 (red)",
                  "03. 18 September 2006 - Monday evening : Section 2 (green)",
                  "04. 18 September 2006 - Monday evening : Section 3 (blue)"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Read literally ("exactly 99"), a day of several sections would step past 99 and the listing
// would run on to yesterday.
TEST(Catalogue, EndsWithTheDayOnWhichTheCountReached99) {
  Club club;
  Date day = MakeDate(2006, 7, 1);
  for (int i = 0; i < 48; ++i, day += std::chrono::days{1}) {
    club.Place(day, kAft);
    club.Place(day, kEve);
  }
  club.Place(day, kAft);                 // 97
  club.PlaceSections(day, kEve, false);  // 98 to 100
  club.Place(day + std::chrono::days{1}, kAft);
  club.Open(MakeDate(2006, 7, 1));
  ASSERT_EQ(club.Lines(0).size(), 100u);
  EXPECT_EQ(club.Lines(0).back(), "100. 18 August 2006 - Friday evening : Section 3 (blue)");
}

// A year's folder that cannot be read (no permission, a network drive that dropped) is not a
// year without sessions: the listing says so and ends before it, and a line of it cannot be
// described.
TEST(Catalogue, EndsBeforeAFolderThatCannotBeRead) {
  Club club;
  const Date december = MakeDate(2005, 12, 30);
  std::filesystem::create_directories(club.ctx.ResultsRoot + "2005");
  club.Place(december, kAft);
  club.Place(kSunday, kAft);
  const std::string folder = club.ctx.ResultsRoot + "2006";
  club.files.unreadable = {folder};
  club.ports.dialogs.ExpectMessage("Cannot read the folder " + folder + "\r\nPermission denied");
  club.Open(december);
  EXPECT_EQ(club.Lines(0), Texts{"01. 30 December 2005 - Friday afternoon"});
  EXPECT_EQ(club.ports.dialogs.messages.back().icon, Icon::Warning);

  club.files.unreadable.clear();
  club.Open(december);
  ASSERT_EQ(club.Lines(0).size(), 2u);
  club.files.unreadable = {folder};
  club.ports.dialogs.ExpectMessageContaining("Cannot read the folder ");
  club.window.ListClick(0, 1);
  EXPECT_EQ(club.window.lblDay.caption, "Error - cannot read the file for this session");
}

TEST(Description, TellsTheTablesMovementAndSectionsOfTheClickedLine) {
  Club club;
  club.Place(kSunday, kAft, [](SessionPlan& p) {
    p.phantom = 4;
    p.winners = 1;
  });
  club.PlaceSections(kSunday, kEve, true);
  club.PlaceSections(kMonday, kAft, false);
  club.Open(kSunday);
  EXPECT_EQ(club.window.lblDay.caption,
            "Club Pairs\r\nSunday 17 September 2006\r\n\r\n1\xBD tables\r\nHowell 2\r\n"
            "1 winner movement\r\nPairs scoring");
  club.window.ListClick(0, 1);
  EXPECT_EQ(club.window.lblDay.caption,
            "Club Pairs\r\nSunday 17 September 2006\r\n\r\n3 sections combined\r\n4 pairs");
  club.window.ListClick(0, 3);
  EXPECT_EQ(club.window.lblDay.caption,
            "Club Pairs\r\nMonday 18 September 2006\r\n3 sections\r\n2 tables\r\nHowell 2\r\n"
            "2 winner movement\r\nPairs scoring");
}

TEST(Update, AppliesTheListInItsOrderAndOpensTheReviewOnceTheWindowIsClosed) {
  Club club;
  const Date d11 = MakeDate(2006, 9, 11), d12 = MakeDate(2006, 9, 12), d13 = MakeDate(2006, 9, 13);
  club.Place(d11, kAft);
  club.Place(d12, kAft);
  club.Place(d12, kEve, [](SessionPlan& p) { p.rounds = 0; });
  // A section's name must not make an evening line stand for the afternoon's file.
  for (short k = 1; k <= 2; ++k) {
    club.Place(
        d13, kEve,
        [](SessionPlan& p) {
          p.sectionCount = 2;
          p.sectionNames = {"afternoon tea", "late"};
        },
        k);
  }
  club.Open(d11);
  ASSERT_EQ(club.Lines(0).size(), 4u);
  // The first line out and back: it goes to the end of the list.
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
  EXPECT_EQ(
      (Texts{out.SessionLabels(0), out.SessionLabels(1), out.SessionLabels(2),
             out.SessionLabels(3)}),
      (Texts{"Tue 12/09/06 aft", "Wed 13/09/06 eve", "Wed 13/09/06 eve", "Mon 11/09/06 aft"}));
  // Applied last, yet the latest day is the one the next update starts after.
  EXPECT_EQ(out.LastSessionDate, d13);
  EXPECT_EQ(club.members.Member(5).EndHandicap, -3.5);
  EXPECT_EQ(club.members.Member(8).EndHandicap, 1.5);
  EXPECT_EQ(out.SessionResults(8, 3).Direction, 2);
  EXPECT_DOUBLE_EQ(out.SessionAverages(3, 2), 52.75);
}

struct StopCase {
  const char* name;
  std::function<void(Club&)> afterOpen;
  const char* message;  // a part of it
  std::function<std::string(const Club&)> info;
};

class UpdateStops : public ::testing::TestWithParam<StopCase> {};

// A stopped run leaves the window open, opens nothing and leaves no outputs behind.
TEST_P(UpdateStops, LeavesTheWindowOpen) {
  const StopCase& c = GetParam();
  Club club;
  club.Place(kSunday, kAft);
  club.Place(kMonday, kAft, [](SessionPlan& p) { p.players[4] = "Vera Visitor"; });
  club.Open(kSunday);
  c.afterOpen(club);
  club.ports.dialogs.ExpectMessageContaining(c.message, Answer::Yes);
  club.window.UpdateClick();
  club.ports.dialogs.VerifyAllUsed();
  EXPECT_FALSE(club.window.closed);
  EXPECT_TRUE(club.ports.windows.shown.empty());
  EXPECT_EQ(club.outputs.SessionCount, 0);
  EXPECT_EQ(club.window.lblDay.caption, c.info(club));
}

std::string Unchanged(const Club&) {
  return kSundayInfo;
}

std::string CannotUseMonday(const Club& c) {
  return "Cannot use the file " + c.Path(kMonday, kAft);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, UpdateStops,
    ::testing::Values(
        StopCase{"AVanishedFile", [](Club& c) { std::filesystem::remove(c.Path(kMonday, kAft)); },
                 "0918S1.AFT no longer exists", CannotUseMonday},
        StopCase{"AFolderThatCannotBeRead",
                 [](Club& c) { c.files.unreadable = {c.ctx.ResultsRoot + "2006"}; },
                 "2006\r\nPermission denied",
                 [](const Club& c) { return "Cannot use the file " + c.Path(kSunday, kAft); }},
        StopCase{
            "AFileThatCannotBeRead",
            [](Club& c) { c.Place(kMonday, kAft, [](SessionPlan& p) { p.version = "9.4"; }); },
            "later version (9.4)",
            [](const Club& c) { return "Error - cannot read the file " + c.Path(kMonday, kAft); }},
        StopCase{
            "AFileNoLongerUsable",
            [](Club& c) { c.Place(kMonday, kAft, [](SessionPlan& p) { p.passwordState = 2; }); },
            "Password protected file", CannotUseMonday},
        // The visitor's prompt answered with nothing, and Yes to giving up.
        StopCase{"AVisitorsHandicapCancelled", [](Club& c) { c.ports.dialogs.ExpectPrompt(""); },
                 "Are you sure that you want to cancel updating handicaps?", Unchanged}),
    [](const auto& info) { return std::string(info.param.name); });

// Sunday and Monday afternoon, with Ann Ash in small letters in both and Bob Birch's names the
// other way round on Monday; each is a visitor to the run, asked for a handicap.
void MisspeltNames(Club& c) {
  c.Place(kSunday, kAft, [](SessionPlan& p) { p.players[0] = "ann ash"; });
  c.Place(kMonday, kAft, [](SessionPlan& p) {
    p.players[0] = "ann ash";
    p.players[1] = "Birch, Bob";
  });
}

// What the names window lists for MisspeltNames, as "typed|session|member|difference".
const Texts kMisspeltRows = {
    "ann ash|01. 17 September 2006 - Sunday afternoon|Ann Ash|capitals or blanks",
    "|02. 18 September 2006 - Monday afternoon||",
    "Birch, Bob|02. 18 September 2006 - Monday afternoon|Bob Birch|first name and surname "
    "swapped"};

struct NamesCase {
  const char* name;
  Texts rows;     // none: the names window does not open
  bool goOn;      // Continue, or Back
  bool reviewed;  // the run went through to the review window
  std::function<void(test::ScriptedDialogs&)> script;
  std::function<void(Club&)> change = nullptr;  // after the window has listed MisspeltNames
};

class NamesBeforeUpdate : public ::testing::TestWithParam<NamesCase> {};

TEST_P(NamesBeforeUpdate, ListsNamesCloseToAMemberBeforeAnythingRuns) {
  const NamesCase& c = GetParam();
  Club club;
  MisspeltNames(club);
  club.Open(kSunday);
  if (c.change) c.change(club);
  const Texts used = club.Lines(0);
  const auto selected = club.window.selected;
  const std::string info = club.window.lblDay.caption;
  Texts rows;
  club.ports.windows.onShow[WindowId::NearNames] = [&] {
    NearNamesDialog names(club.ctx, club.names);
    for (const NearNamesDialog::Row& row : names.Rows())
      rows.push_back(row[0] + "|" + row[1] + "|" + row[2] + "|" + row[3]);
    c.goOn ? names.ContinueClick() : names.BackClick();
  };
  c.script(club.ports.dialogs);
  club.window.UpdateClick();
  club.ports.dialogs.VerifyAllUsed();
  EXPECT_EQ(rows, c.rows);
  EXPECT_EQ(club.window.closed, c.reviewed);
  EXPECT_EQ(club.outputs.SessionCount, c.reviewed ? 2 : 0);
  if (c.rows.empty() || c.goOn) return;
  // Back: the window as it was, and nothing loaded or shown.
  EXPECT_EQ(club.ports.windows.shown, std::vector<WindowId>{WindowId::NearNames});
  EXPECT_EQ(club.Lines(0), used);
  EXPECT_EQ(club.window.selected, selected);
  EXPECT_EQ(club.window.lblDay.caption, info);
  EXPECT_EQ(club.members.MemberCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NamesBeforeUpdate,
    ::testing::Values(
        NamesCase{"Continue", kMisspeltRows, true, true,
                  [](auto& d) { d.ExpectPrompt("1").ExpectPrompt("1").ExpectPrompt("2"); }},
        NamesCase{"Back", kMisspeltRows, false, false, [](auto&) {}},
        NamesCase{"NoneClose", Texts{}, true, true, [](auto& d) { d.ExpectPrompt("2"); },
                  [](Club& c) {
                    c.Place(kSunday, kAft);
                    c.Place(kMonday, kAft, [](SessionPlan& p) { p.players[4] = "Vera Visitor"; });
                  }},
        // Said once, by the run, as it always has been.
        NamesCase{"MembersCannotBeLoaded", Texts{}, true, false,
                  [](auto& d) { d.ExpectMessageContaining("Cannot open the membership file"); },
                  [](Club& c) { std::filesystem::remove(c.ctx.MemberFile); }},
        NamesCase{
            "AnUnreadableSessionIsLeftToTheRun", Texts{kMisspeltRows[0]}, true, false,
            [](auto& d) { d.ExpectPrompt("1").ExpectMessageContaining("later version"); },
            [](Club& c) { c.Place(kMonday, kAft, [](SessionPlan& p) { p.version = "9.4"; }); }},
        // Mended by the run, which says so, not by the check.
        NamesCase{"DamagedLineEndsAreLeftToTheRun", Texts{kMisspeltRows[0]}, true, true,
                  [](auto& d) {
                    d.ExpectPrompt("1")
                        .ExpectMessageContaining("Attempting to repair")
                        .ExpectMessage("File repaired successfully")
                        .ExpectPrompt("1")
                        .ExpectPrompt("2");
                  },
                  [](Club& c) {
                    const std::string file = c.Path(kMonday, kAft);
                    test::WriteBytes(file, test::WithBareLineFeeds(test::ReadBytes(file)));
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pg
