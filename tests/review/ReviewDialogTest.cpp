#include "review/ReviewDialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "base/Files.h"
#include "base/Numbers.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

using Rows = std::vector<std::vector<std::string>>;

const char* const kOverwrite =
    "This will overwrite the current handicaps in the membership file.\r\nDo you want to do this?";
const char* const kSaved = "New handicaps have been saved";
const char* const kOutOfRange = "Handicap must be a number between -12 and 6";

// Scripted dialogs that also keep each prompt's title and offered answer.
class PromptDialogs : public test::ScriptedDialogs {
 public:
  std::optional<std::string> Prompt(const std::string& message, const std::string& title,
                                    const std::string& defaultAnswer) override {
    titles.push_back(title);
    defaults.push_back(defaultAnswer);
    return ScriptedDialogs::Prompt(message, title, defaultAnswer);
  }
  std::vector<std::string> titles;
  std::vector<std::string> defaults;
};

const std::string kClubFile =
    " 5             11           25/06/13\r\n"
    "101,Jane,Smith,,,F,-1.5,Y,,,\r\n"
    "102,Ali,Khan,,,M,2.32,Y,,,\r\n"
    "103,Mary Ann,Lee,,,F,0,N,,,\r\n"
    "104,Anna,de Vries,,,F,4,Y,,,\r\n"
    "105,Zoe,Adams,,,F,-12,Y,,,\r\n";

// Two sessions: one winner group, then two with different averages. Member 2 played in
// neither; member 3's net score of 0 is real and was adjusted; member 5's end handicap is the
// rounding's -11.950000000000001.
class Review : public ::testing::Test {
 protected:
  Review() : context(Ports{dialogs, windows, settings, clock}) {
    context.SetFolders(dir.path());
    context.ProgramVersion = "1.0";
    ::mkdir(context.HandicapFolder.c_str(), 0755);
    test::WriteBytes(context.MemberFile, kClubFile);
    LoadMembers(members, context);
    outputs.Size(members.MemberCount(), 2);
    outputs.SessionLabels(0) = "Mon 01/07/13 aft";
    outputs.SessionLabels(1) = "Fri 05/07/13 eve";
    outputs.SessionAverages(0, 1) = outputs.SessionAverages(0, 2) = 51.23;
    outputs.SessionAverages(1, 1) = 52.4;
    outputs.SessionAverages(1, 2) = 47.6;
    outputs.LastSessionDate = MakeDate(2013, 7, 5);
    const double ends[] = {-2.18, 6, 0.5, 3.2, -0.01 * 1195};
    for (short m = 1; m <= 5; ++m)
      members.Member(m).EndHandicap = ends[m - 1];
    Played(1, 0, 0, 58.0F, -0.68F);
    Played(1, 1, 1, 49.5F, 0);
    Played(3, 1, 2, 0, 1);
    Played(4, 0, 0, 61.2F, -0.8F);
    Played(5, 0, 0, 45, 1);
    Played(5, 1, 2, 40, 1);
  }

  void Played(short m, short s, short direction, float net, float adjustment) {
    outputs.SessionResults(m, s) = {true, direction, net, adjustment};
    outputs.PlayedFlags(m) = 1;
  }
  ReviewDialog& Open() {
    dialog = std::make_unique<ReviewDialog>(context, members, outputs);
    return *dialog;
  }
  Rows Grid() const {
    Rows out;
    for (int r = 0; r < dialog->grid().RowCount(); ++r) {
      out.emplace_back();
      for (int c = 0; c < dialog->grid().ColumnCount(); ++c)
        out.back().push_back(dialog->grid().Text(r, c));
    }
    return out;
  }
  // The member number of each member row, top to bottom.
  std::vector<std::string> Order() const {
    std::vector<std::string> out;
    for (int r = ReviewGrid::kFixedRows; r < dialog->grid().RowCount(); ++r)
      out.push_back(dialog->grid().Text(r, 0));
    return out;
  }
  void SaveNow() {
    dialogs.ExpectMessage(kOverwrite, Answer::Yes).ExpectMessage(kSaved);
    dialog->SaveClick();
    dialogs.VerifyAllUsed();
  }
  std::string HistoryFile() const { return context.HandicapFolder + "130705.han"; }

  test::TempFolder dir;
  PromptDialogs dialogs;
  test::RecordingWindows windows;
  test::MemorySettings settings;
  test::FixedClock clock{MakeDate(2013, 7, 20)};
  Context context;
  MemberTable members;
  UpdateOutputs outputs;
  std::unique_ptr<ReviewDialog> dialog;
};

