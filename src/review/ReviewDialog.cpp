#include "review/ReviewDialog.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "base/Guard.h"
#include "base/Numbers.h"

namespace pg {

namespace {

constexpr int kFirstSessionColumn = 4;
constexpr int kGridMargin = 500;     // twips beside the last column, and kept off the screen edge
constexpr int kGridFootroom = 1400;  // twips below the grid for the buttons
constexpr const char* kFigureFormat = "0.00";  // the one number format of the grid

std::string Figure(double value) {
  return FormatNumber(value, kFigureFormat);
}

// One member's direction in a session as the cell shows it before the net score.
std::string DirectionText(short direction) {
  switch (direction) {
    case 1: return "ns";
    case 2: return "ew";
    default: return "";
  }
}

// A session's averages: one figure when the directions share it, as they do with one winner
// group; otherwise both, each named.
std::string AveragesText(const UpdateOutputs& outputs, short session) {
  const double ns = outputs.SessionAverages(session, 1);
  const double ew = outputs.SessionAverages(session, 2);
  if (ns == ew) return Figure(ns);
  return "ns" + Figure(ns) + " ew" + Figure(ew);
}

// How a cell takes its place in an ascending sort: numbers by value first, then texts
// alphabetically, then empty cells (a session the member did not play). Descending is the exact
// reverse, so empty cells come first there.
struct SortValue {
  int kind = 0;  // 0 number, 1 text, 2 empty
  double number = 0;
  std::string text;

  explicit SortValue(const std::string& cell) {
    if (cell.empty()) {
      kind = 2;
    } else if (const std::optional<double> n = ParseNumber(cell)) {
      number = *n;
    } else {
      // Letters without case, so "de Vries" sorts among the D's as a person reads a list.
      kind = 1;
      text.resize(cell.size());
      std::transform(cell.begin(), cell.end(), text.begin(), LowerLatin1);
    }
  }

  bool operator<(const SortValue& other) const {
    if (kind != other.kind) return kind < other.kind;
    if (kind == 0) return number < other.number;
    return text < other.text;
  }
};

}  // namespace

const std::string& ReviewGrid::Text(int row, int column) const {
  static const std::string kNone;
  if (row < 0 || row >= RowCount() || column < 0) return kNone;
  const std::vector<std::string>& cells = rows_[static_cast<size_t>(row)].cells;
  return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)] : kNone;
}

std::string ReviewGrid::ColumnName(int column) const {
  const std::string& label = Text(1, column);
  return label.empty() ? Text(0, column) : Text(0, column) + " " + label;
}

std::string ReviewGrid::RowName(int row) const {
  if (row < kFixedRows || row >= RowCount()) return {};
  return Text(row, 0) + " " + Text(row, 1);
}

bool ReviewGrid::Highlighted(int row, int column) const {
  return row >= kFixedRows && row < RowCount() && column >= 2 && column < columns_ &&
         rows_[static_cast<size_t>(row)].highlighted;
}

int ReviewGrid::ColumnSpan(int row, int column) const {
  if ((row == 1 || row == 2) && column >= kFirstSessionColumn)
    return (column - kFirstSessionColumn) % 2 == 0 ? 2 : 0;
  return 1;
}

ReviewGrid::Align ReviewGrid::Alignment(int row, int column) const {
  if (ColumnSpan(row, column) != 1) return Align::Centre;
  return column >= 2 ? Align::Right : Align::Left;
}

int ReviewGrid::ColumnWidth(int column) const {
  static constexpr int kFixedWidths[] = {550, 1600, 720, 720};
  if (column < 0) return 0;
  if (column < kFirstSessionColumn) return kFixedWidths[column];
  return (column - kFirstSessionColumn) % 2 == 0 ? 800 : 700;
}

int ReviewGrid::ColumnsWidth() const {
  int width = 0;
  for (int c = 0; c < columns_; ++c)
    width += ColumnWidth(c);
  return width;
}

int ReviewGrid::Width(int columnsWidth, int screenWidth) {
  return std::min(columnsWidth + kGridMargin, screenWidth - kGridMargin);
}

int ReviewGrid::Height(int screenHeight, int top) {
  return std::max(screenHeight - top - kGridFootroom, 0);
}

ReviewDialog::ReviewDialog(Context& context, MemberTable& members, UpdateOutputs& outputs)
    : context_(context), members_(members), outputs_(outputs) {
  Load();
}

