// The whole road on the sample club, as the README tells a newcomer to take it: the program run
// from a copy of the club's folder, the first date, the repair, the update window's two lists,
// the visitor's handicap, a review grid worth looking at, and Save.
#include <gtest/gtest.h>

#include <set>

#include "SampleClub.h"
#include "base/Files.h"
#include "review/ReviewDialog.h"
#include "shell/ClubFolder.h"
#include "shell/StartUp.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"
#include "update/UpdateDialog.h"

namespace pg {
namespace {

std::vector<std::string> Texts(const std::vector<CatalogueLine>& lines) {
  std::vector<std::string> texts;
  texts.reserve(lines.size());
  for (const CatalogueLine& l : lines)
    texts.push_back(l.Text);
  return texts;
}

TEST(SampleRoad, TheFirstUpdateOnTheSampleClub) {
  test::TempFolder dir;
  sample::WriteSampleClub(dir.path());  // the committed bytes, as SampleClubTest checks
  test::ScriptedPorts ports;
  const auto club = ChooseClubFolder({}, dir.path(), ports.ports());
  ASSERT_TRUE(club && club->programFolder);
  Program program(ports.ports());
  Context& c = program.context;
  MainWindow main(program);
  StartUp(main, *club);
  EXPECT_EQ(main.lblMess.caption, "First use of this program");

  ports.windows.onShow[WindowId::Update] = [&] {
    UpdateDialog update(c, program.session, program.members, program.outputs);
    update.onClose = [] {};
    update.Load();
    const std::vector<std::string> used = Texts(update.lists[0]);
    ASSERT_EQ(used.size(), 14u);
    EXPECT_EQ(used.front(), "01. 02 February 2026 - Monday afternoon");
    EXPECT_EQ(used.at(9), "12. 14 March 2026 - Saturday afternoon : 3 sections combined");
    EXPECT_EQ(used.back(), "16. 30 March 2026 - Monday afternoon");
    EXPECT_EQ(Texts(update.lists[1]),
              (std::vector<std::string>{"07. 26 February 2026 - Thursday evening",
                                        "11. 12 March 2026 - Thursday evening"}));
    update.UpdateClick();
  };
  std::set<std::string> ends;
  std::set<std::string> adjustments;
  ports.windows.onShow[WindowId::Review] = [&] {
    ReviewDialog review(c, program.members, program.outputs);
    const ReviewGrid& grid = review.grid();
    ASSERT_EQ(grid.MemberRowCount(), 34);  // every member played; the visitors have no row
    for (int row = ReviewGrid::kFixedRows; row < grid.RowCount(); ++row) {
      ends.insert(grid.Text(row, 3));
      for (int column = 5; column < grid.ColumnCount(); column += 2)
        adjustments.insert(grid.Text(row, column));
    }
    review.SaveClick();
    EXPECT_TRUE(review.BackClick());
  };
  const std::string repaired = c.ResultsRoot + "2026" + kPathSeparator + "0223S1.AFT";
  ports.dialogs.ExpectPrompt("1/2/2026")
      .ExpectMessageContaining("Attempting to repair " + repaired)
      .ExpectMessage("File repaired successfully")
      .ExpectPrompt("3")
      .ExpectMessageContaining("This will overwrite", Answer::Yes)
      .ExpectMessage("New handicaps have been saved");
  main.UpdateClick();
  ports.dialogs.VerifyAllUsed();
  EXPECT_EQ(ports.dialogs.prompts.at(1),
            "Monday 16/02/26 afternoon\r\nEnter handicap for visitor Martin Ibbotson");

  // A grid worth reviewing: handicaps spread out, some at the top of the range, and sessions
  // that moved members up and down by the most and left others in the dead zone.
  EXPECT_GE(ends.size(), 25u);
  EXPECT_TRUE(ends.count("6.00"));
  for (const char* adjustment : {"1.00", "-1.00", "0.00"})
    EXPECT_TRUE(adjustments.count(adjustment)) << adjustment;
  EXPECT_TRUE(FileExists(c.HandicapFolder + "260330.han"));
  EXPECT_TRUE(FileExists(repaired.substr(0, repaired.size() - 1) + "X"));
  EXPECT_EQ(main.lblMess.caption,
            "Handicaps last updated using sessions up to and including \r\nMonday 30 Mar 2026");
}

}  // namespace
}  // namespace pg
