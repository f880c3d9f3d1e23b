#pragma once

#include <string>

#include "shell/ClubFolder.h"
#include "shell/MainWindow.h"

namespace pg {

// Starts the program on its folder: versions, the folders and file names under it, the
// parameters (defaults, then Handicap.ini when it exists), the main window's title and status
// line, and Handicap.ini written back at once so that it exists and carries this version.
// Failures are reported under "frmMain" and the steps after them still run.
void StartUp(MainWindow& window, const std::string& programFolder);
// The same on the club folder ChooseClubFolder chose.
void StartUp(MainWindow& window, const ClubFolder& club);

}  // namespace pg
