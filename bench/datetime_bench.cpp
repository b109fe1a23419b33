// Per-row costs of the date functions (targets as for the helpers: each case
// under 1 µs; the parser allocates nothing).
#include <benchmark/benchmark.h>

#include "accounting/booking.h"
#include "datetime/date_functions.h"
#include "datetime/date_parse.h"

namespace {

void BM_ParseDateTimeText(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ParseDateTimeText("01.02.2023 12:30:45"));
  }
}
BENCHMARK(BM_ParseDateTimeText);

// Reads the clock for the omitted year.
void BM_ParseDateTimeTextCurrentYear(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ParseDateTimeText("15.3.  "));
  }
}
BENCHMARK(BM_ParseDateTimeTextCurrentYear);

void BM_WeekOfDateText(benchmark::State& state) {
  int64_t day = 44927;  // 1.1.2023, the case that looks at the week before
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::WeekOfDateText(day));
  }
}
BENCHMARK(BM_WeekOfDateText);

void BM_DateOfWeek(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::DateOfWeek("05-2023"));
  }
}
BENCHMARK(BM_DateOfWeek);

void BM_AblaufTagFixedDay(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::AblaufTag(45301, -31, 0, 0, 0));
  }
}
BENCHMARK(BM_AblaufTagFixedDay);

}  // namespace
