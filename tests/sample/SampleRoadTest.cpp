// The whole road on the sample club, as the README tells a newcomer to take it: the program run
// from a copy of the club's folder, the first date, the repair, the update window's two lists,
// the visitor's handicap, a review grid worth looking at, and Save.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "SampleClub.h"
#include "base/Files.h"
#include "history/HistoryDialog.h"
#include "review/ReviewDialog.h"
#include "shell/ClubFolder.h"
#include "shell/StartUp.h"
#include "shell/TrialWindow.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"
#include "update/UpdateDialog.h"
#include "update/UpdateRun.h"

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
    UpdateDialog update(c, program.session, program.members, program.outputs, program.nameCheck);
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

// The files under a folder, by their paths there, with their bytes.
std::map<std::string, std::string> Files(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file())
      files[std::filesystem::relative(entry.path(), folder).generic_string()] =
          test::ReadBytes(entry.path().string());
  return files;
}

// A copy of the sample club whose director typed "Margret Holloway" on 2 March, taken through
// its first update: `press` presses the update window's Update, the names window is answered
// with `goOn`, and the review window saves.
struct MisspeltClub {
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Program program{ports.ports()};
  MainWindow main{program};
  std::vector<NearNamesDialog::Row> rows;

  MisspeltClub() {
    sample::WriteSampleClub(dir.path());
    const std::string file = dir.path() + "RES2026" + kPathSeparator + "0302S1.AFT";
    std::string bytes = test::ReadBytes(file);
    bytes.replace(bytes.find("Margaret Holloway"), 8, "Margret");
    test::WriteBytes(file, bytes);
    StartUp(main, *ChooseClubFolder({}, dir.path(), ports.ports()));
  }

  void Update(const std::function<void(UpdateDialog&)>& press, bool goOn) {
    Context& c = program.context;
    ports.windows.onShow[WindowId::Update] = [&] {
      UpdateDialog update(c, program.session, program.members, program.outputs, program.nameCheck);
      update.onClose = [] {};
      update.Load();
      press(update);
    };
    ports.windows.onShow[WindowId::NearNames] = [&] {
      NearNamesDialog names(c, program.nameCheck);
      rows = names.Rows();
      goOn ? names.ContinueClick() : names.BackClick();
    };
    ports.windows.onShow[WindowId::Review] = [&] {
      ReviewDialog(c, program.members, program.outputs).SaveClick();
    };
    ports.dialogs.ExpectPrompt("1/2/2026")
        .ExpectMessageContaining("Attempting to repair")
        .ExpectMessage("File repaired successfully");
    if (goOn)
      ports.dialogs.ExpectPrompt("3")
          .ExpectMessageContaining("This will overwrite", Answer::Yes)
          .ExpectMessage("New handicaps have been saved");
    main.UpdateClick();
    ports.dialogs.VerifyAllUsed();
  }
};

TEST(SampleRoad, AMisspeltMemberIsListedAndContinueSavesWhatTheUpdateAlwaysSaved) {
  MisspeltClub checked;
  checked.Update([](UpdateDialog& update) { update.UpdateClick(); }, true);
  EXPECT_EQ(checked.rows, (std::vector<NearNamesDialog::Row>{
                              {"Margret Holloway", "08. 02 March 2026 - Monday afternoon",
                               "Margaret Holloway", "one letter"}}));

  // The road as it was before the names were looked at: the run at once.
  MisspeltClub unchecked;
  unchecked.Update(
      [&](UpdateDialog& update) {
        Program& p = unchecked.program;
        UpdateRun run(p.context, p.session, p.members, p.outputs);
        if (RunUpdate(run, update.lists[0], update.lblDay.caption))
          unchecked.ports.windows.ShowModal(WindowId::Review);
      },
      true);
  EXPECT_EQ(Files(checked.dir.path()), Files(unchecked.dir.path()));

  MisspeltClub back;
  std::map<std::string, std::string> before;
  back.Update(
      [&](UpdateDialog& update) {
        before = Files(back.dir.path());
        update.UpdateClick();
        EXPECT_FALSE(update.closed);
      },
      false);
  EXPECT_EQ(back.rows, checked.rows);
  EXPECT_EQ(back.ports.windows.shown,
            (std::vector<WindowId>{WindowId::Update, WindowId::NearNames}));
  EXPECT_EQ(Files(back.dir.path()), before);
}

// The sample club with February's sessions saved on 3 March and March's on 20 April, through the
// program, the visitor Martin Ibbotson given 3.
struct TwoUpdates {
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Program program{ports.ports()};
  Context& c = program.context;
  MainWindow main{program};

