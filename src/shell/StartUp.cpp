#include "shell/StartUp.h"

#include "base/Files.h"
#include "base/Guard.h"
#include "review/ClubLock.h"

namespace pg {

void StartUp(MainWindow& window, const std::string& programFolder) {
  StartUp(window, ClubFolder{programFolder, true});
}

void StartUp(MainWindow& window, const ClubFolder& club) {
  Context& c = window.program().context;
  Guard guard(c.dialogs(), MainWindow::kName);
  bool haveFile = false;
  guard.Step(100, [&] { c.SessionFormatVersion = "9.3"; });
  guard.Step(110, [&] { c.ProgramVersion = BuildVersion(); });
  guard.Step(120, [&] { window.lblHead.caption = "Pairgauge - Version " + c.ProgramVersion; });
  guard.Step(130, [&] {
    if (club.programFolder) {
      c.SetFolders(club.folder);
    } else {
      c.SetDataFolder(club.folder);
    }
  });
  guard.Step(140, [&] { c.Parameters = HandicapParameters{}; });
  // A save or undo that a program cut short on this computer, or before the club's lock was
  // taken over, is put back before anything is read; the lock is held to the end, so that the
  // write below cannot fall between another copy's reading and writing of Handicap.ini. A lock
  // another copy holds is passed over without a word: that copy is at work, and writes the file
  // itself.
  std::optional<ClubLockScope> lock;
  ClubLocks::Outcome outcome = ClubLocks::Outcome::Failed;
  guard.Step(145, [&] { lock.emplace(c, kOpeningTheClub, LockAsk::Quietly, &outcome); });
  guard.Step(150, [&] {
    haveFile = FileExists(c.HandicapFolder + kParameterFileName);
    c.NoUpdateYet = !haveFile;
    if (!haveFile) window.lblMess.caption = kFirstUseText;
  });
  if (haveFile) {
    guard.Step(160, [&] { ReadParameters(c.HandicapFolder, c.Parameters); });
    guard.Step(170, [&] { window.ShowInfo(); });
  }
  // On first use this makes the folder and the file (there is no folder for a lock yet); later it
  // puts this version in front.
  if ((lock && lock->held()) || outcome == ClubLocks::Outcome::Failed)
    guard.Step(180, [&] {
      WriteParameters(c.HandicapFolder, c.ProgramVersion, c.Parameters, c.dialogs());
    });
}

}  // namespace pg
