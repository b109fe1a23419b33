// Per-row costs of the masks and date patterns (targets as for the helpers:
// each case under 1 µs).
#include <benchmark/benchmark.h>

#include "mask/date_pattern.h"
#include "mask/mask.h"
#include "mask/number_pattern.h"

namespace {

void BM_MaskPadText(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ApplyMask("S20", "Mustermann GmbH", qor::MaskText, 0.0, 0.0));
  }
}
BENCHMARK(BM_MaskPadText);

void BM_MaskFixedPoint(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ApplyMask("N010.2", "", qor::MaskNumber, -1234.565, 0.0));
  }
}
BENCHMARK(BM_MaskFixedPoint);

void BM_MaskHundredths(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ApplyMask("O11,EUR", "", qor::MaskNumber, 1234.56, 0.0));
  }
}
BENCHMARK(BM_MaskHundredths);

void BM_MaskDigitWordLine(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ApplyMask("W40,1,2", "1234567", qor::MaskText, 0.0, 0.0));
  }
}
BENCHMARK(BM_MaskDigitWordLine);

void BM_MaskDateFromText(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ApplyMask("D19", "1.2.2023 12:30:45", qor::MaskText, 0.0, 0.0));
  }
}
BENCHMARK(BM_MaskDateFromText);

void BM_MaskTermDate(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ApplyMask("Z-31", "", qor::MaskDateTime, 0.0, 44942.5));
  }
}
BENCHMARK(BM_MaskTermDate);

void BM_NumberPattern(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::FormatNumberPattern("#,##0.00;(#,##0.00);'-'", -1234567.891));
  }
}
BENCHMARK(BM_NumberPattern);

void BM_FormatDateText(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::FormatDateText("dddd, d. mmmm yyyy hh:nn", "1.2.2023 12:30"));
  }
}
BENCHMARK(BM_FormatDateText);

}  // namespace
