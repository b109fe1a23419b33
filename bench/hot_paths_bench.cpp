// Per-row costs of the helpers every function leans on. A legacy UDF call
// costs the engine about 4 µs by itself; the work of one call should stay
// well below that (targets: each case here under 1 µs, and no allocation
// where the case says so).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "accounting/account_range.h"
#include "accounting/debit_credit.h"
#include "accounting/kst_aufteilung.h"
#include "frame/number_text.h"
#include "frame/strings.h"
#include "frame/udf_result.h"

namespace {

void BM_SHBetrag(benchmark::State& state) {
  double amount = 100.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::SHBetrag("H", amount));
  }
}
BENCHMARK(BM_SHBetrag);

// No allocation: reads the number in place.
void BM_ParseFloatText(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ParseFloatText("  1234,56 EUR"));
  }
}
BENCHMARK(BM_ParseFloatText);

void BM_ParseLeadingInt(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ParseLeadingInt("  -4711abc"));
  }
}
BENCHMARK(BM_ParseLeadingInt);

void BM_SplitList(benchmark::State& state) {
  qor::TextList list;
  for (auto _ : state) {
    qor::SplitList(R"(4711,"A 1",,400,,100,123.45)", list, ',', qor::BlanksSeparate);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_SplitList);

void BM_NumberText(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::NumberText(1234.56));
  }
}
BENCHMARK(BM_NumberText);

void BM_KstToAufteilung(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::KstToAufteilung(4711, 0, 400, 123.45, "A 1"));
  }
}
BENCHMARK(BM_KstToAufteilung);

void BM_Kontenbereich(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::Kontenbereich(4711.05, "4000-4999, !4711, 48XX", "0X, !09"));
  }
}
BENCHMARK(BM_Kontenbereich);

void BM_UdfResultStr(benchmark::State& state) {
  for (auto _ : state) {
    char* p = qor::UdfResultStr("FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG");
    benchmark::DoNotOptimize(p);
    std::free(p);
  }
}
BENCHMARK(BM_UdfResultStr);

}  // namespace
