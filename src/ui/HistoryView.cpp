#include "ui/HistoryView.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Charts.h"
#include "ui/Controls.h"
#include "ui/Printing.h"
#include "ui/QtPorts.h"
#include "ui/Tables.h"
#include "ui/Text.h"

namespace pg::ui {

void DrawChart(QPainter& painter, const QRect& box, const HandicapChart& chart, QColor ink,
               QColor paper) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(box, paper);
  const QFontMetrics metrics = painter.fontMetrics();
  const int text = metrics.height();
  if (chart.points.empty()) {
    painter.setPen(ink);
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, Latin1(chart.description));
    painter.restore();
    return;
  }
  std::vector<std::string> labels;
  for (const HandicapChart::Point& p : chart.points)
    labels.push_back(p.label);
  const UpdateAxes axes(
      painter, box, 0, [&chart](int most) { return chart.Scale(most); }, labels, chart.lower,
      chart.upper, ink);
  auto xOf = [&axes](size_t i) { return axes.X(i); };
  auto yOf = [&axes](double handicap) { return axes.Y(handicap); };

  QPainterPath path;
  for (size_t i = 0; i < chart.points.size(); ++i) {
    const QPointF point(xOf(i), yOf(chart.points[i].handicap));
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  const QColor line(30, 90, 170);
  painter.setPen(QPen(line, std::max(1.5, text / 8.0)));
  painter.drawPath(path);
  const double radius = std::max(2.5, text / 5.0);
  for (size_t i = 0; i < chart.points.size(); ++i) {
    painter.setBrush(chart.points[i].lessCertain ? paper : line);
    painter.drawEllipse(QPointF(xOf(i), yOf(chart.points[i].handicap)), radius, radius);
  }
  painter.restore();
}

ChartView::ChartView(const HandicapChart& chart, QWidget* parent) : QWidget(parent), chart_(chart) {
  setMinimumHeight(fontMetrics().height() * 11);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawChart(painter, rect(), chart_, palette().color(QPalette::Text),
            palette().color(QPalette::Base));
}

