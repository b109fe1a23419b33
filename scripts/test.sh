#!/usr/bin/env bash
# Runs every test: the unit tests, the tests that call every function through
# an embedded Firebird engine (Firebird 3 here, and Firebird 4 in a Debian 13
# root that scripts/fb4_root.sh makes once per machine), the export and
# catalogue checks, and the unit tests (ctest label unit) again under
# AddressSanitizer and UndefinedBehaviorSanitizer (leak detection on), and
# about two minutes of fuzzing every entry point.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
# The Firebird 4 root for the engine tests on Firebird 4: made on the first
# run on a machine (a few minutes), reused after that.
fb4_root=$("$here/scripts/fb4_root.sh")

"$here/scripts/build.sh" "$here/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQOR_WERROR=ON \
  -DQOR_BENCHMARKS=ON -DQOR_FB4_ROOT="$fb4_root"
(cd "$here/build-test" && ctest --output-on-failure -j "$(nproc)")

"$here/scripts/build.sh" "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug -DQOR_WERROR=ON \
  -DQOR_SANITIZE=address,undefined -DQOR_ENGINE_TESTS=OFF
(cd "$here/build-asan" && ASAN_OPTIONS=detect_leaks=1 ctest -L unit --output-on-failure -j "$(nproc)")

"$here/scripts/fuzz.sh" 100
echo "All tests passed."
