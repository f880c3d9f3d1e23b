#include "review/ReviewDialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <tuple>

#include "base/Files.h"
#include "base/Numbers.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using Strings = std::vector<std::string>;

const char* const kOverwrite =
    "This will overwrite the current handicaps in the membership file.\r\nDo you want to do this?";
const char* const kSaved = "New handicaps have been saved";

// Scripted dialogs that also keep each prompt's title and offered answer.
class PromptDialogs : public test::ScriptedDialogs {
 public:
  std::optional<std::string> Prompt(const std::string& message, const std::string& title,
                                    const std::string& defaultAnswer) override {
    offered.push_back(title + ": " + defaultAnswer);
    return ScriptedDialogs::Prompt(message, title, defaultAnswer);
  }
  Strings offered;
};

const std::string kClubFile =
    "5,11,25/06/13\r\n101,Jane,Smith,,,F,-1.5,Y,,,\r\n102,Ali,Khan,,,M,2.32,Y,,,\r\n"
    "103,Mary Ann,Lee,,,F,0,N,,,\r\n104,Anna,de Vries,,,F,4,Y,,,\r\n105,Zoe,Adams,,,F,-12,Y,,,\r\n";

// Two sessions: one winner group, then two with their own averages. Member 2 played in neither;
// member 3's net score of 0 is real and was adjusted; member 5 ends on the rounding's
// -11.950000000000001.
class Review : public ::testing::Test {
 protected:
  Review() : context(Ports{dialogs, windows, settings, clock, locks}) {
    context.SetFolders(dir.path());
    std::filesystem::create_directory(context.HandicapFolder);
    test::WriteBytes(context.MemberFile, kClubFile);
    LoadMembers(members, context);
    outputs.Size(5, 2);
    outputs.SessionLabels(0) = "Mon 01/07/13 aft";
    outputs.SessionLabels(1) = "Fri 05/07/13 eve";
    outputs.SessionAverages(0, 1) = outputs.SessionAverages(0, 2) = 51.23;
    outputs.SessionAverages(1, 1) = 52.4;
    outputs.SessionAverages(1, 2) = 47.6;
    outputs.LastSessionDate = MakeDate(2013, 7, 5);
    const double ends[] = {-2.18, 6, 0.5, 3.2, -0.01 * 1195};
    for (short m = 1; m <= 5; ++m)
      members.Member(m).EndHandicap = ends[m - 1];
    using Played = std::tuple<short, short, short, float, float>;  // member, session, direction
    for (auto [m, s, direction, net, adjustment] :
         {Played{1, 0, 0, 58, -0.68F}, Played{1, 1, 1, 49.5F, 0}, Played{3, 1, 2, 0, 1},
          Played{4, 0, 0, 61.2F, -0.8F}, Played{5, 0, 0, 45, 1}, Played{5, 1, 2, 40, 1}}) {
      outputs.SessionResults(m, s) = {true, direction, net, adjustment};
      outputs.PlayedFlags(m) = 1;
    }
    dialog = std::make_unique<ReviewDialog>(context, members, outputs);
  }

  Rows Grid() const {
    Rows out(static_cast<size_t>(dialog->grid().RowCount()));
    for (int r = 0; r < dialog->grid().RowCount(); ++r)
      for (int c = 0; c < dialog->grid().ColumnCount(); ++c)
        out[static_cast<size_t>(r)].push_back(dialog->grid().Text(r, c));
    return out;
  }
  // The member number of each member row, top to bottom.
  Strings Order() const {
    Strings out;
    for (int r = ReviewGrid::kFixedRows; r < dialog->grid().RowCount(); ++r)
      out.push_back(dialog->grid().Text(r, 0));
    return out;
  }
  void SaveNow() {
    dialogs.ExpectMessage(kOverwrite, Answer::Yes).ExpectMessage(kSaved);
    dialog->SaveClick();
    dialogs.VerifyAllUsed();
  }
  bool Saved() const { return FileExists(context.HandicapFolder + "130705.han"); }

  test::TempFolder dir;
  PromptDialogs dialogs;
  test::RecordingWindows windows;
  test::MemorySettings settings;
  test::FixedClock clock{MakeDate(2013, 7, 20)};
  test::MemoryLocks locks;
  Context context;
  MemberTable members;
  UpdateOutputs outputs;
  std::unique_ptr<ReviewDialog> dialog;
};

