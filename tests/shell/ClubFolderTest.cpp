#include "shell/ClubFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/Context.h"
#include "base/Files.h"
#include "support/NamedCases.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

namespace fs = std::filesystem;

// A program folder, a club folder with its membership file, an empty folder, and the user's
// settings.
class ClubFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"program", "club", "empty"})
      fs::create_directory(root / f);
    test::WriteBytes(club + "Membersh.dat", " 0            11           01/01/26\r\n");
  }
  std::optional<ClubFolder> Choose(const std::vector<std::string>& arguments = {}) {
    return ChooseClubFolder(arguments, program, ports.ports());
  }
  std::string Remembered() {
    return ports.settings.Read("Pairgauge", "Pairgauge", "ClubFolder", "(none)");
  }
  void Remember(const std::string& folder) {
    ports.settings.Write("Pairgauge", "Pairgauge", "ClubFolder", folder);
  }
  static std::string Plain(const std::string& folder) {
    return folder.substr(0, folder.size() - 1);
  }

  test::TempFolder root;
  std::string program = root / "program" + kPathSeparator;
  std::string club = root / "club" + kPathSeparator;
  test::ScriptedPorts ports;
};

// Where the program runs decides which club it opens, before anything remembered: its own folder
// when that is a club's (its membership file or its parameters), else the folder it is in, as for
// a portable copy unpacked into the club's folder. Two folders down is too far.
struct ProgramPlace {
  const char* name;
  const char* clubFile;   // the file that makes a folder a club's, from the test's root
  const char* programIn;  // the program's folder, from the root
  const char* opens;      // the club it opens, from the root; empty: the one remembered
};
using test::PrintTo;

class RunsFromAClubFolder : public ClubFolderTest,
                            public ::testing::WithParamInterface<ProgramPlace> {
 protected:
  // From the root, with the platform's separators.
  std::string Under(std::string relative) {
    std::replace(relative.begin(), relative.end(), '/', kPathSeparator);
    return root / relative;
  }
};

TEST_P(RunsFromAClubFolder, OpensTheClubItSitsInUnderItsOwnRules) {
  const ProgramPlace& k = GetParam();
  const std::string programFolder = Under(k.programIn) + kPathSeparator;
  fs::create_directories(programFolder);
  fs::create_directories(fs::path(Under(k.clubFile)).parent_path());
  test::WriteBytes(Under(k.clubFile), "");
  Remember(root / "empty");
  const auto chosen = ChooseClubFolder({}, programFolder, ports.ports());
  ASSERT_TRUE(chosen);
  if (*k.opens == 0) {
    EXPECT_EQ(chosen->folder, root / "empty");
  } else {
    EXPECT_EQ(DataFolderFor(chosen->folder), Under(k.opens) + kPathSeparator);
  }
  EXPECT_EQ(chosen->programFolder, *k.opens != 0);
}

INSTANTIATE_TEST_SUITE_P(
    Places, RunsFromAClubFolder,
    ::testing::Values(
        ProgramPlace{"OwnMembershipFile", "program/Membersh.dat", "program", "program"},
        ProgramPlace{"OwnParameters", "program/Handicap/Handicap.ini", "program", "program"},
        ProgramPlace{"UnpackedIntoAClub", "club/Membersh.dat", "club/Pairgauge-1.0-win64", "club"},
        ProgramPlace{"UnpackedIntoAClubWithParametersOnly", "program/Handicap/Handicap.ini",
                     "program/Pairgauge-1.0-win64", "program"},
        ProgramPlace{"TwoFoldersBelowAClub", "club/Membersh.dat", "club/Pairgauge/bin", ""}));

// The argument wins over a club in the program's own folder, is not remembered, and may be
// relative to the working folder or name a file in the club's folder.
TEST_F(ClubFolderTest, AnArgumentWinsOverEverythingAndIsNotRemembered) {
  test::WriteBytes(program + "Membersh.dat", "");
  const fs::path before = fs::current_path();
  fs::current_path(root.path());
  for (const std::string& argument :
       {club, std::string("./program/../club/"), club + "Membersh.dat"}) {
    SCOPED_TRACE(argument);
    const auto chosen = Choose({argument});
    EXPECT_TRUE(chosen.has_value());
    if (!chosen) continue;
    EXPECT_EQ(chosen->folder, Plain(club));
    EXPECT_FALSE(chosen->programFolder);
  }
  fs::current_path(before);
  EXPECT_EQ(Remembered(), "(none)");
}

TEST_F(ClubFolderTest, AnArgumentThatNamesNoFolderOpensNothing) {
  ports.dialogs.ExpectMessage("The club folder " + (root / "nowhere") + " does not exist.");
  EXPECT_FALSE(Choose({root / "nowhere"}));
}

TEST_F(ClubFolderTest, AnInstalledProgramAsksOnceAndRemembersTheAnswer) {
  ports.dialogs.ExpectFolderChoice(club);
  ASSERT_TRUE(Choose());
  EXPECT_EQ(Remembered(), Plain(club));
  const auto again = Choose();  // no chooser now
  ASSERT_TRUE(again);
  EXPECT_EQ(again->folder, Plain(club));
  EXPECT_FALSE(again->programFolder);
}

TEST_F(ClubFolderTest, CancellingTheChooserOpensNothingAndRemembersNothing) {
  ports.dialogs.ExpectFolderChoice(std::nullopt);
  EXPECT_FALSE(Choose());
  EXPECT_EQ(Remembered(), "(none)");
}

TEST_F(ClubFolderTest, AFolderWithoutAClubIsTakenOnlyWhenTheUserSaysSo) {
  const std::string empty = root / "empty";
  const std::string question =
      "There is no Membersh.dat in " + empty + "\r\nOpen it as the club's folder all the same?";
  ports.dialogs.ExpectFolderChoice(empty).ExpectMessage(question, Answer::No);
  ports.dialogs.ExpectFolderChoice(empty).ExpectMessage(question, Answer::Yes);
  const auto chosen = Choose();
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->folder, empty);
  EXPECT_EQ(Remembered(), empty);
}

TEST_F(ClubFolderTest, AFolderThatHasGoneIsAskedForAgainFromWhereItWas) {
  Remember(root / "moved");
  ports.dialogs.ExpectMessage("The club folder " + (root / "moved") +
                              " can no longer be found.\r\nPlease choose the club's folder.");
  ports.dialogs.ExpectFolderChoice(club);
  ASSERT_TRUE(Choose());
  EXPECT_EQ(ports.dialogs.folderStarts, std::vector<std::string>{root / "moved"});
  EXPECT_EQ(Remembered(), Plain(club));
}

TEST(DataFolder, TheDevelopmentFolderRuleIsTheProgramFoldersOnly) {
  test::ScriptedPorts ports;
  Context c(ports.ports());
  c.SetFolders("C:\\VB\\Pairgauge\\");
  EXPECT_EQ(c.DataFolder, "C:\\Quorell\\");
  c.SetDataFolder("C:\\VB\\Club");
  EXPECT_EQ(c.DataFolder, "C:\\VB\\Club" + std::string(1, kPathSeparator));
  EXPECT_EQ(c.MemberFile, c.DataFolder + "Membersh.dat");
}

}  // namespace
}  // namespace pg
