#include "base/Context.h"

#include "base/Files.h"

namespace pg {

std::string DataFolderFor(const std::string& programFolder) {
  std::string folder = programFolder;
  if (!EndsWithSeparator(folder)) folder += kPathSeparator;
  // Installations kept under the development folder use the scoring program's own data folder.
  if (folder.compare(0, 5, "C:\\VB") == 0) folder = "C:\\Quorell\\";
  return folder;
}

namespace {

void SetNamesUnder(Context& c) {
  c.ResultsRoot = c.DataFolder + "RES";
  c.HandicapFolder = c.DataFolder + "Handicap" + kPathSeparator;
  c.MemberFile = c.DataFolder + "Membersh.dat";
}

}  // namespace

void Context::SetFolders(const std::string& programFolder) {
  DataFolder = DataFolderFor(programFolder);
  SetNamesUnder(*this);
}

void Context::SetDataFolder(const std::string& folder) {
  DataFolder = folder;
  if (!EndsWithSeparator(DataFolder)) DataFolder += kPathSeparator;
  SetNamesUnder(*this);
}

}  // namespace pg
