#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/Context.h"
#include "base/Control.h"
#include "base/PrintedTable.h"
#include "history/ChartScale.h"
#include "history/HistoryReader.h"
#include "review/Members.h"

namespace pg {

// A table as the window shows it: one heading row over rows of texts.
struct TextTable {
  std::vector<std::string> headings;
  std::vector<CellAlign> align;  // per column
  std::vector<int> widths;       // twips per column
  std::vector<std::vector<std::string>> rows;
};

// A member's handicap before the first update and after each, for the chart; its name and
// description are what a screen reader says of it, and the table of updates holds the same
// figures.
struct HandicapChart {
  std::string name;
  std::string description;
  double lower = 0;  // the club's handicap range
  double upper = 0;
  struct Point {
    std::string label;  // "23/02/26", or "before" for the handicap before the first update
    double handicap = 0;
    bool lessCertain = false;
  };
  std::vector<Point> points;  // oldest first, one step apart

  // The handicap axis with room for at most `most` grid lines: the club's range and every point.
  ChartScale Scale(int most) const;
};

// The History window "frmHistory": the members with their handicap now and its change at the
// last updates; for the chosen one the handicap after each update as a chart and a table, each
// update with the sessions the member played; printing the chosen member's history, and
// undoing the last update.
class HistoryDialog {
 public:
  static constexpr const char* kName = "frmHistory";
  static constexpr const char* kCaption = "Handicap History";

  // Reads the membership file and the history; tells in one message what could not be read.
  explicit HistoryDialog(Context& context);

  Control lblMembers{.name = "lblMembers", .caption = "Members", .key = 'M'};
  Control lstMembers{"lstMembers", "Members"};
  Control picChart{"picChart", ""};
  Control lblUpdates{.name = "lblUpdates", .caption = "Updates", .key = 'd'};
  Control lstUpdates{"lstUpdates", "Updates"};
  Control lblNote{"lblNote", ""};
  Control cmdUndo{.name = "cmdUndo", .caption = "Undo last update", .key = 'U'};
  Control cmdPrint{.name = "cmdPrint", .caption = "Print...", .key = 'P'};
  Control cmdTrial{.name = "cmdTrial", .caption = "Try parameters...", .key = 'T'};
  Control cmdOK{.name = "cmdOK", .caption = "< Back", .key = 'B'};

  const TextTable& members() const { return members_; }
  // The chosen member's updates, newest first, each followed by the sessions played in it.
  const TextTable& updates() const { return updates_; }
  const HandicapChart& chart() const { return chart_; }
  const History& history() const { return history_; }
  // The row of lstMembers chosen, -1 when there is none.
  int chosen() const { return chosen_; }

  void ChooseMember(int row);
  // "Undo last update" (UndoLastUpdate); once undone, the window shows the history as it then is.
  void UndoClick();
  void PrintFailed();
  // "Try parameters...": the saved updates replayed under other parameters, in a window of its own.
  void TrialClick();
  // The chosen member's history for printing.
  PrintedTable Printout() const;

 private:
  void Load(bool tellDamage);
  void ShowChosen();

  // One line of lstMembers and the updates that hold the member: (update, member) indices.
  struct Row {
    std::string name;
    short number = 0;
    double now = 0;
    std::vector<std::pair<size_t, size_t>> lines;
  };

  Context& context_;
  History history_;
  std::vector<Row> rows_;
  TextTable members_;
  TextTable updates_;
  HandicapChart chart_;
  int chosen_ = -1;
};

inline constexpr const char* kLessCertainText = "less certain";
inline constexpr const char* kFromHanText = "from the .han file";
inline constexpr const char* kLessCertainNote =
    "less certain: saved before the history file was kept, and named from today's membership "
    "file by member number, so a member who joined or left since then may stand in another's "
    "place.";
inline constexpr const char* kNoUpdateText = "No saved update holds this member.";
inline constexpr const char* kHistoryPrintFailedText =
    "The handicap history could not be printed. Check the printer or the file name and try again.";

}  // namespace pg
