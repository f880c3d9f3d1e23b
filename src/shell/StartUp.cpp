#include "shell/StartUp.h"

#include "base/Files.h"
#include "base/Guard.h"

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
  guard.Step(150, [&] {
    haveFile = FileExists(c.HandicapFolder + kParameterFileName);
    c.NoUpdateYet = !haveFile;
    if (!haveFile) window.lblMess.caption = kFirstUseText;
  });
  if (haveFile) {
    guard.Step(160, [&] { ReadParameters(c.HandicapFolder, c.Parameters); });
    guard.Step(170, [&] { window.ShowInfo(); });
  }
  // On first use this makes the folder and the file; later it puts this version in front.
  guard.Step(
      180, [&] { WriteParameters(c.HandicapFolder, c.ProgramVersion, c.Parameters, c.dialogs()); });
}

}  // namespace pg
