#include "shell/About.h"

#include "base/Files.h"

namespace pg {

std::string AboutText(const std::string& version, const std::string& licenceFile) {
  return "Pairgauge - Version " + version +
         "\r\nKeeps the playing handicaps of the members of a duplicate-bridge club, worked out "
         "from the club's pairs results.\r\n\r\n"
         "Copyright (C) 2026 The Pairgauge developers\r\n\r\n"
         "Pairgauge is free software: you may give it to others and change it under the terms "
         "of the GNU General Public License, version 3 or (at your choice) any later version. "
         "It comes with no warranty. Its windows are made with the Qt toolkit, used under the "
         "GNU Lesser General Public License, version 3.\r\n\r\n"
         "The licence's text is " +
         (licenceFile.empty() ? "at " + std::string(kLicenceWebPage) : "in " + licenceFile) + ".";
}

std::string FindLicenceFile(const std::string& programFolder) {
  std::string folder = programFolder;
  if (!EndsWithSeparator(folder)) folder += kPathSeparator;
  if (FileExists(folder + "LICENSE.txt")) return folder + "LICENSE.txt";
  const std::string bin = std::string("bin") + kPathSeparator;
  if (folder.size() > bin.size() && folder.ends_with(bin) &&
      EndsWithSeparator(folder.substr(0, folder.size() - bin.size()))) {
    const char s = kPathSeparator;
    std::string copyright = folder.substr(0, folder.size() - bin.size()) + "share" + s + "doc" + s +
                            "pairgauge" + s + "copyright";
    if (FileExists(copyright)) return copyright;
  }
  return "";
}

}  // namespace pg
