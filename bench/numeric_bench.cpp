// Per-row costs of the rounding and of rewriting an allocation text. Targets:
// RoundDecimals well under 0.1 µs; a spread over a four-line allocation under
// 5 µs, about one engine call.
#include <benchmark/benchmark.h>

#include <string>

#include "accounting/kst_verteilen.h"
#include "numeric/rounding.h"

namespace {

void BM_RoundDecimals(benchmark::State& state) {
  double value = 1234.5678;
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::RoundDecimals(value, 2));
    value += 0.0001;
  }
}
BENCHMARK(BM_RoundDecimals);

const std::string kAllocation =
    "FELDER=KSTNR,KTRNR,KZORIG,KOART,MENGE,PROZENT,BETRAG\r\n"
    "1=4711,\"A 1\",,400,2,25,25\r\n2=4712,,,400,1,25,25\r\n"
    "3=4713,,,400,1,25,25\r\n4=4714,,,400,1,25,25\r\n";

void BM_KstBetragVerteilen(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::KstBetragVerteilen(kAllocation, 250.0));
  }
}
BENCHMARK(BM_KstBetragVerteilen);

// No redistribution needed: the text is only read.
void BM_KstBetragVerteilenUnchanged(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::KstBetragVerteilen(kAllocation, 100.0));
  }
}
BENCHMARK(BM_KstBetragVerteilenUnchanged);

void BM_KstMengenStorno(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::KstMengenStorno(kAllocation));
  }
}
BENCHMARK(BM_KstMengenStorno);

}  // namespace
