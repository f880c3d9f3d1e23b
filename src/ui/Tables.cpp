#include "ui/Tables.h"

#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <algorithm>

#include "ui/Controls.h"
#include "ui/Printing.h"
#include "ui/Text.h"

namespace pg::ui {

QTableView* MakeTable(const Control& control, QAbstractItemModel* model, QWidget* parent) {
  auto* table = Make<QTableView>(control, parent);
  table->setAccessibleName(OneLine(control.caption));
  table->setModel(model);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setAccessibleName(OneLine(control.caption) + " columns");
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setWordWrap(false);
  table->setTabKeyNavigation(false);
  return table;
}

void SizeColumns(QTableView* table, const TextTable& model) {
  const double dpi = table->screen()->logicalDotsPerInchX();
  const QFontMetrics metrics(table->font());
  // Styles draw headings bold.
  QFont bold = table->horizontalHeader()->font();
  bold.setBold(true);
  const QFontMetrics heading(bold);
  const int pad = metrics.horizontalAdvance(QStringLiteral("    "));
  for (size_t c = 0; c < model.headings.size(); ++c) {
    int width = std::max(TwipsToPixels(model.widths.at(c), dpi),
                         heading.horizontalAdvance(Latin1(model.headings[c])) + pad);
    for (const auto& row : model.rows)
      if (c < row.size()) width = std::max(width, metrics.horizontalAdvance(Latin1(row[c])) + pad);
    table->setColumnWidth(static_cast<int>(c), width);
  }
}

}  // namespace pg::ui
