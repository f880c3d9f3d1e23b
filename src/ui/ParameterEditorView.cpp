#include "ui/ParameterEditorView.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Controls.h"
#include "ui/Text.h"

namespace pg::ui {

ParameterEditorView::ParameterEditorView(ParameterEditor& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      boxesView_(new ParameterBoxesView(model, this, [this] { Settle(); })),
      cmdSave_(Make<QPushButton>(model.cmdSave, this)),
      cmdReset_(Make<QPushButton>(model.cmdReset, this)),
      cmdPassword_(Make<QPushButton>(model.cmdPassword, this)),
      cmdTrial_(Make<QPushButton>(model.cmdTrial, this)),
      cmdOK_(Make<QPushButton>(model.cmdOK, this)) {
  setObjectName(QString::fromLatin1(ParameterEditor::kName));
  setWindowTitle(QString::fromLatin1(ParameterEditor::kCaption));
  setAccessibleName(QString::fromLatin1(ParameterEditor::kCaption));

  for (int f = 0; f < ParameterEditor::kFieldCount; ++f)
    boxes_[f] = boxesView_->MakeBox(static_cast<Field>(f));
  auto box = [this](Field f) { return boxes_[f]; };

  // Dead zone, with what it means for the example's session.
  QGroupBox* dead = Frame(model.fraDead);
  auto* deadRow = new QHBoxLayout;
  deadRow->addWidget(box(Field::Dead0));
  deadRow->addWidget(Label(model.lblDeadTo));
  deadRow->addWidget(box(Field::Dead1));
  deadRow->addWidget(Label(model.lblDeadPercent));
  deadRow->addStretch();
  auto* egDeadRow = new QHBoxLayout;
  egDeadRow->addWidget(Label(model.lblEgDeadText));
  egDeadRow->addWidget(Label(model.lblEgDead[0]));
  egDeadRow->addWidget(Label(model.lblEgDeadAnd));
  egDeadRow->addWidget(Label(model.lblEgDead[1]));
  egDeadRow->addWidget(Label(model.lblEgDeadPercent));
  egDeadRow->addStretch();
  auto* deadLayout = new QVBoxLayout(dead);
  deadLayout->addLayout(deadRow);
  deadLayout->addWidget(Note(model.lblDeadNote));
  deadLayout->addLayout(egDeadRow);

  // Range and rounding.
  QGroupBox* range = Frame(model.fraRange);
  auto* rangeLayout = new QGridLayout(range);
  rangeLayout->addWidget(Label(model.lblRangeFrom), 0, 0);
  rangeLayout->addWidget(box(Field::Range0), 0, 1);
  rangeLayout->addWidget(Label(model.lblRangeAnd), 0, 2);
  rangeLayout->addWidget(box(Field::Range1), 0, 3);
  rangeLayout->addWidget(Label(model.lblRoundTo), 1, 0);
  rangeLayout->addWidget(box(Field::Round), 1, 1);
  rangeLayout->addWidget(Label(model.lblEgRoundText), 2, 0);
  rangeLayout->addWidget(Label(model.lblEgRound), 2, 1);
  rangeLayout->setColumnStretch(4, 1);

  // Rates and largest adjustments, above and below the dead zone.
  auto twoRows = [this](const Control& frame, const std::array<Control, 2>& labels, Field first) {
    QGroupBox* group = Frame(frame);
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < 2; ++i) {
      grid->addWidget(Label(labels[i]), i, 0);
      grid->addWidget(boxes_[first + i], i, 1);
    }
    grid->setColumnStretch(2, 1);
    return group;
  };
  QGroupBox* rate = twoRows(model.fraRate, model.lblRate, Field::Rate0);
  QGroupBox* maxAdj = twoRows(model.fraMaxAdj, model.lblMaxAdj, Field::MaxAdj0);

  QGroupBox* correction = Frame(model.fraCorrection);
  auto* correctionRow = new QHBoxLayout;
  correctionRow->addWidget(box(Field::Correction));
  correctionRow->addWidget(Label(model.lblDays));
  correctionRow->addStretch();
  auto* correctionLayout = new QVBoxLayout(correction);
  correctionLayout->addLayout(correctionRow);
  correctionLayout->addWidget(Note(model.lblCorrectionNote));

  // The worked example: its assumptions in boxes, its results in labels.
  QGroupBox* example = Frame(model.fraExample);
  auto* eg = new QGridLayout(example);
  eg->addWidget(Label(model.lblExampleNote), 0, 0, 1, 4);
  eg->addWidget(Label(model.lblEgHandText), 1, 0);
  eg->addWidget(box(Field::EgHand0), 1, 1);
  eg->addWidget(Label(model.lblEgHandAnd), 1, 2);
  eg->addWidget(box(Field::EgHand1), 1, 3);
  eg->addWidget(Label(model.lblEgGrossText), 2, 0);
  eg->addWidget(box(Field::EgGross), 2, 1);
  eg->addWidget(Label(model.lblEgNetText), 3, 0);
  eg->addWidget(Label(model.lblEgNet), 3, 1);
  eg->addWidget(Label(model.lblEgAveText), 4, 0);
  eg->addWidget(box(Field::EgAve), 4, 1);
  eg->addWidget(Label(model.lblEgDiffText), 5, 0);
  eg->addWidget(Label(model.lblEgDiff), 5, 1);
  eg->addWidget(Label(model.lblEgAdjText), 6, 0);
  eg->addWidget(Label(model.lblEGAdj), 6, 1);
  eg->addWidget(Label(model.lblEgToText), 7, 0);
  eg->addWidget(Label(model.lblEgTo[0]), 7, 1);
  eg->addWidget(Label(model.lblEgToAnd), 7, 2);
  eg->addWidget(Label(model.lblEgTo[1]), 7, 3);
  eg->setRowStretch(8, 1);
  eg->setColumnStretch(4, 1);

  auto* left = new QVBoxLayout;
  left->addWidget(dead);
  left->addWidget(range);
  left->addWidget(rate);
  left->addWidget(maxAdj);
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(example);
  right->addWidget(correction);
  right->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);

