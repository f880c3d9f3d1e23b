#include "shell/ClubFolder.h"

#include "base/Context.h"
#include "base/Files.h"
#include "base/Guard.h"
#include "base/Parameters.h"
#include "shell/MainWindow.h"

namespace pg {

namespace {

// Asks until the user picks a folder that holds a club, or one without it on purpose (a new club
// starts empty), or cancels.
std::optional<std::string> AskForFolder(Dialogs& dialogs, const std::string& start) {
  for (;;) {
    const std::optional<std::string> chosen = dialogs.ChooseFolder(kChooseClubTitle, start);
    if (!chosen || chosen->empty()) return std::nullopt;
    const std::string folder = AbsolutePath(*chosen);
    if (IsClubFolder(DataFolderFor(folder))) return folder;
    const std::string question =
        "There is no Membersh.dat in " + folder + "\r\nOpen it as the club's folder all the same?";
    if (dialogs.Message(question, Buttons::YesNo, Icon::Question) == Answer::Yes) return folder;
  }
}

}  // namespace

bool IsClubFolder(const std::string& dataFolder) {
  return FileExists(dataFolder + "Membersh.dat") ||
         FileExists(dataFolder + "Handicap" + kPathSeparator + kParameterFileName);
}

std::optional<ClubFolder> ChooseClubFolder(const std::vector<std::string>& arguments,
                                           const std::string& programFolder, Ports ports) {
  std::optional<ClubFolder> club;
  Guard guard(ports.dialogs, MainWindow::kName);
  guard.Step(100, [&] {
    if (!arguments.empty() && !arguments.front().empty()) {
      std::string folder = AbsolutePath(arguments.front());
      // A file dropped on the program's icon (its Membersh.dat, say) names the folder it is in.
      if (FileExists(folder)) folder = ParentFolder(folder);
      if (FolderExists(folder)) {
        club = ClubFolder{folder, false};
      } else {
        ports.dialogs.Message("The club folder " + folder + " does not exist.", Buttons::OK,
                              Icon::Warning);
      }
      return;
    }
    // A portable copy unpacked into the club's folder runs from a folder of its own inside it.
    for (const std::string& folder : {programFolder, ParentFolder(programFolder)}) {
      if (IsClubFolder(DataFolderFor(folder))) {
        club = ClubFolder{folder, true};
        return;
      }
    }
    const std::string remembered =
        ports.settings.Read(kClubSettingsApplication, kClubSettingsSection, kClubFolderKey, "");
    if (!remembered.empty()) {
      if (FolderExists(remembered)) {
        club = ClubFolder{remembered, false};
        return;
      }
      ports.dialogs.Message("The club folder " + remembered +
                                " can no longer be found.\r\nPlease choose the club's folder.",
                            Buttons::OK, Icon::Warning);
    }
    if (const auto chosen = AskForFolder(ports.dialogs, remembered)) {
      ports.settings.Write(kClubSettingsApplication, kClubSettingsSection, kClubFolderKey, *chosen);
      club = ClubFolder{*chosen, false};
    }
  });
  return club;
}

}  // namespace pg
