#pragma once

#include <QAbstractTableModel>

#include "history/HistoryDialog.h"
#include "ui/Printing.h"
#include "ui/Text.h"

class QTableView;

namespace pg::ui {

// A model's table as Qt's: the texts, their alignment, and the headings, which also name the
// columns for a screen reader.
class TextTableModel : public QAbstractTableModel {
 public:
  TextTableModel(const TextTable& table, QObject* parent)
      : QAbstractTableModel(parent), table_(table) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(table_.headings.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    const auto r = static_cast<size_t>(index.row());
    const auto c = static_cast<size_t>(index.column());
    if (r >= table_.rows.size() || c >= table_.rows[r].size()) return {};
    switch (role) {
      case Qt::DisplayRole:
      case Qt::AccessibleTextRole: return Latin1(table_.rows[r][c]);
      case Qt::TextAlignmentRole: return static_cast<int>(QtAlign(table_.align.at(c)));
      default: return {};
    }
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || section < 0 ||
        static_cast<size_t>(section) >= table_.headings.size())
      return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
      return Latin1(table_.headings[static_cast<size_t>(section)]);
    if (role == Qt::TextAlignmentRole)
      return static_cast<int>(QtAlign(table_.align.at(static_cast<size_t>(section))));
    return {};
  }
  // The model's table was built afresh.
  void Reset() {
    beginResetModel();
    endResetModel();
  }

 private:
  const TextTable& table_;
};

// A read-only list of rows for a model's table, named by its control for a screen reader.
QTableView* MakeTable(const Control& control, QAbstractItemModel* model, QWidget* parent);

// Each column as wide as its twips ask, or wider where its heading or a text needs it.
void SizeColumns(QTableView* table, const TextTable& model);

}  // namespace pg::ui
