#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/Control.h"
#include "base/PrintedTable.h"
#include "history/ChartScale.h"
#include "history/HistoryDialog.h"
#include "shell/ParameterBoxes.h"
#include "shell/Program.h"
#include "update/Replay.h"

namespace pg {

// A member's handicap before the stretch and after each of its updates, as saved and on trial,
// with the club's range; the name and description are what a screen reader says of the chart.
struct TrialChart {
  std::string name;
  std::string description;
  double lower = 0;
  double upper = 0;
  std::vector<std::string> labels;  // "before", then each update's "dd/mm/yy"
  // Per column (as saved, trial), one point per label; nothing where the member was not there.
  std::array<std::vector<std::optional<double>>, 2> series;

  // The handicap axis with room for at most `most` grid lines: the club's range and every point.
  ChartScale Scale(int most) const;
};

// Tells the window how far a replay has come, when it takes long enough to be watched: 0 of the
// updates as it starts, then after each update, the last when it has finished.
class ReplayProgress {
 public:
  virtual ~ReplayProgress() = default;
  virtual void Step(const std::string& text, size_t done, size_t total) = 0;
};

// The window "Try parameters" ("frmTrial"): a stretch of the club's saved updates replayed under
// the parameters each ran under and under trial ones the secretary types, with each member's
// figures under both, the chosen member's handicaps in a chart, a figure of fairness to compare,
// and the self-check of the replay against the history. Nothing is written anywhere; "Use these
// parameters" takes the trial's values to the parameter editor, to be saved there.
class TrialDialog {
 public:
  static constexpr const char* kName = "frmTrial";
  static constexpr const char* kCaption = "Try parameters";

  // The trial starts from the values Program::trialStart hands over (taking them), or from the
  // club's parameters. Nothing is read until Load.
  explicit TrialDialog(Program& program);

  // Reads the members and the history, chooses the last twelve months of updates and replays
  // them; progress, when given, is told how far each replay has come.
  void Load(ReplayProgress* progress = nullptr);

  Control lblFrom{.name = "lblFrom", .caption = "From update", .key = 'F'};
  Control cboFrom{"cboFrom", "From update"};
  Control lblTo{.name = "lblTo", .caption = "To update", .key = 'T'};
  Control cboTo{"cboTo", "To update"};
  Control lblParameter{"lblParameter", "Parameter"};
  Control lblSavedHead{"lblSavedHead", "As saved"};
  Control lblTrialHead{.name = "lblTrialHead", .caption = "Trial", .key = 'i'};
  // Per parameter an update applies: its name, and its value as saved (several values in order,
  // when the updates of the stretch ran under different ones).
  std::array<Control, ParameterBoxes::kUpdateFieldCount> lblField;
  std::array<Control, ParameterBoxes::kUpdateFieldCount> lblSaved;
  Control lblCheck{"lblCheck", ""};
  Control lblFairness{"lblFairness", ""};
  Control lblMovement{"lblMovement", ""};
  Control lblDefinition{"lblDefinition", ""};
  Control lblMembers{.name = "lblMembers", .caption = "Members", .key = 'M'};
  Control grdMembers{"grdMembers", "Members"};
  Control picChart{"picChart", ""};
  Control lblNotes{.name = "lblNotes", .caption = "What the replay could not do", .key = 'W'};
  Control lstNotes{"lstNotes", "What the replay could not do"};
  Control cmdUse{.name = "cmdUse", .caption = "Use these parameters", .key = 'U'};
  Control cmdPrint{.name = "cmdPrint", .caption = "Print...", .key = 'P'};
  Control cmdOK{.name = "cmdOK", .caption = "< Back", .key = 'B'};

  // The trial's boxes, the parameter editor's first nine.
  ParameterBoxes& boxes() { return boxes_; }

  // The updates of the history, oldest first, as both lists show them ("Mon 23/02/26").
  const std::vector<std::string>& updateNames() const { return updateNames_; }
  int from() const { return from_; }
  int to() const { return to_; }
  // A new end of the stretch, the other end moved with it when they would cross; replays.
  void ChooseFrom(int update);
  void ChooseTo(int update);

  const TextTable& members() const { return members_; }
  const TextTable& notes() const { return notes_; }
  const TrialChart& chart() const { return chart_; }
  const Replay& replay() const { return replay_; }
  const HandicapParameters& trial() const { return trial_; }
  int chosen() const { return chosen_; }
  void ChooseMember(int row);

  // "Use these parameters": once the box being edited takes its value, the trial's values go to
  // the parameter editor, behind its password, to be saved there; opened from the editor, they
  // go back to it and this window closes.
  void UseClick();
  void BackClick();
  bool closed() const { return closed_; }
  void PrintFailed();
  // The members' figures for printing; PrintedSummary the lines printed above them.
  PrintedTable Printout() const;
  std::vector<std::string> PrintedSummary() const;

 private:
  class Boxes : public ParameterBoxes {
   public:
    Boxes(TrialDialog& window, Dialogs& dialogs);

   protected:
    void Accepted() override;

   private:
    TrialDialog& window_;
  };

  void Run();
  void Show();
  void ShowChosen();

  Program& program_;
  HandicapParameters trial_;
  // The parameters of an update that did not record its own: the club's as saved.
  HandicapParameters today_;
  bool fromEditor_ = false;
  Boxes boxes_;
  ReplayProgress* progress_ = nullptr;
  History history_;
  std::string damage_;
  std::vector<std::string> updateNames_;
  int from_ = -1;
  int to_ = -1;
  Replay replay_;
  TextTable members_;
  TextTable notes_;
  TrialChart chart_;
  int chosen_ = -1;
  bool closed_ = false;
};

// What the window says the figure of fairness is.
std::string FairnessDefinition();
inline constexpr const char* kNoUpdateToReplayText = "No saved update to replay.";
inline constexpr const char* kTrialPrintFailedText =
    "The trial could not be printed. Check the printer or the file name and try again.";

}  // namespace pg
