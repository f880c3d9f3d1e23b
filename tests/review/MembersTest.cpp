#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <functional>
#include <vector>

#include "base/Files.h"
#include "review/Members.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

using Lines = std::vector<std::vector<std::string>>;

const char* const kQuestion =
    "This will overwrite the current handicaps in the membership file.\r\nDo you want to do this?";
const Date kJuly5 = MakeDate(2013, 7, 5);
const char* const kMoreThanCounted = "The file holds more than its first line counts";

// A file as the program writes it, with the kinds of field 7 clubs have: blank, text, numbers.
const std::string kClubFile =
    " 4             11           25/09/06\r\n"
    "101,Jane,Smith,01632 960001,jane@example.org,F,-1.5,Y,,12/03/2001,0\r\n"
    "102,Ali,Khan,,,M,2.32,Y,,01/01/2005,0\r\n"
    "103,Mary Ann,Lee,,,F,,N,,,\r\n"
    "104,Bob,O'Neil,,,M,n/a,Y,3,,1\r\n";

class Members : public ::testing::Test {
 protected:
  Members() : context(ports.ports()) {
    context.SetFolders(dir.path());
    context.ProgramVersion = "1.0";
    std::filesystem::create_directory(context.HandicapFolder);
  }

  void Load(const std::string& bytes) {
    test::WriteBytes(context.MemberFile, bytes);
    LoadMembers(table, context);
  }
  Lines Fields() const {
    Lines out;
    for (short m = 1; m <= table.MemberCount(); ++m) {
      out.emplace_back();
      for (short f = 1; f <= kMemberFields; ++f)
        out.back().push_back(table.Member(m).Fields(f));
    }
    return out;
  }
  void Save() {
    ports.dialogs.ExpectMessage(kQuestion, Answer::Yes);
    ports.dialogs.ExpectMessage("New handicaps have been saved");
    EXPECT_EQ(SaveHandicaps(table, context, kJuly5, unsaved), SaveOutcome::Saved);
  }

  test::TempFolder dir;
  test::ScriptedPorts ports;
  Context context;
  MemberTable table;
  bool unsaved = true;
};

TEST_F(Members, LoadGivesFieldsNamesAndStartHandicaps) {
  context.Cancelled = false;
  Load(kClubFile);
  ASSERT_FALSE(context.Cancelled);
  ASSERT_EQ(table.MemberCount(), 4);
  EXPECT_EQ(Fields()[0],
            (std::vector<std::string>{"101", "Jane", "Smith", "01632 960001", "jane@example.org",
                                      "F", "-1.5", "Y", "", "12/03/2001", "0"}));
  EXPECT_EQ(table.Member(3).FullName, "Mary Ann Lee");
  EXPECT_EQ(table.Member(3).FirstName, "Mary Ann");
  EXPECT_EQ(table.Member(3).Surname, "Lee");
  std::vector<double> start;
  for (short m = 1; m <= 4; ++m) {
    start.push_back(table.Member(m).StartHandicap);
    EXPECT_FALSE(table.Member(m).EndHandicap);
  }
  EXPECT_EQ(start, (std::vector<double>{-1.5, 2.32, 0, 0}));
}

struct StreamCase {
  const char* name;
  std::string file;
  Lines fields;  // the leading fields of each member; the rest must be empty
};
void PrintTo(const StreamCase& c, std::ostream* out) {
  *out << c.name;
}

class MemberStreamRules : public Members, public ::testing::WithParamInterface<StreamCase> {};

TEST_P(MemberStreamRules, LoadAsExpected) {
  Load(GetParam().file);
  ASSERT_FALSE(context.Cancelled);
  Lines want = GetParam().fields;
  for (auto& line : want)
    line.resize(kMemberFields);
  EXPECT_EQ(Fields(), want);
}

