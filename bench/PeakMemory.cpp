// Peak resident memory while the update window holds the season of BenchData.h. The season is
// written by this program, which then runs itself again to open the window on it and do nothing
// else, so that the figures are those of a process that only opens the window and updates.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "BenchData.h"
#include "review/Members.h"
#include "support/QuietPorts.h"
#include "support/TempFolder.h"
#include "update/UpdateDialog.h"
#include "update/UpdateRun.h"

extern char** environ;

namespace {

double Megabytes(long kilobytes) {
  return static_cast<double>(kilobytes) / 1024.0;
}

int OpenAndUpdate(const std::string& dataFolder) {
  const pg::bench::ResidentMemory before = pg::bench::ReadResidentMemory();
  pg::test::QuietPorts ports;
  pg::Context ctx(ports.ports());
  ctx.SetFolders(dataFolder);
  ctx.StartDate = pg::bench::kFirstDay;
  pg::Session session;
  pg::MemberTable members;
  pg::UpdateOutputs outputs;
  pg::UpdateDialog window(ctx, session, members, outputs);
  window.Load();
  const pg::bench::ResidentMemory open = pg::bench::ReadResidentMemory();
  pg::UpdateRun run(ctx, session, members, outputs);
  std::string info;
  const bool updated = pg::RunUpdate(run, window.lists[0], info);
  const pg::bench::ResidentMemory done = pg::bench::ReadResidentMemory();
  if (window.lists[0].size() != pg::bench::kDays || !updated || ports.dialogs.messages > 0) {
    std::fprintf(stderr, "the season did not open and update as it should\n");
    return 1;
  }
  std::printf("resident before opening:                        %6.1f MB\n",
              Megabytes(before.nowKB));
  std::printf("peak while the window holds the 99-day season:  %6.1f MB\n", Megabytes(open.peakKB));
  std::printf("peak after the update over its 99 sessions:     %6.1f MB\n", Megabytes(done.peakKB));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--open") return OpenAndUpdate(argv[2]);
  pg::test::TempFolder dir;
  pg::bench::WriteSeason(dir.path());
  std::string self = "/proc/self/exe", open = "--open", folder = dir.path();
  char* arguments[] = {self.data(), open.data(), folder.data(), nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, self.c_str(), nullptr, nullptr, arguments, environ) != 0) {
    std::perror("posix_spawn");
    return 1;
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
