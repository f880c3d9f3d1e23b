#pragma once

#include <QDialog>
#include <array>
#include <utility>
#include <vector>

#include "shell/ParameterEditor.h"
#include "ui/ParameterBoxesView.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pg::ui {

// The parameter editor's widgets (object name "frmParam"). Every key typed into a box, every
// change of its text and every move of the focus between boxes and buttons goes to the model,
// which takes or refuses it; the widgets then show the model again, and the focus goes back to
// the box the model is still editing.
class ParameterEditorView : public QDialog {
 public:
  explicit ParameterEditorView(ParameterEditor& model, QWidget* parent = nullptr);
  void Refresh();
  // Escape and the title bar's close button: the same as "< Back".
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using Field = ParameterEditor::Field;

  QLabel* Label(const Control& control);
  // A label whose text wraps to the width it is given.
  QLabel* Note(const Control& control);
  QGroupBox* Frame(const Control& control);
  // After the model has had an event: show it, put the focus back in the box it is editing,
  // and close when it has finished.
  void Settle();

  ParameterEditor& model_;
  ParameterBoxesView* boxesView_;
  std::array<QLineEdit*, ParameterEditor::kFieldCount> boxes_{};
  // Every label with the control it shows; the frames' captions never change.
  std::vector<std::pair<QLabel*, const Control*>> labels_;
  std::vector<QLabel*> notes_;
  QPushButton* cmdSave_;
  QPushButton* cmdReset_;
  QPushButton* cmdPassword_;
  QPushButton* cmdTrial_;
  QPushButton* cmdOK_;
};

}  // namespace pg::ui
