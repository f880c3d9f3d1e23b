#include "ui/TrialView.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Charts.h"
#include "ui/Controls.h"
#include "ui/ParameterBoxesView.h"
#include "ui/Printing.h"
#include "ui/QtPorts.h"
#include "ui/Tables.h"
#include "ui/Text.h"

namespace pg::ui {

namespace {

const QColor kSavedLine(30, 90, 170);
const QColor kTrialLine(200, 95, 20);

QPen SeriesPen(size_t column, int text) {
  QPen pen(column == kAsSaved ? kSavedLine : kTrialLine, std::max(1.5, text / 8.0));
  if (column == kTrial) pen.setStyle(Qt::DashLine);
  return pen;
}

}  // namespace

void DrawTrialChart(QPainter& painter, const QRect& box, const TrialChart& chart, QColor ink,
                    QColor paper) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(box, paper);
  const QFontMetrics metrics = painter.fontMetrics();
  const int text = std::max(metrics.height(), 1);
  if (chart.labels.empty()) {
    painter.setPen(ink);
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, Latin1(chart.description));
    painter.restore();
    return;
  }
  // The key above the plot.
  const UpdateAxes axes(
      painter, box, text, [&chart](int most) { return chart.Scale(most); }, chart.labels,
      chart.lower, chart.upper, ink);
  auto xOf = [&axes](size_t i) { return axes.X(i); };
  auto yOf = [&axes](double handicap) { return axes.Y(handicap); };
  const QRect& plot = axes.plot();

  const double radius = std::max(2.5, text / 5.0);
  for (size_t c = 0; c < 2; ++c) {
    const auto& points = chart.series[c];
    QPainterPath path;
    bool drawing = false;
    for (size_t i = 0; i < points.size() && i < chart.labels.size(); ++i) {
      if (!points[i]) {
        drawing = false;
        continue;
      }
      const QPointF point(xOf(i), yOf(*points[i]));
      drawing ? path.lineTo(point) : path.moveTo(point);
      drawing = true;
    }
    painter.setPen(SeriesPen(c, text));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(QPen(c == kAsSaved ? kSavedLine : kTrialLine, 1));
    painter.setBrush(c == kAsSaved ? kSavedLine : paper);
    for (size_t i = 0; i < points.size() && i < chart.labels.size(); ++i)
      if (points[i]) painter.drawEllipse(QPointF(xOf(i), yOf(*points[i])), radius, radius);
  }

  // The key: a stroke of each line and its column's name.
  double x = plot.left();
  for (size_t c = 0; c < 2; ++c) {
    const QString name = c == kAsSaved ? QStringLiteral("As saved") : QStringLiteral("Trial");
    const double y = box.top() + text * 0.6;
    painter.setPen(SeriesPen(c, text));
    painter.drawLine(QPointF(x, y), QPointF(x + 2 * text, y));
    painter.setPen(ink);
    painter.drawText(
        QRectF(x + 2.5 * text, box.top(), metrics.horizontalAdvance(name) + text, text),
        Qt::AlignLeft | Qt::AlignVCenter, name);
    x += 3.5 * text + metrics.horizontalAdvance(name);
  }
  painter.restore();
}

TrialChartView::TrialChartView(const TrialChart& chart, QWidget* parent)
    : QWidget(parent), chart_(chart) {
  setMinimumHeight(fontMetrics().height() * 10);
  setMinimumWidth(fontMetrics().height() * 14);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TrialChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawTrialChart(painter, rect(), chart_, palette().color(QPalette::Text),
                 palette().color(QPalette::Base));
}

// A progress window over the trial's, for a replay that takes more than 300 ms: it keeps the
// window painted while the sessions are read, and goes once the replay has finished.
class TrialView::Progress : public ReplayProgress {
 public:
  explicit Progress(QWidget* over) : over_(over) {}

