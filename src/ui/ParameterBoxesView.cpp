#include "ui/ParameterBoxesView.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <algorithm>
#include <optional>

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

// Posted when the focus came into a box (field) or another control (-1), and handled once the
// focus has settled: a message box shown inside a focus change would fight it.
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

ParameterBoxesView::ParameterBoxesView(ParameterBoxes& model, QWidget* window,
                                       std::function<void()> settle)
    : QObject(window), model_(model), window_(window), settle_(std::move(settle)) {}

QLineEdit* ParameterBoxesView::MakeBox(Field f) {
  auto* box = Make<QLineEdit>(model_.fields[f].control, window_);
  box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-000.000")) + 12);
  box->installEventFilter(this);
  boxes_[f] = box;
  // Every change but the view's own (ShowField's) goes through the box's filter: typed,
  // pasted, dropped, undone, or put in by assistive software through the accessibility
  // interface, which sends no textEdited.
  connect(box, &QLineEdit::textChanged, this, [this, f, box](const QString& text) {
    const int fromEnd = static_cast<int>(box->text().size()) - box->cursorPosition();
    if (!model_.TextEdited(f, Typed(text))) {
      const QSignalBlocker quiet(box);
      box->setText(Latin1(model_.fields[f].text));
      box->setCursorPosition(std::max(0, static_cast<int>(box->text().size()) - fromEnd));
    }
    settle_();
  });
  return box;
}

void ParameterBoxesView::Watch(QWidget* control) {
  if (qobject_cast<QPushButton*>(control) != nullptr) control->setFocusPolicy(Qt::TabFocus);
  control->installEventFilter(this);
}

void ParameterBoxesView::Refresh() {
  for (int f = 0; f < ParameterBoxes::kFieldCount; ++f)
    if (boxes_[f] != nullptr) ShowField(boxes_[f], model_.fields[f].control, model_.fields[f].text);
}

void ParameterBoxesView::FocusEditing() {
  if (const auto f = model_.editing(); f && boxes_[*f] != nullptr && !boxes_[*f]->hasFocus()) {
    boxes_[*f]->setFocus(Qt::OtherFocusReason);
    boxes_[*f]->selectAll();
  }
}

int ParameterBoxesView::FieldOf(const QObject* object) const {
  for (int f = 0; f < ParameterBoxes::kFieldCount; ++f)
    if (boxes_[f] == object) return f;
  return -1;
}

bool ParameterBoxesView::event(QEvent* event) {
  if (event->type() != FocusMoved::Kind()) return QObject::event(event);
  const auto* moved = static_cast<const FocusMoved*>(event);
  // Only where the focus still is: a refusal meanwhile has taken it back.
  if (moved->widget.isNull() || !moved->widget->hasFocus()) return true;
  if (moved->field >= 0)
    model_.FieldEntered(static_cast<Field>(moved->field));
  else
    model_.LeaveField();
  settle_();
  return true;
}

bool ParameterBoxesView::eventFilter(QObject* watched, QEvent* event) {
  const int field = FieldOf(watched);
  if (event->type() == QEvent::FocusIn && IsAMove(event)) {
    QCoreApplication::postEvent(this, new FocusMoved(static_cast<QWidget*>(watched), field));
  } else if (field >= 0 && event->type() == QEvent::KeyPress) {
    const auto key = KeyOf(static_cast<QKeyEvent*>(event));
    if (key) {
      const bool goesOn = model_.KeyTyped(static_cast<Field>(field), *key);
      settle_();
      return !goesOn;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pg::ui
