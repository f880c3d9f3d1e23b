#include <gtest/gtest.h>

#include <filesystem>

#include "base/Files.h"
#include "base/Guard.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

using test::ProgramEnded;
using test::ScriptedDialogs;

const char* const kReport =
    "frmUpdate\r\nDivision by zero\r\nError no. 11\r\nLine 2470\r\nDo you wish to try to continue?";

TEST(Guard, YesGoesOnWithTheNextStep) {
  ScriptedDialogs dialogs;
  dialogs.ExpectMessage(kReport, Answer::Yes);
  Guard g(dialogs, "frmUpdate");
  std::vector<int> ran;
  EXPECT_TRUE(g.Step(2460, [&] { ran.push_back(2460); }));
  EXPECT_FALSE(g.Step(2470, [&] { Raise(err::kDivisionByZero); }));
  EXPECT_TRUE(g.Step(2480, [&] { ran.push_back(2480); }));
  EXPECT_EQ(ran, (std::vector<int>{2460, 2480}));
  EXPECT_EQ(dialogs.messages.at(0).buttons, Buttons::YesNo);
}

TEST(Guard, NoEndsTheProgramAtOnce) {
  ScriptedDialogs dialogs;
  dialogs.ExpectMessage(kReport, Answer::No);
  Guard g(dialogs, "frmUpdate");
  bool after = false;
  EXPECT_THROW(
      {
        g.Step(2470, [&] { Raise(err::kDivisionByZero); });
        after = true;
      },
      ProgramEnded);
  EXPECT_FALSE(after);
  EXPECT_TRUE(dialogs.ended);
}

TEST(Guard, StandardLibraryFailuresReportAsRunTimeErrors) {
  ScriptedDialogs dialogs;
  dialogs.ExpectMessageContaining("Subscript out of range\r\nError no. 9\r\nLine 10", Answer::Yes);
  Guard g(dialogs, "ModHan");
  std::vector<int> v;
  g.Step(10, [&] { (void)v.at(3); });
}

TEST(ReplaceFile, ReplacesWholeAndLeavesNothingBeside) {
  test::TempFolder dir;
  const std::string path = dir / "Membersh.dat";
  test::WriteBytes(path, "old");
  FileError error;
  ASSERT_TRUE(ReplaceFile(path, "new contents", error));
  EXPECT_EQ(test::ReadBytes(path), "new contents");
  size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    files += e.exists();
  EXPECT_EQ(files, 1u);
}

// Club folders carry members' and clubs' names, and the program's texts are Latin-1.
TEST(ReplaceFile, ALatin1NameIsWrittenFoundAndRead) {
  test::TempFolder dir;
  const std::string path = dir / "Caf\xe9 Bridge.ini";
  FileError error;
  ASSERT_TRUE(ReplaceFile(path, "one", error));
  ASSERT_TRUE(ReplaceFile(path, "two", error));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(FindFileIgnoringCase(path), path);
  EXPECT_EQ(ReadFileBytes(path), "two");
}

TEST(ReplaceFile, FailureLeavesTheOldFileAsItWas) {
  test::TempFolder dir;
  // A folder in the way of the file: the rename cannot put a file there, even for root.
  const std::string blocked = dir / "blocked";
  ASSERT_TRUE(std::filesystem::create_directory(blocked));
  test::WriteBytes(blocked + "/keep", "x");
  FileError error;
  EXPECT_FALSE(ReplaceFile(blocked, "new", error));
  EXPECT_NE(error.number, 0);
  EXPECT_TRUE(FolderExists(blocked));

  EXPECT_FALSE(ReplaceFile(dir / "missing/file.ini", "new", error));
  EXPECT_EQ(error.number, err::kPathNotFound);
  EXPECT_EQ(error.description, "Path not found");
  size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    files += e.exists();
  EXPECT_EQ(files, 1u);
}

TEST(Files, FindsANameInAnotherLetterCase) {
  PG_SKIP_WITHOUT_NAME_CASE();
  test::TempFolder dir;
  test::WriteBytes(dir / "0925s1.aft", "x");
  EXPECT_EQ(FindFileIgnoringCase(dir / "0925S1.AFT"), dir / "0925s1.aft");
  EXPECT_FALSE(FindFileIgnoringCase(dir / "0925S2.AFT").has_value());
  FileError error;
  EXPECT_FALSE(ReadFileBytes(dir / "none", &error).has_value());
  EXPECT_EQ(error.number, err::kFileNotFound);
}

// A scan's finder lists a folder once and must then answer every name as a look of its own would.
TEST(Files, AFinderAnswersAsALookOfItsOwn) {
  PG_SKIP_WITHOUT_NAME_CASE();
  test::TempFolder dir;
  test::WriteBytes(dir / "0925S1.AFT", "x");
  test::WriteBytes(dir / "0925s2.aft", "x");
  test::WriteBytes(dir / "0926S1.eve", "x");
  std::filesystem::create_directory(dir / "0927S1.AFT");  // a folder is no session file
  FileFinder finder;
  for (const std::string& path :
       {dir / "0925S1.AFT", dir / "0925S2.AFT", dir / "0926S1.EVE", dir / "0927S1.AFT",
        dir / "0925S3.AFT", dir / "0925s1.aft", dir / "missing/0925S1.AFT"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(finder.Find(path), FindFileIgnoringCase(path));
  }
  EXPECT_EQ(finder.Find(dir / "0925S2.AFT"), dir / "0925s2.aft");
}

}  // namespace
}  // namespace pg

namespace pg {
namespace {

// What the history may name as a copy that an undo puts over a club file: a plain name in the
// handicap folder, never a path, and on no platform one of Windows' devices, which would read as
// an empty file there.
TEST(Files, OnlyAPlainNameNamesAFileOfTheFolder) {
  const std::pair<const char*, bool> cases[] = {
      {"Membersh-260330.bak", true},
      {"Handicap-first-2.bak", true},
      {"Zo\xeb's copy.bak", true},
      {"COM10.bak", true},
      {"console.bak", true},
      {"NULL.bak", true},
      {"", false},
      {".", false},
      {"..", false},
      {"../Membersh.dat", false},
      {"a\\b.bak", false},
      {"C:x.bak", false},
      {"NUL", false},
      {"nul.bak", false},
      {"CON.bak", false},
      {"Con .txt", false},
      {"aux", false},
      {"PRN.x.y", false},
      {"COM1", false},
      {"lpt9.bak", false},
      {"COM\xb9.bak", false},
      {"CONIN$", false},
      {"name.", false},
      {"name ", false},
      {"a?b.bak", false},
      {"tab\there", false},
  };
  for (const auto& [name, plain] : cases)
    EXPECT_EQ(IsPlainFileName(name), plain) << name;
}

}  // namespace
}  // namespace pg
