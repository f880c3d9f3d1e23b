#pragma once

#include <QDialog>
#include <array>

#include "shell/Program.h"
#include "update/UpdateDialog.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace pg::ui {

class QtWindows;

// The update window's widgets: object name "frmUpdate"; the lists are "lstFiles0" (sessions to
// be used) and "lstFiles1" (sessions to be ignored), headed by "lblFiles0" and "lblFiles1"; the
// move buttons are "cmdAdd0" and "cmdAdd1"; "lblDay" sits in the frame "fraInfo". Clicks and
// keyboard moves in the lists go to the model, which the widgets then show again.
class UpdateView : public QDialog {
 public:
  explicit UpdateView(UpdateDialog& model, QWidget* parent = nullptr);
  ~UpdateView() override;

  // Shows the lists, their selections and every control as the model holds them.
  void Refresh();

 private:
  UpdateDialog& model_;
  std::array<QLabel*, 2> headings_{};
  std::array<QListWidget*, 2> lists_{};
  std::array<QPushButton*, 2> cmdAdd_{};
  QGroupBox* fraInfo_;
  QLabel* lblDay_;
  QPushButton* cmdOK_;
  QPushButton* cmdCancel_;
  // Set while the widgets are being brought up to date, so that doing so is not taken for a
  // click.
  bool refreshing_ = false;
};

// Registers the update window with the Windows port: opened on the program's session, members
// and outputs, listing the sessions from the program's StartDate.
void RegisterUpdateWindow(QtWindows& windows, Program& program);

}  // namespace pg::ui