  TwoUpdates() {
    sample::WriteSampleClub(dir.path());
    StartUp(main, dir.path());
    ports.windows.onShow[WindowId::Update] = [&] {
      UpdateDialog update(c, program.session, program.members, program.outputs, program.nameCheck);
      update.onClose = [] {};
      update.Load();
      update.UpdateClick();
    };
    ports.windows.onShow[WindowId::Review] = [&] {
      ReviewDialog review(c, program.members, program.outputs);
      review.SaveClick();
      EXPECT_TRUE(review.BackClick());
    };
    ports.clock.today = MakeDate(2026, 3, 3);
    ports.dialogs.ExpectPrompt("1/2/2026")
        .ExpectMessageContaining("Attempting to repair")
        .ExpectMessage("File repaired successfully")
        .ExpectPrompt("3")
        .ExpectMessageContaining("This will overwrite", Answer::Yes)
        .ExpectMessage("New handicaps have been saved");
    main.UpdateClick();
    february = test::ReadBytes(c.MemberFile);
    februaryIni = test::ReadBytes(c.HandicapFolder + kParameterFileName);
    ports.clock.today = MakeDate(2026, 4, 20);
    ports.dialogs.ExpectMessageContaining("This will overwrite", Answer::Yes)
        .ExpectMessage("New handicaps have been saved");
    main.UpdateClick();
    ports.dialogs.VerifyAllUsed();
  }
  std::string february, februaryIni;
};

// February's sessions saved on 3 March and March's on 20 April: the History window holds both
// updates for every member, and undoing March's puts back the two files February's wrote.
TEST(SampleRoad, TwoUpdatesInTheHistoryAndTheSecondUndone) {
  TwoUpdates club;
  test::ScriptedPorts& ports = club.ports;
  Context& c = club.c;
  MainWindow& main = club.main;
  const std::string ini = c.HandicapFolder + kParameterFileName;
  const std::string& february = club.february;
  const std::string& februaryIni = club.februaryIni;

  ports.windows.onShow[WindowId::History] = [&] {
    HistoryDialog history(c);
    ASSERT_EQ(history.members().rows.size(), 34u);
    EXPECT_EQ(history.members().headings.at(3), "Change 30/03/26");
    EXPECT_EQ(history.members().headings.at(4), "Change 23/02/26");
    for (int row = 0; row < 34; ++row) {
      const std::vector<std::string>& cells = history.members().rows.at(static_cast<size_t>(row));
      EXPECT_FALSE(cells.at(3).empty() || cells.at(4).empty()) << cells.at(1);
      history.ChooseMember(row);
      EXPECT_EQ(history.chart().points.size(), 3u) << cells.at(1);  // before, February, March
    }
    ports.dialogs
        .ExpectMessage("Undo the update using sessions up to and including Monday 30 Mar 2026?",
                       Answer::Yes)
        .ExpectMessage(
            "The update using sessions up to and including Monday 30 Mar 2026 has been undone.");
    history.UndoClick();
  };
  main.HistoryClick();
  EXPECT_EQ(test::ReadBytes(c.MemberFile), february);
  EXPECT_EQ(test::ReadBytes(ini), februaryIni);
  EXPECT_EQ(main.lblMess.caption,
            "Handicaps last updated using sessions up to and including \r\nMonday 23 Feb 2026");
}

// The two saved updates replayed from the History window: "as saved" gives every member's
// handicap after each update as the history has it, and a trial with a dead zone of 1 and both
// rates 0.2 moves them otherwise, with a fairness figure of its own beside the saved one.
TEST(SampleRoad, TheSavedUpdatesReplayAsTheHistoryHasThem) {
  TwoUpdates club;
  club.ports.windows.onShow[WindowId::Trial] = [&] {
    TrialDialog trial(club.program);
    trial.Load();
    EXPECT_EQ(trial.lblCheck.caption,
              "Self-check: replayed as saved, all 68 handicaps after the 2 updates are as the "
              "history has them.");
    EXPECT_TRUE(trial.notes().rows.empty());
    ASSERT_EQ(trial.members().rows.size(), 34u);
    // A trial of the parameters February's update ran under replays it as saved: its files
    // recorded the handicaps the members had. (March's recorded the same, which the club's
    // scoring program would not have: the trial puts in the handicaps February gave.)
    trial.ChooseTo(0);
    for (const std::vector<std::string>& row : trial.members().rows)
      EXPECT_EQ(row.at(5) + row.at(4), row.at(7) + row.at(6)) << row.at(1);
    trial.ChooseTo(1);
    ParameterBoxes& boxes = trial.boxes();
    for (const auto& [field, text] :
         {std::pair{ParameterBoxes::Dead0, "-1"}, std::pair{ParameterBoxes::Dead1, "+1"},
          std::pair{ParameterBoxes::Rate0, "0.2"}})
      ASSERT_TRUE(boxes.TextEdited(field, text));
    ASSERT_TRUE(boxes.LeaveField());
    int moved = 0;
    for (const std::vector<std::string>& row : trial.members().rows)
      moved += row.at(5) != row.at(7) ? 1 : 0;  // at the end, as saved and on trial
    EXPECT_GT(moved, 25);
    EXPECT_EQ(trial.lblFairness.caption, "Fairness: as saved 2.33, trial 2.23");
    EXPECT_EQ(trial.lblCheck.caption.substr(0, 40), "Self-check: replayed as saved, all 68 ha");
  };
  club.ports.windows.onShow[WindowId::History] = [&] { HistoryDialog(club.c).TrialClick(); };
  club.main.HistoryClick();
  EXPECT_EQ(club.ports.windows.shown.back(), WindowId::Trial);
}

}  // namespace
}  // namespace pg
