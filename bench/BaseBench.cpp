#include <benchmark/benchmark.h>

#include <string>

#include "base/Items.h"
#include "base/Numbers.h"

namespace {

// Reading items is the inner loop of every file the program opens.
void BM_ReadItems(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 10000; ++i)
    text += "1,-13,\"Jane Smith\",#NULL#,420\r\n";
  for (auto _ : state) {
    pg::ItemReader r(text);
    double sum = 0;
    while (!r.AtEnd()) {
      sum += r.ReadInt16() + r.ReadInt16();
      r.ReadText();
      r.ReadCell();
      sum += r.ReadCell().NumericValue();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK(BM_ReadItems);

void BM_NumberText(benchmark::State& state) {
  double v = 0;
  for (auto _ : state) {
    v += 0.01;
    benchmark::DoNotOptimize(pg::NumberText(v));
  }
}
BENCHMARK(BM_NumberText);

}  // namespace
