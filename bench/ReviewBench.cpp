#include <benchmark/benchmark.h>

#include <string>

#include "review/ReviewDialog.h"
#include "support/QuietPorts.h"

namespace {

// A big club's season: 400 members, 360 of whom played, over 60 sessions of which each member
// played about a third, two winner groups in every other session.
struct Season {
  static constexpr short kMembers = 400;
  static constexpr short kSessions = 60;

  Season() : context(ports.ports()) {
    members.Records.DimFrom1(kMembers);
    outputs.Size(kMembers, kSessions);
    for (short s = 0; s < kSessions; ++s) {
      outputs.SessionLabels(s) = "Mon 01/07/13 aft";
      outputs.SessionAverages(s, 1) = 50 + s % 3;
      outputs.SessionAverages(s, 2) = 50 - s % 2;
    }
    for (short m = 1; m <= kMembers; ++m) {
      pg::MemberRecord& r = members.Member(m);
      r.FirstName = "First" + std::to_string(m);
      r.Surname = "Surname" + std::to_string((m * 37) % kMembers);
      r.FullName = r.FirstName + " " + r.Surname;
      r.StartHandicap = m % 19 - 12;
      r.EndHandicap = r.StartHandicap - 0.01 * (m % 50);
      if (m % 10 == 0) continue;
      outputs.PlayedFlags(m) = 1;
      for (short s = static_cast<short>(m % 3); s < kSessions; s = static_cast<short>(s + 3))
        outputs.SessionResults(m, s) = {true, static_cast<short>(s % 2 == 0 ? 0 : 1 + m % 2),
                                        40.0F + static_cast<float>(m % 23), -0.25F};
    }
  }

  pg::test::QuietPorts ports;
  pg::Context context;
  pg::MemberTable members;
  pg::UpdateOutputs outputs;
};

// What the secretary waits for when the update run ends: the window's grid filled.
void BM_OpenReview(benchmark::State& state) {
  Season season;
  for (auto _ : state) {
    pg::ReviewDialog dialog(season.context, season.members, season.outputs);
    benchmark::DoNotOptimize(dialog.grid().RowCount());
  }
}
BENCHMARK(BM_OpenReview)->Unit(benchmark::kMillisecond);

// One click on a heading, alternately a session's net scores and the names.
void BM_SortReview(benchmark::State& state) {
  Season season;
  pg::ReviewDialog dialog(season.context, season.members, season.outputs);
  int click = 0;
  for (auto _ : state) {
    dialog.GridClick(0, ++click % 2 == 0 ? 1 : 4 + 2 * (click % Season::kSessions));
    benchmark::DoNotOptimize(dialog.grid().Text(3, 0));
  }
}
BENCHMARK(BM_SortReview)->Unit(benchmark::kMicrosecond);

}  // namespace
