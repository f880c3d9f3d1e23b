#pragma once

#include <QDialog>

#include "review/ReviewDialog.h"
#include "shell/Program.h"

class QLabel;
class QPrinter;
class QPushButton;
class QTableView;

namespace pg::ui {

class QtWindows;
class ReviewGridModel;

// The review window "frmPrint": the grid `flex` over the model's grid, its two labels and the
// Save, Back and Print buttons. Clicks go to the model; the widgets then show it again.
// Escape and the title bar's close button count as "< Back".
class ReviewView : public QDialog {
 public:
  explicit ReviewView(ReviewDialog& model, QWidget* parent = nullptr);
  ~ReviewView() override;

  void Refresh();
  // Lays the model's printed table out on the printer's pages, the headings on every page.
  // False, after the model has said so, when the printer cannot be started.
  bool Print(QPrinter& printer);

  void reject() override;

 private:
  void PrintClick();
  // Sizes the columns from their twips and the grid from the screen, as the model gives them.
  void SizeToScreen();

  ReviewDialog& model_;
  ReviewGridModel* gridModel_;
  QLabel* Label1_;
  QLabel* lblSort_;
  QTableView* flex_;
  QPushButton* cmdSave_;
  QPushButton* cmdOK_;
  QPushButton* cmdPrint_;
};

// Registers the review window with the Windows port, opened on the program's members and the
// last run's outputs, over the window that asks for it (the main window when none is modal).
void RegisterReviewWindow(QtWindows& windows, Program& program, QWidget* mainWindow);

}  // namespace pg::ui
