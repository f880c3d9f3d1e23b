#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/Date.h"
#include "base/Parameters.h"
#include "base/Ports.h"

namespace pg {

// What the program keeps for its whole run below the windows: the ports, the folders, the
// versions, the parameters and the shared flags. The shell's Program adds the current session,
// the member table and the outputs of the last update run; operations of the lower layers take
// this part by reference.
struct Context {
  explicit Context(Ports p) : ports(p) {}

  Ports ports;
  Dialogs& dialogs() { return ports.dialogs; }

  std::string ProgramVersion;
  std::string SessionFormatVersion = "9.3";
  // Folders end with the platform's separator, so names are appended to them directly.
  std::string DataFolder;
  std::string ResultsRoot;
  std::string HandicapFolder;
  std::string MemberFile;

  bool NoUpdateYet = false;
  std::optional<Date> StartDate;
  // The user backed out or the operation failed; set and cleared by the operations that say so.
  bool Cancelled = false;
  std::string StoredPassword;
  // Hand-record files whose fault has been shown in this run; a file is read again with every
  // read of a session that names it, and its message is worth showing once.
  std::set<std::string> ReportedHandRecordFiles;

  HandicapParameters Parameters;

  // How many operations of this program now hold the club's lock (review/ClubLock.h); 0 when
  // none does.
  int ClubLockHeld = 0;
  // The days of the updates History.csv held when this update began, and those it saved since:
  // an update saved there by another copy meanwhile is not among them.
  std::optional<std::vector<Date>> HistorySeen;

  // Settles DataFolder and the folders and names under it from the program's own folder.
  void SetFolders(const std::string& programFolder);
  // The same from a club folder named outside the program (an argument, the user's settings),
  // which is used as it is.
  void SetDataFolder(const std::string& folder);
};

// The data folder the program's own folder gives: that folder, ending with a separator, or the
// scoring program's data folder for an installation under its development folder.
std::string DataFolderFor(const std::string& programFolder);

}  // namespace pg
