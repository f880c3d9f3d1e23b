#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "shell/ParameterBoxes.h"

class QLineEdit;
class QWidget;

namespace pg::ui {

// Ties a window's parameter boxes to their model: every key typed into a box, every change of its
// text and every move of the focus between the boxes and the window's other controls goes to the
// model, which takes or refuses it; then `settle` shows the window again. The parameter editor
// and the trial of other parameters both take their boxes from here.
class ParameterBoxesView : public QObject {
 public:
  using Field = ParameterBoxes::Field;

  ParameterBoxesView(ParameterBoxes& model, QWidget* window, std::function<void()> settle);

  // The box of one field, as wide as its numbers need.
  QLineEdit* MakeBox(Field field);
  // A control the focus may go to from a box, which validates the box first. A button takes the
  // focus from the keyboard only, so that a click leaves it in the box and the button's handler
  // validates the box itself.
  void Watch(QWidget* control);

  QLineEdit* box(Field field) const { return boxes_[field]; }
  // Shows every box made as the model holds it.
  void Refresh();
  // Puts the focus back in the box the model is editing, where a refusal left it.
  void FocusEditing();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  int FieldOf(const QObject* object) const;

  ParameterBoxes& model_;
  QWidget* window_;
  std::function<void()> settle_;
  std::array<QLineEdit*, ParameterBoxes::kFieldCount> boxes_{};
};

}  // namespace pg::ui
