#include "shell/MainWindow.h"

#include "base/Files.h"
#include "base/Guard.h"
#include "review/ClubLock.h"
#include "review/History.h"
#include "shell/About.h"
#include "shell/PasswordWindows.h"

namespace pg {

namespace {

// LastUpdated as a date. A text that is no date (a damaged Handicap.ini) counts as no update:
// the next update then asks where to start instead of guessing.
std::optional<Date> LastUpdatedDate(const Context& c) {
  if (c.Parameters.LastUpdated.empty()) return std::nullopt;
  return ParseDate(c.Parameters.LastUpdated);
}

// Handicap.ini as it is now: another copy of the program may have saved an update, undone one or
// saved the parameters since this one read it.
void ReadParametersAfresh(Context& c) {
  if (!FileExists(c.HandicapFolder + kParameterFileName)) return;
  ReadParameters(c.HandicapFolder, c.Parameters);
  c.NoUpdateYet = !LastUpdatedDate(c);
}

}  // namespace

void MainWindow::ShowInfo() {
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  guard.Step(100, [&] {
    ReadParametersAfresh(c);
    if (const auto last = LastUpdatedDate(c)) {
      lblMess.caption =
          std::string(kLastUpdatedText) + "\r\n" + FormatDate(*last, "dddd dd mmm yyyy");
    } else {
      lblMess.caption = kNoUpdatesText;
      c.NoUpdateYet = true;
    }
  });
}

void MainWindow::ParamClick() {
  OpenParameterEditor(program_, kName);
}

void MainWindow::UpdateClick() {
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  // From here until the review window closes no other copy changes the club's files.
  std::optional<ClubLockScope> lock;
  guard.Step(90, [&] { lock.emplace(c, kUpdatingHandicaps); });
  if (!lock || !lock->held()) return;
  bool haveStart = false;
  guard.Step(100, [&] {
    ReadParametersAfresh(c);
    // What the history holds now; an update another copy saves from here on is not among it.
    const std::optional<std::string> history = ReadFileBytes(c.HandicapFolder + kHistoryFileName);
    c.HistorySeen = history ? SavedUpdateDates(*history) : std::vector<Date>{};
    const auto last = LastUpdatedDate(c);
    if (!c.NoUpdateYet && last) {
      c.StartDate = *last + std::chrono::days{1};
      haveStart = true;
    } else {
      haveStart = AskFirstDate();
    }
  });
  if (!haveStart) return;
  // The update window lists the sessions from StartDate on.
  guard.Step(110, [&] { c.ports.windows.ShowModal(WindowId::Update); });
  c.HistorySeen.reset();
  lock.reset();
  guard.Step(120, [&] { ShowInfo(); });
}

bool MainWindow::AskFirstDate() {
  Context& c = program_.context;
  for (;;) {
    const auto answer = c.dialogs().Prompt(kFirstDatePrompt, kProgramTitle, "");
    if (!answer || answer->empty()) return false;
    const auto date = ParseDate(*answer);
    if (!date) {
      c.dialogs().Message(kNotADateText, Buttons::OK, Icon::None);
    } else if (*date > c.ports.clock.Today() - std::chrono::days{1}) {
      c.dialogs().Message(kNotInThePastText, Buttons::OK, Icon::None);
    } else {
      c.StartDate = *date;
      return true;
    }
  }
}

void MainWindow::HistoryClick() {
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  const std::string before = c.Parameters.LastUpdated;
  guard.Step(100, [&] { c.ports.windows.ShowModal(WindowId::History); });
  // Only an undo changes the line, here or elsewhere; "First use of this program" stays until
  // something does.
  guard.Step(110, [&] { ReadParametersAfresh(c); });
  if (c.Parameters.LastUpdated != before) guard.Step(120, [&] { ShowInfo(); });
}

void MainWindow::AboutClick() {
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  guard.Step(100, [&] {
    c.dialogs().Message(AboutText(c.ProgramVersion, FindLicenceFile(ProgramFolder())), Buttons::OK,
                        Icon::Information);
  });
}

void MainWindow::StopClick() {
  program_.context.dialogs().EndProgram();
}

}  // namespace pg
