#pragma once

#include <QLineEdit>
#include <QSignalBlocker>
#include <QWidget>
#include <initializer_list>
#include <utility>

#include "base/Control.h"
#include "ui/Text.h"

class QPushButton;

namespace pg::ui {

// A widget for a model's control: the control's name is its object name, so tests and
// accessibility tools find it by the name the model uses.
template <class W>
W* Make(const Control& control, QWidget* parent) {
  auto* widget = new W(parent);
  widget->setObjectName(Latin1(control.name));
  return widget;
}

// The caption as a button or a label with a buddy shows it: the control's key marked with "&"
// (a "&" of the caption itself doubled), line breaks as Qt's. Without a key, as Shown gives it.
QString Captioned(const Control& control);

// Shows a control as the model holds it after an event: caption (with its key underlined; the
// accessible name is the caption's words on one line, without the mark), enabled and visible.
template <class W>
void Show(W* widget, const Control& control) {
  widget->setText(Captioned(control));
  widget->setAccessibleName(OneLine(control.caption));
  widget->setEnabled(control.enabled);
  widget->setVisible(control.visible);
}

// Shows a text box as the model holds it: its text (left alone when already shown, so the cursor
// stays where it is), the words that name it as accessible name, enabled and visible. The text
// set here is the model's own, so it does not come back to the model as an edit.
inline void ShowField(QLineEdit* edit, const Control& control, const std::string& text) {
  const QString shown = Latin1(text);
  if (edit->text() != shown) {
    const QSignalBlocker quiet(edit);
    edit->setText(shown);
  }
  edit->setAccessibleName(OneLine(control.caption));
  edit->setEnabled(control.enabled);
  edit->setVisible(control.visible);
}

// Sets up a window's buttons once, after the model: the model's default button (if any) is the
// one Enter presses, and Enter on a button that has the focus presses that button, as Space
// does. In a window that is not a dialog nothing passes Enter on to the default button, so there
// it starts with the focus.
void SetUpButtons(QWidget* window,
                  std::initializer_list<std::pair<QPushButton*, const Control*>> buttons);

}  // namespace pg::ui
