#pragma once

#include <QColor>
#include <QDialog>
#include <QWidget>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "shell/TrialWindow.h"

class QComboBox;
class QLabel;
class QPainter;
class QPrinter;
class QPushButton;
class QTableView;

namespace pg::ui {

class ParameterBoxesView;
class QtWindows;
class TextTableModel;

// Draws a member's handicap after each update as saved and on trial into box: the club's range
// shaded, the grid the model's scale gives, one line for each column (the trial's dashed) and a
// key naming them.
void DrawTrialChart(QPainter& painter, const QRect& box, const TrialChart& chart, QColor ink,
                    QColor paper);

// The chart as a widget, named and described for a screen reader by the model's words.
class TrialChartView : public QWidget {
 public:
  TrialChartView(const TrialChart& chart, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const TrialChart& chart_;
};

// The window "Try parameters" ("frmTrial"): the stretch's two lists, the parameters as saved
// beside the trial's boxes, the self-check and the figures, the members' table with the chosen
// member's chart, the notes, and Use these parameters, Print... and < Back.
class TrialView : public QDialog {
 public:
  explicit TrialView(TrialDialog& model, QWidget* parent = nullptr);
  ~TrialView() override;

  // Reads the history and replays it, with a progress window should that take a while.
  void Load();
  void Refresh();
  // The figures, the chosen member's chart and the members' table; false, after the model has
  // said so, when the printer cannot be started.
  bool Print(QPrinter& printer);
  // Escape and the title bar's close button: the same as "< Back".
  void reject() override;

 private:
  class Progress;
  QLabel* Label(const Control& control);
  void Settle();
  void ShowChosen();

  TrialDialog& model_;
  // Every label with the control it shows.
  std::vector<std::pair<QLabel*, const Control*>> labels_;
  std::unique_ptr<Progress> progress_;
  ParameterBoxesView* boxesView_;
  TextTableModel* membersModel_;
  TextTableModel* notesModel_;
  QLabel* lblFrom_;
  QComboBox* cboFrom_;
  QLabel* lblTo_;
  QComboBox* cboTo_;
  QLabel* lblParameter_;
  QLabel* lblSavedHead_;
  QLabel* lblTrialHead_;
  std::array<QLabel*, ParameterBoxes::kUpdateFieldCount> lblField_{};
  std::array<QLabel*, ParameterBoxes::kUpdateFieldCount> lblSaved_{};
  QLabel* lblCheck_;
  QLabel* lblFairness_;
  QLabel* lblMovement_;
  QLabel* lblDefinition_;
  QLabel* lblMembers_;
  QTableView* grdMembers_;
  TrialChartView* picChart_;
  QLabel* lblNotes_;
  QTableView* lstNotes_;
  QPushButton* cmdUse_;
  QPushButton* cmdPrint_;
  QPushButton* cmdOK_;
};

// Registers the window with the Windows port, over the window that asks for it.
void RegisterTrialWindow(QtWindows& windows, Program& program);

}  // namespace pg::ui
