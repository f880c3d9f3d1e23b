#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "BenchData.h"
#include "base/Files.h"
#include "review/Members.h"
#include "support/QuietPorts.h"
#include "support/TempFolder.h"
#include "update/NearNames.h"
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

// The update window opened on the season, every day's session listed as usable.
struct OpenWindow {
  pg::Session session;
  pg::MemberTable members;
  pg::UpdateOutputs outputs;
  pg::NameCheck names;
  pg::UpdateDialog window;

  explicit OpenWindow(Season& season) : window(season.ctx, session, members, outputs, names) {
    window.Load();
  }
};

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
  OpenWindow open(season);
  for (auto _ : state) {
    pg::UpdateRun run(season.ctx, open.session, open.members, open.outputs);
    std::string info;
    if (!pg::RunUpdate(run, open.window.lists[0], info)) state.SkipWithError("the run stopped");
  }
  if (season.ports.dialogs.messages > 0) state.SkipWithError("a message was shown");
}
BENCHMARK(BM_UpdateRun99Sessions2000Members)->Unit(benchmark::kMillisecond);

void BM_ReadBytesOfTheFilesTheRunReads(benchmark::State& state) {
  ReadBytes(state, TheSeason().files.run);
}
BENCHMARK(BM_ReadBytesOfTheFilesTheRunReads)->Unit(benchmark::kMillisecond);

// What "Update" does before the run: the members loaded and the 99 combined sessions read without
// a word, and every player's name that is no member's (the season's nine visitors) compared with
// the 2,000 members.
void BM_NearNameCheck99Sessions2000Members(benchmark::State& state) {
  Season& season = TheSeason();
  OpenWindow open(season);
  for (auto _ : state) {
    const std::vector<pg::NearName> near = pg::FindNearNames(season.ctx, open.window.lists[0]);
    if (!near.empty()) state.SkipWithError("a visitor was taken for a member");
  }
  if (season.ports.dialogs.messages > 0) state.SkipWithError("a message was shown");
}
BENCHMARK(BM_NearNameCheck99Sessions2000Members)->Unit(benchmark::kMillisecond);

// Names as a club has them, from a few first names and surnames of two or three syllables, so
// that they differ in length and in a letter or two as real ones do: 5,120 of them.
std::string Name(uint64_t n) {
  static const std::array<const char*, 16> first{
      "Ann",   "Brian",  "Carol", "David",  "Elaine",  "Frank", "Gillian", "Howard",
      "Irene", "Joseph", "Kath",  "Leslie", "Maureen", "Nigel", "Olive",   "Philip"};
  static const std::array<const char*, 8> start{"Ash", "Carr", "Fen", "Holl",
                                                "Mar", "Pen",  "Rad", "Sta"};
  static const std::array<const char*, 8> middle{"brook", "dale", "ford", "ing",
                                                 "ley",   "ton",  "well", "wick"};
  static const std::array<const char*, 5> end{"", "er", "by", "more", "side"};
  return std::string(first[n % 16]) + " " + start[(n / 16) % 8] + middle[(n / 128) % 8] +
         end[(n / 1024) % 5];
}

// The rule alone for 1,000 names that are no member's, far more visitors than a season has,
// against 2,000 members: the part of the check that grows with the names.
void BM_NearNameRule1000NamesAgainst2000Members(benchmark::State& state) {
  pg::MemberTable members;
  members.Records.DimFrom1(2000);
  for (short m = 1; m <= 2000; ++m) {
    pg::MemberRecord& r = members.Member(m);
    const std::string name = Name(static_cast<uint64_t>(m) * 2557 % 5120);
    r.FirstName = name.substr(0, name.find(' '));
    r.Surname = name.substr(name.find(' ') + 1);
    r.FullName = name;
  }
  const pg::NearNameRule rule(members);
  std::vector<std::string> typed;
  for (uint64_t n = 0; typed.size() < 1000; ++n)
    if (!rule.IsMember(Name(n) + "s")) typed.push_back(Name(n) + "s");
  for (auto _ : state) {
    int close = 0;
    for (const std::string& name : typed)
      close += rule.Closest(name).has_value() ? 1 : 0;
    benchmark::DoNotOptimize(close);
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_NearNameRule1000NamesAgainst2000Members)->Unit(benchmark::kMillisecond);

}  // namespace