  void Step(const std::string& text, size_t done, size_t total) override {
    if (done == 0) {
      dialog_ = std::make_unique<QProgressDialog>(over_);
      dialog_->setObjectName(QStringLiteral("dlgProgress"));
      dialog_->setWindowTitle(QString::fromLatin1(TrialDialog::kCaption));
      dialog_->setCancelButton(nullptr);
      dialog_->setWindowModality(Qt::WindowModal);
      dialog_->setMinimumDuration(300);
      dialog_->setAutoClose(false);
      dialog_->setAutoReset(false);
    }
    if (!dialog_) return;
    dialog_->setLabelText(Latin1(text));
    dialog_->setAccessibleName(Latin1(text));
    dialog_->setMaximum(static_cast<int>(total));
    dialog_->setValue(static_cast<int>(done));
    if (done >= total) dialog_.reset();
  }

 private:
  QWidget* over_;
  std::unique_ptr<QProgressDialog> dialog_;
};

TrialView::TrialView(TrialDialog& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      progress_(std::make_unique<Progress>(this)),
      boxesView_(new ParameterBoxesView(model.boxes(), this, [this] { Settle(); })),
      membersModel_(new TextTableModel(model.members(), this)),
      notesModel_(new TextTableModel(model.notes(), this)),
      lblFrom_(Label(model.lblFrom)),
      cboFrom_(Make<QComboBox>(model.cboFrom, this)),
      lblTo_(Label(model.lblTo)),
      cboTo_(Make<QComboBox>(model.cboTo, this)),
      lblParameter_(Label(model.lblParameter)),
      lblSavedHead_(Label(model.lblSavedHead)),
      lblTrialHead_(Label(model.lblTrialHead)),
      lblCheck_(Label(model.lblCheck)),
      lblFairness_(Label(model.lblFairness)),
      lblMovement_(Label(model.lblMovement)),
      lblDefinition_(Label(model.lblDefinition)),
      lblMembers_(Label(model.lblMembers)),
      grdMembers_(MakeTable(model.grdMembers, membersModel_, this)),
      picChart_(new TrialChartView(model.chart(), this)),
      lblNotes_(Label(model.lblNotes)),
      lstNotes_(MakeTable(model.lstNotes, notesModel_, this)),
      cmdUse_(Make<QPushButton>(model.cmdUse, this)),
      cmdPrint_(Make<QPushButton>(model.cmdPrint, this)),
      cmdOK_(Make<QPushButton>(model.cmdOK, this)) {
  setObjectName(QString::fromLatin1(TrialDialog::kName));
  setWindowTitle(QString::fromLatin1(TrialDialog::kCaption));
  setAccessibleName(QString::fromLatin1(TrialDialog::kCaption));
  setWindowIcon(parent != nullptr ? parent->windowIcon() : QApplication::windowIcon());
  picChart_->setObjectName(Latin1(model.picChart.name));
  for (auto [combo, control] :
       {std::pair{cboFrom_, &model.cboFrom}, std::pair{cboTo_, &model.cboTo}}) {
    combo->setAccessibleName(Latin1(control->caption));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // The list that drops down, and its parts, are named for a screen reader as the box is.
    QWidget* popup = combo->view()->parentWidget();
    popup->setAccessibleName(Latin1(control->caption));
    for (QWidget* part : popup->findChildren<QWidget*>())
      if (part->accessibleName().isEmpty()) part->setAccessibleName(Latin1(control->caption));
  }
  lblFrom_->setBuddy(cboFrom_);
  lblTo_->setBuddy(cboTo_);
  lblMembers_->setBuddy(grdMembers_);
  lblNotes_->setBuddy(lstNotes_);

  // The stretch.
  auto* stretch = new QHBoxLayout;
  stretch->addWidget(lblFrom_);
  stretch->addWidget(cboFrom_);
  stretch->addSpacing(fontMetrics().height());
  stretch->addWidget(lblTo_);
  stretch->addWidget(cboTo_);
  stretch->addStretch();

  // The parameters: a row each, as saved beside the trial's box.
  auto* parameters = new QGridLayout;
  parameters->addWidget(lblParameter_, 0, 0);
  parameters->addWidget(lblSavedHead_, 0, 1);
  parameters->addWidget(lblTrialHead_, 0, 2);
  for (int f = 0; f < ParameterBoxes::kUpdateFieldCount; ++f) {
    lblField_[f] = Label(model.lblField[f]);
    lblSaved_[f] = Label(model.lblSaved[f]);
    QLineEdit* box = boxesView_->MakeBox(static_cast<ParameterBoxes::Field>(f));
    lblField_[f]->setBuddy(box);
    parameters->addWidget(lblField_[f], f + 1, 0);
    parameters->addWidget(lblSaved_[f], f + 1, 1);
    parameters->addWidget(box, f + 1, 2);
  }
  lblTrialHead_->setBuddy(boxesView_->box(ParameterBoxes::Dead0));

  // The self-check and the figures, with what the figure of fairness is.
  for (QLabel* label : {lblCheck_, lblFairness_, lblMovement_, lblDefinition_})
    label->setWordWrap(true);
  auto* figures = new QVBoxLayout;
  figures->addWidget(lblCheck_);
  figures->addWidget(lblFairness_);
  figures->addWidget(lblMovement_);
  figures->addWidget(lblDefinition_);
  figures->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(parameters);
  top->addSpacing(fontMetrics().height());
  top->addLayout(figures, 2);
  top->addWidget(picChart_, 2);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdUse_);
  buttons->addWidget(cmdPrint_);
  buttons->addWidget(cmdOK_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(stretch);
  layout->addLayout(top);
  layout->addWidget(lblMembers_);
  layout->addWidget(grdMembers_, 4);
  layout->addWidget(lblNotes_);
  layout->addWidget(lstNotes_, 1);
  // Most replays have nothing or little to say.
  lstNotes_->setMinimumHeight(fontMetrics().height() * 4);
  layout->addLayout(buttons);

  // Leaving a trial box for any other control checks it first, and replays with its value.
  for (QWidget* w : std::initializer_list<QWidget*>{cboFrom_, cboTo_, grdMembers_, lstNotes_,
                                                    cmdUse_, cmdPrint_, cmdOK_})
    boxesView_->Watch(w);

  // Reading order: the stretch, the trial's boxes, the members, the notes, the buttons.
  QWidget* previous = nullptr;
  auto chain = [&previous](QWidget* w) {
    if (previous != nullptr) setTabOrder(previous, w);
    previous = w;
  };
  chain(cboFrom_);
  chain(cboTo_);
  for (int f = 0; f < ParameterBoxes::kUpdateFieldCount; ++f)
    chain(boxesView_->box(static_cast<ParameterBoxes::Field>(f)));
  for (QWidget* w :
       std::initializer_list<QWidget*>{grdMembers_, lstNotes_, cmdUse_, cmdPrint_, cmdOK_})
    chain(w);

  connect(cboFrom_, &QComboBox::activated, this, [this](int index) {
    if (!model_.boxes().LeaveField()) return Settle();
    model_.ChooseFrom(index);
    Refresh();
  });
  connect(cboTo_, &QComboBox::activated, this, [this](int index) {
    if (!model_.boxes().LeaveField()) return Settle();
    model_.ChooseTo(index);
    Refresh();
  });
  connect(grdMembers_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!current.isValid()) return;
            model_.ChooseMember(current.row());
            ShowChosen();
          });
  connect(cmdUse_, &QPushButton::clicked, this, [this] {
    model_.UseClick();
    Settle();
  });
  connect(cmdPrint_, &QPushButton::clicked, this, [this] {
    if (!model_.boxes().LeaveField()) return Settle();
    Settle();
    if (!ChoosePrinter(this, TrialDialog::kCaption, model_.Printout(),
                       [this](QPrinter& printer) { Print(printer); }))
      model_.PrintFailed();
  });
  connect(cmdOK_, &QPushButton::clicked, this, [this] { reject(); });

  Refresh();
  SetUpButtons(this,
               {{cmdUse_, &model_.cmdUse}, {cmdPrint_, &model_.cmdPrint}, {cmdOK_, &model_.cmdOK}});
  const QSize screen = this->screen()->availableSize();
  resize(QSize(screen.width() * 9 / 10, screen.height() * 9 / 10).boundedTo(QSize(1500, 1000)));
}

