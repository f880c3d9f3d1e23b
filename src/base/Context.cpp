#include "base/Context.h"

#include "base/Files.h"

namespace pg {

void Context::SetFolders(const std::string& programFolder) {
  DataFolder = programFolder;
  if (!EndsWithSeparator(DataFolder)) DataFolder += kPathSeparator;
  // Installations kept under the development folder use the scoring program's own data folder.
  if (DataFolder.compare(0, 5, "C:\\VB") == 0) DataFolder = "C:\\Quorell\\";
  ResultsRoot = DataFolder + "RES";
  HandicapFolder = DataFolder + "Handicap" + kPathSeparator;
  MemberFile = DataFolder + "Membersh.dat";
}

}  // namespace pg