  // A click leaves the focus in the box being edited, so the button can validate it first; Tab
  // still reaches the buttons. Enter in a box validates it, so no button is the default; Enter on
  // a button presses that button.
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {cmdSave_, cmdReset_, cmdPassword_, cmdTrial_, cmdOK_})
    boxesView_->Watch(b);
  buttons->addWidget(cmdSave_);
  buttons->addWidget(cmdReset_);
  buttons->addWidget(cmdPassword_);
  buttons->addWidget(cmdTrial_);
  buttons->addStretch();
  buttons->addWidget(cmdOK_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addLayout(buttons);

  // Tab goes down the left column, then down the right one, then along the buttons.
  QWidget* previous = nullptr;
  auto chain = [&previous](QWidget* w) {
    if (previous != nullptr) setTabOrder(previous, w);
    previous = w;
  };
  for (Field f : {Field::Dead0, Field::Dead1, Field::Range0, Field::Range1, Field::Round,
                  Field::Rate0, Field::Rate1, Field::MaxAdj0, Field::MaxAdj1, Field::EgHand0,
                  Field::EgHand1, Field::EgGross, Field::EgAve, Field::Correction})
    chain(boxes_[f]);
  for (QWidget* b : {cmdSave_, cmdReset_, cmdPassword_, cmdTrial_, cmdOK_})
    chain(b);

  connect(cmdSave_, &QPushButton::clicked, this, [this] {
    model_.SaveClick();
    Settle();
  });
  connect(cmdReset_, &QPushButton::clicked, this, [this] {
    model_.ResetClick();
    Settle();
  });
  connect(cmdPassword_, &QPushButton::clicked, this, [this] {
    model_.PasswordClick();
    Settle();
  });
  connect(cmdTrial_, &QPushButton::clicked, this, [this] {
    model_.TrialClick();
    Settle();
  });
  connect(cmdOK_, &QPushButton::clicked, this, [this] { reject(); });
  Refresh();
  SetUpButtons(this, {{cmdSave_, &model_.cmdSave},
                      {cmdReset_, &model_.cmdReset},
                      {cmdPassword_, &model_.cmdPassword},
                      {cmdTrial_, &model_.cmdTrial},
                      {cmdOK_, &model_.cmdOK}});
  boxes_[0]->setFocus();
}

QLabel* ParameterEditorView::Label(const Control& control) {
  auto* label = Make<QLabel>(control, this);
  label->setTextFormat(Qt::PlainText);
  labels_.emplace_back(label, &control);
  return label;
}

QLabel* ParameterEditorView::Note(const Control& control) {
  QLabel* note = Label(control);
  note->setWordWrap(true);
  note->installEventFilter(this);
  notes_.push_back(note);
  return note;
}

QGroupBox* ParameterEditorView::Frame(const Control& control) {
  auto* frame = Make<QGroupBox>(control, this);
  frame->setTitle(Latin1(control.caption));
  frame->setAccessibleName(OneLine(control.caption));
  return frame;
}

void ParameterEditorView::Refresh() {
  boxesView_->Refresh();
  for (const auto& [label, control] : labels_)
    Show(label, *control);
  Show(cmdSave_, model_.cmdSave);
  Show(cmdReset_, model_.cmdReset);
  Show(cmdPassword_, model_.cmdPassword);
  Show(cmdTrial_, model_.cmdTrial);
  Show(cmdOK_, model_.cmdOK);
}

void ParameterEditorView::Settle() {
  Refresh();
  if (model_.closed()) {
    done(QDialog::Accepted);
    return;
  }
  boxesView_->FocusEditing();
}

void ParameterEditorView::reject() {
  model_.BackClick();
  Settle();
}

bool ParameterEditorView::eventFilter(QObject* watched, QEvent* event) {
  // A wrapped note asks for the height its width gives it, however wide the window is made.
  if (event->type() == QEvent::Resize) {
    for (QLabel* note : notes_)
      if (note == watched) note->setMinimumHeight(note->heightForWidth(note->width()));
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace pg::ui