TEST_F(Review, OpensWithAMemberRowForEachMemberWhoPlayed) {
  const ReviewDialog& d = Open();
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
  const ReviewGrid& g = d.grid();
  std::vector<int> spans, widths;
  std::string aligned;  // row 1, then a member row, per column
  for (int c = 0; c < g.ColumnCount(); ++c) {
    spans.push_back(g.ColumnSpan(1, c));
    widths.push_back(g.ColumnWidth(c));
    EXPECT_EQ(g.ColumnSpan(2, c), spans.back());
    EXPECT_EQ(g.ColumnSpan(0, c), 1);
    aligned += "LRC"[static_cast<int>(g.Alignment(1, c))];
    aligned += "LRC"[static_cast<int>(g.Alignment(3, c))];
  }
  EXPECT_EQ(spans, (std::vector<int>{1, 1, 1, 1, 2, 0, 2, 0}));
  EXPECT_EQ(widths, (std::vector<int>{550, 1600, 720, 720, 800, 700, 800, 700}));
  EXPECT_EQ(aligned, "LLLLRRRRCRCRCRCR");
  EXPECT_EQ(ReviewGrid::Width(g.ColumnsWidth(), 20000), 7090);
  EXPECT_EQ(ReviewGrid::Width(g.ColumnsWidth(), 7000), 6500);
  EXPECT_EQ(ReviewGrid::Height(15000, 1000), 12600);
  EXPECT_TRUE(g.Fixed(2, 7) && g.Fixed(6, 1) && !g.Fixed(3, 2));
  EXPECT_EQ(d.currentCell(), (ReviewDialog::Cell{3, 2}));
  EXPECT_TRUE(d.unsaved());
  EXPECT_EQ(d.SortKey(), 6);
  EXPECT_EQ(d.SortOrder(), 1);
  EXPECT_EQ(d.lblSort.caption, "SORT BY CLICKING ON COLUMN HEADER");
  EXPECT_EQ(d.Label1.caption,
            "Click on a name to highlight that member. Click on a handicap to alter it.");
}

struct SortCase {
  const char* name;
  std::vector<int> headingClicks;
  std::vector<std::string> order;
  short sortOrder;
};
void PrintTo(const SortCase& c, std::ostream* out) {
  *out << c.name;
}

class Sorting : public Review, public ::testing::WithParamInterface<SortCase> {};

TEST_P(Sorting, HeadingClicksOrderTheMemberRows) {
  Open();
  const Rows before = Grid();
  const Rows headings(before.begin(), before.begin() + 3);
  for (int column : GetParam().headingClicks)
    dialog->GridClick(0, column);
  EXPECT_EQ(Order(), GetParam().order);
  EXPECT_EQ(dialog->SortKey(), GetParam().headingClicks.back() + 1);
  EXPECT_EQ(dialog->SortOrder(), GetParam().sortOrder);
  EXPECT_EQ(dialog->lblSort.caption, "CLICK AGAIN TO REVERSE THE SORT ORDER");
  const Rows after = Grid();
  EXPECT_EQ(Rows(after.begin(), after.begin() + 3), headings);
}

