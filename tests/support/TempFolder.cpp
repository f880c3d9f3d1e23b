#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "base/Files.h"

namespace pg::test {

TempFolder::TempFolder() {
  static std::mt19937 generator{std::random_device{}()};
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const std::filesystem::path folder = base / ("pairgauge-" + std::to_string(generator()));
    if (std::filesystem::create_directory(folder, ec)) path_ = folder.string() + kPathSeparator;
  }
  if (path_.empty()) ADD_FAILURE() << "cannot make a temporary folder";
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace pg::test
