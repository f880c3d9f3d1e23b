#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/Files.h"
#include "review/Members.h"
#include "support/QuietPorts.h"
#include "support/SessionWriter.h"
#include "support/TempFolder.h"
#include "update/UpdateDialog.h"
#include "update/UpdateRun.h"

namespace {

constexpr int kDays = 99;
constexpr int kMembers = 2000;
constexpr int kTables = 15;
constexpr int kSections = 3;
const pg::Date kFirstDay = pg::MakeDate(2026, 6, 1);

std::string MemberName(int m) {
  return "First" + std::to_string(m) + " Surname" + std::to_string(m);
}

// A 27-board session of the given tables, its players mostly members (one in twenty a visitor),
// every player's handicap stored, as a club playing handicapped events has them.
pg::test::SessionPlan Plan(pg::Date day, int tables, short sectionNo, int seed) {
  pg::test::SessionPlan plan;
  plan.date = day;
  plan.sectionCount = kSections;
  plan.sectionNo = sectionNo;
  plan.sectionNames = {"red", "green", "blue"};
  plan.tables = static_cast<short>(tables);
  plan.pairs = static_cast<short>(2 * tables);
  plan.rows = static_cast<short>(tables);
  plan.rounds = 9;
  plan.boardsPerRound = 3;
  plan.roundsPlayed = 9;
  plan.movementName = "Mitchell " + std::to_string(tables);
  plan.wantHandicaps = 1;
  for (int p = 0; p < 4 * tables; ++p) {
    const int m = (seed * 131 + p * 37) % kMembers + 1;
    plan.players.push_back(p % 20 == 19 ? "Visitor " + std::to_string(p) : MemberName(m));
    plan.handicaps.emplace_back((m % 17) * 0.5 - 4);
  }
  return plan;
}

// 99 days of afternoons of three 15-table sections with their combined file, and a membership
// file of 2,000 members: written once for all the benchmarks here.
struct Season {
  pg::test::TempFolder dir;
  pg::test::QuietPorts ports;
  pg::Context ctx{ports.ports()};
  std::vector<std::string> openedFiles;  // what opening the window reads: section 1, combined
  std::vector<std::string> runFiles;     // what the run reads: the combined files, the members

  Season() {
    ctx.SetFolders(dir.path());
    std::filesystem::create_directories(ctx.ResultsRoot + "2026");
    for (int d = 0; d < kDays; ++d) {
      const pg::Date day = kFirstDay + std::chrono::days{d};
      const std::string base =
          ctx.ResultsRoot + pg::FormatDate(day, "yyyy") + "/" + pg::FormatDate(day, "mmdd") + "S";
      for (short k = 1; k <= kSections; ++k)
        pg::test::WriteSession(base + std::to_string(k) + ".AFT", Plan(day, kTables, k, d * 4 + k));
      pg::test::WriteSession(base + "0.AFT", Plan(day, kSections * kTables, 0, d * 4));
      openedFiles.push_back(base + "1.AFT");
      openedFiles.push_back(base + "0.AFT");
      runFiles.push_back(base + "0.AFT");
    }
    std::string members = " " + std::to_string(kMembers) + "          11           01/06/26\r\n";
    for (int m = 1; m <= kMembers; ++m) {
      members += std::to_string(m) + ",First" + std::to_string(m) + ",Surname" + std::to_string(m) +
                 ",,,F," + std::to_string(m % 13 - 6) + ".5,Y,,,0\r\n";
    }
    pg::FileError error;
    pg::ReplaceFile(ctx.MemberFile, members, error);
    runFiles.push_back(ctx.MemberFile);
    ctx.StartDate = kFirstDay;
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
  for (auto _ : state) {
    pg::UpdateDialog window(season.ctx, session, members, outputs);
    window.Load();
    if (window.lists[0].size() != kDays) state.SkipWithError("the sessions were not all usable");
  }
  if (season.ports.dialogs.messages > 0) state.SkipWithError("a message was shown");
}
BENCHMARK(BM_OpenUpdateWindow99Days)->Unit(benchmark::kMillisecond);

void BM_ReadBytesOfTheFilesTheWindowOpens(benchmark::State& state) {
  ReadBytes(state, TheSeason().openedFiles);
}
BENCHMARK(BM_ReadBytesOfTheFilesTheWindowOpens)->Unit(benchmark::kMillisecond);

// "Update" over the 99 combined sessions: the members loaded, each session read, scored and
// applied for 2,000 members.
void BM_UpdateRun99Sessions2000Members(benchmark::State& state) {
  Season& season = TheSeason();
  pg::Session session;
  pg::MemberTable members;
  pg::UpdateOutputs outputs;
  pg::UpdateDialog window(season.ctx, session, members, outputs);
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
  ReadBytes(state, TheSeason().runFiles);
}
BENCHMARK(BM_ReadBytesOfTheFilesTheRunReads)->Unit(benchmark::kMillisecond);

}  // namespace