INSTANTIATE_TEST_SUITE_P(
    Review, Sorting,
    ::testing::Values(
        // Descending is the exact reverse of numbers, then texts, then empty cells.
        SortCase{"FirstClickOnColumn5IsDescending", {5}, {"3", "5", "1", "4"}, 2},
        SortCase{"NamesIgnoreCase", {1}, {"5", "4", "3", "1"}, 1},
        SortCase{"SecondClickReverses", {1, 1}, {"1", "3", "4", "5"}, 2},
        SortCase{"NumbersByValueEmptyCellsLast", {4}, {"5", "1", "4", "3"}, 1},
        SortCase{"DirectionTextsAsText", {6}, {"3", "5", "1", "4"}, 1},
        SortCase{"TiesKeepMemberOrder", {7}, {"1", "3", "5", "4"}, 1},
        SortCase{"TiesKeepTheEarlierSort", {1, 7}, {"1", "5", "3", "4"}, 1},
        SortCase{"DescendingTiesKeepTheirOrder", {7, 7}, {"4", "3", "5", "1"}, 2},
        SortCase{"AnotherColumnStartsAscending", {5, 2}, {"5", "1", "3", "4"}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Review, ANumberOrNameClickHighlightsThatMemberOnly) {
  Open();
  auto highlighted = [this] {
    std::vector<std::string> rows;
    for (int r = 0; r < dialog->grid().RowCount(); ++r)
      for (int c = 0; c < dialog->grid().ColumnCount(); ++c)
        if (dialog->grid().Highlighted(r, c))
          rows.push_back(dialog->grid().Text(r, 0) + "/" + std::to_string(c));
    return rows;
  };
  dialog->GridClick(3, 0);
  EXPECT_EQ(highlighted(), (std::vector<std::string>{"1/2", "1/3", "1/4", "1/5", "1/6", "1/7"}));
  dialog->GridClick(5, 1);
  EXPECT_EQ(highlighted(), (std::vector<std::string>{"4/2", "4/3", "4/4", "4/5", "4/6", "4/7"}));
  // Cells that are neither a name, a number nor a new handicap change nothing.
  for (auto [r, c] : {std::pair{1, 4}, {2, 0}, {3, 2}, {4, 5}, {9, 0}, {3, 8}, {-1, 0}})
    dialog->GridClick(r, c);
  dialog->GridClick(0, 1);  // the highlight stays with its member through a sort
  EXPECT_EQ(Order(), (std::vector<std::string>{"5", "4", "3", "1"}));
  EXPECT_EQ(highlighted().front(), "4/2");
  EXPECT_TRUE(dialog->grid().Highlighted(4, 7));
}

struct EditCase {
  const char* name;
  int row;
  std::optional<std::string> answer;
  bool refused;
  std::string endHandicap;  // as saved, afterwards
  std::string cell;
};
void PrintTo(const EditCase& c, std::ostream* out) {
  *out << c.name;
}

class Editing : public Review, public ::testing::WithParamInterface<EditCase> {};

TEST_P(Editing, ANewHandicapWithinTheRangeChangesTheMemberAndTheCell) {
  const EditCase& e = GetParam();
  Open();
  SaveNow();
  const bool changes = !e.refused && e.cell != Grid()[static_cast<size_t>(e.row)][3];
  const short m = static_cast<short>(std::stoi(Grid()[static_cast<size_t>(e.row)][0]));
  dialogs.ExpectPrompt(e.answer);
  if (e.refused) dialogs.ExpectMessage(kOutOfRange);
  dialog->GridClick(e.row, 3);
  EXPECT_EQ(dialogs.prompts.back(), "New handicap for " + members.Member(m).FullName);
  EXPECT_EQ(dialogs.titles.back(), "Update Handicap");
  EXPECT_EQ(dialogs.defaults.back(), e.row == 6 ? "-11.95" : "-2.18");
  EXPECT_EQ(NumberText(*members.Member(m).EndHandicap), e.endHandicap);
  EXPECT_EQ(Grid()[static_cast<size_t>(e.row)][3], e.cell);
  EXPECT_EQ(dialog->unsaved(), changes);
  if (e.refused) {
    EXPECT_EQ(dialogs.messages.back().icon, Icon::None);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Review, Editing,
    ::testing::Values(EditCase{"Cancelled", 3, std::nullopt, false, "-2.18", "-2.18"},
                      EditCase{"EmptyAnswer", 3, "", false, "-2.18", "-2.18"},
                      EditCase{"NotANumber", 3, "two", true, "-2.18", "-2.18"},
                      EditCase{"BelowTheRange", 3, "-12.5", true, "-2.18", "-2.18"},
                      EditCase{"AboveTheRange", 3, "6.01", true, "-2.18", "-2.18"},
                      EditCase{"LowerBound", 3, "-12", false, "-12", "-12.00"},
                      EditCase{"UpperBound", 3, "6", false, "6", "6.00"},
                      EditCase{"BlanksAround", 3, " 1.5 ", false, "1.5", "1.50"},
                      EditCase{"TheCurrentValue", 3, "-2.18", false, "-2.18", "-2.18"},
                      EditCase{"TheOfferedRoundedValue", 6, "-11.95", false, "-11.95", "-11.95"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Review, AnEditAfterSortingChangesTheMemberNamedInTheRow) {
  Open();
  dialog->GridClick(0, 1);
  dialogs.ExpectPrompt("2");
  dialog->GridClick(3, 3);
  EXPECT_EQ(dialogs.prompts.back(), "New handicap for Zoe Adams");
  EXPECT_EQ(*members.Member(5).EndHandicap, 2);
  EXPECT_EQ(Grid()[3][3], "2.00");
  EXPECT_EQ(Grid()[3][1], "Adams, Zoe");
}

TEST_F(Review, SaveWritesEveryMemberAndBackThenClosesAtOnce) {
  Open();
  SaveNow();
  EXPECT_FALSE(dialog->unsaved());
  // Member 2 played in neither session and has no row, but the run's handicap is saved.
  EXPECT_EQ(test::ReadBytes(HistoryFile()), "5\r\n-2.18\r\n6\r\n0.5\r\n3.2\r\n-11.95\r\n");
  EXPECT_NE(test::ReadBytes(context.MemberFile).find("102,Ali,Khan,,,M,6,Y"), std::string::npos);
  EXPECT_EQ(context.Parameters.LastUpdated, "05 July 2013 ");
  EXPECT_TRUE(dialog->BackClick());
}

struct BackCase {
  const char* name;
  std::vector<std::pair<std::string, Answer>> messages;  // after the save question
  Answer toTheQuestion;
  bool unwritable;
  bool closes;
  bool saved;
};
void PrintTo(const BackCase& c, std::ostream* out) {
  *out << c.name;
}

class Back : public Review, public ::testing::WithParamInterface<BackCase> {};

TEST_P(Back, AsksWhileUnsavedAndClosesUnlessCancelledOrTheSaveFailed) {
  const BackCase& b = GetParam();
  Open();
  if (b.unwritable) ::rmdir(context.HandicapFolder.c_str());
  dialogs.ExpectMessage("Do you want to save the new handicaps?", b.toTheQuestion);
  for (const auto& [text, answer] : b.messages)
    dialogs.ExpectMessageContaining(text, answer);
  EXPECT_EQ(dialog->BackClick(), b.closes);
  EXPECT_EQ(dialogs.messages.front().buttons, Buttons::YesNoCancel);
  EXPECT_EQ(dialogs.messages.front().icon, Icon::None);
  EXPECT_EQ(dialog->unsaved(), !b.saved);
  EXPECT_EQ(FileExists(HistoryFile()), b.saved);
  EXPECT_EQ(test::ReadBytes(context.MemberFile) == kClubFile, !b.saved);
  EXPECT_EQ(context.Parameters.LastUpdated.empty(), !b.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Review, Back,
    ::testing::Values(
        BackCase{"Cancel", {}, Answer::Cancel, false, false, false},
        BackCase{"No", {}, Answer::No, false, true, false},
        BackCase{
            "YesThenNoToOverwriting", {{kOverwrite, Answer::No}}, Answer::Yes, false, true, false},
        BackCase{"YesSaves",
                 {{kOverwrite, Answer::Yes}, {kSaved, Answer::OK}},
                 Answer::Yes,
                 false,
                 true,
                 true},
        BackCase{"YesButTheFolderCannotBeWritten",
                 {{kOverwrite, Answer::Yes}, {"Error cannot save ", Answer::OK}},
                 Answer::Yes,
                 true,
                 false,
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Review, WithNoMemberWhoPlayedTheWindowSaysSoAndStillSaves) {
  for (short m = 0; m <= members.MemberCount(); ++m)
    outputs.PlayedFlags(m) = 0;
  Open();
  EXPECT_EQ(dialog->grid().RowCount(), 3);
  EXPECT_FALSE(dialog->currentCell());
  EXPECT_EQ(dialog->Label1.caption, "No member played in the sessions used.");
  dialog->GridClick(0, 5);
  dialog->GridClick(3, 3);  // no such row: nothing is asked
  EXPECT_EQ(dialog->Printout().note, "No member played in the sessions used.");
  SaveNow();
  EXPECT_EQ(context.Parameters.LastUpdated, "05 July 2013 ");
  EXPECT_TRUE(dialog->BackClick());
}

TEST_F(Review, PrintoutHoldsTheHeadingsAndTheRowsAsSorted) {
  Open();
  dialog->GridClick(0, 1);
  const PrintedTable t = dialog->Printout();
  EXPECT_EQ(t.title, "Handicap Changes");
  EXPECT_EQ(t.subtitle, "Update using sessions up to and including Friday 05 July 2013");
  EXPECT_EQ(t.widths, (std::vector<int>{550, 1600, 720, 720, 800, 700, 800, 700}));
  ASSERT_EQ(t.headings.size(), 3U);
  EXPECT_EQ(t.headings[0].size(), 8U);
  std::vector<std::pair<std::string, int>> labels;
  for (const PrintedCell& cell : t.headings[1])
    labels.emplace_back(cell.text, cell.span);
  EXPECT_EQ(
      labels,
      (std::vector<std::pair<std::string, int>>{
          {"", 1}, {"", 1}, {"", 1}, {"", 1}, {"Mon 01/07/13 aft", 2}, {"Fri 05/07/13 eve", 2}}));
  const Rows grid = Grid();
  EXPECT_EQ(t.rows, Rows(grid.begin() + 3, grid.end()));
  EXPECT_EQ(t.rows.front()[1], "Adams, Zoe");
  EXPECT_TRUE(t.note.empty());
  EXPECT_EQ(PageText(2, 3), "Page 2 of 3");
}

}  // namespace
}  // namespace pg
