#pragma once

#include <map>
#include <string>
#include <vector>

#include "base/FileSystem.h"

namespace pg::test {

// What FailingFileSystem throws where the program stops.
struct Stopped {};

// The machine's file system, but for the Nth call that changes a file (counting from 1), which
// fails as a full disk would (and, when `onward`, every call after it, as a disk that stays full),
// and for the folders named unreadable. It logs every call with the
// file it is for, so a test can count a writer's steps in a run that fails nowhere (failAt 0) and
// then fail each step in turn.
class FailingFileSystem : public FileSystem {
 public:
  explicit FailingFileSystem(int failAt = 0, bool onward = false)
      : failAt_(failAt), onward_(onward) {}

  struct Call {
    std::string operation;
    std::string file;  // the file the call is for: a temporary file's target, not its own name
  };
  std::vector<Call> calls;
  // Folders that cannot be listed, as with no permission to read them. Listing is not one of the
  // calls counted above.
  std::vector<std::string> unreadable;
  // Fails the first call of this operation for this file too ("rename", a target's path).
  Call failOn;
  // The Nth call is made, and then the program stops as a crash or a power cut would stop it:
  // Stopped is thrown, and no call after it is made.
  bool stopAfter = false;

  bool CreateNew(const std::string& path, WritableFile& file, FileError& error) override;
  bool Write(WritableFile& file, std::string_view bytes, FileError& error) override;
  bool Flush(WritableFile& file, FileError& error) override;
  bool Close(WritableFile& file, FileError& error) override;
  bool Rename(const std::string& from, const std::string& to, FileError& error) override;
  bool Remove(const std::string& path, FileError& error) override;
  bool MakeFolder(const std::string& path, FileError& error) override;
  void FlushFolder(const std::string& folder) override;
  bool ListFolder(const std::string& folder, std::vector<std::string>& names,
                  FileError& error) override;
  bool IsFile(const std::string& path) override;

 private:
  bool Unreadable(const std::string& path) const;
  // Throws Stopped once the call to stop after has been made.
  void StopHere();
  // Logs the call; true when it is the one to fail.
  bool Fails(const char* operation, const std::string& file, FileError& error);

  int failAt_;
  bool onward_;
  std::map<std::intptr_t, std::string> targets_;  // open file -> the file it will become
};

}  // namespace pg::test
