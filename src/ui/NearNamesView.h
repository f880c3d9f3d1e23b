#pragma once

#include <QDialog>

#include "shell/Program.h"
#include "update/NearNamesDialog.h"

class QLabel;
class QPrinter;
class QPushButton;
class QTableWidget;

namespace pg::ui {

class QtWindows;

// The window "frmNames": the label `lblInfo`, the table `grdNames` of the names with their
// sessions, members and differences, and the buttons "Continue" (`cmdOK`, the default),
// "< Back" (`cmdCancel`) and "Print..." (`cmdPrint`). Escape and the title bar's close button
// count as "< Back".
class NearNamesView : public QDialog {
 public:
  explicit NearNamesView(NearNamesDialog& model, QWidget* parent = nullptr);

  // Lays the model's printed table out on the printer's pages. False, after the model has said
  // so, when the printer cannot be started.
  bool Print(QPrinter& printer);

  void accept() override;
  void reject() override;

 private:
  void SizeToContents();

  NearNamesDialog& model_;
  QLabel* lblInfo_;
  QTableWidget* grdNames_;
  QPushButton* cmdOK_;
  QPushButton* cmdCancel_;
  QPushButton* cmdPrint_;
};

// Registers the names window with the Windows port, opened on the program's name check over the
// window that asks for it (the update window).
void RegisterNearNamesWindow(QtWindows& windows, Program& program);

}  // namespace pg::ui
