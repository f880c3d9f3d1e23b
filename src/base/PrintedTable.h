#pragma once

#include <string>
#include <vector>

#include "base/Date.h"

namespace pg {

enum class CellAlign { Left, Right, Centre };

// A cell of a printed heading row and the columns it covers.
struct PrintedCell {
  std::string text;
  int span = 1;
  CellAlign align = CellAlign::Left;
};

// A window's list as the printer lays it out: a title, the heading rows to repeat on every page,
// and the body rows in the order the window shows them. The core decides every text; the view
// only spreads the columns over the page.
struct PrintedTable {
  std::string title;
  std::string subtitle;
  std::vector<int> widths;       // twips per column
  std::vector<CellAlign> align;  // of the body rows' cells, per column
  std::vector<std::vector<PrintedCell>> headings;
  std::vector<std::vector<std::string>> rows;
  std::string note;  // printed in place of the rows when there are none
};

// The line under the title of a printed update's table: which sessions the update used.
std::string UpdateSubtitle(Date lastDay);

// The footer of a printed page: "Page 2 of 3".
std::string PageText(int page, int pages);

}  // namespace pg
