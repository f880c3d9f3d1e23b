#include "ui/ReviewView.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "ui/Controls.h"
#include "ui/Printing.h"
#include "ui/QtPorts.h"
#include "ui/Text.h"

namespace pg::ui {

namespace {

// The grid with the size the model asks for, and Return or Space acting on the current cell as
// a click does, so the window works from the keyboard too.
class GridView : public QTableView {
 public:
  using QTableView::QTableView;

  std::function<void(const QModelIndex&)> activate;
  QSize wanted;

  QSize sizeHint() const override { return wanted.isValid() ? wanted : QTableView::sizeHint(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        currentIndex().isValid() && activate) {
      activate(currentIndex());
      return;
    }
    QTableView::keyPressEvent(event);
  }
};

}  // namespace

// Reads the model's grid: texts, alignment, the highlight and the heading style. It holds
// nothing of its own, so it only has to say that everything changed after a click.
class ReviewGridModel : public QAbstractTableModel {
 public:
  ReviewGridModel(const ReviewGrid& grid, QObject* parent)
      : QAbstractTableModel(parent), grid_(grid) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : grid_.RowCount();
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : grid_.ColumnCount();
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const int r = index.row(), c = index.column();
    switch (role) {
      case Qt::DisplayRole:
      case Qt::AccessibleTextRole: return Latin1(grid_.Text(r, c));
      case Qt::TextAlignmentRole: return static_cast<int>(QtAlign(grid_.Alignment(r, c)));
      case Qt::BackgroundRole:
        if (grid_.Highlighted(r, c)) return QColor(255, 255, 162);
        if (grid_.Fixed(r, c)) return QApplication::palette().color(QPalette::Button);
        return {};
      case Qt::ForegroundRole:
        // Dark text on the pale highlight, whatever the desktop's colours.
        if (grid_.Highlighted(r, c)) return QColor(Qt::black);
        if (grid_.Fixed(r, c)) return QApplication::palette().color(QPalette::ButtonText);
        return {};
      case Qt::FontRole:
        if (r == 0) {
          QFont bold = QApplication::font();
          bold.setBold(true);
          return bold;
        }
        return {};
      default: return {};
    }
  }

  // The table's headers are hidden, since its first rows are the headings; a screen reader
  // still names a cell's column and row by them.
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    return Latin1(orientation == Qt::Horizontal ? grid_.ColumnName(section)
                                                : grid_.RowName(section));
  }

  void Changed() {
    if (grid_.RowCount() > 0 && grid_.ColumnCount() > 0) {
      emit dataChanged(index(0, 0), index(grid_.RowCount() - 1, grid_.ColumnCount() - 1));
      emit headerDataChanged(Qt::Vertical, 0, grid_.RowCount() - 1);
    }
  }

 private:
  const ReviewGrid& grid_;
};

ReviewView::ReviewView(ReviewDialog& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      gridModel_(new ReviewGridModel(model.grid(), this)),
      Label1_(Make<QLabel>(model.Label1, this)),
      lblSort_(Make<QLabel>(model.lblSort, this)),
      flex_(new GridView(this)),
      cmdSave_(Make<QPushButton>(model.cmdSave, this)),
      cmdOK_(Make<QPushButton>(model.cmdOK, this)),
      cmdPrint_(Make<QPushButton>(model.cmdPrint, this)) {
  setObjectName(QString::fromLatin1(ReviewDialog::kName));
  setWindowTitle(QString::fromLatin1(ReviewDialog::kCaption));
  setAccessibleName(QString::fromLatin1(ReviewDialog::kCaption));
  setWindowIcon(parent != nullptr ? parent->windowIcon() : QApplication::windowIcon());

  Label1_->setTextFormat(Qt::PlainText);
  lblSort_->setTextFormat(Qt::PlainText);
  Label1_->setWordWrap(true);

  // The three heading rows are the grid's first rows, in the buttons' colours with the column
  // headings in bold; the table's own headers would hold only one row and no merged cells.
  auto* grid = static_cast<GridView*>(flex_);
  grid->setObjectName(Latin1(model.flex.name));
  grid->setAccessibleName(OneLine(model.flex.caption));
  grid->setModel(gridModel_);
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::NoSelection);
  grid->setWordWrap(false);
  grid->setTabKeyNavigation(false);
  for (int r = 1; r < ReviewGrid::kFixedRows; ++r)
    for (int c = 0; c < model.grid().ColumnCount(); ++c)
      if (const int span = model.grid().ColumnSpan(r, c); span > 1) grid->setSpan(r, c, 1, span);
  auto click = [this](const QModelIndex& index) {
    model_.GridClick(index.row(), index.column());
    Refresh();
  };
  grid->activate = click;
  connect(grid, &QTableView::clicked, this, click);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdSave_);
  buttons->addWidget(cmdOK_);
  buttons->addWidget(cmdPrint_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1_);
  layout->addWidget(lblSort_);
  layout->addWidget(flex_, 1);
  layout->addLayout(buttons);

  setTabOrder(flex_, cmdSave_);
  setTabOrder(cmdSave_, cmdOK_);
  setTabOrder(cmdOK_, cmdPrint_);

  connect(cmdSave_, &QPushButton::clicked, this, [this] {
    model_.SaveClick();
    Refresh();
  });
  connect(cmdOK_, &QPushButton::clicked, this, &ReviewView::reject);
  connect(cmdPrint_, &QPushButton::clicked, this, &ReviewView::PrintClick);

  Refresh();
  SetUpButtons(
      this, {{cmdSave_, &model_.cmdSave}, {cmdOK_, &model_.cmdOK}, {cmdPrint_, &model_.cmdPrint}});
  SizeToScreen();
  if (const auto cell = model.currentCell())
    flex_->setCurrentIndex(gridModel_->index(cell->row, cell->column));
  flex_->setFocus();
}