TEST_F(Review, OpensWithARowForEachMemberWhoPlayed) {
  const std::string mon = "Mon 01/07/13 aft", fri = "Fri 05/07/13 eve", two = "ns52.40 ew47.60";
  EXPECT_EQ(Grid(), (Rows{
                        {"No.", "Name", "Start h/c", "End h/c", "h/c %", "adj", "h/c %", "adj"},
                        {"", "", "", "", mon, mon, fri, fri},
                        {"", "", "", "", "51.23", "51.23", two, two},
                        {"1", "Smith, Jane", "-1.50", "-2.18", "58.00", "-0.68", "ns49.50", "0.00"},
                        {"3", "Lee, Mary Ann", "0.00", "0.50", "", "", "ew0.00", "1.00"},
                        {"4", "de Vries, Anna", "4.00", "3.20", "61.20", "-0.80", "", ""},
                        {"5", "Adams, Zoe", "-12.00", "-11.95", "45.00", "1.00", "ew40.00", "1.00"},
                    }));
  const ReviewGrid& g = dialog->grid();
  std::string layout;  // per column: span in rows 1 and 0, alignment in rows 1 and 3, fixed
  for (int c = 0; c < g.ColumnCount(); ++c) {
    layout += std::to_string(g.ColumnSpan(1, c)) + std::to_string(g.ColumnSpan(0, c));
    layout += std::string{"LRC"[static_cast<int>(g.Alignment(1, c))],
                          "LRC"[static_cast<int>(g.Alignment(3, c))], g.Fixed(3, c) ? 'F' : ' '};
    EXPECT_EQ(g.ColumnSpan(2, c), g.ColumnSpan(1, c));
  }
  EXPECT_EQ(layout, "11LLF11LLF11RR 11RR 21CR 01CR 21CR 01CR ");
  EXPECT_EQ(g.ColumnsWidth(), 550 + 1600 + 720 + 720 + 2 * (800 + 700));
  EXPECT_EQ(ReviewGrid::Width(g.ColumnsWidth(), 20000), 7090);
  EXPECT_EQ(ReviewGrid::Width(g.ColumnsWidth(), 7000), 6500);
  EXPECT_EQ(ReviewGrid::Height(15000, 1000), 12600);
  EXPECT_EQ(dialog->currentCell(), (ReviewDialog::Cell{3, 2}));
  EXPECT_TRUE(dialog->unsaved());
  EXPECT_EQ(dialog->lblSort.caption, "SORT BY CLICKING ON COLUMN HEADER");
}

// Test cases are named in listings by their name alone.
struct CaseName {
  template <class P>
  std::string operator()(const ::testing::TestParamInfo<P>& info) const {
    return info.param.name;
  }
};

struct SortCase {
  const char* name;
  std::vector<int> clicks;
  Strings order;
};
void PrintTo(const SortCase& c, std::ostream* out) {
  *out << c.name;
}

class Sorting : public Review, public ::testing::WithParamInterface<SortCase> {};

TEST_P(Sorting, HeadingClicksOrderTheMemberRows) {
  const auto& [name, clicks, order] = GetParam();
  for (int column : clicks)
    dialog->GridClick(0, column);
  EXPECT_EQ(Order(), order);
  EXPECT_EQ(dialog->SortKey(), clicks.back() + 1);
  EXPECT_EQ(dialog->lblSort.caption, "CLICK AGAIN TO REVERSE THE SORT ORDER");
  EXPECT_EQ(dialog->grid().Text(2, 6), "ns52.40 ew47.60");
}

INSTANTIATE_TEST_SUITE_P(
    Review, Sorting,
    ::testing::Values(
        // Descending is the exact reverse of numbers, then texts, then empty cells.
        SortCase{"FirstClickOnColumn5IsDescending", {5}, {"3", "5", "1", "4"}},
        SortCase{"NamesIgnoreCase", {1}, {"5", "4", "3", "1"}},
        SortCase{"SecondClickReverses", {1, 1}, {"1", "3", "4", "5"}},
        SortCase{"NumbersByValueEmptyLast", {4}, {"5", "1", "4", "3"}},
        SortCase{"TiesKeepTheEarlierSort", {1, 7}, {"1", "5", "3", "4"}},
        SortCase{"DescendingTiesKeepTheirOrder", {7, 7}, {"4", "3", "5", "1"}}),
    CaseName());

