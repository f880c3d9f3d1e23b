#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>

#include "base/Context.h"
#include "scoring/Scoring.h"
#include "session/Session.h"
#include "support/QuietPorts.h"

namespace {

// A two-winner movement of `tables` tables in which every board is played at every table: the
// North-South pair of table t meets a different East-West pair on each board. A few rows carry
// "Ave+"/"Ave-" so that the re-valuing runs too, and every player has a handicap.
pg::Session MakeSession(short tables, short boards) {
  pg::Session s;
  s.PairCount = static_cast<short>(2 * tables);
  s.NSPairCount = tables;
  s.WinnerCount = 2;
  s.BoardCount = boards;
  s.RowCount = tables;
  s.RoundCount = 1;
  s.BoardsPerRound = boards;
  s.RoundsPlayed = 1;
  s.ScoringType = "Pairs";
  s.WantHandicaps = 1;
  pg::ApplyScoringType(s);
  pg::DimensionSession(s);
  std::mt19937 random(42);
  const double scores[] = {-200, -100, -50, 90,  110, 140, 400, 420,  430,
                           450,  460,  600, 620, 630, 650, 660, 1430, 1440};
  std::uniform_int_distribution<int> pick(0, std::size(scores) - 1);
  for (short b = 1; b <= boards; ++b) {
    for (short t = 1; t <= tables; ++t) {
      s.RowPairs(b, t, 1) = t;
      s.RowPairs(b, t, 2) = static_cast<short>(tables + 1 + (t + b) % tables);
      if ((b * 31 + t * 7) % 97 == 0) {
        s.Score(b, t, 1) = pg::CellValue(9003);
        s.Score(b, t, 2) = pg::CellValue(9001);
      } else {
        const double v = scores[pick(random)];
        s.Score(b, t, 1) = pg::CellValue(v);
        s.Score(b, t, 2) = pg::CellValue(-v);
      }
    }
  }
  for (short p = 1; p <= 2 * s.PairCount; ++p)
    s.PlayerHandicaps(p) = pg::CellValue(static_cast<double>(p % 7) - 3);
  return s;
}

void BM_ScoreSession(benchmark::State& state) {
  pg::test::QuietPorts ports;
  pg::Context ctx(ports.ports());
  pg::Session s =
      MakeSession(static_cast<short>(state.range(0)), static_cast<short>(state.range(1)));
  for (auto _ : state) {
    pg::ScoreSession(s, ctx);
    benchmark::DoNotOptimize(s.PairPercent(1));
  }
  // Scoring a sound session asks nothing: a message means the benchmark measured a failure.
  if (!s.ScoreOK || ports.dialogs.messages > 0) state.SkipWithError("the session did not score");
  state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
// Tables, boards: a club evening, and a big congress with twice as many boards to show that the
// time grows with the boards and no faster than the square of the tables.
BENCHMARK(BM_ScoreSession)
    ->Args({15, 27})
    ->Args({100, 27})
    ->Args({100, 54})
    ->Args({50, 27})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