INSTANTIATE_TEST_SUITE_P(
    Loader, MemberStreamRules,
    ::testing::Values(
        StreamCase{"CommaHeaderAndShortLines",
                   "2,3,x\r\na,b,c\r\nd,e,f\r\n",
                   {{"a", "b", "c"}, {"d", "e", "f"}}},
        StreamCase{"LineEndsAreSeparatorsLikeCommas",
                   "2 3 x\r\na,b\r\nc,d\r\ne,f",
                   {{"a", "b", "c"}, {"d", "e", "f"}}},
        StreamCase{"QuotedItemsKeepCommasAndLineEndsAndDropTextAfterTheQuote",
                   "1,4,\"x\"\r\n\"a,b\" junk,\"c\r\nd\",  \"  e \",\"f",
                   {{"a,b", "c\r\nd", "  e ", "f"}}},
        StreamCase{"BlanksAroundUnquotedItemsAreDropped",
                   "1,3,x\r\n  a  ,\tb c\t,  \r\n",
                   {{"a", "b c", ""}}},
        StreamCase{
            "BareLineFeedsAndCarriageReturnsEndItems", "1 , 3 , x\na\rb\nc", {{"a", "b", "c"}}},
        StreamCase{"BlankLinesAndAnEndOfFileMarkAreNoFields",
                   "\r\n2,3,x\r\n\r\na,b,c\r\n \t \r\n\r\nd,e,f\r\n\r\n\x1a",
                   {{"a", "b", "c"}, {"d", "e", "f"}}},
        StreamCase{"EmptyItemsBetweenCommas", "1,4,x\r\n,,b,\r\n", {{"", "", "b", ""}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Members, FailuresGiveTheirMessageAndLeaveTheTableEmpty) {
  const std::string path = context.MemberFile;
  ports.dialogs.ExpectMessage("Cannot open the membership file " + path + " File not found");
  LoadMembers(table, context);
  EXPECT_TRUE(context.Cancelled);

  const std::pair<std::string, std::string> cases[] = {
      {"", "Input past end of file"},
      {"2,11", "Input past end of file"},
      {"2,11,x\r\n1,2,3,4,5,6,7,8,9,10,11\r\n1,2,3", "Input past end of file"},
      {"1,12,x\r\n1,2,3,4,5,6,7,8,9,10,11,12\r\n", "Subscript out of range"},
      {"-1,11,x\r\n", "Subscript out of range"},
      {"1,-1,x\r\n1,2,3\r\n", "Subscript out of range"},
      {"4a,11,x\r\n", "Type mismatch"},
      {"40000,11,x\r\n", "Overflow"},
      // Loaded, these would be saved without the uncounted member, or every member shifted.
      {"1,2,x\r\na,b\r\nc,d\r\n", kMoreThanCounted},
      {"2,11,x\r\n1,2,3,4,5,6,7,8,9,10,11,12\r\n1,2,3,4,5,6,7,8,9,10,11\r\n", kMoreThanCounted},
  };
  for (const auto& [file, description] : cases) {
    Load(kClubFile);
    ASSERT_FALSE(context.Cancelled);
    ports.dialogs.ExpectMessage("Cannot read the membership file " + path + " " + description);
    Load(file);
    EXPECT_TRUE(context.Cancelled) << file;
    EXPECT_EQ(table.MemberCount(), 0) << file;
    EXPECT_EQ(test::ReadBytes(path), file);
  }
  for (const auto& shown : ports.dialogs.messages)
    EXPECT_EQ(shown.icon, Icon::Warning);
}

TEST_F(Members, EveryPrefixOfAFileLoadsOrGivesTheReadMessage) {
  for (size_t n = 0; n <= kClubFile.size(); ++n) {
    const std::string prefix = kClubFile.substr(0, n);
    // Only a cut inside the last line end leaves the last member's last field whole.
    const bool complete = n + 2 >= kClubFile.size();
    if (!complete)
      ports.dialogs.ExpectMessageContaining("Cannot read the membership file ", Answer::OK);
    Load(prefix);
    ports.dialogs.VerifyAllUsed();
    EXPECT_EQ(context.Cancelled, !complete) << prefix;
  }
}

TEST_F(Members, SaveWritesBothFilesThenTheParameters) {
  std::string file = kClubFile;
  file.replace(file.find("Lee,,"), 5, "Lee,\"Flat 2, Mill Lane\",");
  Load(file);
  table.Member(1).EndHandicap = 0.01 * 232;
  table.Member(2).EndHandicap = 0.0;
  table.Member(3).EndHandicap = 0.0;
  Save();  // member 4, never reached by an update, keeps its handicap

  EXPECT_EQ(test::ReadBytes(context.MemberFile),
            " 4             11           05/07/13\r\n"
            "101,Jane,Smith,01632 960001,jane@example.org,F,2.32,Y,,12/03/2001,0\r\n"
            "102,Ali,Khan,,,M,0,Y,,01/01/2005,0\r\n"
            "103,Mary Ann,Lee,\"Flat 2, Mill Lane\",,F,0,N,,,\r\n"
            "104,Bob,O'Neil,,,M,n/a,Y,3,,1\r\n");
  EXPECT_EQ(test::ReadBytes(context.HandicapFolder + "130705.han"), "4\r\n2.32\r\n0\r\n0\r\n0\r\n");
  EXPECT_EQ(context.Parameters.LastUpdated, "05 July 2013 ");
  EXPECT_FALSE(context.NoUpdateYet);
  EXPECT_FALSE(unsaved);
  EXPECT_EQ(test::ReadBytes(context.HandicapFolder + "Handicap.ini"),
            ParameterFileText("1.0", context.Parameters));
  EXPECT_EQ(ports.dialogs.messages.at(0).buttons, Buttons::YesNo);
  EXPECT_EQ(ports.dialogs.messages.at(0).icon, Icon::Question);
  EXPECT_EQ(ports.dialogs.messages.at(1).icon, Icon::None);

  // What was written loads back to the same fields and saves again to the same bytes.
  const Lines saved = Fields();
  const std::string written = test::ReadBytes(context.MemberFile);
  Load(written);
  EXPECT_EQ(Fields(), saved);
  for (short m = 1; m <= 3; ++m)
    table.Member(m).EndHandicap = table.Member(m).StartHandicap;
  Save();
  EXPECT_EQ(test::ReadBytes(context.MemberFile), written);
}

// Whatever a field holds that a bare item would lose (a separator of any kind, blanks at its
// ends), it comes back from the file a save writes.
TEST_F(Members, FieldsThatABareItemWouldSplitComeBackWhole) {
  const std::vector<std::string> fields = {"Flat 2, Mill Lane", "two\r\nlines",  "cr\ronly",
                                           "lf\nonly",          "mark\032after", " lead",
                                           "trail\t",           "\x1a"};
  table.Records.DimFrom1(static_cast<short>(fields.size()));
  for (short m = 1; m <= table.MemberCount(); ++m)
    table.Member(m).Fields(4) = fields[static_cast<size_t>(m - 1)];
  const Lines before = Fields();
  Load(MembershipFileText(table, kJuly5));
  ASSERT_FALSE(context.Cancelled);
  EXPECT_EQ(Fields(), before);
}

TEST_F(Members, HeaderZonesAndShortOrEmptyFiles) {
  std::string file = "42,9,x\r\n";
  for (int m = 1; m <= 42; ++m)
    file += "1,2,3,4,5,6,-0.5,8,9\r\n";
  Load(file);
  Save();
  const std::string header =
      " 42" + std::string(12, ' ') + "11" + std::string(11, ' ') + "05/07/13\r\n";
  std::string want = header;
  for (int m = 1; m <= 42; ++m)
    want += "1,2,3,4,5,6,-0.5,8,9,,\r\n";
  EXPECT_EQ(test::ReadBytes(context.MemberFile), want);

  Load(" 0            11           01/01/13\r\n");
  ASSERT_EQ(table.MemberCount(), 0);
  Save();
  EXPECT_EQ(test::ReadBytes(context.MemberFile), " 0 " + header.substr(3));
  EXPECT_EQ(test::ReadBytes(context.HandicapFolder + "130705.han"), "0\r\n");
}

// Before each update's save replaces them, Membersh.dat and Handicap.ini are kept, named for the
// update that wrote them, so the secretary can go back one update by hand.
TEST_F(Members, EachSaveKeepsTheFilesItReplaces) {
  const std::string ini = context.HandicapFolder + "Handicap.ini";
  test::WriteBytes(ini, "as the first start left it");
  context.NoUpdateYet = true;
  Load(kClubFile);
  Save();
  // A correction saved again in the same review: its copies would be the first saved state of
  // this update, and the next update's copy of the corrected one would come second.
  table.Member(2).EndHandicap = 0.75;
  Save();
  const std::string firstMembers = test::ReadBytes(context.MemberFile);
  const std::string firstIni = test::ReadBytes(ini);
  EXPECT_FALSE(FileExists(context.HandicapFolder + "Membersh-130705.bak"));
  Load(firstMembers);
  table.Member(1).EndHandicap = 1.25;
  ports.dialogs.ExpectMessage(kQuestion, Answer::Yes);
  ports.dialogs.ExpectMessage("New handicaps have been saved");
  SaveHandicaps(table, context, MakeDate(2013, 7, 19), unsaved);

  EXPECT_EQ(test::ReadBytes(context.HandicapFolder + "Membersh-first.bak"), kClubFile);
  EXPECT_EQ(test::ReadBytes(context.HandicapFolder + "Handicap-first.bak"),
            "as the first start left it");
  EXPECT_EQ(test::ReadBytes(context.HandicapFolder + "Membersh-130705.bak"), firstMembers);
  EXPECT_EQ(test::ReadBytes(context.HandicapFolder + "Handicap-130705.bak"), firstIni);
  EXPECT_NE(test::ReadBytes(context.MemberFile), firstMembers);
}

TEST_F(Members, NoToTheQuestionChangesNothing) {
  Load(kClubFile);
  table.Member(1).EndHandicap = 4;
  ports.dialogs.ExpectMessage(kQuestion, Answer::No);
  EXPECT_EQ(SaveHandicaps(table, context, kJuly5, unsaved), SaveOutcome::Declined);
  EXPECT_EQ(table.Member(1).Fields(kHandicapField), "-1.5");
  EXPECT_EQ(test::ReadBytes(context.MemberFile), kClubFile);
  EXPECT_FALSE(FileExists(context.HandicapFolder + "130705.han"));
  EXPECT_TRUE(context.Parameters.LastUpdated.empty());
  EXPECT_TRUE(unsaved);
}

// Each obstacle makes one write fail; the test runs as root in CI, so permissions alone cannot.
struct Obstacle {
  const char* name;
  std::function<void(Context&)> place;
  enum Failing { Journal, History, Membership } failing;  // the first file that cannot be written
  int number;
};
void PrintTo(const Obstacle& c, std::ostream* out) {
  *out << c.name;
}

class SaveFailure : public Members, public ::testing::WithParamInterface<Obstacle> {};

#ifdef _WIN32
constexpr int kFolderInTheWay = err::kPermissionDenied;
void LimitFileSize(Context&) {}
void MakeReadOnly(Context&) {}
void RestoreLimits(Context&) {}
#else
constexpr int kFolderInTheWay = err::kPathFileAccess;
rlimit savedFileSizeLimit{};

void LimitFileSize(Context&) {
  ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails instead of ending the test
  ::getrlimit(RLIMIT_FSIZE, &savedFileSizeLimit);
  const rlimit small{64, savedFileSizeLimit.rlim_max};
  ::setrlimit(RLIMIT_FSIZE, &small);
}
void MakeReadOnly(Context& c) {
  ::chmod(c.DataFolder.c_str(), 0555);
}
void RestoreLimits(Context& c) {
  ::chmod(c.DataFolder.c_str(), 0755);
  if (savedFileSizeLimit.rlim_max != 0) ::setrlimit(RLIMIT_FSIZE, &savedFileSizeLimit);
  ::signal(SIGXFSZ, SIG_DFL);
}
#endif

TEST_P(SaveFailure, LeavesMembershipParametersAndUnsavedAsTheyWere) {
  const std::string name = GetParam().name;
#ifdef _WIN32
  if (name == "FileSizeLimit" || name == "ReadOnlyDataFolder")
    GTEST_SKIP() << "Windows has no per-process file size limit, and a read-only folder still "
                    "takes new files";
#else
  if (name == "ReadOnlyDataFolder" && ::geteuid() == 0)
    GTEST_SKIP() << "root writes into read-only folders; the file-system seam test covers this";
#endif
  Load(kClubFile);
  table.Member(1).EndHandicap = 3;
  context.Parameters.LastUpdated = "25 September 2006 ";
  const std::string ini = context.HandicapFolder + "Handicap.ini";
  GetParam().place(context);
  const bool hadIni = FolderExists(context.HandicapFolder);
  if (hadIni) test::WriteBytes(ini, "before");

  const std::string copy = context.HandicapFolder + "Membersh-060925.bak";
  const std::string history = context.HandicapFolder + "130705.han";
  const Obstacle::Failing failing = GetParam().failing;
  const std::string file = failing == Obstacle::Journal
                               ? context.HandicapFolder + "Rollback.journal"
                           : failing == Obstacle::History ? history
                                                          : context.MemberFile;
  ports.dialogs.ExpectMessage(kQuestion, Answer::Yes);
  ports.dialogs.ExpectMessage("Error cannot save " + file + " - error " +
                              std::to_string(GetParam().number) + " " +
                              ErrorDescription(GetParam().number));
  EXPECT_EQ(SaveHandicaps(table, context, kJuly5, unsaved), SaveOutcome::Failed);
  RestoreLimits(context);

  EXPECT_EQ(test::ReadBytes(context.MemberFile), kClubFile);
  EXPECT_EQ(FileExists(ini), hadIni);
  if (hadIni) {
    EXPECT_EQ(test::ReadBytes(ini), "before");
  }
  // All or nothing: what was written before the failure has gone again.
  EXPECT_FALSE(FileExists(history));
  EXPECT_FALSE(FileExists(copy));
  EXPECT_EQ(context.Parameters.LastUpdated, "25 September 2006 ");
  EXPECT_TRUE(unsaved);
  EXPECT_EQ(table.Member(1).Fields(kHandicapField), "3");
  EXPECT_EQ(ports.dialogs.messages.back().icon, Icon::None);
}

INSTANTIATE_TEST_SUITE_P(
    Obstacles, SaveFailure,
    ::testing::Values(
        Obstacle{
            "FolderWhereTheHistoryFileGoes",
            [](Context& c) { std::filesystem::create_directory(c.HandicapFolder + "130705.han"); },
            // Windows refuses to rename a file over a folder as access denied.
            Obstacle::History, kFolderInTheWay},
        Obstacle{"MissingHandicapFolder",
                 [](Context& c) { std::filesystem::remove(c.HandicapFolder); }, Obstacle::Journal,
                 err::kPathNotFound},
        Obstacle{"FileWhereTheHandicapFolderGoes",
                 [](Context& c) {
                   std::filesystem::remove(c.HandicapFolder);
                   test::WriteBytes(c.DataFolder + "Handicap", "x");
                 },
                 Obstacle::Journal, err::kPathNotFound},
        Obstacle{"FileSizeLimit", LimitFileSize, Obstacle::Journal, err::kPathFileAccess},
        Obstacle{"ReadOnlyDataFolder", MakeReadOnly, Obstacle::Membership, err::kPermissionDenied}),
    [](const auto& info) { return std::string(info.param.name); });

// Until Handicap.ini says so the update is not saved: every file is as before, the window stays
// unsaved and the date of the last update as it was, so Save again saves the update once, its
// copy the club's original.
TEST_F(Members, AParameterFileThatCannotBeWrittenLeavesTheSaveToBeTriedAgain) {
  Load(kClubFile);
  table.Member(1).EndHandicap = 3;
  context.Parameters.LastUpdated = "25 September 2006 ";
  const std::string ini = context.HandicapFolder + "Handicap.ini";
  std::filesystem::create_directory(ini);
  ports.dialogs.ExpectMessage(kQuestion, Answer::Yes);
  ports.dialogs.ExpectMessageContaining("handicap.ini - error ");
  EXPECT_EQ(SaveHandicaps(table, context, kJuly5, unsaved), SaveOutcome::Failed);
  EXPECT_EQ(test::ReadBytes(context.MemberFile), kClubFile);
  EXPECT_EQ(context.Parameters.LastUpdated, "25 September 2006 ");
  EXPECT_TRUE(unsaved);

  std::filesystem::remove(ini);
  Save();
  EXPECT_NE(test::ReadBytes(context.MemberFile), kClubFile);
  EXPECT_EQ(test::ReadBytes(context.HandicapFolder + "Membersh-060925.bak"), kClubFile);
  EXPECT_FALSE(FileExists(context.HandicapFolder + "Membersh-060925-2.bak"));
  EXPECT_EQ(context.Parameters.LastUpdated, "05 July 2013 ");
  EXPECT_FALSE(unsaved);
}

}  // namespace
}  // namespace pg
