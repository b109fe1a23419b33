#!/bin/sh
# in_throwaway_root.sh COMMAND [ARGS...]
#
# Runs COMMAND as root in a private mount namespace whose root directory is an
# overlay of the real one: the command may write anywhere (/etc/samba/smb.conf,
# /etc/smb.conf, /server/samba/lib/smb.conf, /opt/firebird/aliases.conf,
# /tmp/QOR_UDF, ...) and all it writes lives in a tmpfs that vanishes with the
# namespace. Nothing of the machine changes, and the only directory made
# outside is a scratch mount point in /tmp, removed again at the end.
# /etc/qor_throwaway_root marks the throwaway root for the tests.
set -eu
. "$(dirname "$0")/../../scripts/throwaway_root.sh"

if [ "${1:-}" = "--inside" ]; then
  shift
  scratch=$1
  shift
  throwaway_overlay "$scratch" /
  # Any other file system under which the command or its working directory
  # lives.
  for path in "$PWD" "$(command -v "$1" || echo "$1")"; do
    target=$(df --output=target "$path" 2>/dev/null | tail -n 1) || continue
    case $target in
      / | /dev* | /proc* | /sys*) ;;
      *) mount --rbind "$target" "$scratch/root$target" ;;
    esac
  done
  echo "throwaway root for tests" > "$scratch/root/etc/qor_throwaway_root"
  cwd=$PWD
  exec chroot "$scratch/root" /bin/sh -c 'cd "$1" && shift && exec "$@"' sh "$cwd" "$@"
fi

in_private_namespace "$0" in_throwaway_root.sh "$@"
