// Feeds arbitrary bytes to the session reader as a session file: it must end in a read or its
// own message, whatever the bytes. Build with -DPAIRGAUGE_BUILD_FUZZ=ON and clang, then run it on
// a scratch copy of the sample sessions (the fuzzer adds its findings to the first folder):
//   cp -r tests/data/sessions /tmp/corpus && build/fuzz/session_fuzz /tmp/corpus
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/Context.h"
#include "session/SessionFile.h"
#include "support/QuietPorts.h"

namespace {

// One folder for every run (the fuzzer ends without running exit handlers, so a folder per run
// would be left behind each time).
std::string Folder() {
  static const std::string folder = [] {
    const std::filesystem::path base =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::filesystem::create_directories(base / "pairgauge-session-fuzz");
    return (base / "pairgauge-session-fuzz").string() + "/";
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static pg::test::QuietPorts ports;
  const std::string path = Folder() + "0925S1.AFT";
  // A repair may have left its backup; a new file each time keeps the runs apart.
  std::filesystem::remove(Folder() + "0925S1.AFX");
  std::filesystem::remove(path);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  pg::Context ctx(ports.ports());
  pg::Session s;
  s.BasePath = Folder() + "0925S1";
  s.Extension = "AFT";
  pg::ReadSession(s, ctx);
  return 0;
}
