#!/usr/bin/env bash
# Fuzzes every entry point for a bounded time: fuzz.sh [seconds] (default 100).
# Builds build-fuzz with clang++, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the target on a copy of the seed
# corpus in tests/fuzz/corpus. A finding stops the run with the crashing
# input written to build-fuzz/findings/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-100}
cmake -S "$here" -B "$here/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQOR_TESTS=OFF -DQOR_FUZZ=ON -DQOR_SANITIZE=address,undefined >/dev/null
cmake --build "$here/build-fuzz" -j "$(nproc)" --target qor_fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus" /tmp/qor_fuzz_*' EXIT
cp "$here"/tests/fuzz/corpus/* "$corpus"/
mkdir -p "$here/build-fuzz/findings"
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
jobs=$(nproc)
echo "Fuzzing every entry point for ${seconds}s on $jobs workers"
"$here/build-fuzz/tests/fuzz/qor_fuzz" "$corpus" -max_total_time="$seconds" -max_len=160000 \
  -timeout=20 -rss_limit_mb=6000 -malloc_limit_mb=4000 -fork="$jobs" -ignore_crashes=0 \
  -artifact_prefix="$here/build-fuzz/findings/" -print_final_stats=1 2>&1 | tail -n 30
status=${PIPESTATUS[0]}
if ls "$here"/build-fuzz/findings/* >/dev/null 2>&1; then
  echo "Fuzzing found a fault: $(ls "$here"/build-fuzz/findings/)"
  exit 1
fi
exit "$status"
