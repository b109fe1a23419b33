#!/usr/bin/env bash
# Fuzzes every entry point for a bounded time: fuzz.sh [seconds] (default 100).
# Builds build-fuzz with clang++, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the target on a copy of the seed
# corpus in tests/fuzz/corpus. A finding stops the run with the crashing
# input written to build-fuzz/findings/.
# fuzz.sh seeds: writes a seed into tests/fuzz/corpus for every declared
# function that has none yet.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
script="$here/sql/qor_udf3.sql"

# qor_gen seeds writes a seed for every declared function that has none: its
# name and a NUL (the target picks the function by it), the arguments of its
# first documented example as text material, and a tail of bytes that the
# target reads as choices of argument kinds.
gen="$here/build-fuzz/tools/qor_gen"
configure() {
  cmake -S "$here" -B "$here/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQOR_TESTS=OFF -DQOR_FUZZ=ON -DQOR_SANITIZE=address,undefined >/dev/null
}

if [ "${1:-}" = seeds ]; then
  configure
  cmake --build "$here/build-fuzz" -j "$(nproc)" --target qor_gen
  "$gen" seeds "$script" "$here/tests/fuzz/corpus"
  exit 0
fi
seconds=${1:-100}
configure
cmake --build "$here/build-fuzz" -j "$(nproc)" --target qor_fuzz qor_gen
corpus=$(mktemp -d)
trap 'rm -rf "$corpus" /tmp/qor_fuzz_*' EXIT
cp "$here"/tests/fuzz/corpus/* "$corpus"/
# A function declared after the corpus was last filled still gets its seed.
"$gen" seeds "$script" "$corpus" >/dev/null
mkdir -p "$here/build-fuzz/findings"
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
jobs=$(nproc)
echo "Fuzzing every entry point for ${seconds}s on $jobs workers"
"$here/build-fuzz/tests/fuzz/qor_fuzz" "$corpus" -max_total_time="$seconds" -max_len=160000 \
  -timeout=20 -rss_limit_mb=6000 -malloc_limit_mb=4000 -fork="$jobs" -ignore_crashes=0 \
  -artifact_prefix="$here/build-fuzz/findings/" -print_final_stats=1 2>&1 | tail -n 30
status=${PIPESTATUS[0]}
# Crashes, sanitizer reports, leaks, timeouts (20 s) and memory blow-ups fail
# the run; an input slower than 10 s is only reported.
if ls "$here"/build-fuzz/findings/slow-unit-* >/dev/null 2>&1; then
  echo "Slow inputs (over 10 s): $(cd "$here/build-fuzz/findings" && ls slow-unit-*)"
fi
if ls "$here"/build-fuzz/findings/{crash,leak,timeout,oom}-* >/dev/null 2>&1; then
  echo "Fuzzing found a fault: $(cd "$here/build-fuzz/findings" && ls | grep -v '^slow-unit-')"
  exit 1
fi
exit "$status"
