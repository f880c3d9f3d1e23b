#pragma once

#include <Qt>
#include <functional>

#include "base/PrintedTable.h"

class QPrinter;
class QWidget;

namespace pg::ui {

// Twips (1440 to the inch) at a device's resolution, and back.
int TwipsToPixels(int twips, double dpi);
int PixelsToTwips(int pixels, double dpi);

Qt::Alignment QtAlign(CellAlign align);

// Lays a window's printed table out on the printer's pages: the columns keep their proportions
// across the page, the title and headings head every page, and the page number stands at the
// foot. False when the printer could not be started or the file not finished.
bool PrintTable(QPrinter& printer, const PrintedTable& table);

// The print dialog for a table named `title`, the page turned across for a wide table; `print`
// prints on the printer the user accepted.
void ChoosePrinter(QWidget* parent, const char* title, const PrintedTable& table,
                   const std::function<void(QPrinter&)>& print);

}  // namespace pg::ui
