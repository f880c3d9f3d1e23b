#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Errors.h"

namespace pg {

// A file open for writing, as the file system hands it out.
struct WritableFile {
  std::intptr_t handle = -1;
};

// The few calls that change files on disk, and the listing of a folder. Every writer of the
// program reaches them through ReplaceFile, CreateFolder, RenameFile and DeleteFile, and every
// search for a file through FindFileIgnoringCase and FileFinder (Files.h), so a test can put a
// file system in their place that fails at any one call and check what each caller does then.
// Each call returns false with the error on failure; none raises.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates path for writing; fails when anything already stands there.
  virtual bool CreateNew(const std::string& path, WritableFile& file, FileError& error) = 0;
  virtual bool Write(WritableFile& file, std::string_view bytes, FileError& error) = 0;
  // Puts what was written on the disk itself, past any cache.
  virtual bool Flush(WritableFile& file, FileError& error) = 0;
  virtual bool Close(WritableFile& file, FileError& error) = 0;
  // Gives the file at `from` the name `to`, replacing a file there in one step.
  virtual bool Rename(const std::string& from, const std::string& to, FileError& error) = 0;
  virtual bool Remove(const std::string& path, FileError& error) = 0;
  virtual bool MakeFolder(const std::string& path, FileError& error) = 0;
  // Makes the renames in a folder survive a power cut where the platform needs telling.
  virtual void FlushFolder(const std::string& folder) = 0;
  // The names of the files (not folders) in folder. A folder that is not there fails with
  // err::kPathNotFound; one that cannot be read with another number and the system's own words.
  virtual bool ListFolder(const std::string& folder, std::vector<std::string>& names,
                          FileError& error) = 0;
  // Whether a file (not a folder) stands at exactly path: the search's quick look before it
  // lists the folder. False too when the folder cannot be looked into.
  virtual bool IsFile(const std::string& path);
};

// The machine's own file system.
FileSystem& SystemFileSystem();

// The file system the writers use: the machine's, unless a test has put another in its place.
FileSystem& CurrentFileSystem();

// Puts another file system in place of the current one for this object's lifetime. For tests:
// the program itself always writes through the machine's.
class FileSystemOverride {
 public:
  explicit FileSystemOverride(FileSystem& replacement);
  ~FileSystemOverride();
  FileSystemOverride(const FileSystemOverride&) = delete;
  FileSystemOverride& operator=(const FileSystemOverride&) = delete;

 private:
  FileSystem* previous_;
};

}  // namespace pg
