#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/Ports.h"

namespace pg {

// The folder whose club the program opens. The program's own folder keeps its folder rules (the
// development-folder rule included); a folder named from outside is used as it is.
struct ClubFolder {
  std::string folder;
  bool programFolder = false;
};

// Where the installed program remembers the club folder it was given (per user).
inline constexpr const char* kClubSettingsApplication = "Pairgauge";
inline constexpr const char* kClubSettingsSection = "Pairgauge";
inline constexpr const char* kClubFolderKey = "ClubFolder";

inline constexpr const char* kChooseClubTitle =
    "Choose the club's folder (the one with Membersh.dat)";

// Whether a data folder holds a club: its membership file, or the parameters of an earlier start.
bool IsClubFolder(const std::string& dataFolder);

// Chooses the club folder, in this order:
// 1. the first argument, when there is one (a relative path is taken from the working folder;
//    a file stands for the folder it is in);
// 2. the program's own folder, when it runs from a club folder (as a club's own copy does): the
//    data folder its folder rules give is a club folder; otherwise the folder it is in, under
//    the same rules (a portable copy unpacked, in a folder of its own, into the club's folder);
// 3. otherwise the program is installed: the folder remembered in the user's settings;
// 4. otherwise, or when that folder has gone, the folder the user chooses, which is remembered.
// Nothing when there is nothing to open: the argument names no folder, or the user cancelled.
std::optional<ClubFolder> ChooseClubFolder(const std::vector<std::string>& arguments,
                                           const std::string& programFolder, Ports ports);

}  // namespace pg
