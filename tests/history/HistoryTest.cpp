// The history file as a save writes it and the History window reads it, the .han files of
// updates saved before it, and what the window tells of a file it cannot read.
#include <functional>
#include <vector>

#include "HistoryClub.h"
#include "base/FileSystem.h"
#include "base/Files.h"
#include "base/Numbers.h"
#include "history/HistoryDialog.h"
#include "support/FailingFileSystem.h"
#include "support/NamedCases.h"

namespace pg {
namespace {

using test::PrintTo;  // NOLINT(misc-unused-using-decls): GoogleTest finds it for the cases

const Date kFeb9 = MakeDate(2026, 2, 9);
const Date kFeb23 = MakeDate(2026, 2, 23);

// An update as one line a test can compare: its day, where it comes from, and each member as
// "number name before>after" with the sessions played.
std::string Summary(const HistoryEntry& e) {
  static const char* const kSources[] = {"csv", "han", "less certain"};
  std::string out =
      FormatDate(e.lastSession, "yymmdd") + " " + kSources[static_cast<int>(e.source)] + ":";
  for (const HistoryMember& m : e.members) {
    out += " " + std::to_string(m.number) + " " + m.name + " " +
           (m.before ? NumberText(*m.before) : "?") + ">" + NumberText(m.after);
    for (const PlayedSession& s : m.sessions)
      out += " [" + e.sessionLabels.at(static_cast<size_t>(s.session)) + " " +
             NumberText(s.netScore) + " " + NumberText(s.average) + " " + NumberText(s.adjustment) +
             "]";
    out += ";";
  }
  return out;
}

std::vector<std::string> Summaries(const History& history) {
  std::vector<std::string> out;
  for (const HistoryEntry& e : history.updates)
    out.push_back(Summary(e));
  return out;
}

struct RoundTrip {
  const char* name;
  std::string members;
  std::string update;  // Summary of what reads back
};

class HistoryRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

// What a save writes reads back as the update it saved, and writes again as the same lines.
TEST_P(HistoryRoundTrip, WhatASaveWritesReadsBackAsTheUpdate) {
  test::HistoryClub club;
  test::WriteBytes(club.c.MemberFile, GetParam().members);
  club.Save(kFeb23, -0.5);
  const History history = club.Read();
  ASSERT_EQ(history.updates.size(), 1u);
  const HistoryEntry& e = history.updates[0];
  EXPECT_EQ(Summary(e), GetParam().update);
  EXPECT_EQ(e.saved, MakeDate(2026, 12, 8));  // the scripted clock's today
  ASSERT_TRUE(e.membership && e.parameters);
  EXPECT_TRUE(e.membership->Holds(test::ReadBytes(club.c.MemberFile)));
  EXPECT_TRUE(e.parameters->Holds(test::ReadBytes(club.Ini())));
  EXPECT_EQ(e.membership->copy->name, "Membersh-first.bak");
  EXPECT_EQ(e.parameters->copy->name, "Handicap-first.bak");
  EXPECT_EQ(test::ReadBytes(club.In(kHistoryFileName)), HistoryHeadingLine() + HistoryEntryText(e));
}

INSTANTIATE_TEST_SUITE_P(
    Names, HistoryRoundTrip,
    ::testing::Values(
        RoundTrip{"Plain",
                  " 2 11 01/02/26\r\n1,Ann,Ash,,,F,1.5,,,,\r\n2,Bob,Birch,,,M,-0.25,,,,\r\n",
                  "260223 csv: 1 Ann Ash 1.5>1 [Mon 23/02/26 aft 55 50 -0.5]; 2 Bob Birch "
                  "-0.25>-0.75 [Mon 23/02/26 aft 45 50 -0.5];"},
        RoundTrip{"QuotesCommasAndLatin1",
                  " 3 11 01/02/26\r\n1,Jane \"JJ\",Smith,,,F,0,,,,\r\n"
                  "2,Bob,\"O'Neil, Jr\",,,M,6,,,,\r\n3,Zo\xeb,de la Cour,,,F,x,,,,\r\n",
                  "260223 csv: 1 Jane \"JJ\" Smith 0>-0.5 [Mon 23/02/26 aft 55 50 -0.5]; 2 Bob "
                  "O'Neil, Jr 6>5.5 [Mon 23/02/26 aft 45 50 -0.5]; 3 Zo\xeb de la Cour 0>-0.5;"},
        RoundTrip{"NoMembers", " 0 11 01/02/26\r\n", "260223 csv:"},
        // A phone number in field 7: no handicap the history could read back is written.
        RoundTrip{"NoHandicapInFieldSeven",
                  " 2 11 01/02/26\r\n1,Ann,Ash,,,F,1632960999,,,,\r\n2,Bob,Birch,,,M,999.5,,,,\r\n",
                  "260223 csv: 2 Bob Birch 999.5>999 [Mon 23/02/26 aft 45 50 -0.5];"}),
    [](const auto& info) { return std::string(info.param.name); });

// Rewriting the file keeps every line of other updates as it was, those it cannot read too, and
// drops the lines of the update saved again and of saves that never reached Handicap.ini.
TEST(HistoryFile, RewritingKeepsWhatItDoesNotReplace) {
  HistoryEntry added;
  added.lastSession = MakeDate(2026, 3, 30);
  added.members.push_back({1, "Ann Ash", 2.0, 1.5, {}});
  const std::string h = HistoryHeadingLine();
  const std::string a = HistoryEntryText(added);
  struct Case {
    const char* name;
    std::string existing;
    std::optional<Date> lastUpdate;
    std::string written;
  };
  const Case cases[] = {
      {"an empty file gets the heading first", "", std::nullopt, h + a},
      {"a file without the heading gets it", "2026-02-23,\"Saved\",2026-02-24\r\n", std::nullopt,
       h + "2026-02-23,\"Saved\",2026-02-24\r\n" + a},
      {"the update saved again loses its old lines",
       h + "2026-02-23,\"Saved\",2026-02-24\r\n2026-03-30,\"Member\",1,\"Old\",2,9,0\r\n",
       std::nullopt, h + "2026-02-23,\"Saved\",2026-02-24\r\n" + a},
      {"a never-finished save after the last update goes",
       h + "2026-02-23,\"Saved\",2026-02-24\r\n2026-03-02,\"Saved\",2026-03-03\r\n",
       MakeDate(2026, 2, 23), h + "2026-02-23,\"Saved\",2026-02-24\r\n" + a},
      {"lines it cannot read stay, ended with CR LF",
       h + "not a line\n2026-02-23,\"an open quote\n\n", std::nullopt,
       h + "not a line\r\n2026-02-23,\"an open quote\r\n\r\n" + a},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RewrittenHistory(c.existing, added.lastSession, c.lastUpdate, &added), c.written)
        << c.name;
  EXPECT_EQ(Fingerprint(""), 0xcbf29ce484222325ULL);  // FNV-1a's published values
  EXPECT_EQ(Fingerprint("a"), 0xaf63dc4c8601ec8cULL);
}

// Saved again, in the same review or after a save that stopped at Handicap.ini, an update's
// entry keeps naming the copies of the club's files from before it, which are what an undo puts
// back, never the copies of its own first output.
TEST(HistoryFile, SavedAgainAnUpdateStillNamesTheCopiesFromBeforeIt) {
  test::HistoryClub club;
  club.Save(kFeb9, 1);
  club.Save(kFeb23, 1);
  club.Save(kFeb23, 1);  // a correction saved again in the same review
  WrittenFiles files = WrittenFilesOf(test::ReadBytes(club.In(kHistoryFileName)), kFeb23);
  EXPECT_EQ(files.membership->copy->name, "Membersh-260209.bak");
  EXPECT_EQ(files.parameters->copy->name, "Handicap-260209.bak");
  EXPECT_EQ(club.Read().updates.size(), 2u);

  // The next update's save fails at its last file, Handicap.ini, and leaves nothing of itself;
  // tried again, it keeps the club's files from before it, once.
  const Date mar9 = MakeDate(2026, 3, 9);
  const std::string before = test::ReadBytes(club.c.MemberFile);
  {
    test::FailingFileSystem failing;
    failing.failOn = {"rename", club.Ini()};
    FileSystemOverride use(failing);
    club.ports.dialogs.ExpectMessage(test::kSaveQuestion, Answer::Yes)
        .ExpectMessageContaining("handicap.ini - error 61");
    MemberTable members;
    LoadMembers(members, club.c);
    bool unsaved = true;
    EXPECT_EQ(SaveHandicaps(members, club.c, mar9, unsaved), SaveOutcome::Failed);
  }
  EXPECT_EQ(test::ReadBytes(club.c.MemberFile), before);
  EXPECT_FALSE(FileExists(club.In("Membersh-260223.bak")));
  club.Save(mar9, 1);
  EXPECT_FALSE(FileExists(club.In("Membersh-260223-2.bak")));
  files = WrittenFilesOf(test::ReadBytes(club.In(kHistoryFileName)), mar9);
  EXPECT_EQ(files.membership->copy->name, "Membersh-260223.bak");
  EXPECT_EQ(test::ReadBytes(club.In("Membersh-260223.bak")), before);
  EXPECT_EQ(club.Read().updates.size(), 3u);
}

struct Damage {
  const char* name;
  std::string lines;  // appended to a sound file of one update (lines 1 to 8)
  std::string file;   // in the handicap folder
  int line;
  std::string reason;
  std::string more;  // what the message says of further faults
};

class DamagedHistory : public ::testing::TestWithParam<Damage> {};

// The window opens with what could be read, after one message that names the file and the line.
TEST_P(DamagedHistory, IsToldWithItsFileAndLineAndTheRestIsShown) {
  const Damage& d = GetParam();
  test::HistoryClub club;
  club.Save(kFeb23, 1);
  const std::string csv = club.In(kHistoryFileName);
  test::WriteBytes(club.In("260105.han"), "3\r\n1\r\n2\r\n3\r\n");
  test::WriteBytes(club.In(d.file),
                   d.file == kHistoryFileName ? test::ReadBytes(csv) + d.lines : d.lines);
  club.ports.dialogs.ExpectMessage("Cannot read line " + std::to_string(d.line) +
                                   " of the history file " + club.In(d.file) + " - " + d.reason +
                                   d.more + "\r\nThe window shows what could be read.");
  const HistoryDialog window(club.c);
  club.ports.dialogs.VerifyAllUsed();
  ASSERT_FALSE(window.history().updates.empty());
  EXPECT_EQ(Summary(window.history().updates.back()).substr(0, 30),
            "260223 csv: 1 Ann Ash 1.5>2.5 ");
  EXPECT_EQ(window.members().rows.size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedHistory,
    ::testing::Values(
        Damage{"UnclosedQuote", "2026-02-23,\"Member\",5,\"Eve Elm,1,1,0\r\n", kHistoryFileName, 9,
               "a quoted text is not closed", ""},
        Damage{"NoDate", "23rd,\"Saved\",2026-02-24\r\n", kHistoryFileName, 9,
               "it does not start with a date", ""},
        Damage{"UnknownKind", "2026-02-23,\"Note\",\"by hand\"\r\n", kHistoryFileName, 9,
               "it is not a line of a kind the program writes", ""},
        Damage{"MemberNumber", "2026-02-23,\"Member\",0,\"Eve Elm\",1,1,0\r\n", kHistoryFileName, 9,
               "the member number is not a whole number from 1 to 32767", ""},
        Damage{"Handicap", "2026-02-23,\"Member\",5,\"Eve Elm\",1,one,0\r\n", kHistoryFileName, 9,
               "a handicap is not a number from -1000 to 1000", ""},
        Damage{"FarHandicap", "2026-02-23,\"Member\",5,\"Eve Elm\",1,100000000,0\r\n",
               kHistoryFileName, 9, "a handicap is not a number from -1000 to 1000", ""},
        Damage{"PhoneNumberInAHanFile", "3\r\n1\r\n1234567890\r\n3\r\n", "260105.han", 3,
               "a handicap is not a number from -1000 to 1000", ""},
        Damage{"SessionCount", "2026-02-23,\"Member\",5,\"Eve Elm\",1,1,2,\"Mon\",50,50,0\r\n",
               kHistoryFileName, 9, "its sessions do not match their count", ""},
        Damage{"SessionFigure", "2026-02-23,\"Member\",5,\"Eve Elm\",1,1,1,\"Mon\",50,x,0\r\n",
               kHistoryFileName, 9, "a session's net score, average or adjustment is not a number",
               ""},
        Damage{"Twice", "2026-02-23,\"Member\",2,\"Bob Birch\",1,1,0\r\n", kHistoryFileName, 9,
               "the member is there twice in one update", ""},
        Damage{"FileLine", "2026-02-23,\"File\",\"Membersh.dat\",\"abc\",10,\"x.bak\"\r\n",
               kHistoryFileName, 9,
               "it does not name Membersh.dat or Handicap.ini with a fingerprint and a length", ""},
        Damage{"CopyOutsideTheFolder",
               "2026-02-23,\"File\",\"Membersh.dat\",\"0123456789abcdef\",10,\"..\\x.bak\"\r\n",
               kHistoryFileName, 9,
               "it does not name Membersh.dat or Handicap.ini with a fingerprint and a length", ""},
        Damage{"SavedDay", "2026-02-23,\"Saved\",soon\r\n", kHistoryFileName, 9,
               "the day of the save is not a date", ""},
        Damage{"RunParameters", "2026-02-23,\"Parameters\",-2,2,-12,6,0.01,0.1,x,1,1\r\n",
               kHistoryFileName, 9, "a parameter is not a number from -1000 to 1000", ""},
        Damage{"RunSession",
               "2026-02-23,\"Session\",1,2026-02-23,\"morning\",1,\"0223S1.MOR\","
               "\"0123456789abcdef\"\r\n",
               kHistoryFileName, 9,
               "it does not give the session's place, day, time of day, section, file and "
               "fingerprint",
               ""},
        Damage{"RunSessionOutOfPlace",
               "2026-02-23,\"Session\",2,2026-02-23,\"afternoon\",1,\"0223S1.AFT\","
               "\"0123456789abcdef\"\r\n",
               kHistoryFileName, 9, "the session does not follow the one before it", ""},
        Damage{"RunVisitor", "2026-02-23,\"Visitor\",2026-02-23,\"evening\",27,\"Val\",3\r\n",
               kHistoryFileName, 9,
               "it does not give the session's day, time of day and section, a name and a handicap "
               "from -1000 to 1000",
               ""},
        Damage{"RunCorrection", "2026-02-23,\"Corrected\",1,\"Ann Ash\",1e4\r\n", kHistoryFileName,
               9,
               "it does not give a member number from 1 to 32767, a name and a handicap from -1000 "
               "to 1000",
               ""},
        Damage{"TwoLines", "\r\nx\r\n2026-02-23,\"Saved\",soon\r\n", kHistoryFileName, 10,
               "it does not start with a date",
               "\r\n1 more line of the history files cannot be read either."},
        Damage{"ShortHanFile", "3\r\n1\r\n", "260105.han", 3,
               "there are fewer handicaps than the member count", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct Legacy {
  const char* name;
  std::function<void(test::HistoryClub&)> place;
  std::vector<std::string> updates;
};

class LegacyUpdates : public ::testing::TestWithParam<Legacy> {};

std::string MembersText(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string text = " " + std::to_string(members.size()) + " 11 01/01/26\r\n";
  for (size_t m = 0; m < members.size(); ++m) {
    const std::string& name = members[m].first;
    const size_t blank = name.find(' ');
    text += std::to_string(m + 1) + "," + name.substr(0, blank) + "," + name.substr(blank + 1) +
            ",,,," + members[m].second + ",,,,\r\n";
  }
  return text;
}

TEST_P(LegacyUpdates, AreLinedUpWithTheirOwnCopyOrTodaysMembers) {
  test::HistoryClub club;
  club.c.Parameters.LastUpdated = "23 February 2026 ";
  club.c.NoUpdateYet = false;
  test::WriteBytes(club.Ini(), ParameterFileText("1.0", club.c.Parameters));
  GetParam().place(club);
  EXPECT_EQ(Summaries(club.Read()), GetParam().updates);
}

const std::string kHan = "3\r\n1\r\n2\r\n3\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rules, LegacyUpdates,
    ::testing::Values(
        Legacy{"TheUpdatesOwnCopyNamesIt",
               [](test::HistoryClub& c) {
                 test::WriteBytes(c.In("260223.han"), kHan);
                 test::WriteBytes(
                     c.In("Membersh-260223.bak"),
                     MembersText({{"Zed Zee", "1"}, {"Ann Ash", "2"}, {"Bob Birch", "3"}}));
               },
               {"260223 han: 1 Zed Zee ?>1; 2 Ann Ash ?>2; 3 Bob Birch ?>3;"}},
        Legacy{"ACopyWithAnotherCountIsNotTheUpdates",
               [](test::HistoryClub& c) {
                 test::WriteBytes(c.In("260223.han"), kHan);
                 test::WriteBytes(c.In("Membersh-260223.bak"), MembersText({{"Zed Zee", "1"},
                                                                            {"Ann Ash", "2"},
                                                                            {"Bob Birch", "3"},
                                                                            {"Eve Elm", "0"}}));
               },
               {"260223 less certain: 1 Ann Ash ?>1; 2 Bob Birch ?>2; 3 Cy Cedar ?>3;"}},
        Legacy{"ACopyWithAnotherHandicapIsNotTheUpdates",
               [](test::HistoryClub& c) {
                 test::WriteBytes(c.In("260223.han"), kHan);
                 test::WriteBytes(
                     c.In("Membersh-260223.bak"),
                     MembersText({{"Zed Zee", "1"}, {"Ann Ash", "2.5"}, {"Bob Birch", "3"}}));
               },
               {"260223 less certain: 1 Ann Ash ?>1; 2 Bob Birch ?>2; 3 Cy Cedar ?>3;"}},
        Legacy{"OnlyTheLowestNumberedCopyCounts",
               [](test::HistoryClub& c) {
                 test::WriteBytes(c.In("260223.han"), kHan);
                 test::WriteBytes(c.In("Membersh-260223.bak"), MembersText({{"Zed Zee", "1"}}));
                 test::WriteBytes(
                     c.In("Membersh-260223-2.bak"),
                     MembersText({{"Zed Zee", "1"}, {"Ann Ash", "2"}, {"Bob Birch", "3"}}));
               },
               {"260223 less certain: 1 Ann Ash ?>1; 2 Bob Birch ?>2; 3 Cy Cedar ?>3;"}},
        Legacy{"BeforeIsTheSameNameAfterTheUpdateBefore",
               [](test::HistoryClub& c) {
                 test::WriteBytes(c.In("Membersh-first.bak"),
                                  MembersText({{"Bob Birch", "7"}, {"Ann Ash", "0.25"}}));
                 test::WriteBytes(c.In("260209.han"), "2\r\n0.5\r\n-1\r\n");
                 test::WriteBytes(c.In("260223.han"), kHan);
               },
               {"260209 less certain: 1 Ann Ash 0.25>0.5; 2 Bob Birch 7>-1;",
                "260223 less certain: 1 Ann Ash 0.5>1; 2 Bob Birch -1>2; 3 Cy Cedar ?>3;"}},
        Legacy{"AnUpdateOfTheHistoryFileIsReadFromIt",
               [](test::HistoryClub& c) { c.Save(kFeb23, 1); },
               {"260223 csv: 1 Ann Ash 1.5>2.5 [Mon 23/02/26 aft 55 50 1]; 2 Bob Birch 0>1 [Mon "
                "23/02/26 aft 45 50 1]; 3 Cy Cedar -2>-1; 4 Di Dove 4>5;"}},
        Legacy{"OnlyHanFilesBeforeTheHistoryFileBeganCount",
               [](test::HistoryClub& c) {
                 c.Save(kFeb9, 1);
                 c.c.Parameters.LastUpdated = "23 February 2026 ";
                 test::WriteBytes(c.In("260105.han"), "1\r\n-3\r\n");
                 test::WriteBytes(c.In("260223.han"), kHan);
               },
               {"260105 less certain: 1 Ann Ash ?>-3;",
                "260209 csv: 1 Ann Ash 1.5>2.5 [Mon 09/02/26 aft 55 50 1]; 2 Bob Birch 0>1 [Mon "
                "09/02/26 aft 45 50 1]; 3 Cy Cedar -2>-1; 4 Di Dove 4>5;"}},
        Legacy{"NothingAfterTheLastUpdateCounts",
               [](test::HistoryClub& c) {
                 test::WriteBytes(c.In("260301.han"), kHan);
                 test::WriteBytes(c.In("260222.HAN"), "1\r\n-3\r\n");
               },
               {"260222 less certain: 1 Ann Ash ?>-3;"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The visitor prompt offers the handicap a name was given last: in the latest update that gave it
// one, the last line of that update, leaving out lines that cannot be read and a save that never
// reached Handicap.ini.
TEST(HistoryFile, TheLastHandicapEachVisitorWasGiven) {
  const auto visitor = [](const char* update, const char* name, const char* handicap) {
    return std::string(update) + ",\"Visitor\",2026-02-02,\"afternoon\",1,\"" + name + "\"," +
           handicap + "\r\n";
  };
  const std::string text =
      HistoryHeadingLine() + visitor("2026-02-23", "Val Vance", "3") +
      visitor("2026-02-23", "Val Vance", "2.5") + visitor("2026-03-30", "Wyn Ward", "-1") +
      visitor("2026-01-26", "Wyn Ward", "4") + visitor("2026-03-30", "Val Vance", "x") +
      visitor("2026-04-27", "Val Vance", "6");
  EXPECT_EQ(LastVisitorHandicaps(text, MakeDate(2026, 3, 30)),
            (std::map<std::string, double>{{"Val Vance", 2.5}, {"Wyn Ward", -1}}));
  EXPECT_EQ(LastVisitorHandicaps(text, std::nullopt).at("Val Vance"), 6);
}

}  // namespace
}  // namespace pg
