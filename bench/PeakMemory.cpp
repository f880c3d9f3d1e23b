// Peak resident memory while the update window holds the season of BenchData.h. The season is
// written by this program, which then runs itself again to open the window on it and do nothing
// else, so that the figures are those of a process that only opens the window and updates. Built
// with PG_PEAK_MEMORY_QT, it shows the program's real windows (offscreen unless a platform is
// set): the main window, the update window on the season, and after the update the review
// window with its grid.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchData.h"
#include "review/Members.h"
#include "shell/Program.h"
#include "support/QuietPorts.h"
#include "support/TempFolder.h"
#include "update/UpdateDialog.h"
#include "update/UpdateRun.h"

#ifdef PG_PEAK_MEMORY_QT
#include <QApplication>

#include "review/ReviewDialog.h"
#include "shell/MainWindow.h"
#include "ui/MainWindowView.h"
#include "ui/ReviewView.h"
#include "ui/UpdateView.h"
#endif

extern char** environ;

namespace {

void Report(const char* when, long kilobytes) {
  std::printf("%-50s %6.1f MB\n", when, static_cast<double>(kilobytes) / 1024.0);
}

int OpenAndUpdate(int argc, char** argv) {
  const pg::bench::ResidentMemory start = pg::bench::ReadResidentMemory();
  pg::test::QuietPorts ports;
  pg::Program program(ports.ports());
  pg::Context& ctx = program.context;
  ctx.SetFolders(argv[2]);
  ctx.StartDate = pg::bench::kFirstDay;
#ifdef PG_PEAK_MEMORY_QT
  QApplication app(argc, argv);
  pg::MainWindow mainWindow(program);
  pg::ui::MainWindowView mainView(mainWindow);
  mainView.show();
  QApplication::processEvents();
#else
  (void)argc;
#endif
  const pg::bench::ResidentMemory before = pg::bench::ReadResidentMemory();

  pg::UpdateDialog window(ctx, program.session, program.members, program.outputs,
                          program.nameCheck);
  window.Load();
#ifdef PG_PEAK_MEMORY_QT
  pg::ui::UpdateView updateView(window, &mainView);
  updateView.show();
  QApplication::processEvents();
#endif
  const pg::bench::ResidentMemory open = pg::bench::ReadResidentMemory();

  pg::UpdateRun run(ctx, program.session, program.members, program.outputs);
  std::string info;
  const bool updated = pg::RunUpdate(run, window.lists[0], info);
#ifdef PG_PEAK_MEMORY_QT
  pg::ReviewDialog review(ctx, program.members, program.outputs);
  pg::ui::ReviewView reviewView(review, &updateView);
  reviewView.show();
  QApplication::processEvents();
#endif
  const pg::bench::ResidentMemory done = pg::bench::ReadResidentMemory();

  if (window.lists[0].size() != pg::bench::kDays || !updated || ports.dialogs.messages > 0) {
    std::fprintf(stderr, "the season did not open and update as it should\n");
    return 1;
  }
  Report("resident at start:", start.nowKB);
  Report("resident before opening the update window:", before.nowKB);
  Report("peak while the window holds the 99-day season:", open.peakKB);
#ifdef PG_PEAK_MEMORY_QT
  Report("peak with the review window after the update:", done.peakKB);
#else
  Report("peak after the update over its 99 sessions:", done.peakKB);
#endif
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--open") return OpenAndUpdate(argc, argv);
  pg::test::TempFolder dir;
  pg::bench::WriteSeason(dir.path());
  // The windows need no screen to be measured.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
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