TEST_F(Review, ANumberOrNameClickHighlightsThatMemberOnly) {
  auto highlighted = [this] {
    std::string cells;
    for (int r = 0; r < dialog->grid().RowCount(); ++r)
      for (int c = 0; c < dialog->grid().ColumnCount(); ++c)
        if (dialog->grid().Highlighted(r, c))
          cells += dialog->grid().Text(r, 0) + std::to_string(c);
    return cells;
  };
  dialog->GridClick(3, 0);
  EXPECT_EQ(highlighted(), "121314151617");
  dialog->GridClick(5, 1);
  EXPECT_EQ(highlighted(), "424344454647");
  // Other cells, and cells outside the grid, do nothing.
  for (auto [r, c] : {std::pair{1, 4}, {2, 0}, {3, 2}, {4, 5}, {9, 0}, {3, 8}, {-1, 0}})
    dialog->GridClick(r, c);
  dialog->GridClick(0, 1);  // the highlight stays with its member through a sort
  EXPECT_EQ(Order(), (Strings{"5", "4", "3", "1"}));
  EXPECT_EQ(highlighted(), "424344454647");
  EXPECT_TRUE(dialog->grid().Highlighted(4, 7));
}

// Row, answer, whether the range message comes, the saved text of the handicap afterwards and
// the cell.
struct EditCase {
  const char* name;
  int row;
  std::optional<std::string> answer;
  bool refused;
  std::string handicap;
  std::string cell;
};
void PrintTo(const EditCase& c, std::ostream* out) {
  *out << c.name;
}
class Editing : public Review, public ::testing::WithParamInterface<EditCase> {};

TEST_P(Editing, AValueWithinTheRangeChangesTheMemberTheCellAndUnsaved) {
  const auto& [name, row, answer, refused, handicap, cell] = GetParam();
  SaveNow();
  const std::string before = Grid()[static_cast<size_t>(row)][3];
  const auto m = static_cast<short>(std::stoi(Grid()[static_cast<size_t>(row)][0]));
  dialogs.ExpectPrompt(answer);
  if (refused) dialogs.ExpectMessage("Handicap must be a number between -12 and 6");
  dialog->GridClick(row, 3);
  EXPECT_EQ(dialogs.prompts.back(), "New handicap for " + members.Member(m).FullName);
  EXPECT_EQ(dialogs.offered.back(),
            row == 6 ? "Update Handicap: -11.95" : "Update Handicap: -2.18");
  EXPECT_EQ(NumberText(*members.Member(m).EndHandicap), handicap);
  EXPECT_EQ(Grid()[static_cast<size_t>(row)][3], cell);
  EXPECT_EQ(dialog->unsaved(), cell != before);
  EXPECT_EQ(dialogs.messages.back().icon, Icon::None);
}

INSTANTIATE_TEST_SUITE_P(
    Review, Editing,
    ::testing::Values(EditCase{"Cancelled", 3, std::nullopt, false, "-2.18", "-2.18"},
                      EditCase{"NotANumber", 3, "two", true, "-2.18", "-2.18"},
                      EditCase{"BelowTheRange", 3, "-12.5", true, "-2.18", "-2.18"},
                      EditCase{"LowerBound", 3, "-12", false, "-12", "-12.00"},
                      EditCase{"UpperBound", 3, "6", false, "6", "6.00"},
                      EditCase{"TheCurrentValue", 3, "-2.18", false, "-2.18", "-2.18"},
                      EditCase{"TheOfferedRoundedValue", 6, "-11.95", false, "-11.95", "-11.95"}),
    CaseName());

// The answer to the save question, the messages that follow, whether the folder can be written,
// and whether the window closes and the handicaps are saved.
struct BackCase {
  const char* name;
  Answer answer;
  std::vector<std::pair<std::string, Answer>> messages;
  bool writable;
  bool closes;
  bool saved;
};
void PrintTo(const BackCase& c, std::ostream* out) {
  *out << c.name;
}
class Back : public Review, public ::testing::WithParamInterface<BackCase> {};

