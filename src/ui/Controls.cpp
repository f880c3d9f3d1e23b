#include "ui/Controls.h"

#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace pg::ui {

namespace {

// Enter on a button presses it. Qt's own way (a focused "auto default" button) would, in a
// dialog, also make the first such button the default one, which the model did not ask for.
class EnterPresses : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      auto* button = qobject_cast<QPushButton*>(watched);
      if (button != nullptr && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (button->isEnabled()) button->click();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

QString Captioned(const Control& control) {
  QString text = Shown(control.caption);
  if (control.key == 0) return text;
  text.replace(QLatin1Char('&'), QStringLiteral("&&"));
  const auto at = text.indexOf(QLatin1Char(control.key));
  if (at >= 0) text.insert(at, QLatin1Char('&'));
  return text;
}

void SetUpButtons(QWidget* window,
                  std::initializer_list<std::pair<QPushButton*, const Control*>> buttons) {
  for (const auto& [button, control] : buttons) {
    button->setAutoDefault(false);
    button->setDefault(control->isDefault);
    // Owned by the button.
    button->installEventFilter(new EnterPresses(button));
    if (control->isDefault && qobject_cast<QDialog*>(window) == nullptr) button->setFocus();
  }
}

}  // namespace pg::ui
