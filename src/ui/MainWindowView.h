#pragma once

#include <QMainWindow>

#include "shell/MainWindow.h"

class QLabel;
class QPushButton;

namespace pg::ui {

// The main window's widgets: object name "frmMain", one child per control of the model under the
// control's name. Clicks go to the model; afterwards the widgets show the model as it stands.
class MainWindowView : public QMainWindow {
 public:
  explicit MainWindowView(MainWindow& model, QWidget* parent = nullptr);

  // Shows every control's caption and enabled state from the model.
  void Refresh();

 private:
  MainWindow& model_;
  QWidget* body_;
  QLabel* lblHead_;
  QLabel* lblMess_;
  QPushButton* cmdParam_;
  QPushButton* cmdUpdate_;
  QPushButton* cmdHistory_;
  QPushButton* cmdStop_;
  QPushButton* cmdAbout_;
};

}  // namespace pg::ui
