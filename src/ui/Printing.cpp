#include "ui/Printing.h"

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "ui/Text.h"

namespace pg::ui {

namespace {

constexpr double kTwipsPerInch = 1440.0;

}  // namespace

int TwipsToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

int PixelsToTwips(int pixels, double dpi) {
  return static_cast<int>(std::lround(pixels * kTwipsPerInch / dpi));
}

Qt::Alignment QtAlign(CellAlign align) {
  switch (align) {
    case CellAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case CellAlign::Centre: return Qt::AlignHCenter | Qt::AlignVCenter;
    case CellAlign::Left: break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

bool ChoosePrinter(QWidget* parent, const char* title, const PrintedTable& table,
                   const std::function<void(QPrinter&)>& print) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromLatin1(title));
  // A table of many columns reads better across the page.
  int twips = 0;
  for (int w : table.widths)
    twips += w;
  if (twips > 7 * 1440) printer.setPageOrientation(QPageLayout::Landscape);
#ifdef Q_OS_WIN
  if (printer.outputFormat() != QPrinter::NativeFormat) return false;
#endif
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() == QDialog::Accepted) print(printer);
  return true;
}

bool PrintTable(QPrinter& printer, const PrintedTable& table, const PageFigure& figure) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect area(0, 0, printer.width(), printer.height());
  const double dpi = printer.resolution();

  // Columns keep their proportions and are spread over the page's width; on a page too
  // narrow for them the letters shrink with them, down to a size still read on a noticeboard.
  std::vector<int> x{0};
  for (int w : table.widths)
    x.push_back(x.back() + TwipsToPixels(w, dpi));
  const double scale = std::min(2.0, double(area.width()) / std::max(x.back(), 1));
  for (int& edge : x)
    edge = static_cast<int>(edge * scale);

  QFont body = QApplication::font();
  body.setPointSizeF(std::max(6.0, 9.0 * std::min(scale, 1.0)));
  QFont bold = body;
  bold.setBold(true);
  QFont title = bold;
  title.setPointSizeF(14);
  QFont subtitle = body;
  subtitle.setPointSizeF(10);

  painter.setFont(body);
  const int line = painter.fontMetrics().height() * 4 / 3;
  const int pad = line / 4;
  const int top = 3 * line + static_cast<int>(table.headings.size()) * line + pad;
  const int bottom = 2 * line;
  const int perPage = std::max(1, (area.height() - top - bottom) / line);
  // The figure takes its lines from the first page, and never all of them.
  const int figureLines = figure.draw ? std::clamp(figure.lines, 0, perPage - 1) : 0;
  const int rows = static_cast<int>(table.rows.size());
  const int firstPage = perPage - figureLines;
  const int pages = rows <= firstPage ? 1 : 1 + (rows - firstPage + perPage - 1) / perPage;

  auto cell = [&](int y, size_t first, size_t span, CellAlign align, const std::string& text) {
    const QRect box(x[first] + pad, y, x[first + span] - x[first] - 2 * pad, line);
    const QString shown =
        painter.fontMetrics().elidedText(Latin1(text), Qt::ElideRight, box.width());
    painter.drawText(box, static_cast<int>(QtAlign(align)), shown);
  };

  int next = 0;  // the first row of the page
  for (int page = 0; page < pages; ++page) {
    if (page > 0) printer.newPage();
    painter.setFont(title);
    painter.drawText(QRect(0, 0, area.width(), 2 * line), Qt::AlignLeft | Qt::AlignVCenter,
                     Latin1(table.title));
    painter.setFont(subtitle);
    painter.drawText(QRect(0, 2 * line, area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                     Latin1(table.subtitle));
    int y = 3 * line;
    if (page == 0 && figureLines > 0) {
      painter.save();
      figure.draw(painter, QRect(0, y, x.back(), figureLines * line - pad));
      painter.restore();
      y += figureLines * line;
    }
    for (size_t h = 0; h < table.headings.size(); ++h) {
      painter.setFont(h == 0 ? bold : body);
      size_t column = 0;
      for (const PrintedCell& c : table.headings[h]) {
        const auto span = static_cast<size_t>(c.span);
        if (column + span >= x.size()) break;
        cell(y, column, span, c.align, c.text);
        column += span;
      }
      y += line;
    }
    painter.drawLine(0, y + pad / 2, x.back(), y + pad / 2);
    y += pad;
    painter.setFont(body);
    if (rows == 0) cell(y, 0, x.size() - 1, CellAlign::Left, table.note);
    const int end = std::min(rows, next + (page == 0 ? firstPage : perPage));
    for (int r = next; r < end; ++r) {
      // Every other row lightly shaded, so a row can be followed across the page.
      if ((r - next) % 2 == 1) painter.fillRect(0, y, x.back(), line, QColor(238, 238, 238));
      const std::vector<std::string>& cells = table.rows[static_cast<size_t>(r)];
      for (size_t c = 0; c < cells.size() && c + 1 < x.size(); ++c)
        cell(y, c, 1, table.align.at(c), cells[c]);
      y += line;
    }
    next = end;
    painter.drawText(QRect(0, area.height() - line, area.width(), line), Qt::AlignHCenter,
                     Latin1(PageText(page + 1, pages)));
  }
  return painter.end();
}

}  // namespace pg::ui
