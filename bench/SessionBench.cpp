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
  pg::test::SessionSpec spec;
  spec.version = "9.3";
  spec.tables = 15;
  spec.pairs = 30;
  spec.rows = 15;
  spec.rounds = 9;
  spec.boardsPerRound = 3;
  spec.roundsPlayed = 9;
  spec.movementName = "Mitchell 15";
  spec.wantHandicaps = 1;
  for (int p = 1; p <= 60; ++p) {
    spec.players.push_back("Member Number" + std::to_string(p));
    spec.handicaps.emplace_back((p % 9) * 0.5 - 2);
  }
  pg::test::TempFolder dir;
  pg::test::WriteSession(dir / "0925S1.EVE", spec);

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
