#!/usr/bin/env bash
# Runs every test: the unit tests, the tests that call every function through
# an embedded Firebird engine, the export and catalogue checks, and the unit
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer (leak
# detection on), and about two minutes of fuzzing every entry point.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"

"$here/scripts/build.sh" "$here/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQOR_WERROR=ON \
  -DQOR_BENCHMARKS=ON
(cd "$here/build-test" && ctest --output-on-failure -j "$(nproc)")

"$here/scripts/build.sh" "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DQOR_WERROR=ON \
  -DQOR_SANITIZE=address,undefined -DQOR_ENGINE_TESTS=OFF
(cd "$here/build-asan" && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$(nproc)")

"$here/scripts/fuzz.sh" 100
echo "All tests passed."
