#pragma once

#include <QLineEdit>
#include <QWidget>

#include "base/Control.h"
#include "ui/Text.h"

namespace pg::ui {

// A widget for a model's control: the control's name is its object name, so tests and
// accessibility tools find it by the name the model uses.
template <class W>
W* Make(const Control& control, QWidget* parent) {
  auto* widget = new W(parent);
  widget->setObjectName(Latin1(control.name));
  return widget;
}

// Shows a control as the model holds it after an event: caption (also its accessible name, on
// one line), enabled and visible.
template <class W>
void Show(W* widget, const Control& control) {
  widget->setText(Shown(control.caption));
  widget->setAccessibleName(OneLine(control.caption));
  widget->setEnabled(control.enabled);
  widget->setVisible(control.visible);
}

// Shows a button as Show does, with a keyboard mnemonic on the first `key` of its caption.
template <class B>
void ShowButton(B* button, const Control& control, char key) {
  Show(button, control);
  QString text = Latin1(control.caption);
  const auto at = text.indexOf(QLatin1Char(key));
  if (at >= 0) text.insert(at, QLatin1Char('&'));
  button->setText(text);
}

// Shows a text box as the model holds it: its text (left alone when already shown, so the cursor
// stays where it is), the words that name it as accessible name, enabled and visible.
inline void ShowField(QLineEdit* edit, const Control& control, const std::string& text) {
  const QString shown = Latin1(text);
  if (edit->text() != shown) edit->setText(shown);
  edit->setAccessibleName(OneLine(control.caption));
  edit->setEnabled(control.enabled);
  edit->setVisible(control.visible);
}

}  // namespace pg::ui
