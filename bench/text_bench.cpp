// Per-row costs of the text functions (targets as in hot_paths_bench.cpp:
// each everyday case well below the engine's own cost of a call, under 1 µs;
// the worst-case search over the longest texts under 1 ms, linear in their
// lengths).
#include <benchmark/benchmark.h>

#include <string>

#include "frame/case_tables.h"
#include "version/version.h"
#include "text/list_functions.h"
#include "text/soundex.h"
#include "text/text_functions.h"
#include "text/uuid.h"

namespace {

// No allocation: the substring is a view into the text.
void BM_SubStrEx(benchmark::State& state) {
  const std::string text = "Rechnung 2024-0815 vom 1.2.2024";
  for (auto _ : state) {
    int32_t start = 10, count = 9;
    benchmark::DoNotOptimize(qor::SubStrEx(text, start, count));
  }
}
BENCHMARK(BM_SubStrEx);

void BM_TrimInPlace(benchmark::State& state) {
  char buf[] = "    Mustermann GmbH      ";
  for (auto _ : state) {
    buf[19] = ' ';  // undo the NUL of the previous round
    benchmark::DoNotOptimize(qor::TrimInPlace(buf));
  }
}
BENCHMARK(BM_TrimInPlace);

void BM_ReplaceTextIgnoreCase(benchmark::State& state) {
  const std::string text = "Konto 4711, konto 4712, KONTO 4713";
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ReplaceText("konto", "Kto.", text, true, true));
  }
}
BENCHMARK(BM_ReplaceTextIgnoreCase);

// Near-misses everywhere: the search stays linear in the lengths.
void BM_PosTextWorstCase(benchmark::State& state) {
  const std::string text(32767, 'a');
  const std::string search = std::string(16383, 'a') + "b";
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::PosText(search, text));
  }
}
BENCHMARK(BM_PosTextWorstCase);

void BM_ListItemAt(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::ListItemAt("4711;A 1;;400;;100;123.45", 5, ';'));
  }
}
BENCHMARK(BM_ListItemAt);

void BM_CommaTextValue(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::CommaTextValue("KSTNR=4711, KTRNR=\"A 1\", BETRAG=123.45", "betrag"));
  }
}
BENCHMARK(BM_CommaTextValue);

void BM_SoundexCode(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::SoundexCode("Schwarzenberger"));
  }
}
BENCHMARK(BM_SoundexCode);

// One getrandom call per UUID.
void BM_NewUuidText(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::NewUuidText());
  }
}
BENCHMARK(BM_NewUuidText);

void BM_VersionInfo(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(qor::VersionInfo(" fileversion "));
  }
}
BENCHMARK(BM_VersionInfo);

}  // namespace
