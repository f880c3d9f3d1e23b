#include "base/Files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <random>

#include "base/FileSystem.h"

#ifdef _WIN32
#include <windows.h>
// windows.h names two of its calls as ours are named.
#undef DeleteFile
#undef ReplaceFile
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace pg {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// Both separators name a folder on Windows; only the slash elsewhere.
#ifdef _WIN32
constexpr const char* kSeparators = "/\\";
#else
constexpr const char* kSeparators = "/";
#endif

std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of(kSeparators);
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

FileError Failure(int number) {
  return FileError{number, ErrorDescription(number)};
}

// The files of a folder as FileSystem::ListFolder gives them; the same on every platform.
bool ListFiles(const std::string& folder, std::vector<std::string>& names, FileError& error);

std::string TemporaryNameBeside(const std::string& path) {
  static std::minstd_rand generator{std::random_device{}()};
  return path + ".new-" + std::to_string(generator() % 1000000);
}

#ifdef _WIN32

// The program's texts, file names included, are Latin-1, whose characters are the first 256 of
// the wide character set.
std::wstring Wide(const std::string& latin1) {
  std::wstring wide;
  wide.reserve(latin1.size());
  for (unsigned char c : latin1)
    wide += static_cast<wchar_t>(c);
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  std::string out;
  out.reserve(wide.size());
  for (wchar_t c : wide)
    out += static_cast<unsigned>(c) < 256 ? static_cast<char>(c) : '?';
  return out;
}

fs::path FsPath(const std::string& path) {
  return fs::path(Wide(path));
}
std::string FsName(const fs::path& path) {
  return Narrow(path.wstring());
}

FileError FromSystem(DWORD code, const std::string& path) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
      return Failure(FolderExists(ParentOf(path)) ? err::kFileNotFound : err::kPathNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE: return Failure(err::kPathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return Failure(err::kPermissionDenied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return Failure(err::kDiskFull);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return Failure(err::kFileAlreadyExists);
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_PATHNAME: return Failure(err::kBadFileName);
    default: return Failure(err::kPathFileAccess);
  }
}

HANDLE Handle(const WritableFile& file) {
  return reinterpret_cast<HANDLE>(file.handle);
}

class SystemFiles : public FileSystem {
 public:
  bool CreateNew(const std::string& path, WritableFile& file, FileError& error) override {
    const HANDLE h = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return Fail(error, path);
    file.handle = reinterpret_cast<std::intptr_t>(h);
    return true;
  }
  bool Write(WritableFile& file, std::string_view bytes, FileError& error) override {
    size_t done = 0;
    while (done < bytes.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
      DWORD written = 0;
      if (!::WriteFile(Handle(file), bytes.data() + done, chunk, &written, nullptr))
        return Fail(error, "");
      done += written;
    }
    return true;
  }
  bool Flush(WritableFile& file, FileError& error) override {
    return ::FlushFileBuffers(Handle(file)) || Fail(error, "");
  }
  bool Close(WritableFile& file, FileError& error) override {
    const bool ok = ::CloseHandle(Handle(file));
    file.handle = -1;
    return ok || Fail(error, "");
  }
  // MoveFileEx replaces the target in one step; a plain rename refuses an existing target.
  bool Rename(const std::string& from, const std::string& to, FileError& error) override {
    return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
           Fail(error, to);
  }
  bool Remove(const std::string& path, FileError& error) override {
    return ::DeleteFileW(Wide(path).c_str()) || Fail(error, path);
  }
  bool MakeFolder(const std::string& path, FileError& error) override {
    if (::CreateDirectoryW(Wide(path).c_str(), nullptr)) return true;
    const DWORD code = ::GetLastError();
    if (code == ERROR_ALREADY_EXISTS && FolderExists(path)) return true;
    // A file standing where the folder should be is an access error, not "already exists".
    error = code == ERROR_ALREADY_EXISTS ? Failure(err::kPathFileAccess) : FromSystem(code, path);
    return false;
  }
  // MOVEFILE_WRITE_THROUGH has already made the rename durable.
  void FlushFolder(const std::string&) override {}
  bool ListFolder(const std::string& folder, std::vector<std::string>& names,
                  FileError& error) override {
    return ListFiles(folder, names, error);
  }

 private:
  static bool Fail(FileError& error, const std::string& path) {
    error = FromSystem(::GetLastError(), path);
    return false;
  }
};

#else

fs::path FsPath(const std::string& path) {
  return fs::path(path);
}
std::string FsName(const fs::path& path) {
  return path.string();
}

FileError FromErrno(int code, const std::string& path) {
  switch (code) {
    case ENOENT:
      return Failure(FolderExists(ParentOf(path)) ? err::kFileNotFound : err::kPathNotFound);
    case ENOTDIR: return Failure(err::kPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS: return Failure(err::kPermissionDenied);
    case ENOSPC:
    case EDQUOT: return Failure(err::kDiskFull);
    case EEXIST: return Failure(err::kFileAlreadyExists);
    case ENAMETOOLONG: return Failure(err::kBadFileName);
    default: return Failure(err::kPathFileAccess);
  }
}

int Descriptor(const WritableFile& file) {
  return static_cast<int>(file.handle);
}

class SystemFiles : public FileSystem {
 public:
  bool CreateNew(const std::string& path, WritableFile& file, FileError& error) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(error, path);
    file.handle = fd;
    return true;
  }
  bool Write(WritableFile& file, std::string_view bytes, FileError& error) override {
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(Descriptor(file), bytes.data() + done, bytes.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        return Fail(error, "");
      }
      done += static_cast<size_t>(n);
    }
    return true;
  }
  bool Flush(WritableFile& file, FileError& error) override {
    return ::fsync(Descriptor(file)) == 0 || Fail(error, "");
  }
  bool Close(WritableFile& file, FileError& error) override {
    const int fd = Descriptor(file);
    file.handle = -1;
    return ::close(fd) == 0 || Fail(error, "");
  }
  bool Rename(const std::string& from, const std::string& to, FileError& error) override {
    // The name that cannot be reached is usually the target's folder, else the source.
    if (::rename(from.c_str(), to.c_str()) == 0) return true;
    return Fail(error, FolderExists(ParentOf(to)) ? from : to);
  }
  bool Remove(const std::string& path, FileError& error) override {
    return ::unlink(path.c_str()) == 0 || Fail(error, path);
  }
  bool MakeFolder(const std::string& path, FileError& error) override {
    if (::mkdir(path.c_str(), 0755) == 0 || (errno == EEXIST && FolderExists(path))) return true;
    // A file standing where the folder should be is an access error, not "already exists".
    error = errno == EEXIST ? Failure(err::kPathFileAccess) : FromErrno(errno, path);
    return false;
  }
  void FlushFolder(const std::string& folder) override {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
  }
  bool ListFolder(const std::string& folder, std::vector<std::string>& names,
                  FileError& error) override {
    return ListFiles(folder, names, error);
  }

 private:
  static bool Fail(FileError& error, const std::string& path) {
    error = FromErrno(errno, path);
    return false;
  }
};

#endif

bool ListFiles(const std::string& folder, std::vector<std::string>& names, FileError& error) {
  names.clear();
  std::error_code ec;
  fs::directory_iterator it(FsPath(folder), ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code unreadable;  // a broken link, say: no file to find
    if (it->is_regular_file(unreadable)) names.push_back(FsName(it->path().filename()));
  }
  if (!ec) return true;
  // A listing cut short could miss a file that is there, so it fails as a whole.
  const bool missing =
      ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
  const bool denied =
      ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted;
  std::string words = ec.message();
  while (!words.empty() && std::isspace(static_cast<unsigned char>(words.back())))
    words.pop_back();
  error = FileError{
      missing ? err::kPathNotFound : (denied ? err::kPermissionDenied : err::kPathFileAccess),
      words};
  return false;
}

// Lists the folder of a search: false, with the error, only when it is there but cannot be read;
// a folder that is not there simply holds no file.
bool ListForSearch(const std::string& folder, std::vector<std::string>& names, FileError* error) {
  FileError failure;
  if (CurrentFileSystem().ListFolder(folder, names, failure)) return true;
  names.clear();
  if (failure.number == err::kPathNotFound) return true;
  if (error) *error = failure;
  return false;
}

FileSystem* current = nullptr;

}  // namespace

