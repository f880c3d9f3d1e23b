#pragma once

#include <string>

#include "base/Control.h"
#include "shell/Program.h"

namespace pg {

// The main window: the title, the status line, four buttons and, apart from them, "About". It
// stays open for the whole run; every other window opens modally on top of it through the Windows
// port.
class MainWindow {
 public:
  // The error-report name and the object name of the view.
  static constexpr const char* kName = "frmMain";
  static constexpr const char* kCaption = "Pairgauge";

  explicit MainWindow(Program& program) : program_(program) {}

  Program& program() { return program_; }

  Control cmdParam{.name = "cmdParam", .caption = "Parameters", .key = 'P'};
  Control cmdUpdate{
      .name = "cmdUpdate", .caption = "Update handicaps", .key = 'U', .isDefault = true};
  Control cmdHistory{.name = "cmdHistory", .caption = "History", .key = 'H'};
  Control cmdStop{.name = "cmdStop", .caption = "Stop", .key = 'S'};
  Control cmdAbout{.name = "cmdAbout", .caption = "About", .key = 'A'};
  Control lblHead{"lblHead", ""};
  Control lblMess{"lblMess", ""};

  // Shows the date of the last update in the status line, or that there has been none.
  void ShowInfo();

  // "Parameters": the new-password window while no password is set, otherwise the
  // password-entry window; the parameter editor opens only when that window was completed.
  void ParamClick();

  // "Update handicaps": settles StartDate (the day after the last update, or a date the user
  // types before the first one), shows the update window, then refreshes the status line.
  void UpdateClick();

  // "History": shows the History window, then the status line again when an undo there moved
  // the date of the last update.
  void HistoryClick();

  // "Stop": ends the program at once, nothing saved.
  void StopClick();

  // "About": the program's version, copyright and licence, in a message.
  void AboutClick();

 private:
  // Asks for the date of the first session until it is a day in the past; false when the user
  // answers nothing or cancels.
  bool AskFirstDate();

  Program& program_;
};

inline constexpr const char* kFirstUseText = "First use of this program";
inline constexpr const char* kNoUpdatesText = "No updates yet done";
inline constexpr const char* kLastUpdatedText =
    "Handicaps last updated using sessions up to and including ";
inline constexpr const char* kFirstDatePrompt =
    "No handicaps have yet been updated\r\n"
    "Please select the date of the first session\r\n"
    "which will be used to start updating handicaps";
inline constexpr const char* kNotADateText = "Please enter a date, e.g. 25/9/2006";
inline constexpr const char* kNotInThePastText = "Date must be in the past";

}  // namespace pg
