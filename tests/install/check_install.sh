#!/usr/bin/env bash
# Installs the build into a temporary root and builds the Debian package, and
# checks what each holds.
#   check_install.sh <build dir> <source dir> <cmake> <cpack>
set -euo pipefail
build=$1 source=$2 cmake=$3 cpack=$4
# The UDF directory as configured (a cache variable of the build).
udf_dir=$(sed -n 's/^QOR_UDF_DIR:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -n "$udf_dir" ] || { echo "FAIL: no QOR_UDF_DIR in $build/CMakeCache.txt" >&2; exit 1; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/qor_install_XXXXXX")
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The files every installation holds, relative to the root; the UDF directory
# is absolute unless it was configured relative to the prefix.
# The declaration scripts: for one-byte databases and (_win1252) for UTF8 ones.
sql_scripts="qor_udf3 qor_udf3_udr qor_udf3_to_udr qor_udf3_to_legacy
  qor_udf3_win1252 qor_udf3_udr_win1252 qor_udf3_to_udr_win1252 qor_udf3_to_legacy_win1252
  qor_udf3_udr_compact qor_udf3_to_udr_compact qor_udf3_udr_compact_win1252 qor_udf3_to_udr_compact_win1252"
expected_files() {
  local prefix=$1 lib_dir=$udf_dir
  case $lib_dir in /*) ;; *) lib_dir=$prefix/$lib_dir ;; esac
  local scripts=() s
  for s in $sql_scripts; do scripts+=("$prefix/share/qor-udf3/sql/$s.sql"); done
  printf '%s\n' "$lib_dir/libqor_udf3.dll.so" "${scripts[@]}" \
    "$prefix/share/doc/qor-udf3/README.md" "$prefix/share/doc/qor-udf3/functions.md" | sed 's|//*|/|g' | sort
}

check_library() {
  local file=$1
  [ -f "$file" ] || { fail "no library at $file"; return; }
  readelf -d "$file" | grep -q 'Library soname: \[libqor_udf3.dll.so\]' || fail "$file: wrong soname"
  [ "$(stat -c %a "$file")" = 644 ] || fail "$file: mode $(stat -c %a "$file"), want 644"
}

# 1. cmake --install with DESTDIR and another prefix.
root=$tmp/root
DESTDIR=$root "$cmake" --install "$build" --prefix /opt/qor >"$tmp/install.log" 2>&1 ||
  { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }
got=$(cd "$root" && find . -type f | sed 's|^\.||' | sort)
want=$(expected_files /opt/qor)
[ "$got" = "$want" ] || fail "installed files differ:"$'\n'"$got"$'\n'"want:"$'\n'"$want"
check_library "$root$(expected_files /opt/qor | grep 'libqor_udf3')"
for script in $sql_scripts; do
  cmp -s "$source/sql/$script.sql" "$root/opt/qor/share/qor-udf3/sql/$script.sql" ||
    fail "installed $script.sql differs from sql/$script.sql"
done
# Installing again over the installed library unlinks the old file and writes
# a new one: a server that has the old file mapped must never see it rewritten.
lib_file=$root$(expected_files /opt/qor | grep 'libqor_udf3')
old_inode=$(stat -c %i "$lib_file")
exec 3<"$lib_file"  # held open like a loaded library
DESTDIR=$root "$cmake" --install "$build" --prefix /opt/qor >"$tmp/install2.log" 2>&1 ||
  { cat "$tmp/install2.log" >&2; fail "second cmake --install failed"; }
[ "$(stat -c %i "$lib_file")" != "$old_inode" ] || fail "cmake --install rewrote the installed library in place"
cmp -s "$lib_file" /proc/self/fd/3 || fail "the library held open changed during the second install"
exec 3<&-
check_library "$lib_file"
# The manifest names the same files, as seen from the installed system.
[ "$(sort "$build/install_manifest.txt")" = "$want" ] || fail "install manifest differs from the files"

# 2. The Debian package.
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
debs=("$tmp"/pkg/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  fail "cpack made no single .deb: ${debs[*]}"
else
  deb=${debs[0]}
  [ "$(dpkg-deb -f "$deb" Package)" = qor-udf3 ] || fail "package name $(dpkg-deb -f "$deb" Package)"
  depends=$(dpkg-deb -f "$deb" Depends)
  names=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}')
  for dep in firebird3.0-server-core libib-util libc6 libstdc++6; do
    grep -qxF "$dep" <<<"$names" || fail "Depends lacks $dep: $depends"
  done
  description=$(dpkg-deb -f "$deb" Description)
  for text in "UdfAccess = Restrict $udf_dir" firebird.conf qor_udf3.sql qor_udf3_to_udr.sql; do
    grep -qF "$text" <<<"$description" || fail "description does not mention '$text'"
  done
  got=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort)
  want=$(expected_files /usr)
  [ "$got" = "$want" ] || fail "package files differ:"$'\n'"$got"$'\n'"want:"$'\n'"$want"
  # No maintainer scripts and no conffiles: the package leaves the server's
  # configuration alone.
  mkdir "$tmp/control"
  dpkg-deb -e "$deb" "$tmp/control"
  extra=$(cd "$tmp/control" && ls | grep -Exv 'control|md5sums' || true)
  [ -z "$extra" ] || fail "control archive holds $extra"
  dpkg-deb -x "$deb" "$tmp/unpacked"
  [ ! -e "$tmp/unpacked/etc" ] || fail "package ships files under /etc"
  check_library "$tmp/unpacked$(expected_files /usr | grep 'libqor_udf3')"
fi

[ "$failures" -eq 0 ] || exit 1
echo "install and package: OK"
