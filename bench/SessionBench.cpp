#include <benchmark/benchmark.h>

#include "BenchData.h"
#include "base/Files.h"
#include "scoring/Scoring.h"
#include "session/SessionFile.h"
#include "support/QuietPorts.h"
#include "support/TempFolder.h"

namespace {

// One file of the season's kind (27 boards, every player's handicap) of state.range(0) tables:
// a club evening, a big club night and a congress.
struct OneSession {
  explicit OneSession(int tables) {
    pg::test::WriteSession(dir / "0925S1.EVE",
                           pg::bench::ClubSession(pg::MakeDate(2026, 9, 25), tables, 1, 1, 7));
    session.BasePath = dir / "0925S1";
    session.Extension = "EVE";
  }
  std::string file() const { return session.BasePath + "." + session.Extension; }

  pg::test::TempFolder dir;
  pg::test::QuietPorts ports;
  pg::Context ctx{ports.ports()};
  pg::Session session;
};

void BM_ReadSessionBytes(benchmark::State& state) {
  OneSession one(static_cast<int>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(pg::ReadFileBytes(one.file()));
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(pg::ReadFileBytes(one.file())->size()));
}
BENCHMARK(BM_ReadSessionBytes)->Arg(15)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_ReadSession(benchmark::State& state) {
  OneSession one(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    pg::ReadSession(one.session, one.ctx);
    benchmark::DoNotOptimize(one.session.Score(1, 1, 1));
  }
  if (one.session.ReadFailed || one.ports.dialogs.messages > 0)
    state.SkipWithError("the session did not read");
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(pg::ReadFileBytes(one.file())->size()));
}
BENCHMARK(BM_ReadSession)->Arg(15)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

// What the update window and the run do with each session they use.
void BM_ReadAndScoreSession(benchmark::State& state) {
  OneSession one(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    pg::ReadSession(one.session, one.ctx);
    pg::ScoreSession(one.session, one.ctx);
    benchmark::DoNotOptimize(one.session.PairPercent(1));
  }
  if (one.session.ReadFailed || !one.session.ScoreOK || one.ports.dialogs.messages > 0)
    state.SkipWithError("the session did not read and score");
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(pg::ReadFileBytes(one.file())->size()));
}
BENCHMARK(BM_ReadAndScoreSession)->Arg(15)->Arg(50)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
