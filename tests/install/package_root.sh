#!/usr/bin/env bash
# Installs the Debian package into the machine's own Firebird server layout,
# inside a throw-away overlay root (tests/files/private_root.sh, as root), and
# follows the README as an administrator would: both fronts answer through
# the installed copies with the embedded engine, an update renews the copies
# without touching a file in use, a server version that comes and goes gets
# and loses its copies, and purge leaves nothing behind.
#   package_root.sh <build dir> <source dir> <cpack>
set -euo pipefail
build=$1 source=$2 cpack=$3
if [ ! -e /etc/qor_private_root ]; then
  # Outside: build the package where the private root sees it, then go in.
  out=$build/package_root_test
  rm -rf "$out"
  "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$build/package_root_cpack.log" 2>&1 ||
    { cat "$build/package_root_cpack.log" >&2; echo "FAIL: cpack failed" >&2; exit 1; }
  status=0
  (cd "$out" && sh "$source/tests/files/private_root.sh" bash "$source/tests/install/package_root.sh" \
     "$build" "$source" "$cpack") || status=$?
  rm -rf "$out" "$build/package_root_cpack.log"
  exit $status
fi

# Inside the private root: everything written here vanishes with it.
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
debs=("$build"/package_root_test/*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "FAIL: no package in $build/package_root_test" >&2; exit 1; }
ma=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
firebird=/usr/lib/$ma/firebird
fb3=$firebird/3.0
lib=libqor_udf3.dll.so
readme=$source/README.md
work=$(mktemp -d /tmp/qor_package_XXXXXX)
export FIREBIRD_LOCK=$work/lock
unset FIREBIRD  # the installed server root and its configuration
tree() { { find "$firebird" /usr/lib/"$ma"/qor-udf3 /usr/share/qor-udf3 /usr/share/doc/qor-udf3 2>/dev/null || true; } | sort; }
before=$(tree)

# One value from the embedded engine; isql's whole output on failure.
query() {
  local db=$1 sql=$2
  printf 'SET LIST ON;\n%s\n' "$sql" >"$work/q.sql"
  isql-fb -q -b -user SYSDBA -i "$work/q.sql" "$db" 2>&1
}
new_database() {
  printf "CREATE DATABASE '%s' USER 'SYSDBA';\n" "$1" >"$work/create.sql"
  isql-fb -q -b -i "$work/create.sql" >/dev/null 2>&1 || fail "cannot create $1"
  isql-fb -q -b -user SYSDBA -i "$2" "$1" >"$work/declare.log" 2>&1 ||
    { cat "$work/declare.log" >&2; fail "$2 failed on $1"; }
}
answers() {  # the library's version through a database's declarations
  query "$1" "SELECT fn_Version('FileVersion') AS V FROM RDB\$DATABASE;" | awk '$1 == "V" {print $2}'
}
copies_ok() {  # <server root>: real, readable copies of the package's file
  local dir
  for dir in "$1/UDF" "$1/plugins/udr"; do
    [ -f "$dir/$lib" ] && [ ! -L "$dir/$lib" ] || { fail "no file $dir/$lib"; continue; }
    [ "$(stat -c %a "$dir/$lib")" = 644 ] || fail "$dir/$lib: mode $(stat -c %a "$dir/$lib")"
    cmp -s "$dir/$lib" "/usr/lib/$ma/qor-udf3/$lib" || fail "$dir/$lib differs from the package's file"
    [ -z "$(find "$dir" -name ".$lib.*")" ] || fail "temporary files left in $dir"
  done
}

# 1. Install as the README says.
apt-get install -y "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get install failed"; }
copies_ok "$fb3"
[ ! -e "$firebird/4.0" ] || fail "copies for a Firebird 4 that is not installed"

# 2. The README's configuration step: its sed line changes the active
# UdfAccess line (and leaves exactly one).
sed_line=$(grep -E "^ +sed -i .*UdfAccess" "$readme" | head -n 1)
[ -n "$sed_line" ] || fail "README shows no sed command for UdfAccess"
eval "$sed_line"
active=$(grep -E '^[[:space:]]*UdfAccess' /etc/firebird/3.0/firebird.conf)
[ "$active" = "UdfAccess = Restrict $fb3/UDF" ] || fail "active UdfAccess lines after the README's sed: $active"

# 3. Both fronts answer with the installed scripts, through the installed
# copies; the README's check queries find each front's declarations.
sql=/usr/share/qor-udf3/sql
new_database "$work/legacy.fdb" "$sql/qor_udf3.sql"
new_database "$work/udr.fdb" "$sql/qor_udf3_udr.sql"
for db in legacy udr; do
  got=$(answers "$work/$db.fdb")
  [ "$got" = 3.4.0.874 ] || fail "$db front: fn_Version gave '$got': $(answers "$work/$db.fdb" 2>&1)"
done
mapfile -t checks < <(grep -A1 -E '^ +SELECT RDB\$FUNCTION_NAME, RDB\$ENTRYPOINT FROM RDB\$FUNCTIONS' "$readme" |
                       grep -v '^--' | paste -d' ' - -)
[ ${#checks[@]} -ge 2 ] || fail "README shows ${#checks[@]} check queries, want one per front"
count() { query "$1" "SELECT COUNT(*) AS N FROM ($(sed 's/ ORDER BY 1;//' <<<"$2"));" | awk '$1 == "N" {print $2}'; }
declared=$(grep -c '^DECLARE EXTERNAL FUNCTION' "$sql/qor_udf3.sql")
served=$(grep -c '^CREATE OR ALTER FUNCTION' "$sql/qor_udf3_udr.sql")
for check in "${checks[@]:0:2}"; do
  case $check in
    *MODULE_NAME*) want_legacy=$declared want_udr=0 ;;
    *UDR*) want_legacy=0 want_udr=$served ;;
    *) fail "check query for no front: $check"; continue ;;
  esac
  [ "$(count "$work/legacy.fdb" "$check")" = "$want_legacy" ] || fail "on the legacy database: $check"
  [ "$(count "$work/udr.fdb" "$check")" = "$want_udr" ] || fail "on the UDR database: $check"
done
# The upgrade check on databases declared with the shipped scripts: nothing.
for db in legacy udr; do
  out=$(isql-fb -q -b -user SYSDBA -i "$sql/qor_udf3_upgrade_check.sql" "$work/$db.fdb" 2>&1) ||
    fail "upgrade check failed on $db: $out"
  [ -z "$(tr -d '[:space:]' <<<"$out")" ] || fail "upgrade check lists on $db: $out"
done
# The README's way to read the error log shows each record as a line.
log_line=$(grep -E "^ +tr '.r' '.n' < /tmp/qor_udf3.err" "$readme" | head -n 1)
[ -n "$log_line" ] || fail "README shows no command for the error log"
(cd /tmp && rm -f qor_udf3.err && answers "$work/legacy.fdb" >/dev/null &&
 query "$work/legacy.fdb" "SELECT fn_Runden(1, 12) FROM RDB\$DATABASE; SELECT fn_Runden(1, 13) FROM RDB\$DATABASE;" >/dev/null)
shown=$(eval "$log_line")
[ "$(grep -c 'fn_Runden: ' <<<"$shown")" = 2 ] || fail "the README's error-log command shows: $shown"

# 4. An update renews both copies by renaming: a file held open (as by a
# running server) keeps its content.
inodes=$(stat -c %i "$fb3/UDF/$lib" "$fb3/plugins/udr/$lib")
exec 3<"$fb3/UDF/$lib" 4<"$fb3/plugins/udr/$lib"
cp "$fb3/UDF/$lib" "$work/old"
apt-get install -y --reinstall "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "reinstall failed"; }
[ -z "$(comm -12 <(sort <<<"$inodes") <(stat -c %i "$fb3/UDF/$lib" "$fb3/plugins/udr/$lib" | sort))" ] ||
  fail "the update rewrote a copy in place"
cmp -s /proc/self/fd/3 "$work/old" && cmp -s /proc/self/fd/4 "$work/old" || fail "a copy in use changed"
exec 3<&- 4<&-
copies_ok "$fb3"
[ "$(answers "$work/udr.fdb")" = 3.4.0.874 ] || fail "UDR front after the update"

# 5. A server version that comes later gets copies, and loses them when it
# goes (the package's trigger on the servers' directory).
mkdir -p "$firebird/4.0/plugins"
touch "$firebird/4.0/plugins/libudr_engine.so"
dpkg-trigger --no-await "$firebird" && dpkg --triggers-only --pending >"$work/trigger.log" 2>&1 ||
  { cat "$work/trigger.log" >&2; fail "trigger processing failed"; }
copies_ok "$firebird/4.0"
rm "$firebird/4.0/plugins/libudr_engine.so"
dpkg-trigger --no-await "$firebird" && dpkg --triggers-only --pending >"$work/trigger.log" 2>&1 ||
  { cat "$work/trigger.log" >&2; fail "trigger processing failed"; }
[ ! -e "$firebird/4.0" ] || fail "left behind for a server that went: $(find "$firebird/4.0")"
copies_ok "$fb3"

# 6. Purge leaves the server's directories as they were before.
apt-get purge -y qor-udf3 >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get purge failed"; }
after=$(tree)
[ "$before" = "$after" ] || fail "purge left: $(diff <(echo "$before") <(echo "$after"))"
left=$(find /usr /etc /var/lib/dpkg/info -name '*qor*udf*' 2>/dev/null || true)
[ -z "$left" ] || fail "purge left: $left"

rm -rf "$work"
[ "$failures" -eq 0 ] || exit 1
echo "package on a server root: OK"
