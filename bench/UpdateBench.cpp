#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchData.h"
#include "base/Files.h"
#include "review/Members.h"
#include "support/QuietPorts.h"
#include "support/TempFolder.h"
#include "update/UpdateDialog.h"
#include "update/UpdateRun.h"

namespace {

// The season of BenchData.h, written once for all the benchmarks here.
struct Season {
  pg::test::TempFolder dir;
  pg::test::QuietPorts ports;
  pg::Context ctx{ports.ports()};
  pg::bench::SeasonFiles files = pg::bench::WriteSeason(dir.path());

  Season() {
    ctx.SetFolders(dir.path());
    ctx.StartDate = pg::bench::kFirstDay;
  }
};

Season& TheSeason() {
  static Season season;
  return season;
}

void ReadBytes(benchmark::State& state, const std::vector<std::string>& files) {
  for (auto _ : state) {
    size_t total = 0;
    for (const std::string& file : files)
      total += pg::ReadFileBytes(file).value_or("").size();
    benchmark::DoNotOptimize(total);
  }
}

// Opening the update window: every file of the 99 days found, read and scored, and the first
// line described.
void BM_OpenUpdateWindow99Days(benchmark::State& state) {
  Season& season = TheSeason();
  pg::Session session;
  pg::MemberTable members;
  pg::UpdateOutputs outputs;
  pg::NameCheck names;
  for (auto _ : state) {
    pg::UpdateDialog window(season.ctx, session, members, outputs, names);
    window.Load();
    if (window.lists[0].size() != pg::bench::kDays)
      state.SkipWithError("the sessions were not all usable");
  }
  if (season.ports.dialogs.messages > 0) state.SkipWithError("a message was shown");
}
BENCHMARK(BM_OpenUpdateWindow99Days)->Unit(benchmark::kMillisecond);

void BM_ReadBytesOfTheFilesTheWindowOpens(benchmark::State& state) {
  ReadBytes(state, TheSeason().files.opened);
}
BENCHMARK(BM_ReadBytesOfTheFilesTheWindowOpens)->Unit(benchmark::kMillisecond);

// "Update" over the 99 combined sessions: the members loaded, each session read, scored and
// applied for 2,000 members.
void BM_UpdateRun99Sessions2000Members(benchmark::State& state) {
  Season& season = TheSeason();
  pg::Session session;
  pg::MemberTable members;
  pg::UpdateOutputs outputs;
  pg::NameCheck names;
  pg::UpdateDialog window(season.ctx, session, members, outputs, names);
  window.Load();
  for (auto _ : state) {
    pg::UpdateRun run(season.ctx, session, members, outputs);
    std::string info;
    if (!pg::RunUpdate(run, window.lists[0], info)) state.SkipWithError("the run stopped");
  }
  if (season.ports.dialogs.messages > 0) state.SkipWithError("a message was shown");
}
BENCHMARK(BM_UpdateRun99Sessions2000Members)->Unit(benchmark::kMillisecond);

void BM_ReadBytesOfTheFilesTheRunReads(benchmark::State& state) {
  ReadBytes(state, TheSeason().files.run);
}
BENCHMARK(BM_ReadBytesOfTheFilesTheRunReads)->Unit(benchmark::kMillisecond);

}  // namespace
