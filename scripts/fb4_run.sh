#!/bin/sh
# fb4_run.sh ROOT DIR... -- COMMAND [ARGS...]
#
# Runs COMMAND inside the Firebird 4 root made by fb4_root.sh, as root, in a
# private mount namespace: the root is the lower layer of an overlay whose
# upper layer is a tmpfs, so the command may change anything in it (its
# firebird.conf, /tmp) and the cached root stays as it was, for the next run
# and for runs beside this one. Each DIR (the checkout, the build directory;
# a single file too) is bound into it at its own path, so a program built on
# this machine runs there with its paths unchanged, against that root's
# engine and client library. QOR_FIREBIRD_ROOT is set to the root's Firebird directory and
# QOR_FIREBIRD_CONF_DIR to its configuration directory (the engine tests'
# private root writes its configuration there too).
# Nothing of the machine changes; the only directory made outside is a
# scratch mount point in /tmp, removed again at the end.
set -eu
. "$(dirname "$0")/throwaway_root.sh"

fbdir=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)/firebird/4.0
# The installed engine's firebird.conf and plugins.conf (links to them in
# $fbdir) are here; Debian's Firebird 4 tools always run that engine.
confdir=/etc/firebird/4.0

if [ "${1:-}" = "--inside" ]; then
  shift
  scratch=$1
  root=$2
  shift 2
  throwaway_overlay "$scratch" "$root"
  while [ "$1" != "--" ]; do
    if [ -d "$1" ]; then
      mkdir -p "$scratch/root$1"
    else
      mkdir -p "$scratch/root$(dirname "$1")"
      touch "$scratch/root$1"
    fi
    mount --rbind "$1" "$scratch/root$1"
    shift
  done
  shift
  cwd=$PWD
  exec chroot "$scratch/root" /usr/bin/env QOR_FIREBIRD_ROOT="$fbdir" QOR_FIREBIRD_CONF_DIR="$confdir" \
    /bin/sh -c 'cd "$1" && shift && exec "$@"' sh "$cwd" "$@"
fi

if [ $# -lt 3 ]; then
  echo "usage: fb4_run.sh ROOT DIR... -- COMMAND [ARGS...]" >&2
  exit 2
fi
if [ ! -f "$1/.qor-fb4-root-complete" ]; then
  echo "fb4_run.sh: $1 is no finished Firebird 4 root (make it with scripts/fb4_root.sh)" >&2
  exit 1
fi
in_private_namespace "$0" fb4_run.sh "$@"
