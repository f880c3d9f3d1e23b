#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/Context.h"
#include "base/Control.h"
#include "base/Date.h"
#include "base/PrintedTable.h"
#include "update/NearNames.h"

namespace pg {

// What the update window hands the names window, and the answer it takes back.
struct NameCheck {
  std::vector<NearName> names;
  std::optional<Date> lastDay;  // the latest session to be used, named on the printed list
  bool goOn = false;            // "Continue" was pressed
};

// The window "frmNames", shown by "Update" before anything of the run when a player's name in
// the sessions to be used is no member's but close to one: those players would be visitors.
// "Continue" lets the update run as it would have; "< Back" (and closing the window any other
// way) returns to the update window with nothing run, so that the names can be put right first.
class NearNamesDialog {
 public:
  static constexpr const char* kName = "frmNames";
  static constexpr const char* kCaption = "Names that almost match a member";
  static constexpr size_t kColumns = 4;
  using Row = std::array<std::string, kColumns>;

  NearNamesDialog(Context& context, NameCheck& check);

  Control lblInfo{"lblInfo",
                  "No member has exactly these names, so the update would count these players "
                  "as visitors, and the handicaps of the members they probably are would not "
                  "move for those sessions. Continue to update all the same, or go Back to put "
                  "the names right first, in the scoring program or in the membership file."};
  Control grdNames{"grdNames", kCaption};
  Control cmdOK{.name = "cmdOK", .caption = "Continue", .key = 'C', .isDefault = true};
  Control cmdCancel{.name = "cmdCancel", .caption = "< Back", .key = 'B'};
  Control cmdPrint{.name = "cmdPrint", .caption = "Print...", .key = 'P'};

  static const Row& Headings();
  // One row per name and session it stands in, in the order met: the name as typed, the session
  // as the update window lists it, the member it probably means and how close it is. The name,
  // the member and how close stand on the name's first row only.
  const std::vector<Row>& Rows() const { return rows_; }
  // What a screen reader calls a row: the name as typed, on each of its rows.
  const std::string& RowName(size_t row) const { return rowNames_.at(row); }

  void ContinueClick() { check_.goOn = true; }
  void BackClick() { check_.goOn = false; }
  // Printing could not start (no printer, or a file that cannot be written).
  void PrintFailed();
  PrintedTable Printout() const;

 private:
  Context& context_;
  NameCheck& check_;
  std::vector<Row> rows_;
  std::vector<std::string> rowNames_;
};

inline constexpr const char* kNamesPrintFailedText =
    "The names could not be printed. Check the printer or the file name and try again.";

}  // namespace pg
