#include "support/FailingFileSystem.h"

#include <algorithm>

namespace pg::test {
namespace {

// A writer's temporary file is named for its target with ".new-..." after it.
std::string Target(const std::string& path) {
  const size_t mark = path.rfind(".new-");
  return mark == std::string::npos ? path : path.substr(0, mark);
}

}  // namespace

bool FailingFileSystem::Fails(const char* operation, const std::string& file, FileError& error) {
  calls.push_back({operation, file});
  const int n = static_cast<int>(calls.size());
  const bool chosen = !failOn.file.empty() && failOn.operation == operation && failOn.file == file;
  if (chosen) failOn = {};
  if (!chosen && (stopAfter || (n != failAt_ && !(onward_ && failAt_ > 0 && n > failAt_))))
    return false;
  error = FileError{err::kDiskFull, ErrorDescription(err::kDiskFull)};
  return true;
}

void FailingFileSystem::StopHere() {
  if (!stopAfter || static_cast<int>(calls.size()) != failAt_) return;
  // A program that stops lets go of its open files, as the system closes them.
  for (const auto& [handle, target] : targets_) {
    WritableFile file{handle};
    FileError ignored;
    SystemFileSystem().Close(file, ignored);
  }
  targets_.clear();
  throw Stopped{};
}

bool FailingFileSystem::CreateNew(const std::string& path, WritableFile& file, FileError& error) {
  if (Fails("create", Target(path), error)) return false;
  if (!SystemFileSystem().CreateNew(path, file, error)) return false;
  targets_[file.handle] = Target(path);
  StopHere();
  return true;
}

bool FailingFileSystem::Write(WritableFile& file, std::string_view bytes, FileError& error) {
  const bool ok =
      !Fails("write", targets_[file.handle], error) && SystemFileSystem().Write(file, bytes, error);
  StopHere();
  return ok;
}

bool FailingFileSystem::Flush(WritableFile& file, FileError& error) {
  const bool ok =
      !Fails("flush", targets_[file.handle], error) && SystemFileSystem().Flush(file, error);
  StopHere();
  return ok;
}

// A close that fails still lets go of the file, as the system's does.
bool FailingFileSystem::Close(WritableFile& file, FileError& error) {
  const bool failed = Fails("close", targets_[file.handle], error);
  targets_.erase(file.handle);
  FileError closing;
  const bool ok = SystemFileSystem().Close(file, failed ? closing : error) && !failed;
  StopHere();
  return ok;
}

bool FailingFileSystem::Rename(const std::string& from, const std::string& to, FileError& error) {
  const bool ok = !Fails("rename", to, error) && SystemFileSystem().Rename(from, to, error);
  StopHere();
  return ok;
}

bool FailingFileSystem::Remove(const std::string& path, FileError& error) {
  const bool ok = !Fails("remove", Target(path), error) && SystemFileSystem().Remove(path, error);
  StopHere();
  return ok;
}

bool FailingFileSystem::MakeFolder(const std::string& path, FileError& error) {
  const bool ok = !Fails("make folder", path, error) && SystemFileSystem().MakeFolder(path, error);
  StopHere();
  return ok;
}

void FailingFileSystem::FlushFolder(const std::string& folder) {
  SystemFileSystem().FlushFolder(folder);
}

bool FailingFileSystem::Unreadable(const std::string& path) const {
  return std::any_of(unreadable.begin(), unreadable.end(),
                     [&](const std::string& denied) { return path.starts_with(denied); });
}

bool FailingFileSystem::ListFolder(const std::string& folder, std::vector<std::string>& names,
                                   FileError& error) {
  if (Unreadable(folder)) {
    error = FileError{err::kPermissionDenied, "Permission denied"};
    return false;
  }
  return SystemFileSystem().ListFolder(folder, names, error);
}

// A folder that cannot be read is taken as one whose files cannot be looked at either.
bool FailingFileSystem::IsFile(const std::string& path) {
  return !Unreadable(path) && SystemFileSystem().IsFile(path);
}

}  // namespace pg::test
