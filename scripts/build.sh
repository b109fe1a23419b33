#!/usr/bin/env bash
# Configures and builds into the given directory: build.sh <dir> [cmake options]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
cmake -S "$here" -B "$dir" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
