#!/usr/bin/env bash
# Makes, once per machine, a Debian 13 root with the Firebird 4 engine in it
# (firebird4.0-server-core, firebird4.0-utils, libib-util), and prints its
# path. Later runs, from any checkout, find the finished root and reuse it.
#
#   fb4_root.sh [root]     default: $QOR_FB4_ROOT, else /var/cache/qor-fb4-root
#
# The packages come from the Debian mirror this machine's apt is configured
# with (read from /etc/apt/sources.list*). The root is built in a temporary
# directory beside the final one and renamed only when complete, so an
# interrupted build is never taken for a finished one; a lock keeps two
# concurrent runs from building it twice. A failed download is retried; if
# the root still cannot be made the script fails.
set -euo pipefail

root=${1:-${QOR_FB4_ROOT:-/var/cache/qor-fb4-root}}
suite=trixie
packages=(firebird4.0-server-core firebird4.0-utils libib-util)
stamp=.qor-fb4-root-complete
case $root in
  /*/*) ;;
  *) echo "fb4_root.sh: give an absolute path below a directory, not '$root'" >&2; exit 2 ;;
esac

if [ -f "$root/$stamp" ]; then
  echo "$root"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "fb4_root.sh: making the Firebird 4 root needs root (debootstrap, chroot)" >&2
  exit 1
fi

log() { echo "fb4_root.sh: $*" >&2; }

# The first Debian archive (not the security one) of the machine's apt sources,
# in either the one-line or the deb822 format.
mirror() {
  local f uri
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    uri=$(awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) {
                 if ($(i + 1) !~ /-security$/) { print $i; exit } break } }' "$f")
    if [ -n "$uri" ]; then echo "$uri"; return; fi
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    uri=$(awk 'BEGIN { RS = ""; FS = "\n" }
               { u = ""; s = ""; deb = 0
                 for (i = 1; i <= NF; i++) {
                   if ($i ~ /^Types:.*(^|[ \t])deb([ \t]|$)/) deb = 1
                   if ($i ~ /^URIs:/) { split($i, a, /[ \t]+/); u = a[2] }
                   if ($i ~ /^Suites:/) s = $i
                 }
                 if (deb && u != "" && s !~ /-security/) { print u; exit } }' "$f")
    if [ -n "$uri" ]; then echo "$uri"; return; fi
  done
}

retry() {
  local n
  for n in 1 2 3; do
    if "$@"; then return 0; fi
    log "attempt $n failed: $*"
    sleep $((n * 10))
  done
  return 1
}

install_host_tools() {
  if command -v debootstrap >/dev/null; then return 0; fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y --no-install-recommends debootstrap ||
    { apt-get update && apt-get install -y --no-install-recommends debootstrap; }
}

# Runs in the temporary root: the base system, then the engine packages from
# inside it (debootstrap's --include does not resolve their dependencies).
# Called as an if condition, where set -e does not act: every step checks.
build() {
  local tmp=$1 url=$2 f
  debootstrap --variant=minbase "$suite" "$tmp" "$url" >&2 || return 1
  # No service is started inside the root.
  printf '#!/bin/sh\nexit 101\n' >"$tmp/usr/sbin/policy-rc.d" || return 1
  chmod 755 "$tmp/usr/sbin/policy-rc.d" || return 1
  retry chroot "$tmp" env DEBIAN_FRONTEND=noninteractive apt-get update >&2 || return 1
  retry chroot "$tmp" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${packages[@]}" >&2 || return 1
  chroot "$tmp" apt-get clean || return 1
  rm -f "$tmp/usr/sbin/policy-rc.d"
  # Fail here, not in the tests, if the engine is not where they expect it.
  local lib=$tmp/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
  local fb=$lib/firebird/4.0
  for f in "$fb/plugins/libEngine13.so" "$fb/plugins/libudr_engine.so" "$tmp/usr/bin/isql-fb" \
           "$lib/libfbclient.so.2" "$lib/libib_util.so" \
           "$tmp/etc/firebird/4.0/firebird.conf"; do
    if [ ! -e "$f" ]; then log "missing after install: $f"; return 1; fi
  done
  touch "$tmp/$stamp"
}

# Unmounts whatever a failed debootstrap left mounted in a root, then removes it.
remove_root() {
  local m
  for m in $(awk -v p="$1/" 'index($2, p) == 1 { print $2 }' /proc/mounts | sort -r); do
    umount -l "$m" || true
  done
  rm -rf --one-file-system "$1"
}

parent=$(dirname "$root")
mkdir -p "$parent"
exec 9>"$root.lock"
flock 9
if [ -f "$root/$stamp" ]; then
  echo "$root"
  exit 0
fi

url=$(mirror)
if [ -z "$url" ]; then
  log "no Debian archive found in /etc/apt/sources.list*"
  exit 1
fi
retry install_host_tools

# Leftovers of an interrupted build (holding the lock, nobody else is building).
for old in "$root" "$root".tmp.*; do
  if [ -e "$old" ]; then remove_root "$old"; fi
done
started=$(date +%s)
for attempt in 1 2 3; do
  tmp=$(mktemp -d "$root.tmp.XXXXXX")
  chmod 755 "$tmp"
  log "making the Firebird 4 root in $root (attempt $attempt)"
  if build "$tmp" "$url"; then
    mv "$tmp" "$root"
    log "made $root in $(($(date +%s) - started)) s"
    echo "$root"
    exit 0
  fi
  remove_root "$tmp"
  sleep $((attempt * 15))
done
log "could not make the Firebird 4 root from $url"
exit 1
