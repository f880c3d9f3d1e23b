#include <gtest/gtest.h>

#include <filesystem>

#include "base/Files.h"
#include "shell/StartUp.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

using namespace std::string_literals;

const std::string kVersionLine = "\"" PG_PROJECT_VERSION "\"\r\n";
const std::string kDefaultLines = "51.23,56,0.01,7\r\n-1,-2,-12,0.1,1\r\n3,2,6,0.2,1\r\n";

// A program and its main window on a temporary folder, with scripted ports.
struct Started {
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Program program{ports.ports()};
  MainWindow window{program};
  Context& c = program.context;

  std::string IniPath() const { return dir / "Handicap/Handicap.ini"; }
  void Start() { StartUp(window, dir.path()); }
  void GiveFile(const std::string& bytes) {
    std::filesystem::create_directory(dir / "Handicap");
    test::WriteBytes(IniPath(), bytes);
  }
};

TEST(StartUp, FirstUseWritesTheDefaultFileAndSaysSo) {
  Started s;
  s.Start();
  EXPECT_EQ(test::ReadBytes(s.IniPath()), kVersionLine + "\r\n" + kDefaultLines);
  EXPECT_EQ(s.window.lblMess.caption, "First use of this program");
  EXPECT_EQ(s.window.lblHead.caption, "Pairgauge - Version " PG_PROJECT_VERSION);
  EXPECT_TRUE(s.c.NoUpdateYet);
  EXPECT_EQ(s.c.SessionFormatVersion, "9.3");
  EXPECT_EQ(s.c.HandicapFolder, s.dir / "Handicap" + kPathSeparator);
  EXPECT_EQ(s.c.MemberFile, s.dir / "Membersh.dat");
  EXPECT_EQ(s.c.ResultsRoot, s.dir / "RES");
}

TEST(StartUp, ALaterStartShowsTheLastUpdateAndPutsThisVersionInFront) {
  Started s;
  const std::string rest =
      "\"25 September 2006 \"\r\n50,60,0.1,14\r\n-1,-3,-10,0.15,0.5\r\n3,3,8,0.25,2\r\n";
  s.GiveFile("\"0.9\"\r\n" + rest);
  s.Start();
  EXPECT_EQ(s.window.lblMess.caption,
            "Handicaps last updated using sessions up to and including \r\nMonday 25 Sep 2006");
  EXPECT_FALSE(s.c.NoUpdateYet);
  EXPECT_EQ(s.c.Parameters.CorrectionDays, 14);
  EXPECT_EQ(s.c.Parameters.MaxAdjust[1], 2);
  EXPECT_EQ(test::ReadBytes(s.IniPath()), kVersionLine + rest);
}

TEST(StartUp, AFileCutAfterLineThreeKeepsTheDefaultsOfTheRestSilently) {
  Started s;
  s.GiveFile("\"1.0\"\r\n\"1 May 2020 \"\r\n50,60,0.1,10\r\n");
  s.Start();  // any message would fail the test
  EXPECT_EQ(s.c.Parameters.EgAve, 50);
  EXPECT_EQ(s.c.Parameters.CorrectionDays, 10);
  EXPECT_EQ(test::ReadBytes(s.IniPath()),
            kVersionLine + "\"1 May 2020 \"\r\n50,60,0.1,10\r\n-1,-2,-12,0.1,1\r\n3,2,6,0.2,1\r\n");
}

// A damaged file loads what it can without a word; a LastUpdated that is no date counts as no
// update, so the first "Update handicaps" asks where to start rather than guessing.
TEST(StartUp, ADamagedFileLoadsWhatItCanAndNeverComplains) {
  struct Case {
    std::string bytes;
    std::string status;
    bool noUpdateYet;
  };
  const Case cases[] = {
      {"\"1.0\"\r\n\r\n50,60,0.1,10\r\n", "No updates yet done", true},
      {"\"1.0\"\r\n\"not a date\"\r\n50,60\r\n", "No updates yet done", true},
      {"\xff\xfe\0garbage,#NULL#,\"\r\n\r\n"s, "No updates yet done", true},
      {"", "No updates yet done", true},
      {"\"1.0\"\r\n\"2 Jan 2021\"\r\nx,y,z\r\n",
       "Handicaps last updated using sessions up to "
       "and including \r\nSaturday 02 Jan 2021",
       false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.bytes);
    Started s;
    s.GiveFile(k.bytes);
    s.Start();
    EXPECT_EQ(s.window.lblMess.caption, k.status);
    EXPECT_EQ(s.c.NoUpdateYet, k.noUpdateYet);
    EXPECT_TRUE(FileExists(s.IniPath()));
  }
}

TEST(StartUp, AHandicapFolderThatCannotBeMadeSaysSoAndKeepsTheParameters) {
  Started s;
  test::WriteBytes(s.dir / "Handicap", "a file where the folder should be");
  s.ports.dialogs.ExpectMessage("Error cannot save " + s.dir.path() + "Handicap" + kPathSeparator +
                                "handicap.ini - error 75 Path/File access error");
  s.Start();
  EXPECT_EQ(s.window.lblMess.caption, "First use of this program");
  EXPECT_EQ(ParameterFileText("1.0", s.c.Parameters), ParameterFileText("1.0", {}));
  EXPECT_EQ(test::ReadBytes(s.dir / "Handicap"), "a file where the folder should be");
}

TEST(StartUp, DataFolderIsTheProgramFolderSaveUnderTheOldDevelopmentFolder) {
  struct Case {
    std::string programFolder;
    std::string dataFolder;
  };
  const Case cases[] = {
      {"/home/club/pairgauge/", "/home/club/pairgauge/"},
      {"/home/club/pairgauge", "/home/club/pairgauge" + std::string(1, kPathSeparator)},
      {"C:\\VB6/", "C:\\Quorell\\"},
      {"c:\\vb6/", "c:\\vb6/"},
  };
  for (const Case& k : cases) {
    test::ScriptedPorts ports;
    Context c(ports.ports());
    c.SetFolders(k.programFolder);
    EXPECT_EQ(c.DataFolder, k.dataFolder);
    EXPECT_EQ(c.HandicapFolder, k.dataFolder + "Handicap" + kPathSeparator);
  }
}

}  // namespace
}  // namespace pg
