# Sourced by the scripts that run a command as root inside a throw-away copy
# of a directory tree (tests/files/in_throwaway_root.sh: the machine's own root;
# scripts/fb4_run.sh: the Firebird 4 root).

# throwaway_overlay SCRATCH LOWER
# Inside a private mount namespace: mounts a tmpfs on SCRATCH and, on
# SCRATCH/root, an overlay whose lower layer is LOWER and whose upper layer
# lives in that tmpfs, with the kernel's file systems bound into it. All that
# is written there vanishes with the namespace; LOWER stays as it was.
throwaway_overlay() {
  mount -t tmpfs -o mode=0755 qor_throwaway "$1"
  mkdir "$1/upper" "$1/work" "$1/root"
  mount -t overlay overlay -o "lowerdir=$2,upperdir=$1/upper,workdir=$1/work" "$1/root"
  for dir in /dev /proc /sys; do
    mount --rbind "$dir" "$1/root$dir"
  done
}

# in_private_namespace SCRIPT NAME ARGS...
# Runs `sh SCRIPT --inside SCRATCH ARGS...` in a private mount namespace,
# SCRATCH being a fresh directory in /tmp (removed again afterwards), and
# exits with its status. NAME is for the error message without root.
in_private_namespace() {
  script=$1
  name=$2
  shift 2
  if [ "$(id -u)" != 0 ]; then
    echo "$name: needs root (mount namespaces)" >&2
    exit 1
  fi
  scratch=$(mktemp -d /tmp/qor_throwaway.XXXXXX)
  status=0
  unshare -m --propagation private sh "$script" --inside "$scratch" "$@" || status=$?
  rmdir "$scratch"
  exit $status
}
