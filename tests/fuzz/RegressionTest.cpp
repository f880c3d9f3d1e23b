#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <vector>

#include "Targets.h"
#include "support/TempFolder.h"

namespace pg::fuzz {

// Names a target in the test's output, where its bytes would say nothing.
void PrintTo(const Target& target, std::ostream* out) {
  *out << target.name;
}

namespace {

namespace fs = std::filesystem;

// The inputs kept for a target, each one that once found a fault, sorted so that a failure
// names the same file on every machine.
std::vector<fs::path> Kept(const std::string& target) {
  std::vector<fs::path> files;
  const fs::path folder = fs::path(PG_FUZZ_DIR) / "regressions" / target;
  if (!fs::is_directory(folder)) return files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

class KeptInputs : public ::testing::TestWithParam<Target> {};

TEST_P(KeptInputs, HoldEveryProperty) {
  // A folder not found would pass every target without running one input.
  ASSERT_TRUE(fs::is_directory(fs::path(PG_FUZZ_DIR) / "regressions"));
  const Target& target = GetParam();
  test::TempFolder dir;
  for (const fs::path& file : Kept(target.name)) {
    SCOPED_TRACE(file.string());
    EXPECT_EQ(RunTarget(target, test::ReadBytes(file.string()), dir.path()), "");
  }
}

std::string TargetName(const ::testing::TestParamInfo<Target>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Targets, KeptInputs, ::testing::ValuesIn(Targets()), TargetName);
#ifdef PG_FUZZ_WINDOWS
// Offscreen (pg_test's environment), with the windows' library.
INSTANTIATE_TEST_SUITE_P(WindowTargets, KeptInputs, ::testing::ValuesIn(WindowTargets()),
                         TargetName);
#endif

}  // namespace
}  // namespace pg::fuzz
