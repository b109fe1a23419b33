#!/usr/bin/env bash
# Installs the build into a temporary root and builds the Debian package, and
# checks what each holds. (package_root.sh installs the package into a server.)
#   check_install.sh <build dir> <source dir> <cmake> <cpack>
set -euo pipefail
build=$1 source=$2 cmake=$3 cpack=$4
# The UDF and UDR directories as configured (cache variables of the build).
udf_dir=$(sed -n 's/^QOR_UDF_DIR:[A-Z]*=//p' "$build/CMakeCache.txt")
udr_dir=$(sed -n 's/^QOR_UDR_DIR:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -n "$udf_dir" ] && [ -n "$udr_dir" ] ||
  { echo "FAIL: no QOR_UDF_DIR or QOR_UDR_DIR in $build/CMakeCache.txt" >&2; exit 1; }
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
# The declaration scripts: for one-byte databases and (_win1252) for UTF8 ones.
scripts=""
for variant in "" _win1252; do
  for s in qor_udf3 qor_udf3_udr qor_udf3_to_udr qor_udf3_to_legacy qor_udf3_upgrade_check \
           qor_udf3_udr_compact qor_udf3_to_udr_compact; do
    scripts="$scripts $s$variant"
  done
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/qor_install_XXXXXX")
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The files every installation holds, relative to the root: the scripts and
# documents below the prefix, and the library in the given directories
# (absolute, or relative to the prefix).
expected_files() {
  local prefix=$1 dir script
  shift
  {
    for dir in "$@"; do
      case $dir in /*) ;; *) dir=$prefix/$dir ;; esac
      echo "$dir/libqor_udf3.dll.so"
    done
    for script in $scripts; do echo "$prefix/share/qor-udf3/sql/$script.sql"; done
    printf '%s\n' "$prefix/share/doc/qor-udf3/README.md" "$prefix/share/doc/qor-udf3/functions.md"
  } | sed 's|//*|/|g' | sort
}

check_library() {
  local file=$1
  [ -f "$file" ] || { fail "no library at $file"; return; }
  readelf -d "$file" | grep -q 'Library soname: \[libqor_udf3.dll.so\]' || fail "$file: wrong soname"
  [ "$(stat -c %a "$file")" = 644 ] || fail "$file: mode $(stat -c %a "$file"), want 644"
}

# 1. cmake --install with DESTDIR and another prefix: the library into the
# UDF and the UDR directory, each a file of its own.
root=$tmp/root
DESTDIR=$root "$cmake" --install "$build" --prefix /opt/qor >"$tmp/install.log" 2>&1 ||
  { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }
got=$(cd "$root" && find . -type f -o -type l | sed 's|^\.||' | sort)
want=$(expected_files /opt/qor "$udf_dir" "$udr_dir")
[ "$got" = "$want" ] || fail "installed files differ:"$'\n'"$got"$'\n'"want:"$'\n'"$want"
libs=$(expected_files /opt/qor "$udf_dir" "$udr_dir" | grep 'libqor_udf3')
[ "$(wc -l <<<"$libs")" = 2 ] || fail "want two library copies: $libs"
for lib in $libs; do check_library "$root$lib"; done
for script in $scripts; do
  cmp -s "$source/sql/$script.sql" "$root/opt/qor/share/qor-udf3/sql/$script.sql" ||
    fail "installed $script.sql differs from sql/$script.sql"
done
# Installing again over the installed library writes a new file and renames
# it over the old one: a server that has the old file mapped must never see
# it rewritten, and no temporary file stays behind.
for lib in $libs; do
  lib_file=$root$lib
  old_inode=$(stat -c %i "$lib_file")
  exec 3<"$lib_file"  # held open like a loaded library
  DESTDIR=$root "$cmake" --install "$build" --prefix /opt/qor >"$tmp/install2.log" 2>&1 ||
    { cat "$tmp/install2.log" >&2; fail "second cmake --install failed"; }
  [ "$(stat -c %i "$lib_file")" != "$old_inode" ] || fail "cmake --install rewrote $lib in place"
  cmp -s "$lib_file" /proc/self/fd/3 || fail "$lib held open changed during the second install"
  exec 3<&-
  check_library "$lib_file"
done
got=$(cd "$root" && find . -type f -o -type l | sed 's|^\.||' | sort)
[ "$got" = "$want" ] || fail "files after the second install differ:"$'\n'"$got"
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
  for dep in firebird3.0-server-core firebird4.0-server-core libib-util libc6 libstdc++6; do
    grep -qxF "$dep" <<<"$names" || fail "Depends lacks $dep: $depends"
  done
  grep -qF 'firebird3.0-server-core | firebird4.0-server-core' <<<"$depends" ||
    fail "Depends does not take either server: $depends"
  description=$(dpkg-deb -f "$deb" Description)
  for text in "UdfAccess = Restrict /usr/lib/$multiarch/firebird/<version>/UDF" firebird.conf \
              qor_udf3.sql qor_udf3_udr.sql qor_udf3_to_udr.sql qor_udf3_upgrade_check.sql plugins/udr; do
    grep -qF "$text" <<<"$description" || fail "description does not mention '$text'"
  done
  # The package ships the library once, in its own directory; the server's
  # copies are made by its maintainer scripts.
  got=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort)
  want=$(expected_files /usr "/usr/lib/$multiarch/qor-udf3")
  [ "$got" = "$want" ] || fail "package files differ:"$'\n'"$got"$'\n'"want:"$'\n'"$want"
  # Maintainer scripts (postinst, prerm) and a trigger on the servers'
  # directory, but no conffiles: the server's configuration stays untouched.
  mkdir "$tmp/control"
  dpkg-deb -e "$deb" "$tmp/control"
  got=$(cd "$tmp/control" && ls | tr '\n' ' ')
  [ "$got" = "control md5sums postinst prerm triggers " ] || fail "control archive holds $got"
  for script in postinst prerm; do
    [ -x "$tmp/control/$script" ] || fail "$script is not executable"
    sh -n "$tmp/control/$script" || fail "$script is no valid shell script"
    grep -q '@' "$tmp/control/$script" && fail "$script has an unreplaced @VARIABLE@"
  done
  [ "$(cat "$tmp/control/triggers" 2>/dev/null)" = "interest-noawait /usr/lib/$multiarch/firebird" ] ||
    fail "triggers: $(cat "$tmp/control/triggers" 2>/dev/null)"
  dpkg-deb -x "$deb" "$tmp/unpacked"
  [ ! -e "$tmp/unpacked/etc" ] || fail "package ships files under /etc"
  check_library "$tmp/unpacked/usr/lib/$multiarch/qor-udf3/libqor_udf3.dll.so"
fi

[ "$failures" -eq 0 ] || exit 1
echo "install and package: OK"