HistoryView::HistoryView(HistoryDialog& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      membersModel_(new TextTableModel(model.members(), this)),
      updatesModel_(new TextTableModel(model.updates(), this)),
      lblMembers_(Make<QLabel>(model.lblMembers, this)),
      lstMembers_(MakeTable(model.lstMembers, membersModel_, this)),
      picChart_(new ChartView(model.chart(), this)),
      lblUpdates_(Make<QLabel>(model.lblUpdates, this)),
      lstUpdates_(MakeTable(model.lstUpdates, updatesModel_, this)),
      lblNote_(Make<QLabel>(model.lblNote, this)),
      cmdUndo_(Make<QPushButton>(model.cmdUndo, this)),
      cmdPrint_(Make<QPushButton>(model.cmdPrint, this)),
      cmdTrial_(Make<QPushButton>(model.cmdTrial, this)),
      cmdOK_(Make<QPushButton>(model.cmdOK, this)) {
  setObjectName(QString::fromLatin1(HistoryDialog::kName));
  setWindowTitle(QString::fromLatin1(HistoryDialog::kCaption));
  setAccessibleName(QString::fromLatin1(HistoryDialog::kCaption));
  setWindowIcon(parent != nullptr ? parent->windowIcon() : QApplication::windowIcon());
  picChart_->setObjectName(Latin1(model.picChart.name));
  for (QLabel* label : {lblMembers_, lblUpdates_, lblNote_})
    label->setTextFormat(Qt::PlainText);
  lblNote_->setWordWrap(true);
  lblMembers_->setBuddy(lstMembers_);
  lblUpdates_->setBuddy(lstUpdates_);

  auto* left = new QVBoxLayout;
  left->addWidget(lblMembers_);
  left->addWidget(lstMembers_, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(picChart_, 2);
  right->addWidget(lblUpdates_);
  right->addWidget(lstUpdates_, 3);
  auto* panes = new QHBoxLayout;
  panes->addLayout(left, 2);
  panes->addLayout(right, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdUndo_);
  buttons->addWidget(cmdPrint_);
  buttons->addWidget(cmdTrial_);
  buttons->addWidget(cmdOK_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(panes, 1);
  layout->addWidget(lblNote_);
  layout->addLayout(buttons);

  setTabOrder(lstMembers_, lstUpdates_);
  setTabOrder(lstUpdates_, cmdUndo_);
  setTabOrder(cmdUndo_, cmdPrint_);
  setTabOrder(cmdPrint_, cmdTrial_);
  setTabOrder(cmdTrial_, cmdOK_);

  connect(lstMembers_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!current.isValid()) return;
            model_.ChooseMember(current.row());
            ShowChosen();
          });
  connect(cmdUndo_, &QPushButton::clicked, this, [this] {
    model_.UndoClick();
    membersModel_->Reset();
    Refresh();
  });
  connect(cmdPrint_, &QPushButton::clicked, this, [this] {
    if (!ChoosePrinter(this, HistoryDialog::kCaption, model_.Printout(),
                       [this](QPrinter& printer) { Print(printer); }))
      model_.PrintFailed();
  });
  connect(cmdTrial_, &QPushButton::clicked, this, [this] { model_.TrialClick(); });
  connect(cmdOK_, &QPushButton::clicked, this, &HistoryView::reject);

  Refresh();
  SetUpButtons(this, {{cmdUndo_, &model_.cmdUndo},
                      {cmdPrint_, &model_.cmdPrint},
                      {cmdTrial_, &model_.cmdTrial},
                      {cmdOK_, &model_.cmdOK}});
  SizeColumns(lstMembers_, model_.members());
  const QSize screen = this->screen()->availableSize();
  resize(QSize(screen.width() * 4 / 5, screen.height() * 4 / 5).boundedTo(QSize(1400, 900)));
  lstMembers_->setFocus();
}

HistoryView::~HistoryView() = default;

void HistoryView::Refresh() {
  Show(lblMembers_, model_.lblMembers);
  Show(lblUpdates_, model_.lblUpdates);
  Show(lblNote_, model_.lblNote);
  Show(cmdUndo_, model_.cmdUndo);
  Show(cmdPrint_, model_.cmdPrint);
  Show(cmdTrial_, model_.cmdTrial);
  Show(cmdOK_, model_.cmdOK);
  if (model_.chosen() >= 0 && lstMembers_->currentIndex().row() != model_.chosen())
    lstMembers_->setCurrentIndex(membersModel_->index(model_.chosen(), 0));
  ShowChosen();
}

void HistoryView::ShowChosen() {
  updatesModel_->Reset();
  SizeColumns(lstUpdates_, model_.updates());
  picChart_->setAccessibleName(Latin1(model_.chart().name));
  picChart_->setAccessibleDescription(Latin1(model_.chart().description));
  picChart_->update();
  Show(cmdPrint_, model_.cmdPrint);
}

bool HistoryView::Print(QPrinter& printer) {
  const HandicapChart& chart = model_.chart();
  const PageFigure figure{chart.points.empty() ? 0 : 16,
                          [&chart](QPainter& painter, const QRect& box) {
                            DrawChart(painter, box, chart, Qt::black, Qt::white);
                          }};
  if (PrintTable(printer, model_.Printout(), figure)) return true;
  model_.PrintFailed();
  return false;
}

void RegisterHistoryWindow(QtWindows& windows, Program& program, QWidget* mainWindow) {
  windows.Register(WindowId::History, [&program, mainWindow] {
    HistoryDialog history(program.context);
    QWidget* over = QApplication::activeModalWidget();
    HistoryView window(history, over != nullptr ? over : mainWindow);
    window.exec();
  });
}

}  // namespace pg::ui
