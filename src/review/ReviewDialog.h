#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/Context.h"
#include "base/Control.h"
#include "base/PrintedTable.h"
#include "review/Members.h"
#include "review/UpdateOutputs.h"

namespace pg {

// The review window's grid as it shows: three heading rows (headings, session labels, averages)
// over one row per member who played, two fixed columns (number, name), then the handicaps
// before and after and two columns per session. Rows and columns count from 0.
class ReviewGrid {
 public:
  static constexpr int kFixedRows = 3;
  static constexpr int kFixedColumns = 2;

  int RowCount() const { return static_cast<int>(rows_.size()); }
  int ColumnCount() const { return columns_; }
  int MemberRowCount() const { return RowCount() - kFixedRows; }

  const std::string& Text(int row, int column) const;
  // A highlighted member's row is coloured from column 2 to the last column.
  bool Highlighted(int row, int column) const;
  bool Fixed(int row, int column) const { return row < kFixedRows || column < kFixedColumns; }
  using Align = CellAlign;
  // Figures from column 2 on are right-aligned; a session's label and averages are centred over
  // its two columns.
  Align Alignment(int row, int column) const;
  // The columns a cell covers: a session's label and averages span both its columns, so the
  // session's first cell in rows 1 and 2 spans 2 and the second is covered (0); otherwise 1.
  int ColumnSpan(int row, int column) const;
  // What a screen reader calls a column: its heading, followed for a session's columns by the
  // session's label ("adj Mon 25/09/06 aft").
  std::string ColumnName(int column) const;
  // What it calls a row: the member's number and name on a member row, nothing on a heading row.
  std::string RowName(int row) const;
  // In twips (1440 to the inch).
  int ColumnWidth(int column) const;
  // The columns' widths together, in twips.
  int ColumnsWidth() const;
  // The grid's width in twips for columns that take columnsWidth: the columns and a margin, but
  // no wider than the screen allows.
  static int Width(int columnsWidth, int screenWidth);
  // The grid's height in twips when its top is `top` twips down the screen.
  static int Height(int screenHeight, int top);

 private:
  friend class ReviewDialog;
  struct Row {
    std::vector<std::string> cells;
    bool highlighted = false;
  };
  std::vector<Row> rows_;
  int columns_ = 0;
};

// The review window "frmPrint": the new handicaps of an update run for the secretary to sort,
// highlight, correct, print and save. It works on the member table and the run's outputs in
// place, so a correction is what a later save writes.
class ReviewDialog {
 public:
  static constexpr const char* kName = kReviewWindowName;
  static constexpr const char* kCaption = "Handicap Changes";

  // Opens the window on the run's results: a row per member who played, in member order.
  ReviewDialog(Context& context, MemberTable& members, UpdateOutputs& outputs);

  Control flex{"flex", "New handicaps"};
  Control Label1{"Label1",
                 "Click on a name to highlight that member. Click on a handicap to alter it."};
  Control lblSort{"lblSort", "SORT BY CLICKING ON COLUMN HEADER"};
  Control cmdSave{.name = "cmdSave", .caption = "Save", .key = 'S'};
  Control cmdOK{.name = "cmdOK", .caption = "< Back", .key = 'B'};
  Control cmdPrint{.name = "cmdPrint", .caption = "Print...", .key = 'P'};

  struct Cell {
    int row = 0;
    int column = 0;
    bool operator==(const Cell&) const = default;
  };

  const ReviewGrid& grid() const { return grid_; }
  // The cell the window starts on; none when no member played.
  std::optional<Cell> currentCell() const { return current_; }
  bool unsaved() const { return unsaved_; }
  short SortKey() const { return sortKey_; }
  short SortOrder() const { return sortOrder_; }

  // A click on a cell: a heading sorts, a number or name highlights, a new handicap is edited.
  void GridClick(int row, int column);
  void SaveClick();
  // Printing could not start (no printer, or a file that cannot be written).
  void PrintFailed();
  // "< Back", and closing the window in any other way: asks while unsaved; true when the
  // window is to close.
  bool BackClick();

  PrintedTable Printout() const;

 private:
  void Load();
  void Sort(int column);
  void Highlight(int row);
  void EditHandicap(int row);
  // Whether the save ended in a way that lets the window close.
  bool Save();

  Context& context_;
  MemberTable& members_;
  UpdateOutputs& outputs_;
  ReviewGrid grid_;
  std::optional<Cell> current_;
  bool unsaved_ = true;
  short sortKey_ = 6;
  short sortOrder_ = 1;
};

inline constexpr const char* kSortAgainText = "CLICK AGAIN TO REVERSE THE SORT ORDER";
inline constexpr const char* kNoMemberPlayedText = "No member played in the sessions used.";
inline constexpr const char* kSaveQuestion = "Do you want to save the new handicaps?";
inline constexpr const char* kEditTitle = "Update Handicap";
inline constexpr const char* kEditPrompt = "New handicap for ";
inline constexpr const char* kPrintFailedText =
    "The handicap changes could not be printed. Check the printer or the file name and try again.";

}  // namespace pg
