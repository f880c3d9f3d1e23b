#pragma once

#include <array>
#include <optional>
#include <string>

#include "base/Control.h"
#include "shell/ParameterBoxes.h"
#include "shell/Program.h"

namespace pg {

// The parameter editor: every handicap parameter in a text box, and a worked example of one
// pair's update, recomputed after every accepted change, beside them. Accepted values change the
// parameters in memory at once; they reach Handicap.ini through "Save any changes" or by saving
// on the way out.
class ParameterEditor : public ParameterBoxes {
 public:
  static constexpr const char* kName = "frmParam";
  static constexpr const char* kCaption = "Parameters";

  // Opening: nothing changed, the two buttons that need a change disabled, the example shown;
  // or, when Program::editorParameters hands values over (taking them), those as edits.
  explicit ParameterEditor(Program& program);

  // Frames and the fixed texts around the boxes.
  Control fraDead{"fraDead", "Dead zone"};
  Control lblDeadTo{"lblDeadTo", "% to"};
  Control lblDeadPercent{"lblDeadPercent", "%"};
  Control lblDeadNote{"lblDeadNote",
                      "Handicap is not adjusted if the pair's net score is within the dead zone "
                      "(around the session's average handicap score)."};
  Control lblEgDeadText{"lblEgDeadText",
                        "E.g. handicap is not adjusted if their score is between:"};
  Control lblEgDeadAnd{"lblEgDeadAnd", "% and"};
  Control lblEgDeadPercent{"lblEgDeadPercent", "%"};
  Control fraRange{"fraRange", "Handicap range"};
  Control lblRangeFrom{"lblRangeFrom", "Handicaps must be between:"};
  Control lblRangeAnd{"lblRangeAnd", "and"};
  Control lblRoundTo{"lblRoundTo", "rounded to"};
  Control lblEgRoundText{"lblEgRoundText", "E.g. 5.6789 is rounded to"};
  Control fraRate{"fraRate", "Rate of handicap adjustment"};
  std::array<Control, 2> lblRate{Control{"lblRate(0)", "Above the dead zone"},
                                 Control{"lblRate(1)", "Below the dead zone"}};
  Control fraMaxAdj{"fraMaxAdj", "Maximum adjustment per session"};
  std::array<Control, 2> lblMaxAdj{Control{"lblMaxAdj(0)", "Above the dead zone"},
                                   Control{"lblMaxAdj(1)", "Below the dead zone"}};
  Control fraCorrection{"fraCorrection", "Correction Period"};
  Control lblDays{"lblDays", "days"};
  Control lblCorrectionNote{
      "lblCorrectionNote",
      "The number of days during which players can appeal against the scoring."};
  Control fraExample{"fraExample", "Example"};
  Control lblExampleNote{"lblExampleNote", "You can change these assumptions"};
  Control lblEgHandText{"lblEgHandText", "Pair's handicap"};
  Control lblEgHandAnd{"lblEgHandAnd", "and"};
  Control lblEgGrossText{"lblEgGrossText", "Pair's gross score"};
  Control lblEgAveText{"lblEgAveText", "Session's average handicap score"};
  Control lblEgNetText{"lblEgNetText", "Pair's net score"};
  Control lblEgDiffText{"lblEgDiffText", "Difference from par"};
  Control lblEgAdjText{"lblEgAdjText", "Handicap adjustment"};
  Control lblEgToText{"lblEgToText", "To"};
  Control lblEgToAnd{"lblEgToAnd", "and"};

  // The example's figures, set by EGUpdate.
  Control lblEgNet{"lblEgNet", ""};
  Control lblEgDiff{"lblEgDiff", ""};
  Control lblEGAdj{"lblEGAdj", ""};
  std::array<Control, 2> lblEgTo{Control{"lblEgTo(0)", ""}, Control{"lblEgTo(1)", ""}};
  std::array<Control, 2> lblEgDead{Control{"lblEgDead(0)", ""}, Control{"lblEgDead(1)", ""}};
  Control lblEgRound{"lblEgRound", ""};

  Control cmdSave{.name = "cmdSave", .caption = "Save any changes", .enabled = false, .key = 'S'};
  Control cmdReset{
      .name = "cmdReset", .caption = "Reset all parameters", .enabled = false, .key = 'R'};
  Control cmdPassword{.name = "cmdPassword", .caption = "Change Password", .key = 'P'};
  Control cmdTrial{.name = "cmdTrial", .caption = "Try parameters...", .key = 'T'};
  Control cmdOK{.name = "cmdOK", .caption = "< Back", .key = 'B'};

  // The four buttons. Each first validates the box being edited and does nothing when it refuses.
  void SaveClick();
  void ResetClick();
  void PasswordClick();
  // "Try parameters...": the trial window on the values being edited; the values it is asked to
  // use come back as edits, with "Save any changes" there.
  void TrialClick();
  // "< Back", and closing the window by other means.
  void BackClick();

  bool changed() const { return changed_; }
  bool closed() const { return closed_; }

  // Shows every box and the example from the parameters.
  void EGUpdate();

 protected:
  void Changed() override;
  void Accepted() override;

 private:
  void SetDisp();
  // The values Program::editorParameters hands over, taken as edits.
  void TakeEditorParameters();
  // The parameters as Handicap.ini holds them now.
  void RestoreSaved();
  // Writes the edited parameters onto Handicap.ini as it is now; false when it failed (a message
  // has said why).
  bool WriteOntoFile();

  Program& program_;
  // The parameters as last read or written; what a reset falls back on where the file cannot be
  // read.
  HandicapParameters saved_;
  bool changed_ = false;
  bool closed_ = false;
};

inline constexpr const char* kSaveParametersQuestion =
    "Previous parameters will be lost. Is that ok?";
inline constexpr const char* kResetQuestion = "Changes will be lost. Is that ok?";
inline constexpr const char* kBackQuestion = "Do you want to save any changes?";
inline constexpr const char* kIniKeepsChanging =
    " is being changed by another program. Nothing has been saved; try again in a moment.";

}  // namespace pg