void ReviewDialog::Load() {
  Guard guard(context_.dialogs(), kName);
  unsaved_ = true;
  std::vector<short> rowMember;  // the member of each member row, in member order
  guard.Step(100, [&] {
    for (short m = 1; m <= members_.MemberCount(); ++m)
      if (outputs_.PlayedFlags(m)) rowMember.push_back(m);
  });
  const short sessions = std::max<short>(outputs_.SessionCount, 0);
  guard.Step(110, [&] {
    grid_.columns_ = kFirstSessionColumn + 2 * sessions;
    grid_.rows_.assign(ReviewGrid::kFixedRows + rowMember.size(), ReviewGrid::Row{});
    for (ReviewGrid::Row& row : grid_.rows_)
      row.cells.resize(static_cast<size_t>(grid_.columns_));
  });
  guard.Step(120, [&] {
    std::vector<std::string>& head = grid_.rows_.at(0).cells;
    head.at(0) = "No.";
    head.at(1) = "Name";
    head.at(2) = "Start h/c";
    head.at(3) = "End h/c";
    for (short s = 0; s < sessions; ++s) {
      const size_t c = kFirstSessionColumn + 2 * static_cast<size_t>(s);
      head.at(c) = "h/c %";
      head.at(c + 1) = "adj";
      grid_.rows_.at(1).cells.at(c) = grid_.rows_.at(1).cells.at(c + 1) = outputs_.SessionLabels(s);
      grid_.rows_.at(2).cells.at(c) = grid_.rows_.at(2).cells.at(c + 1) = AveragesText(outputs_, s);
    }
  });
  sortKey_ = 6;
  sortOrder_ = 1;
  guard.Step(130, [&] {
    for (size_t i = 0; i < rowMember.size(); ++i) {
      const short m = rowMember[i];
      const MemberRecord& member = members_.Member(m);
      std::vector<std::string>& cells = grid_.rows_.at(ReviewGrid::kFixedRows + i).cells;
      cells.at(0) = std::to_string(m);
      cells.at(1) = member.Surname + ", " + member.FirstName;
      cells.at(2) = Figure(member.StartHandicap);
      cells.at(3) = Figure(member.EndHandicap.value_or(member.StartHandicap));
      for (short s = 0; s < sessions; ++s) {
        // A record, not a positive net score, says the member played: a net score of 0 or
        // below is rare but real, and its adjustment was applied.
        const SessionResult& result = outputs_.SessionResults(m, s);
        if (!result.Played) continue;
        const size_t c = kFirstSessionColumn + 2 * static_cast<size_t>(s);
        cells.at(c) = DirectionText(result.Direction) + Figure(result.NetScore);
        cells.at(c + 1) = Figure(result.Adjustment);
      }
    }
  });
  if (grid_.MemberRowCount() > 0) {
    current_ = Cell{ReviewGrid::kFixedRows, 2};
  } else {
    current_.reset();
    Label1.caption = kNoMemberPlayedText;
  }
}

void ReviewDialog::GridClick(int row, int column) {
  if (row < 0 || row >= grid_.RowCount() || column < 0 || column >= grid_.ColumnCount()) return;
  Guard guard(context_.dialogs(), kName);
  if (row == 0) {
    guard.Step(100, [&] {
      if (column + 1 == sortKey_) {
        sortOrder_ = static_cast<short>(3 - sortOrder_);
      } else {
        sortKey_ = static_cast<short>(column + 1);
        sortOrder_ = 1;
      }
      Sort(column);
    });
    lblSort.caption = kSortAgainText;
  } else if (row >= ReviewGrid::kFixedRows && column < ReviewGrid::kFixedColumns) {
    guard.Step(110, [&] { Highlight(row); });
  } else if (row >= ReviewGrid::kFixedRows && column == 3) {
    EditHandicap(row);
  }
}

void ReviewDialog::Sort(int column) {
  const auto first = grid_.rows_.begin() + ReviewGrid::kFixedRows;
  const size_t n = grid_.rows_.size() - ReviewGrid::kFixedRows;
  std::vector<SortValue> values;
  values.reserve(n);
  for (size_t i = 0; i < n; ++i)
    values.emplace_back(
        first[static_cast<std::ptrdiff_t>(i)].cells.at(static_cast<size_t>(column)));
  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), size_t{0});
  // Stable, so rows that tie keep the order an earlier sort gave them.
  const bool ascending = sortOrder_ == 1;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return ascending ? values[a] < values[b] : values[b] < values[a];
  });
  std::vector<ReviewGrid::Row> sorted;
  sorted.reserve(n);
  for (size_t i : order)
    sorted.push_back(std::move(first[static_cast<std::ptrdiff_t>(i)]));
  std::move(sorted.begin(), sorted.end(), first);
}

