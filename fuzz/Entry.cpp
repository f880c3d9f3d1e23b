// The libFuzzer entry of one target, chosen by PG_FUZZ_TARGET when it is built. A property that
// does not hold ends the run as a crash would, so libFuzzer keeps the input that broke it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Targets.h"

namespace {

// A folder of this process's own, in memory where the system has one, so that runs side by side
// (two targets, or libFuzzer's -jobs) never share a file; it goes when the run ends normally.
class Scratch {
 public:
  Scratch() {
    const std::filesystem::path base =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    folder_ =
        base / ("pairgauge-fuzz-" + std::string(PG_FUZZ_TARGET) + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::string path() const { return folder_.string() + "/"; }

 private:
  std::filesystem::path folder_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const pg::fuzz::Target* const target = [] {
    const pg::fuzz::Target* found = pg::fuzz::FindTarget(PG_FUZZ_TARGET);
#ifdef PG_FUZZ_WINDOWS
    if (found == nullptr) found = pg::fuzz::FindTarget(PG_FUZZ_TARGET, pg::fuzz::WindowTargets());
#endif
    return found;
  }();
  static const Scratch scratch;
  static const std::string folder = scratch.path();
  const std::string failed =
      pg::fuzz::RunTarget(*target, {reinterpret_cast<const char*>(data), size}, folder);
  if (!failed.empty()) {
    std::fprintf(stderr, "%s: %s\n", PG_FUZZ_TARGET, failed.c_str());
    std::abort();
  }
  return 0;
}
