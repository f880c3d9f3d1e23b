#pragma once

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

}  // namespace pg::ui