TrialView::~TrialView() = default;

QLabel* TrialView::Label(const Control& control) {
  auto* label = Make<QLabel>(control, this);
  label->setTextFormat(Qt::PlainText);
  labels_.emplace_back(label, &control);
  return label;
}

void TrialView::Load() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  model_.Load(progress_.get());
  QApplication::restoreOverrideCursor();
  Refresh();
}

void TrialView::Refresh() {
  for (const auto& [label, control] : labels_)
    Show(label, *control);
  boxesView_->Refresh();
  for (auto [combo, chosen] :
       {std::pair{cboFrom_, model_.from()}, std::pair{cboTo_, model_.to()}}) {
    const QSignalBlocker quiet(combo);
    if (combo->count() != static_cast<int>(model_.updateNames().size())) {
      combo->clear();
      for (const std::string& name : model_.updateNames())
        combo->addItem(Latin1(name));
    }
    combo->setCurrentIndex(chosen);
    combo->setEnabled(!model_.updateNames().empty());
  }
  membersModel_->Reset();
  SizeColumns(grdMembers_, model_.members());
  notesModel_->Reset();
  SizeColumns(lstNotes_, model_.notes());
  if (model_.chosen() >= 0) {
    const QSignalBlocker quiet(grdMembers_->selectionModel());
    grdMembers_->setCurrentIndex(membersModel_->index(model_.chosen(), 0));
  }
  Show(cmdUse_, model_.cmdUse);
  Show(cmdPrint_, model_.cmdPrint);
  Show(cmdOK_, model_.cmdOK);
  ShowChosen();
}

