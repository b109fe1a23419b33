#!/usr/bin/env bash
# Memory soak through the engine: soak.sh [calls] (default 1,000,000) calls of
# every documented example that leaves the disk alone (text, number, blob,
# allocation and date functions), in one process, reporting the resident
# memory after the warm-up and at the end. Fails when it grew by more than
# 2 MB. Not part of the test command, which runs a short version.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
calls=${1:-1000000}
"$here/scripts/build.sh" "$here/build-soak" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQOR_BENCHMARKS=OFF
QOR_SOAK_CALLS="$calls" "$here/build-soak/tests/qor_engine_tests" --gtest_filter='Soak.*'
