#pragma once

#include <string>

#include "shell/MainWindow.h"

namespace pg {

// Starts the program on its folder: versions, the folders and file names under it, the
// parameters (defaults, then Handicap.ini when it exists), the main window's title and status
// line, and Handicap.ini written back at once so that it exists and carries this version.
// Failures are reported under "frmMain" and the steps after them still run.
void StartUp(MainWindow& window, const std::string& programFolder);

}  // namespace pg