bool FileSystem::IsFile(const std::string& path) {
  return FileExists(path);
}

FileSystem& SystemFileSystem() {
  static SystemFiles files;
  return files;
}

FileSystem& CurrentFileSystem() {
  return current != nullptr ? *current : SystemFileSystem();
}

FileSystemOverride::FileSystemOverride(FileSystem& replacement) : previous_(current) {
  current = &replacement;
}

FileSystemOverride::~FileSystemOverride() {
  current = previous_;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
  if (name.back() == ' ' || name.back() == '.') return false;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
      return false;
  }
  // Windows takes the part before the first point, blanks at its end aside, for the device.
  std::string stem(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ')
    stem.pop_back();
  stem = Lower(stem);
  for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$", "clock$"})
    if (stem == device) return false;
  // COM and LPT with one digit, the superscript digits of Latin-1 among them.
  if (stem.size() == 4 && (stem.starts_with("com") || stem.starts_with("lpt"))) {
    const auto d = static_cast<unsigned char>(stem[3]);
    if ((d >= '0' && d <= '9') || d == 0xB9 || d == 0xB2 || d == 0xB3) return false;
  }
  return true;
}

bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && std::string_view(kSeparators).find(path.back()) != std::string_view::npos;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(FsPath(path), ec);
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(FsPath(path), ec);
}

