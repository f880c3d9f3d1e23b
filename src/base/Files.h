#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "base/Errors.h"

namespace pg {

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// The path of an existing file whose name matches path's last component ignoring letter case
// (files copied from other systems are often in lower case); the exact name is preferred. A
// folder that is not there holds no file; one that is there but cannot be read finds nothing
// and says why in *error, when given, so that a caller can tell "no file" from "could not look".
std::optional<std::string> FindFileIgnoringCase(const std::string& path,
                                                FileError* error = nullptr);

// What the program says when a folder it must look in cannot be read: "Cannot read the folder "
// with the full path of file's folder, and on the next line the system's words (error).
std::string CannotReadFolderText(const std::string& file, const FileError& error);

// Finds files as FindFileIgnoringCase does, but lists each folder only once: a scan that looks
// for many names in the same few folders, most of them missing, would otherwise list a folder
// for every missing name. It answers from the folders as they were when first looked in, so one
// lives for one scan.
class FileFinder {
 public:
  // The path of the file found for path: path itself when a file has exactly that name, or the
  // name as listed of one that differs only in letter case. Nothing, with *error set, when the
  // folder could not be read.
  std::optional<std::string> Find(const std::string& path, FileError* error = nullptr);

 private:
  struct Listing {
    bool failed = false;
    FileError failure;
    std::unordered_set<std::string> names;                     // every file's name
    std::unordered_map<std::string, std::string> byLowerCase;  // the first of each lower name
  };
  std::unordered_map<std::string, Listing> folders_;
};

// The whole file as bytes; on failure nothing, with the error (53 File not found, 76 Path not
// found, 70 Permission denied, 75 Path/File access error) in *error when given.
std::optional<std::string> ReadFileBytes(const std::string& path, FileError* error = nullptr);

// Replaces path with content whole or not at all: the bytes go to a new file beside it, are
// flushed to disk, and the new file is renamed over the old one. On failure the old file is as
// it was, no temporary file is left, and error says why (76 when the folder does not exist).
// This and the three calls below write through CurrentFileSystem() (FileSystem.h).
bool ReplaceFile(const std::string& path, const std::string& content, FileError& error);

// Creates one folder (its parent must exist); true when it exists afterwards.
bool CreateFolder(const std::string& path, FileError& error);

bool RenameFile(const std::string& from, const std::string& to, FileError& error);
bool DeleteFile(const std::string& path, FileError& error);

// The folder of the running program, links resolved, with a separator at its end.
std::string ProgramFolder();

// An absolute, tidy form of a path (a relative one taken from the working folder), with no
// separator at its end unless it is a root.
std::string AbsolutePath(const std::string& path);

// The folder that holds a file or folder, as AbsolutePath gives it; a root is its own.
std::string ParentFolder(const std::string& path);

#ifdef _WIN32
// A path as Windows gives it, in wide characters, as the program keeps paths: Latin-1, or the
// short name of an existing file or folder whose name Latin-1 cannot spell.
std::string PathFromSystem(const std::wstring& path);
#endif

// Whether name is a plain file name, one that names a file in a folder on every platform the
// club's folder may be opened from: no folder in it, no character Windows refuses in a name, not
// "." or "..", no blank or point at its end, and none of Windows' device names (CON, PRN, AUX,
// NUL, COM0-9, LPT0-9 and the like, with any extension: "nul.bak" too), which there would open
// a device rather than a file.
bool IsPlainFileName(std::string_view name);

// Whether path ends with a folder separator ('\\' or '/' on Windows, '/' elsewhere).
bool EndsWithSeparator(const std::string& path);

// The platform's folder separator, for paths the program builds from its folders.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace pg