void TrialView::ShowChosen() {
  picChart_->setAccessibleName(Latin1(model_.chart().name));
  picChart_->setAccessibleDescription(Latin1(model_.chart().description));
  picChart_->update();
}

void TrialView::Settle() {
  Refresh();
  if (model_.closed()) {
    done(QDialog::Accepted);
    return;
  }
  boxesView_->FocusEditing();
}

void TrialView::reject() {
  model_.BackClick();
  Settle();
}

bool TrialView::Print(QPrinter& printer) {
  const TrialChart& chart = model_.chart();
  QString summary;
  for (const std::string& line : model_.PrintedSummary())
    summary += Latin1(line) + QLatin1Char('\n');
  // The summary's lines, and two more for the definition's, which wraps.
  const int lines = static_cast<int>(model_.PrintedSummary().size()) + 2;
  const int chartLines = chart.labels.empty() ? 0 : 16;
  const PageFigure figure{
      lines + chartLines, [&](QPainter& painter, const QRect& box) {
        const int line = box.height() / (lines + chartLines);
        painter.drawText(QRect(box.left(), box.top(), box.width(), lines * line),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, summary);
        if (chartLines > 0)
          DrawTrialChart(
              painter,
              QRect(box.left(), box.top() + lines * line, box.width(), box.height() - lines * line),
              chart, Qt::black, Qt::white);
      }};
  if (PrintTable(printer, model_.Printout(), figure)) return true;
  model_.PrintFailed();
  return false;
}

void RegisterTrialWindow(QtWindows& windows, Program& program) {
  windows.Register(WindowId::Trial, [&program] {
    TrialDialog model(program);
    TrialView window(model, DialogParent());
    // Replayed once the window shows, so that it is there while the sessions are read.
    QTimer::singleShot(0, &window, [&window] { window.Load(); });
    window.exec();
  });
}

}  // namespace pg::ui