TEST_P(Back, AsksWhileUnsavedAndClosesUnlessCancelledOrTheSaveFailed) {
  const auto& [name, answer, messages, writable, closes, saved] = GetParam();
  if (!writable) ::rmdir(context.HandicapFolder.c_str());
  dialogs.ExpectMessage("Do you want to save the new handicaps?", answer);
  for (const auto& [text, reply] : messages)
    dialogs.ExpectMessageContaining(text, reply);
  EXPECT_EQ(dialog->BackClick(), closes);
  EXPECT_EQ(dialogs.messages.front().buttons, Buttons::YesNoCancel);
  EXPECT_EQ(dialogs.messages.front().icon, Icon::None);
  EXPECT_EQ(dialog->unsaved(), !saved);
  EXPECT_EQ(Saved(), saved);
  EXPECT_EQ(test::ReadBytes(context.MemberFile) == kClubFile, !saved);
}

INSTANTIATE_TEST_SUITE_P(
    Review, Back,
    ::testing::Values(
        BackCase{"Cancel", Answer::Cancel, {}, true, false, false},
        BackCase{"No", Answer::No, {}, true, true, false},
        BackCase{
            "YesThenNoToOverwriting", Answer::Yes, {{kOverwrite, Answer::No}}, true, true, false},
        BackCase{"YesSaves",
                 Answer::Yes,
                 {{kOverwrite, Answer::Yes}, {kSaved, Answer::OK}},
                 true,
                 true,
                 true},
        BackCase{"YesButTheFolderCannotBeWritten",
                 Answer::Yes,
                 {{kOverwrite, Answer::Yes}, {"Error cannot save ", Answer::OK}},
                 false,
                 false,
                 false}),
    CaseName());

TEST_F(Review, WithNoMemberWhoPlayedTheWindowSaysSoAndStillSaves) {
  outputs.PlayedFlags.Clear();
  dialog = std::make_unique<ReviewDialog>(context, members, outputs);
  EXPECT_EQ(dialog->grid().RowCount(), 3);
  EXPECT_FALSE(dialog->currentCell());
  EXPECT_EQ(dialog->Label1.caption, "No member played in the sessions used.");
  dialog->GridClick(0, 5);
  dialog->GridClick(3, 3);  // no such row: nothing is asked
  EXPECT_EQ(dialog->Printout().note, "No member played in the sessions used.");
  SaveNow();
  // Members without a row are saved with the handicap the run gave them; Back then just closes.
  EXPECT_EQ(test::ReadBytes(context.HandicapFolder + "130705.han"),
            "5\r\n-2.18\r\n6\r\n0.5\r\n3.2\r\n-11.95\r\n");
  EXPECT_EQ(context.Parameters.LastUpdated, "05 July 2013 ");
  EXPECT_TRUE(dialog->BackClick());
}

TEST_F(Review, AfterSortingAnEditReachesTheRowsMemberAndThePrintoutFollowsTheRows) {
  dialog->GridClick(0, 1);
  dialogs.ExpectPrompt("2");
  dialog->GridClick(3, 3);
  EXPECT_EQ(dialogs.prompts.back(), "New handicap for Zoe Adams");
  EXPECT_EQ(*members.Member(5).EndHandicap, 2);
  const PrintedTable t = dialog->Printout();
  EXPECT_EQ(t.title + " / " + t.subtitle,
            "Handicap Changes / Update using sessions up to and including Friday 05 July 2013");
  ASSERT_EQ(t.headings.size(), 3U);
  std::string labels;
  for (const PrintedCell& cell : t.headings[1])
    labels += cell.text + "/" + std::to_string(cell.span) + " ";
  EXPECT_EQ(labels, "/1 /1 /1 /1 Mon 01/07/13 aft/2 Fri 05/07/13 eve/2 ");
  const Rows grid = Grid();
  EXPECT_EQ(t.rows, Rows(grid.begin() + 3, grid.end()));
  EXPECT_EQ(t.rows.front()[1] + " " + t.rows.front()[3], "Adams, Zoe 2.00");
  EXPECT_EQ(PageText(2, 3), "Page 2 of 3");
}

}  // namespace
}  // namespace pg
