#include "ui/ParameterEditorView.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Controls.h"
#include "ui/Text.h"

namespace pg::ui {

namespace {

// Focus that comes back with the window (after a message box) or a popup is no move between
// boxes, and nothing is validated for it.
bool IsAMove(const QEvent* event) {
  const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// The key as the model takes it: Enter as '\r', one Latin-1 character, or nothing for keys that
// type no character (arrows, Delete, ...) or more than one, and for shortcuts (Ctrl+A, ...):
// what they change in a box is checked as the box's text changes.
std::optional<char> KeyOf(const QKeyEvent* key) {
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return '\r';
  if ((key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0)
    return std::nullopt;
  const QString text = key->text();
  if (text.size() != 1) return std::nullopt;
  const char16_t c = text.at(0).unicode();
  return c < 0x100 ? static_cast<char>(c) : '?';
}

// Posted when the focus came into a box (field) or a button (-1), and handled once the focus has
// settled: a message box shown inside a focus change would fight it.
class FocusMoved : public QEvent {
 public:
  static QEvent::Type Kind() {
    static const int type = QEvent::registerEventType();
    return static_cast<QEvent::Type>(type);
  }
  FocusMoved(QWidget* w, int f) : QEvent(Kind()), widget(w), field(f) {}
  QPointer<QWidget> widget;
  int field;
};

}  // namespace

ParameterEditorView::ParameterEditorView(ParameterEditor& model, QWidget* parent)
    : QDialog(parent),
      model_(model),
      cmdSave_(Make<QPushButton>(model.cmdSave, this)),
      cmdReset_(Make<QPushButton>(model.cmdReset, this)),
      cmdPassword_(Make<QPushButton>(model.cmdPassword, this)),
      cmdOK_(Make<QPushButton>(model.cmdOK, this)) {
  setObjectName(QString::fromLatin1(ParameterEditor::kName));
  setWindowTitle(QString::fromLatin1(ParameterEditor::kCaption));
  setAccessibleName(QString::fromLatin1(ParameterEditor::kCaption));

  const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("-000.000"));
  for (int f = 0; f < ParameterEditor::kFieldCount; ++f) {
    boxes_[f] = Make<QLineEdit>(model.fields[f].control, this);
    boxes_[f]->setFixedWidth(boxWidth + 12);
    boxes_[f]->installEventFilter(this);
    // Every change but the view's own (ShowField's) goes through the box's filter: typed,
    // pasted, dropped, undone, or put in by assistive software through the accessibility
    // interface, which sends no textEdited.
    connect(boxes_[f], &QLineEdit::textChanged, this, [this, f](const QString& text) {
      QLineEdit* box = boxes_[f];
      const int fromEnd = static_cast<int>(box->text().size()) - box->cursorPosition();
      if (!model_.TextEdited(static_cast<Field>(f), Typed(text))) {
        const QSignalBlocker quiet(box);
        box->setText(Latin1(model_.fields[f].text));
        box->setCursorPosition(std::max(0, static_cast<int>(box->text().size()) - fromEnd));
      }
      Settle();
    });
  }
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
  for (QPushButton* b : {cmdSave_, cmdReset_, cmdPassword_, cmdOK_}) {
    b->setFocusPolicy(Qt::TabFocus);
    b->installEventFilter(this);
  }
  buttons->addWidget(cmdSave_);
  buttons->addWidget(cmdReset_);
  buttons->addWidget(cmdPassword_);
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
  for (QWidget* b : {cmdSave_, cmdReset_, cmdPassword_, cmdOK_})
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
  connect(cmdOK_, &QPushButton::clicked, this, [this] { reject(); });
  Refresh();
  SetUpButtons(this, {{cmdSave_, &model_.cmdSave},
                      {cmdReset_, &model_.cmdReset},
                      {cmdPassword_, &model_.cmdPassword},
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
  for (int f = 0; f < ParameterEditor::kFieldCount; ++f)
    ShowField(boxes_[f], model_.fields[f].control, model_.fields[f].text);
  for (const auto& [label, control] : labels_)
    Show(label, *control);
  Show(cmdSave_, model_.cmdSave);
  Show(cmdReset_, model_.cmdReset);
  Show(cmdPassword_, model_.cmdPassword);
  Show(cmdOK_, model_.cmdOK);
}

int ParameterEditorView::FieldOf(const QObject* object) const {
  for (int f = 0; f < ParameterEditor::kFieldCount; ++f)
    if (boxes_[f] == object) return f;
  return -1;
}

void ParameterEditorView::Settle() {
  Refresh();
  if (model_.closed()) {
    done(QDialog::Accepted);
    return;
  }
  if (const auto f = model_.editing(); f && !boxes_[*f]->hasFocus()) {
    boxes_[*f]->setFocus(Qt::OtherFocusReason);
    boxes_[*f]->selectAll();
  }
}

bool ParameterEditorView::event(QEvent* event) {
  if (event->type() != FocusMoved::Kind()) return QDialog::event(event);
  const auto* moved = static_cast<const FocusMoved*>(event);
  // Only where the focus still is: a refusal meanwhile has taken it back.
  if (moved->widget.isNull() || !moved->widget->hasFocus()) return true;
  if (moved->field >= 0)
    model_.FieldEntered(static_cast<Field>(moved->field));
  else
    model_.LeaveField();
  Settle();
  return true;
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
    return QDialog::eventFilter(watched, event);
  }
  const int field = FieldOf(watched);
  if (event->type() == QEvent::FocusIn && IsAMove(event)) {
    QCoreApplication::postEvent(this, new FocusMoved(static_cast<QWidget*>(watched), field));
  } else if (field >= 0 && event->type() == QEvent::KeyPress) {
    const auto key = KeyOf(static_cast<QKeyEvent*>(event));
    if (key) {
      const bool goesOn = model_.KeyTyped(static_cast<Field>(field), *key);
      Settle();
      return !goesOn;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace pg::ui
