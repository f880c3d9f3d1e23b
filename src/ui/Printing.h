#pragma once

#include <Qt>
#include <functional>

#include "base/PrintedTable.h"

class QPainter;
class QPrinter;
class QRect;
class QWidget;

namespace pg::ui {

// Twips (1440 to the inch) at a device's resolution, and back.
int TwipsToPixels(int twips, double dpi);
int PixelsToTwips(int pixels, double dpi);

Qt::Alignment QtAlign(CellAlign align);

// A picture printed on the first page between the title and the table, such as a chart: `lines`
// of the table's lines high, drawn into the box it is given.
struct PageFigure {
  int lines = 0;
  std::function<void(QPainter&, const QRect&)> draw;
};

// Lays a window's printed table out on the printer's pages: the columns keep their proportions
// across the page, the title and headings head every page, and the page number stands at the
// foot. False when the printer could not be started or the file not finished.
bool PrintTable(QPrinter& printer, const PrintedTable& table, const PageFigure& figure = {});

// The print dialog for a table named `title`, the page turned across for a wide table; `print`
// prints on the printer the user accepted. False when there is no printer to choose: Windows'
// print dialog shows the system's printers only, and on a computer without one Qt would not
// open it at all, so the click would do nothing; the caller says the table could not be printed.
bool ChoosePrinter(QWidget* parent, const char* title, const PrintedTable& table,
                   const std::function<void(QPrinter&)>& print);

}  // namespace pg::ui