std::string CannotReadFolderText(const std::string& file, const FileError& error) {
  return "Cannot read the folder " + ParentOf(file) + "\r\n" + error.description;
}

std::optional<std::string> FindFileIgnoringCase(const std::string& path, FileError* error) {
  // Most names are exact: one look at the file costs far less than listing its folder, which
  // every read of a session would otherwise do.
  if (CurrentFileSystem().IsFile(path)) return path;
  FileFinder finder;
  return finder.Find(path, error);
}

std::optional<std::string> FileFinder::Find(const std::string& path, FileError* error) {
  const size_t slash = path.find_last_of(kSeparators);
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto [at, isNew] = folders_.try_emplace(folder);
  Listing& listing = at->second;
  if (isNew) {
    std::vector<std::string> names;
    if (!ListForSearch(folder, names, &listing.failure)) listing.failed = true;
    for (std::string& entry : names) {
      listing.byLowerCase.try_emplace(Lower(entry), entry);
      listing.names.insert(std::move(entry));
    }
  }
  if (listing.failed) {
    if (error) *error = listing.failure;
    return std::nullopt;
  }
  if (listing.names.contains(name)) return path;
  const auto found = listing.byLowerCase.find(Lower(name));
  if (found == listing.byLowerCase.end()) return std::nullopt;
  return slash == std::string::npos ? found->second : path.substr(0, slash + 1) + found->second;
}

#ifdef _WIN32

std::optional<std::string> ReadFileBytes(const std::string& path, FileError* error) {
  const HANDLE h =
      ::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (error) *error = FromSystem(::GetLastError(), path);
    return std::nullopt;
  }
  std::string content;
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(h, &size)) content.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(h, buffer, sizeof buffer, &n, nullptr)) {
      if (error) *error = FromSystem(::GetLastError(), path);
      ::CloseHandle(h);
      return std::nullopt;
    }
    if (n == 0) break;
    content.append(buffer, n);
  }
  ::CloseHandle(h);
  return content;
}

std::string PathFromSystem(const std::wstring& path) {
  // A name Latin-1 cannot spell is reached by its short name, which it can.
  std::string narrow = Narrow(path);
  if (narrow.find('?') != std::string::npos) {
    std::wstring shortName(path.size() + 1, L'\0');
    const DWORD n =
        ::GetShortPathNameW(path.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    if (n > 0 && n < shortName.size()) {
      shortName.resize(n);
      narrow = Narrow(shortName);
    }
  }
  return narrow;
}

std::string ProgramFolder() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (n < name.size()) {
      name.resize(n);
      break;
    }
    name.resize(name.size() * 2);
  }
  std::string folder = ParentOf(PathFromSystem(name));
  if (!EndsWithSeparator(folder)) folder += kPathSeparator;
  return folder;
}

#else

std::optional<std::string> ReadFileBytes(const std::string& path, FileError* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = FromErrno(errno, path);
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    if (error) *error = Failure(err::kPathFileAccess);
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

std::string ProgramFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) exe = fs::current_path(ec) / "pairgauge";
  exe = fs::weakly_canonical(exe, ec);
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  return folder;
}

#endif

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(FsPath(path), ec);
  if (ec) absolute = FsPath(path);
  absolute = absolute.lexically_normal();
  if (!absolute.has_filename() && absolute.has_relative_path()) absolute = absolute.parent_path();
  return FsName(absolute);
}

std::string ParentFolder(const std::string& path) {
  return FsName(FsPath(AbsolutePath(path)).parent_path());
}

bool ReplaceFile(const std::string& path, const std::string& content, FileError& error) {
  FileSystem& files = CurrentFileSystem();
  const std::string temporary = TemporaryNameBeside(path);
  WritableFile file;
  if (!files.CreateNew(temporary, file, error)) return false;
  FileError ignored;
  if (!files.Write(file, content, error) || !files.Flush(file, error)) {
    files.Close(file, ignored);
    files.Remove(temporary, ignored);
    return false;
  }
  if (!files.Close(file, error) || !files.Rename(temporary, path, error)) {
    files.Remove(temporary, ignored);
    return false;
  }
  // Make the rename itself durable, so a power cut cannot bring the old file back.
  files.FlushFolder(ParentOf(path));
  return true;
}

bool CreateFolder(const std::string& path, FileError& error) {
  std::string p = path;
  while (p.size() > 1 && EndsWithSeparator(p))
    p.pop_back();
  return CurrentFileSystem().MakeFolder(p, error);
}

bool RenameFile(const std::string& from, const std::string& to, FileError& error) {
  return CurrentFileSystem().Rename(from, to, error);
}

bool DeleteFile(const std::string& path, FileError& error) {
  return CurrentFileSystem().Remove(path, error);
}

}  // namespace pg