ReviewView::~ReviewView() = default;

void ReviewView::Refresh() {
  Show(Label1_, model_.Label1);
  Show(lblSort_, model_.lblSort);
  Show(cmdSave_, model_.cmdSave);
  Show(cmdOK_, model_.cmdOK);
  Show(cmdPrint_, model_.cmdPrint);
  gridModel_->Changed();
}

void ReviewView::SizeToScreen() {
  const QScreen* screen = this->screen();
  const double dpiX = screen->logicalDotsPerInchX();
  const double dpiY = screen->logicalDotsPerInchY();
  const ReviewGrid& grid = model_.grid();

  // Each column is as wide as its twips ask, or wider where its texts need it in the desktop's
  // font, so that no figure, heading or session label is cut off.
  QFont boldFont = flex_->font();
  boldFont.setBold(true);
  const QFontMetrics plain(flex_->font()), bold(boldFont);
  const int pad = plain.horizontalAdvance(QStringLiteral("  "));
  auto need = [&](int r, int c) {
    return (r == 0 ? bold : plain).horizontalAdvance(Latin1(grid.Text(r, c))) + pad;
  };
  std::vector<int> widths;
  for (int c = 0; c < grid.ColumnCount(); ++c) {
    int w = TwipsToPixels(grid.ColumnWidth(c), dpiX);
    for (int r = 0; r < grid.RowCount(); ++r)
      if (grid.ColumnSpan(r, c) == 1) w = std::max(w, need(r, c));
    widths.push_back(w);
  }
  for (int r = 0; r < ReviewGrid::kFixedRows; ++r)
    for (int c = 0; c < grid.ColumnCount(); ++c)
      if (const int span = grid.ColumnSpan(r, c); span > 1) {
        int have = 0;
        for (int k = c; k < c + span; ++k)
          have += widths[static_cast<size_t>(k)];
        widths[static_cast<size_t>(c + span - 1)] += std::max(0, need(r, c) - have);
      }
  int columnsWidth = 0;
  for (int c = 0; c < grid.ColumnCount(); ++c) {
    flex_->setColumnWidth(c, widths[static_cast<size_t>(c)]);
    columnsWidth += widths[static_cast<size_t>(c)];
  }
  flex_->verticalHeader()->setDefaultSectionSize(plain.height() + plain.height() / 2);

  layout()->activate();
  const QSize screenSize = screen->size();
  const int width = ReviewGrid::Width(PixelsToTwips(columnsWidth + 2 * flex_->frameWidth(), dpiX),
                                      PixelsToTwips(screenSize.width(), dpiX));
  const int height =
      ReviewGrid::Height(PixelsToTwips(screenSize.height(), dpiY), PixelsToTwips(flex_->y(), dpiY));
  auto* view = static_cast<GridView*>(flex_);
  view->wanted = QSize(TwipsToPixels(width, dpiX), TwipsToPixels(height, dpiY));
  view->updateGeometry();
  layout()->activate();
  resize(sizeHint().boundedTo(screen->availableSize()));
}

void ReviewView::reject() {
  const bool close = model_.BackClick();
  Refresh();
  if (close) QDialog::reject();
}

void ReviewView::PrintClick() {
  if (!ChoosePrinter(this, ReviewDialog::kCaption, model_.Printout(),
                     [this](QPrinter& printer) { Print(printer); }))
    model_.PrintFailed();
}

bool ReviewView::Print(QPrinter& printer) {
  if (PrintTable(printer, model_.Printout())) return true;
  model_.PrintFailed();
  return false;
}

void RegisterReviewWindow(QtWindows& windows, Program& program, QWidget* mainWindow) {
  windows.Register(WindowId::Review, [&program, mainWindow] {
    ReviewDialog review(program.context, program.members, program.outputs);
    QWidget* over = QApplication::activeModalWidget();
    ReviewView window(review, over != nullptr ? over : mainWindow);
    window.exec();
  });
}

}  // namespace pg::ui
