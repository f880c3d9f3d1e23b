// Undoing the last update from the History window: what it puts back, when it refuses and why,
// and a Handicap.ini that cannot be written part-way.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "HistoryClub.h"
#include "base/FileSystem.h"
#include "base/Files.h"
#include "base/Numbers.h"
#include "history/HistoryDialog.h"
#include "history/Undo.h"
#include "support/FailingFileSystem.h"
#include "support/NamedCases.h"

namespace pg {
namespace {

using test::PrintTo;  // NOLINT(misc-unused-using-decls): GoogleTest finds it for the cases

const Date kFeb9 = MakeDate(2026, 2, 9);
const Date kFeb23 = MakeDate(2026, 2, 23);
const std::string kUndoSecond = std::string(kUndoQuestion) + "Monday 23 Feb 2026?";
const std::string kSecondUndone =
    "The update using sessions up to and including Monday 23 Feb 2026 has been undone.";

// A club with two saved updates, and its two files as they were before and after each.
struct TwoUpdates : test::HistoryClub {
  std::string members[3];
  std::string ini[3];
  TwoUpdates() {
    Keep(0);
    Save(kFeb9, 1);
    Keep(1);
    Save(kFeb23, -0.5);
    Keep(2);
  }
  void Keep(int i) {
    members[i] = test::ReadBytes(c.MemberFile);
    ini[i] = test::ReadBytes(Ini());
  }
  // Membersh.dat and Handicap.ini are as they were after update i (0: before any).
  void ExpectFilesOf(int i) {
    EXPECT_EQ(test::ReadBytes(c.MemberFile), members[i]);
    EXPECT_EQ(test::ReadBytes(Ini()), ini[i]);
  }
};

TEST(Undo, TheSecondUpdateThenTheFirstGoBackToWhatEachReplaced) {
  TwoUpdates club;
  HistoryDialog window(club.c);
  club.ports.dialogs.VerifyAllUsed();
  EXPECT_EQ(
      window.members().headings,
      (std::vector<std::string>{"No.", "Name", "Handicap", "Change 23/02/26", "Change 09/02/26"}));
  EXPECT_EQ(window.members().rows.at(0),
            (std::vector<std::string>{"1", "Ann Ash", "2.00", "-0.50", "+1.00"}));
  window.ChooseMember(1);
  EXPECT_EQ(window.updates().rows,
            (std::vector<std::vector<std::string>>{
                {"Mon 23/02/26", "1.00", "0.50", "-0.50", "", "", "", "", ""},
                {"", "", "", "", "Mon 23/02/26 aft", "45.00", "50.00", "-0.50", ""},
                {"Mon 09/02/26", "0.00", "1.00", "+1.00", "", "", "", "", ""},
                {"", "", "", "", "Mon 09/02/26 aft", "45.00", "50.00", "+1.00", ""}}));
  EXPECT_EQ(window.chart().name, "Handicap of Bob Birch at each update");
  EXPECT_EQ(window.chart().description,
            "from 0.00 to 0.50 over 2 updates, Mon 09/02/26 to Mon 23/02/26; the club's range is "
            "-12.00 to 6.00");
  EXPECT_EQ(window.Printout().subtitle, "Bob Birch, member 2: handicap now 0.50");

  club.ports.dialogs.ExpectMessage(kUndoSecond, Answer::No);
  window.UndoClick();
  club.ExpectFilesOf(2);

  club.ports.dialogs.ExpectMessage(kUndoSecond, Answer::Yes).ExpectMessage(kSecondUndone);
  window.UndoClick();
  club.ExpectFilesOf(1);
  EXPECT_EQ(test::ReadBytes(club.In("Membersh-undone-260223.bak")), club.members[2]);
  EXPECT_EQ(test::ReadBytes(club.In("Handicap-undone-260223.bak")), club.ini[2]);
  EXPECT_TRUE(FileExists(club.In("260223-undone.han")));
  EXPECT_FALSE(FileExists(club.In("260223.han")));
  EXPECT_EQ(club.c.Parameters.LastUpdated, "09 February 2026 ");
  EXPECT_FALSE(club.c.NoUpdateYet);
  EXPECT_EQ(window.history().updates.size(), 1u);
  EXPECT_EQ(window.chosen(), 1);
  EXPECT_EQ(window.members().rows.at(1),
            (std::vector<std::string>{"2", "Bob Birch", "1.00", "+1.00"}));

  club.ports.dialogs.ExpectMessage(std::string(kUndoQuestion) + "Monday 09 Feb 2026?", Answer::Yes)
      .ExpectMessage(
          "The update using sessions up to and including Monday 09 Feb 2026 has been undone.");
  window.UndoClick();
  club.ExpectFilesOf(0);
  EXPECT_EQ(club.c.Parameters.LastUpdated, "");
  EXPECT_TRUE(club.c.NoUpdateYet);
  EXPECT_TRUE(window.history().updates.empty());
  EXPECT_FALSE(window.cmdUndo.enabled);
  EXPECT_EQ(window.chart().description, kNoUpdateText);
}

struct Refusal {
  const char* name;
  std::function<void(TwoUpdates&)> change;
  std::string why;
};

class UndoRefused : public ::testing::TestWithParam<Refusal> {};

std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
    if (e.is_regular_file()) files[e.path().string()] = test::ReadBytes(e.path().string());
  return files;
}

TEST_P(UndoRefused, SaysWhyAndChangesNothing) {
  TwoUpdates club;
  GetParam().change(club);
  const std::string lastUpdated = club.c.Parameters.LastUpdated;
  std::string why = GetParam().why;
  if (why.find("HANDICAP/") != std::string::npos)
    why.replace(why.find("HANDICAP/"), 9, club.c.HandicapFolder);
  HistoryDamage damage;
  const History history = club.Read(damage);
  const auto before = Snapshot(club.dir.path());
  club.ports.dialogs.ExpectMessage(
      "The update using sessions up to and including Monday 23 Feb 2026 cannot be undone: " + why);
  EXPECT_FALSE(UndoLastUpdate(club.c, history));
  EXPECT_EQ(club.ports.dialogs.messages.back().icon, Icon::Warning);
  EXPECT_EQ(Snapshot(club.dir.path()), before);
  EXPECT_EQ(club.c.Parameters.LastUpdated, lastUpdated);
}

const std::string kChanged = "what its save wrote has changed since.\r\n";
const std::string kInstead = std::string("\r\n") + kCorrectInstead;

void NewMember(TwoUpdates& club) {
  std::string members = club.members[2];
  members.replace(0, 2, " 5");
  test::WriteBytes(club.c.MemberFile, members + "5,Eve,Elm,,,F,0,,,,\r\n");
}
void NewDeadZone(TwoUpdates& club) {
  HandicapParameters p;
  ReadParameters(club.c.HandicapFolder, p);
  p.DeadZone[1] = 2.5;
  test::WriteBytes(club.Ini(), ParameterFileText("1.0", p));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, UndoRefused,
    ::testing::Values(
        Refusal{"MembershipWrittenByTheScoringProgram", NewMember,
                kChanged + kMembershipChanged + kInstead},
        Refusal{"ParametersSavedInTheEditor", NewDeadZone,
                kChanged + kParametersChanged + kInstead},
        Refusal{"AnotherVersionStarted",
                [](TwoUpdates& club) {
                  HandicapParameters p;
                  ReadParameters(club.c.HandicapFolder, p);
                  test::WriteBytes(club.Ini(), ParameterFileText("1.1", p));
                },
                kChanged + kParametersChanged + kInstead},
        Refusal{"BothFiles",
                [](TwoUpdates& club) {
                  NewMember(club);
                  NewDeadZone(club);
                },
                kChanged + kMembershipChanged + "\r\n" + kParametersChanged + kInstead},
        Refusal{"CopyGone",
                [](TwoUpdates& club) { std::filesystem::remove(club.In("Membersh-260209.bak")); },
                "the copy HANDICAP/Membersh-260209.bak that its save kept cannot be read - File "
                "not found."},
        Refusal{"SavedBeforeTheHistoryFileWasKept",
                [](TwoUpdates& club) { std::filesystem::remove(club.In(kHistoryFileName)); },
                "the history holds no record of what its save wrote (it was saved before "
                "Pairgauge kept one), so there is nothing to check the files against."},
        Refusal{"NotTheLastUpdateHandicapIniRecords",
                [](TwoUpdates& club) {
                  // As another copy leaves it after saving the next update.
                  HandicapParameters p;
                  ReadParameters(club.c.HandicapFolder, p);
                  p.LastUpdated = "02 March 2026 ";
                  test::WriteBytes(club.Ini(), ParameterFileText("1.0", p));
                },
                "Handicap.ini does not record it as the last update."},
        Refusal{"CopyChangedSince",
                [](TwoUpdates& club) {
                  test::WriteBytes(club.In("Membersh-260209.bak"), club.members[0]);
                },
                "the copy HANDICAP/Membersh-260209.bak" + std::string(kCopyChanged)},
        Refusal{"CopyKeptByAnEarlierVersion",
                [](TwoUpdates& club) {
                  // Its File lines end with the copy's name.
                  std::string csv = test::ReadBytes(club.In(kHistoryFileName));
                  for (size_t at = 0; (at = csv.find(".bak\",\"", at)) != std::string::npos;)
                    csv.erase(at + 5, csv.find("\r\n", at) - at - 5);
                  test::WriteBytes(club.In(kHistoryFileName), csv);
                },
                "the copy HANDICAP/Membersh-260209.bak" + std::string(kCopyNotFingerprinted)},
        Refusal{"CopyThatIsNoMembershipFile",
                [](TwoUpdates& club) {
                  // The very copy the history names, but it does not read as Membersh.dat.
                  const std::string junk = "not a membership file";
                  const std::string copy = test::ReadBytes(club.In("Membersh-260209.bak"));
                  const auto hex = [](std::uint64_t v) {
                    char text[17];
                    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
                    return std::string(text);
                  };
                  std::string csv = test::ReadBytes(club.In(kHistoryFileName));
                  const std::string was =
                      "\"" + hex(Fingerprint(copy)) + "\"," + std::to_string(copy.size());
                  csv.replace(csv.rfind(was), was.size(),
                              "\"" + hex(Fingerprint(junk)) + "\"," + std::to_string(junk.size()));
                  test::WriteBytes(club.In(kHistoryFileName), csv);
                  test::WriteBytes(club.In("Membersh-260209.bak"), junk);
                },
                "the copy HANDICAP/Membersh-260209.bak does not read as Membersh.dat."},
        Refusal{"CopyNamedForADevice",
                [](TwoUpdates& club) {
                  std::string csv = test::ReadBytes(club.In(kHistoryFileName));
                  for (size_t at = 0;
                       (at = csv.find("Membersh-260209.bak", at)) != std::string::npos;)
                    csv.replace(at, 19, "NUL.bak");
                  test::WriteBytes(club.In(kHistoryFileName), csv);
                },
                "the history holds no record of what its save wrote (it was saved before "
                "Pairgauge kept one), so there is nothing to check the files against."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pg
