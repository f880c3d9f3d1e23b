// The whole road a secretary takes, on a program folder of its own: start-up, "Update handicaps"
// with the first date, the update window, Update, the review window with a correction, Save and
// Back; then the files on disk, the status line, and a second update that finds nothing new.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/Files.h"
#include "review/ReviewDialog.h"
#include "shell/StartUp.h"
#include "support/ScriptedPorts.h"
#include "support/SessionWriter.h"
#include "support/TempFolder.h"
#include "update/UpdateDialog.h"

namespace pg {
namespace {

const std::string kMembers =
    " 9             11           26/10/26\r\n"
    "1,Ann,Ash,,,F,0,,,,\r\n2,Bob,Birch,,,M,0,,,,\r\n3,Cy,Cedar,,,M,0,,,,\r\n"
    "4,Di,Dove,,,F,0,,,,\r\n5,Ed,Elm,,,M,0.5,,,,\r\n6,Flo,Fir,,,F,0,,,,\r\n"
    "7,Guy,Gorse,,,M,0,,,,\r\n8,Hal,Hazel,,,M,5.5,,,,\r\n9,Ivy,Ives,,,F,1.25,,,,\r\n";

// Pair 1 (Ann Ash, Ed Elm) tops north-south and pair 4 (Di Dove, Hal Hazel) east-west on both
// boards, so every session moves them by the largest adjustment down and pairs 2 and 3 by the
// largest up.
test::SessionPlan Session(Date day, bool carriesHandicaps, const std::string& player7) {
  test::SessionPlan p = test::TwoTableSession();
  p.date = day;
  p.players[6] = player7;
  p.wantHandicaps = carriesHandicaps ? 1 : 0;
  return p;
}

TEST(WholeRoad, FromTheMainWindowToTheSavedMembershipFile) {
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Program program(ports.ports());
  Context& c = program.context;
  MainWindow main(program);
  StartUp(main, dir.path());
  const std::string firstIni = test::ReadBytes(c.HandicapFolder + "Handicap.ini");
  test::WriteBytes(c.MemberFile, kMembers);
  std::filesystem::create_directory(c.ResultsRoot + "2026");
  const auto place = [&](const char* name, const test::SessionPlan& plan) {
    test::WriteSession(c.ResultsRoot + "2026" + kPathSeparator + name, plan);
  };
  place("1102S1.AFT", Session(MakeDate(2026, 11, 2), true, "Guy Gorse"));
  place("1109S1.EVE", Session(MakeDate(2026, 11, 9), false, "Val Visitor"));
  place("1116S1.AFT", Session(MakeDate(2026, 11, 16), false, "Guy Gorse"));

  ports.windows.onShow[WindowId::Update] = [&] {
    UpdateDialog update(c, program.session, program.members, program.outputs, program.nameCheck);
    update.onClose = [] {};
    update.Load();
    ASSERT_EQ(update.lists[0].size(), 3u);
    update.UpdateClick();
    EXPECT_TRUE(update.closed);
  };
  ports.windows.onShow[WindowId::Review] = [&] {
    ReviewDialog review(c, program.members, program.outputs);
    ASSERT_EQ(review.grid().Text(4, 1), "Birch, Bob");
    review.GridClick(4, 3);
    review.SaveClick();
    EXPECT_TRUE(review.BackClick());
  };
  ports.dialogs.ExpectPrompt("2/11/2026")
      .ExpectPrompt("1.5")  // the visitor of the session without handicaps
      .ExpectPrompt("2.5")  // Bob Birch's new handicap, corrected by hand
      .ExpectMessage(
          "This will overwrite the current handicaps in the membership file.\r\n"
          "Do you want to do this?",
          Answer::Yes)
      .ExpectMessage("New handicaps have been saved");
  main.UpdateClick();
  ports.dialogs.VerifyAllUsed();
  EXPECT_EQ(ports.dialogs.prompts.at(1),
            "Monday 09/11/26 evening\r\nEnter handicap for visitor "
            "Val Visitor");

  // Every session moved each winner down by 1 and each loser up by 1; Guy Gorse missed one and
  // Ivy Ives all three, and is saved with the handicap she had.
  EXPECT_EQ(test::ReadBytes(c.MemberFile),
            " 9             11           16/11/26\r\n"
            "1,Ann,Ash,,,F,-3,,,,\r\n2,Bob,Birch,,,M,2.5,,,,\r\n3,Cy,Cedar,,,M,3,,,,\r\n"
            "4,Di,Dove,,,F,-3,,,,\r\n5,Ed,Elm,,,M,-2.5,,,,\r\n6,Flo,Fir,,,F,3,,,,\r\n"
            "7,Guy,Gorse,,,M,2,,,,\r\n8,Hal,Hazel,,,M,2.5,,,,\r\n9,Ivy,Ives,,,F,1.25,,,,\r\n");
  EXPECT_EQ(test::ReadBytes(c.HandicapFolder + "261116.han"),
            "9\r\n-3\r\n2.5\r\n3\r\n-3\r\n-2.5\r\n3\r\n2\r\n2.5\r\n1.25\r\n");
  EXPECT_EQ(test::ReadBytes(c.HandicapFolder + "Handicap.ini"),
            "\"" PG_PROJECT_VERSION
            "\"\r\n\"16 November 2026 \"\r\n51.23,56,0.01,7\r\n"
            "-1,-2,-12,0.1,1\r\n3,2,6,0.2,1\r\n");
  EXPECT_EQ(test::ReadBytes(c.HandicapFolder + "Membersh-first.bak"), kMembers);
  EXPECT_EQ(test::ReadBytes(c.HandicapFolder + "Handicap-first.bak"), firstIni);
  EXPECT_EQ(main.lblMess.caption,
            "Handicaps last updated using sessions up to and including \r\nMonday 16 Nov 2026");

  // The next update starts the day after the last session used, and finds nothing to use.
  ports.windows.onShow[WindowId::Update] = [&] {
    EXPECT_EQ(c.StartDate, MakeDate(2026, 11, 17));
    UpdateDialog update(c, program.session, program.members, program.outputs, program.nameCheck);
    update.Load();
    EXPECT_TRUE(update.lists[0].empty());
    EXPECT_TRUE(update.lists[1].empty());
    EXPECT_FALSE(update.cmdOK.enabled);
    EXPECT_EQ(update.lblDay.caption, "No previous scores found");
  };
  main.UpdateClick();
}

}  // namespace
}  // namespace pg
