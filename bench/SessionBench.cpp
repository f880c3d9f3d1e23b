#include <benchmark/benchmark.h>

#include <string>

#include "session/SessionFile.h"
#include "support/ScriptedPorts.h"
#include "support/SessionWriter.h"
#include "support/TempFolder.h"

namespace {

// A full evening: 15 tables, 30 pairs, 27 boards in 9 rounds, every player's handicap. The
// catalogue reads one such file for every session since the last update.
void BM_ReadSession15Tables27Boards(benchmark::State& state) {
  pg::test::SessionPlan plan;
  plan.version = "9.3";
  plan.tables = 15;
  plan.pairs = 30;
  plan.rows = 15;
  plan.rounds = 9;
  plan.boardsPerRound = 3;
  plan.roundsPlayed = 9;
  plan.movementName = "Mitchell 15";
  plan.wantHandicaps = 1;
  for (int p = 1; p <= 60; ++p) {
    plan.players.push_back("Member Number" + std::to_string(p));
    plan.handicaps.emplace_back((p % 9) * 0.5 - 2);
  }
  pg::test::TempFolder dir;
  pg::test::WriteSession(dir / "0925S1.EVE", plan);

  pg::test::ScriptedPorts ports;
  pg::Context ctx(ports.ports());
  pg::Session s;
  s.BasePath = dir / "0925S1";
  s.Extension = "EVE";
  for (auto _ : state) {
    pg::ReadSession(s, ctx);
    if (s.ReadFailed) state.SkipWithError("the session did not read");
    benchmark::DoNotOptimize(s.Score(27, 15, 2));
  }
}
BENCHMARK(BM_ReadSession15Tables27Boards)->Unit(benchmark::kMicrosecond);

}  // namespace
