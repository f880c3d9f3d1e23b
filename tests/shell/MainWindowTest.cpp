#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/Files.h"
#include "shell/About.h"
#include "shell/StartUp.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

// The clock stands at Tuesday 26 September 2006 in every test here.
const Date kToday = MakeDate(2006, 9, 26);

struct Window {
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Program program{ports.ports()};
  MainWindow window{program};
  Context& c = program.context;

  Window() {
    ports.clock.today = kToday;
    StartUp(window, dir.path());
  }
};

// Handicap.ini is read afresh each time: another copy may have saved an update since.
TEST(MainWindow, AfterAnUpdateTheNextStartsTheDayAfterAndTheStatusFollowsTheWindow) {
  Window w;
  const auto lastUpdate = [&](const char* day) {
    HandicapParameters p;
    p.LastUpdated = day;
    test::WriteBytes(w.c.HandicapFolder + kParameterFileName, ParameterFileText("1.0", p));
  };
  lastUpdate("10 September 2006 ");
  // The update window saves a later update before it closes.
  w.ports.windows.onShow[WindowId::Update] = [&] {
    EXPECT_EQ(w.c.StartDate, MakeDate(2006, 9, 11));
    lastUpdate("25 September 2006 ");
  };
  w.window.UpdateClick();
  EXPECT_EQ(w.ports.windows.shown, std::vector<WindowId>{WindowId::Update});
  EXPECT_EQ(w.window.lblMess.caption,
            "Handicaps last updated using sessions up to and including \r\nMonday 25 Sep 2006");
}

// The History window leaves the status line as it was unless an undo there moved the date of the
// last update.
TEST(MainWindow, HistoryShowsTheStatusAgainWhenAnUndoMovedTheLastUpdate) {
  Window w;
  w.window.HistoryClick();
  EXPECT_EQ(w.window.lblMess.caption, "First use of this program");
  w.c.Parameters.LastUpdated = "25 September 2006 ";
  w.c.NoUpdateYet = false;
  w.ports.windows.onShow[WindowId::History] = [&] {
    test::WriteBytes(w.c.HandicapFolder + kParameterFileName,
                     ParameterFileText("1.0", HandicapParameters{}));
  };
  w.window.HistoryClick();
  EXPECT_EQ(w.ports.windows.shown, (std::vector<WindowId>{WindowId::History, WindowId::History}));
  EXPECT_EQ(w.window.lblMess.caption, "No updates yet done");
  EXPECT_TRUE(w.c.NoUpdateYet);
}

// Each answer in turn, with the message it draws (empty: none); the prompt comes back after a
// refusal, and an empty or cancelled answer ends the action with nothing done.
TEST(MainWindow, TheFirstDatePromptRefusesWhatIsNoDayInThePast) {
  struct Turn {
    std::optional<std::string> answer;
    std::string message;
  };
  struct Case {
    const char* name;
    std::vector<Turn> turns;
    std::optional<Date> start;
  };
  const Case cases[] = {
      {"today, then yesterday",
       {{"26/9/2006", "Date must be in the past"}, {"25 Sep 2006", ""}},
       MakeDate(2006, 9, 25)},
      {"a future day, then a day long past",
       {{"1/1/2030", "Date must be in the past"}, {"2006-01-31", ""}},
       MakeDate(2006, 1, 31)},
      {"no date, then empty",
       {{"25/13/2006", "Please enter a date, e.g. 25/9/2006"},
        {"   ", "Please enter a date, e.g. 25/9/2006"},
        {"", ""}},
       std::nullopt},
      {"cancelled", {{std::nullopt, ""}}, std::nullopt},
      {"today, then cancelled",
       {{"26 September 2006", "Date must be in the past"}, {std::nullopt, ""}},
       std::nullopt},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Window w;
    for (const Turn& t : k.turns) {
      w.ports.dialogs.ExpectPrompt(t.answer);
      if (!t.message.empty()) w.ports.dialogs.ExpectMessage(t.message);
    }
    w.window.UpdateClick();
    w.ports.dialogs.VerifyAllUsed();
    EXPECT_EQ(w.ports.dialogs.prompts,
              std::vector<std::string>(
                  k.turns.size(),
                  "No handicaps have yet been updated\r\nPlease select the date of the first "
                  "session\r\nwhich will be used to start updating handicaps"));
    EXPECT_EQ(w.c.StartDate, k.start);
    EXPECT_EQ(w.ports.windows.shown.size(), k.start ? 1u : 0u);
    EXPECT_EQ(w.window.lblMess.caption,
              k.start ? "No updates yet done" : "First use of this program");
  }
}

TEST(MainWindow, StopEndsTheProgramWithoutAWord) {
  Window w;
  EXPECT_THROW(w.window.StopClick(), test::ProgramEnded);
  EXPECT_TRUE(w.ports.dialogs.messages.empty());
}

// About names the version and the licence, and says where the licence's text is: in the file the
// package installed beside the program, or on the web from a folder without one (a build tree).
TEST(MainWindow, AboutGivesTheVersionTheLicenceAndWhereItsTextIs) {
  Window w;
  w.ports.dialogs.ExpectMessageContaining("Pairgauge - Version " PG_PROJECT_VERSION "\r\n");
  w.window.AboutClick();
  ASSERT_EQ(w.ports.dialogs.messages.size(), 1u);
  const std::string& text = w.ports.dialogs.messages[0].text;
  EXPECT_NE(text.find("GNU General Public License, version 3 or (at your choice) any later"),
            std::string::npos);
  EXPECT_EQ(w.ports.dialogs.messages[0].icon, Icon::Information);

  struct Case {
    const char* name;
    std::vector<std::string> files;  // from the test's root
    const char* programIn;
    const char* found;  // empty: none
  };
  const Case cases[] = {
      {"the Windows packages", {"Pairgauge/LICENSE.txt"}, "Pairgauge", "Pairgauge/LICENSE.txt"},
      {"installed on Linux",
       {"usr/share/doc/pairgauge/copyright"},
       "usr/bin",
       "usr/share/doc/pairgauge/copyright"},
      {"a build tree", {"LICENSE"}, "build/club", ""},
      {"a bin folder without the doc", {}, "usr/bin", ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    test::TempFolder root;
    const auto under = [&](std::string relative) {
      std::replace(relative.begin(), relative.end(), '/', kPathSeparator);
      return root / relative;
    };
    std::filesystem::create_directories(under(k.programIn));
    for (const std::string& f : k.files) {
      std::filesystem::create_directories(std::filesystem::path(under(f)).parent_path());
      test::WriteBytes(under(f), "");
    }
    const std::string found = FindLicenceFile(under(k.programIn) + kPathSeparator);
    EXPECT_EQ(found, *k.found ? under(k.found) : "");
    EXPECT_TRUE(AboutText("1.0", found)
                    .ends_with("The licence's text is " +
                               (*k.found ? "in " + found : "at " + std::string(kLicenceWebPage)) +
                               "."));
  }
}

}  // namespace
}  // namespace pg
