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

namespace {

// Answers every message: OK, and Yes to the error reporter so that reading goes on.
class Answering : public pg::Dialogs {
 public:
  pg::Answer Message(const std::string&, pg::Buttons buttons, pg::Icon) override {
    return buttons == pg::Buttons::YesNo ? pg::Answer::Yes : pg::Answer::OK;
  }
  std::optional<std::string> Prompt(const std::string&, const std::string&,
                                    const std::string&) override {
    return std::nullopt;
  }
  void Beep() override {}
  bool CapsLockOn() override { return false; }
  pg::ScreenSize Screen() override { return {}; }
  [[noreturn]] void EndProgram() override { std::abort(); }
};
class NoWindows : public pg::Windows {
 public:
  void ShowModal(pg::WindowId) override {}
};
class NoSettings : public pg::SettingsStore {
 public:
  std::string Read(const std::string&, const std::string&, const std::string&,
                   const std::string& value) override {
    return value;
  }
  void Write(const std::string&, const std::string&, const std::string&,
             const std::string&) override {}
};
class Fixed : public pg::Clock {
 public:
  pg::Date Today() override { return pg::MakeDate(2026, 12, 8); }
};

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
  static Answering dialogs;
  static NoWindows windows;
  static NoSettings settings;
  static Fixed clock;
  const std::string path = Folder() + "0925S1.AFT";
  // A repair may have left its backup; a new file each time keeps the runs apart.
  std::filesystem::remove(Folder() + "0925S1.AFX");
  std::filesystem::remove(path);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  pg::Context ctx(pg::Ports{dialogs, windows, settings, clock});
  pg::Session s;
  s.BasePath = Folder() + "0925S1";
  s.Extension = "AFT";
  pg::ReadSession(s, ctx);
  return 0;
}
