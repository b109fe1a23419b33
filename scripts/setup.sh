#!/usr/bin/env bash
# Installs what building and testing the library needs, if it is missing:
# the Firebird 3 engine, its headers and utility library, and the build and
# test tools. Run as root or with sudo available.
set -euo pipefail

packages=(firebird3.0-server-core firebird3.0-utils firebird-dev libib-util libfbclient2
          g++ cmake make binutils libgtest-dev libbenchmark-dev locales
          dpkg-dev file clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! $sudo apt-get install -y --no-install-recommends "${missing[@]}"; then
  $sudo apt-get update
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