// The highlight belongs to the member, so it moves with the row when the grid is sorted.
void ReviewDialog::Highlight(int row) {
  for (size_t r = ReviewGrid::kFixedRows; r < grid_.rows_.size(); ++r)
    grid_.rows_[r].highlighted = static_cast<int>(r) == row;
}

void ReviewDialog::EditHandicap(int row) {
  Dialogs& dialogs = context_.dialogs();
  Guard guard(dialogs, kName);
  // The member is named by the row's number, so an edit reaches the right one in any order.
  MemberRecord* member = nullptr;
  guard.Step(200, [&] {
    const double number = NumericValue(grid_.Text(row, 0));
    member = &members_.Member(CheckedShort(std::lround(number)));
  });
  if (member == nullptr) return;

  // Compared and offered as the text a save writes, so a value such as -11.950000000000001
  // from the rounding shows as -11.95 and taking the default changes nothing.
  const std::string current = NumberText(member->EndHandicap.value_or(member->StartHandicap));
  std::optional<std::string> answer;
  guard.Step(210,
             [&] { answer = dialogs.Prompt(kEditPrompt + member->FullName, kEditTitle, current); });
  if (!answer || answer->empty()) return;

  const std::array<double, 2>& range = context_.Parameters.HandicapRange;
  const std::optional<double> value = ParseNumber(*answer);
  if (!value || *value < range[0] || *value > range[1]) {
    guard.Step(220, [&] {
      dialogs.Message("Handicap must be a number between " + NumberText(range[0]) + " and " +
                          NumberText(range[1]),
                      Buttons::OK, Icon::None);
    });
    return;
  }
  if (NumberText(*value) == current) return;
  guard.Step(230, [&] {
    member->EndHandicap = *value;
    unsaved_ = true;
    grid_.rows_.at(static_cast<size_t>(row)).cells.at(3) = Figure(*value);
  });
}

bool ReviewDialog::Save() {
  Guard guard(context_.dialogs(), kName);
  SaveOutcome outcome = SaveOutcome::Failed;
  guard.Step(300, [&] {
    if (!outputs_.LastSessionDate) Raise(err::kInvalidUseOfNull);
    outcome = SaveHandicaps(members_, context_, *outputs_.LastSessionDate, unsaved_, &outputs_);
  });
  return outcome != SaveOutcome::Failed;
}

void ReviewDialog::SaveClick() {
  Save();
}

void ReviewDialog::PrintFailed() {
  Guard guard(context_.dialogs(), kName);
  guard.Step(500,
             [&] { context_.dialogs().Message(kPrintFailedText, Buttons::OK, Icon::Warning); });
}

bool ReviewDialog::BackClick() {
  if (!unsaved_) return true;
  Guard guard(context_.dialogs(), kName);
  Answer answer = Answer::Cancel;  // a question that could not be asked keeps the window open
  guard.Step(400, [&] {
    answer = context_.dialogs().Message(kSaveQuestion, Buttons::YesNoCancel, Icon::None);
  });
  switch (answer) {
    // A save that fails keeps the window, and with it the run and every correction, open.
    case Answer::Yes: return Save();
    case Answer::No: return true;
    default: return false;
  }
}

PrintedTable ReviewDialog::Printout() const {
  PrintedTable table;
  table.title = kCaption;
  if (outputs_.LastSessionDate) table.subtitle = UpdateSubtitle(*outputs_.LastSessionDate);
  for (int c = 0; c < grid_.ColumnCount(); ++c) {
    table.widths.push_back(grid_.ColumnWidth(c));
    table.align.push_back(grid_.Alignment(ReviewGrid::kFixedRows, c));
  }
  for (int r = 0; r < ReviewGrid::kFixedRows && r < grid_.RowCount(); ++r) {
    std::vector<PrintedCell>& heading = table.headings.emplace_back();
    for (int c = 0; c < grid_.ColumnCount(); ++c)
      if (const int span = grid_.ColumnSpan(r, c); span > 0)
        heading.push_back({grid_.Text(r, c), span, grid_.Alignment(r, c)});
  }
  for (int r = ReviewGrid::kFixedRows; r < grid_.RowCount(); ++r)
    table.rows.push_back(grid_.rows_[static_cast<size_t>(r)].cells);
  if (table.rows.empty()) table.note = kNoMemberPlayedText;
  return table;
}

}  // namespace pg
