#include "base/Guard.h"

namespace pg {

void ReportError(Dialogs& dialogs, const std::string& where, const RunTimeError& error, int line) {
  const std::string text = where + "\r\n" + error.description() + "\r\nError no. " +
                           std::to_string(error.number()) + "\r\nLine " + std::to_string(line) +
                           "\r\nDo you wish to try to continue?";
  if (dialogs.Message(text, Buttons::YesNo, Icon::None) == Answer::No) dialogs.EndProgram();
}

}  // namespace pg
