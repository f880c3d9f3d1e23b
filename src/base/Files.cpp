#include "base/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

namespace pg {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of(kPathSeparator);
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

FileError FromErrno(int code, const std::string& path) {
  int number = err::kPathFileAccess;
  switch (code) {
    case ENOENT:
      number = FolderExists(ParentOf(path)) ? err::kFileNotFound : err::kPathNotFound;
      break;
    case ENOTDIR: number = err::kPathNotFound; break;
    case EACCES:
    case EPERM: number = err::kPermissionDenied; break;
    case ENOSPC:
    case EDQUOT: number = err::kDiskFull; break;
    case EEXIST: number = err::kFileAlreadyExists; break;
    case ENAMETOOLONG: number = err::kBadFileName; break;
    default: number = err::kPathFileAccess; break;
  }
  return FileError{number, ErrorDescription(number)};
}

bool WriteAll(int fd, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string TemporaryNameBeside(const std::string& path) {
  static std::minstd_rand generator{std::random_device{}()};
  return path + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(generator() % 100000);
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> FindFileIgnoringCase(const std::string& path) {
  if (FileExists(path)) return path;
  const std::string folder = ParentOf(path);
  const size_t slash = path.find_last_of(kPathSeparator);
  const std::string wanted = Lower(slash == std::string::npos ? path : path.substr(slash + 1));
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return std::nullopt;
  for (const auto& entry : it) {
    if (Lower(entry.path().filename().string()) == wanted && entry.is_regular_file(ec)) {
      return slash == std::string::npos
                 ? entry.path().filename().string()
                 : path.substr(0, slash + 1) + entry.path().filename().string();
    }
  }
  return std::nullopt;
}

std::optional<std::string> ReadFileBytes(const std::string& path, FileError* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = FromErrno(errno, path);
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    if (error) *error = FileError{err::kPathFileAccess, ErrorDescription(err::kPathFileAccess)};
    return std::nullopt;
  }
  std::string content;
  content.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int code = errno;
      ::close(fd);
      if (error) *error = FromErrno(code, path);
      return std::nullopt;
    }
    if (n == 0) break;
    content.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return content;
}

bool ReplaceFile(const std::string& path, const std::string& content, FileError& error) {
  const std::string temporary = TemporaryNameBeside(path);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = FromErrno(errno, temporary);
    return false;
  }
  if (!WriteAll(fd, content) || ::fsync(fd) != 0) {
    error = FromErrno(errno, temporary);
    ::close(fd);
    ::unlink(temporary.c_str());
    return false;
  }
  if (::close(fd) != 0) {
    error = FromErrno(errno, temporary);
    ::unlink(temporary.c_str());
    return false;
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    error = FromErrno(errno, path);
    ::unlink(temporary.c_str());
    return false;
  }
  // Make the rename itself durable, so a power cut cannot bring the old file back.
  const int dir = ::open(ParentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool CreateFolder(const std::string& path, FileError& error) {
  std::string p = path;
  while (p.size() > 1 && p.back() == kPathSeparator)
    p.pop_back();
  if (::mkdir(p.c_str(), 0755) == 0 || (errno == EEXIST && FolderExists(p))) return true;
  // A file standing where the folder should be is an access error, not "already exists".
  error = errno == EEXIST ? FileError{err::kPathFileAccess, ErrorDescription(err::kPathFileAccess)}
                          : FromErrno(errno, p);
  return false;
}

bool RenameFile(const std::string& from, const std::string& to, FileError& error) {
  if (::rename(from.c_str(), to.c_str()) == 0) return true;
  error = FromErrno(errno, from);
  return false;
}

bool DeleteFile(const std::string& path, FileError& error) {
  if (::unlink(path.c_str()) == 0) return true;
  error = FromErrno(errno, path);
  return false;
}

std::string ProgramFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::current_path(ec) / "pairgauge";
  exe = fs::weakly_canonical(exe, ec);
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

}  // namespace pg
