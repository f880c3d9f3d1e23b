#pragma once

#include <string>

namespace pg::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, ending with a separator.
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);

// Skips the calling test where file names ignore letter case (Windows): there a file opens under
// any spelling, so there is no other name to find.
#ifdef _WIN32
#define PG_SKIP_WITHOUT_NAME_CASE() \
  GTEST_SKIP() << "file names ignore letter case here: a file opens under the name asked for"
#else
#define PG_SKIP_WITHOUT_NAME_CASE() (void)0
#endif
std::string ReadBytes(const std::string& path);

}  // namespace pg::test
