#pragma once

#include <QColor>
#include <QDialog>
#include <QWidget>

#include "history/HistoryDialog.h"
#include "shell/Program.h"

class QLabel;
class QPainter;
class QPrinter;
class QPushButton;
class QTableView;

namespace pg::ui {

class QtWindows;
class TextTableModel;

// Draws a member's handicap after each update into box: the club's handicap range shaded, a line
// through the updates spaced by their dates, a hollow mark where an update is less certain.
void DrawChart(QPainter& painter, const QRect& box, const HandicapChart& chart, QColor ink,
               QColor paper);

// The chart as a widget: named and described for a screen reader by the model's words.
class ChartView : public QWidget {
 public:
  ChartView(const HandicapChart& chart, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const HandicapChart& chart_;
};

// The History window "frmHistory": the members' list, the chosen member's chart and updates, a
// note on less certain updates, and Undo last update, Print... and < Back. Choosing a member (by
// mouse or arrow keys) and the buttons go to the model; the widgets then show it again.
class HistoryView : public QDialog {
 public:
  explicit HistoryView(HistoryDialog& model, QWidget* parent = nullptr);
  ~HistoryView() override;

  void Refresh();
  // The chosen member's history with the chart on its first page; false, after the model has
  // said so, when the printer cannot be started.
  bool Print(QPrinter& printer);

 private:
  void ShowChosen();

  HistoryDialog& model_;
  TextTableModel* membersModel_;
  TextTableModel* updatesModel_;
  QLabel* lblMembers_;
  QTableView* lstMembers_;
  ChartView* picChart_;
  QLabel* lblUpdates_;
  QTableView* lstUpdates_;
  QLabel* lblNote_;
  QPushButton* cmdUndo_;
  QPushButton* cmdPrint_;
  QPushButton* cmdTrial_;
  QPushButton* cmdOK_;
};

// Registers the History window with the Windows port, over the window that asks for it.
void RegisterHistoryWindow(QtWindows& windows, Program& program, QWidget* mainWindow);

}  // namespace pg::ui
