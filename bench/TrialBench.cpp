#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BenchData.h"
#include "base/Files.h"
#include "history/HistoryReader.h"
#include "review/Members.h"
#include "shell/TrialWindow.h"
#include "support/QuietPorts.h"
#include "support/TempFolder.h"
#include "update/Replay.h"
#include "update/UpdateRun.h"

namespace {

// A busy club's year: 300 members, 400 sessions of 15 tables (every player's handicap stored,
// one in twenty a visitor), updated and saved by the program at the end of every month.
constexpr int kMembers = 300;
constexpr int kSessions = 400;

struct BusyYear {
  pg::test::TempFolder dir;
  pg::test::QuietPorts ports;
  pg::Program program{ports.ports()};
  pg::Context& ctx = program.context;
  std::vector<std::string> files;  // what the replay reads: the sessions and the history

  BusyYear() {
    ctx.SetFolders(dir.path());
    ctx.ProgramVersion = "1.0";
    ctx.NoUpdateYet = true;
    std::filesystem::create_directories(ctx.ResultsRoot + "2025");
    std::filesystem::create_directories(ctx.HandicapFolder);
    std::string members = " " + std::to_string(kMembers) + "          11           01/01/25\r\n";
    for (int m = 1; m <= kMembers; ++m)
      members += std::to_string(m) + ",First" + std::to_string(m) + ",Surname" + std::to_string(m) +
                 ",,,F," + std::to_string(m % 13 - 6) + ".5,Y,,,0\r\n";
    pg::FileError error;
    pg::ReplaceFile(ctx.MemberFile, members, error);
    pg::WriteParameters(ctx.HandicapFolder, ctx.ProgramVersion, ctx.Parameters, ctx.dialogs());

    // An afternoon and an evening on 200 days of the year.
    const pg::Date first = pg::MakeDate(2025, 1, 1);
    for (int s = 0; s < kSessions; ++s) {
      const pg::Date day = first + std::chrono::days{s / 2 * 364 / 200};
      pg::test::SessionPlan plan = pg::bench::ClubSession(day, 15, 1, 1, s);
      for (size_t p = 0; p < plan.players.size(); ++p) {
        if (p % 20 == 19) continue;
        const std::string m =
            std::to_string((static_cast<size_t>(s) * 131 + p * 37) % kMembers + 1);
        plan.players[p] = "First" + m + " Surname" + m;
      }
      const std::string file = ctx.ResultsRoot + "2025/" + pg::FormatDate(day, "mmdd") +
                               (s % 2 == 0 ? "S1.AFT" : "S1.EVE");
      pg::test::WriteSession(file, plan);
      files.push_back(file);
    }
    // Each month's sessions, updated and saved.
    pg::Session session;
    pg::Date start = first;
    for (unsigned month = 1; month <= 12; ++month) {
      using namespace std::chrono;
      const pg::Date end = sys_days(year(2025) / month / last);
      pg::ListingOptions listing;
      listing.through = end;
      listing.correctionPeriod = false;
      pg::CatalogueLists lists;
      pg::GetOldFiles(session, ctx, start, lists, listing);
      pg::MemberTable table;
      pg::UpdateOutputs outputs;
      pg::UpdateRun run(ctx, session, table, outputs);
      std::string info;
      bool unsaved = true;
      if (!pg::RunUpdate(run, lists[0], info) ||
          pg::SaveHandicaps(table, ctx, *outputs.LastSessionDate, unsaved, &outputs) !=
              pg::SaveOutcome::Saved)
        std::abort();
      start = end + days{1};
    }
    files.push_back(ctx.MemberFile);
    files.push_back(ctx.HandicapFolder + pg::kHistoryFileName);
  }
};

BusyYear& TheYear() {
  static BusyYear year;
  return year;
}

// Opening "Try parameters" on the year: the members and the history read, and the twelve updates
// replayed as saved and on trial, every session read and scored once for both.
void BM_TrialWindowOpensOnABusyYear(benchmark::State& state) {
  BusyYear& year = TheYear();
  const long before = year.ports.dialogs.messages;
  for (auto _ : state) {
    pg::TrialDialog window(year.program);
    window.Load();
    if (window.replay().updates.size() != 12 || window.replay().Differing() != 0)
      state.SkipWithError("the replay is not the year's as saved");
  }
  if (year.ports.dialogs.messages != before) state.SkipWithError("a message was shown");
}
BENCHMARK(BM_TrialWindowOpensOnABusyYear)->Unit(benchmark::kMillisecond);

// The replay alone, as after each value typed into the trial.
void BM_ReplayABusyYearUnderBothColumns(benchmark::State& state) {
  BusyYear& year = TheYear();
  pg::MemberTable today;
  pg::LoadMembers(today, year.ctx);
  pg::HistoryDamage damage;
  const pg::History history = pg::ReadHistory(year.ctx, today, damage);
  pg::ReplayRequest request;
  request.last = history.updates.size() - 1;
  request.today = request.trial = year.ctx.Parameters;
  request.trial.DeadZone = {-1, 1};
  for (auto _ : state) {
    const pg::Replay replay = pg::ReplayUpdates(year.ctx, history.updates, request);
    benchmark::DoNotOptimize(replay.members.size());
  }
  state.SetItemsProcessed(state.iterations() * kSessions);
}
BENCHMARK(BM_ReplayABusyYearUnderBothColumns)->Unit(benchmark::kMillisecond);

void BM_ReadBytesOfTheFilesTheReplayReads(benchmark::State& state) {
  const std::vector<std::string>& files = TheYear().files;
  for (auto _ : state) {
    size_t total = 0;
    for (const std::string& file : files)
      total += pg::ReadFileBytes(file).value_or("").size();
    benchmark::DoNotOptimize(total);
    state.counters["bytes"] = static_cast<double>(total);
  }
}
BENCHMARK(BM_ReadBytesOfTheFilesTheReplayReads)->Unit(benchmark::kMillisecond);

}  // namespace
