#!/usr/bin/env bash
# Installs the Debian package into a Firebird server layout inside a
# throw-away overlay root (as root), and follows the README as an
# administrator would: both fronts answer through the installed copies with
# the embedded engine, an update renews the copies without touching a file in
# use, a server version that comes and goes gets and loses its copies, and
# purge leaves nothing behind.
#   package_root.sh <build dir> <source dir> <cpack>
#       this machine's own root and its Firebird 3 (tests/files/in_throwaway_root.sh)
#   package_root.sh <build dir> <source dir> <cpack> <Firebird 4 root>
#       the Debian 13 root with Firebird 4 of scripts/fb4_root.sh (scripts/fb4_run.sh)
set -euo pipefail
if [ "${1:-}" != --inside ]; then
  # Outside: build the package where the root sees it, then go in. Each run
  # has its own directory: both may run at once.
  build=$1 source=$2 cpack=$3 fb4_root=${4:-}
  out=$build/package_root_test${fb4_root:+_fb4}
  rm -rf "$out"
  mkdir -p "$out"
  "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log" >&2; echo "FAIL: cpack failed" >&2; rm -rf "$out"; exit 1; }
  ma=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
  inside=(bash "$source/tests/install/package_root.sh" --inside "$out" "$source" "$ma")
  status=0
  if [ -n "$fb4_root" ]; then
    (cd "$out" && sh "$source/scripts/fb4_run.sh" "$fb4_root" "$source" "$build" -- "${inside[@]}" 4.0) ||
      status=$?
  else
    (cd "$out" && sh "$source/tests/files/in_throwaway_root.sh" "${inside[@]}" 3.0) || status=$?
  fi
  rm -rf "$out"
  exit $status
fi

# Inside the throw-away root: everything written here vanishes with it.
out=$2 source=$3 ma=$4 version=$5
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
trap 'echo "FAIL: stopped at line $LINENO: $BASH_COMMAND" >&2' ERR
debs=("$out"/*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "FAIL: no package in $out" >&2; exit 1; }
firebird=/usr/lib/$ma/firebird
fbv=$firebird/$version             # the installed server
case $version in 3.0) other=4.0 ;; *) other=3.0 ;; esac
lib=libqor_udf3.dll.so
readme=$source/README.md
version_answer=3.4.0.874
work=$(mktemp -d /tmp/qor_package_XXXXXX)
export FIREBIRD_LOCK=$work/lock DEBIAN_FRONTEND=noninteractive
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
# A few answers through a database's declarations: the library's version, a
# small u umlaut (the byte 0xFC in an ISO8859_1 connection, read from a file
# as isql needs) in capitals, and a number rounded to cents.
answers_want="$version_answer 220 2.35"
answers() {
  printf "SET LIST ON;\nSELECT fn_Version('FileVersion') AS V, ASCII_VAL(fn_UpperCase('\374')) AS U,
          CAST(fn_Runden(2.345, 2) AS NUMERIC(9, 2)) AS R FROM RDB\$DATABASE;\n" >"$work/answers.sql"
  { isql-fb -q -b -ch ISO8859_1 -user SYSDBA -i "$work/answers.sql" "$1" 2>&1 || true; } |
    awk '{ value[$1] = $2 } END { print value["V"], value["U"], value["R"] }'
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
triggered() {  # what the package's trigger on the servers' directory does
  dpkg-trigger --no-await "$firebird" && dpkg --triggers-only --pending >"$work/trigger.log" 2>&1 ||
    { cat "$work/trigger.log" >&2; fail "trigger processing failed"; }
}

# 1. Install as the README says.
apt-get install -y "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get install failed"; }
copies_ok "$fbv"
[ ! -e "$firebird/$other" ] || fail "copies for a Firebird $other that is not installed"

# 2. The README's configuration step, its paths read for this version: its
# sed line makes the UdfAccess line (active on Firebird 3, commented out on
# Firebird 4) the one active line.
sed_line=$(grep -E "^ +sed -i .*UdfAccess" "$readme" | head -n 1)
[ -n "$sed_line" ] || fail "README shows no sed command for UdfAccess"
eval "${sed_line//\/3.0\//\/$version\/}"
active=$(grep -E '^[[:space:]]*UdfAccess' "/etc/firebird/$version/firebird.conf" || true)
[ "$active" = "UdfAccess = Restrict $fbv/UDF" ] || fail "active UdfAccess lines after the README's sed: $active"

# 3. Both fronts answer with the installed scripts, through the installed
# copies; the README's check queries find each front's declarations.
sql=/usr/share/qor-udf3/sql
new_database "$work/legacy.fdb" "$sql/qor_udf3.sql"
new_database "$work/udr.fdb" "$sql/qor_udf3_udr.sql"
for db in legacy udr; do
  got=$(answers "$work/$db.fdb")
  [ "$got" = "$answers_want" ] ||
    fail "$db front gave '$got', want '$answers_want': $(query "$work/$db.fdb" "SELECT fn_Version('') FROM RDB\$DATABASE;")"
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
  listed=$(isql-fb -q -b -user SYSDBA -i "$sql/qor_udf3_upgrade_check.sql" "$work/$db.fdb" 2>&1) ||
    fail "upgrade check failed on $db: $listed"
  [ -z "$(tr -d '[:space:]' <<<"$listed")" ] || fail "upgrade check lists on $db: $listed"
done
# The README's way to read the error log shows each record as a line.
log_line=$(grep -E "^ +tr '.r' '.n' < /tmp/qor_udf3.err" "$readme" | head -n 1)
[ -n "$log_line" ] || fail "README shows no command for the error log"
(cd /tmp && rm -f qor_udf3.err && answers "$work/legacy.fdb" >/dev/null &&
 query "$work/legacy.fdb" "SELECT fn_Runden(1, 12) FROM RDB\$DATABASE; SELECT fn_Runden(1, 13) FROM RDB\$DATABASE;" >/dev/null) ||
  fail "the calls that write the error log failed"
shown=$(eval "$log_line" 2>&1 || true)
[ "$(grep -c 'fn_Runden: ' <<<"$shown")" = 2 ] || fail "the README's error-log command shows: $shown"

# 4. An update renews both copies by renaming: a file held open (as by a
# running server) keeps its content.
inodes=$(stat -c %i "$fbv/UDF/$lib" "$fbv/plugins/udr/$lib")
exec 3<"$fbv/UDF/$lib" 4<"$fbv/plugins/udr/$lib"
cp "$fbv/UDF/$lib" "$work/old"
apt-get install -y --reinstall "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "reinstall failed"; }
[ -z "$(comm -12 <(sort <<<"$inodes") <(stat -c %i "$fbv/UDF/$lib" "$fbv/plugins/udr/$lib" | sort))" ] ||
  fail "the update rewrote a copy in place"
cmp -s /proc/self/fd/3 "$work/old" && cmp -s /proc/self/fd/4 "$work/old" || fail "a copy in use changed"
exec 3<&- 4<&-
copies_ok "$fbv"
[ "$(answers "$work/udr.fdb")" = "$answers_want" ] || fail "UDR front after the update"

# 5. A server version that comes later gets copies, and loses them when it
# goes (the package's trigger on the servers' directory).
mkdir -p "$firebird/$other/plugins"
touch "$firebird/$other/plugins/libudr_engine.so"
triggered
copies_ok "$firebird/$other"
rm "$firebird/$other/plugins/libudr_engine.so"
triggered
[ ! -e "$firebird/$other" ] || fail "left behind for a server that went: $(find "$firebird/$other")"
copies_ok "$fbv"

# 6. Purge leaves the server's directories as they were before.
apt-get purge -y qor-udf3 >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get purge failed"; }
after=$(tree)
[ "$before" = "$after" ] || fail "purge left: $(diff <(echo "$before") <(echo "$after"))"
left=$(find /usr /etc /var/lib/dpkg/info -name '*qor*udf*' 2>/dev/null || true)
[ -z "$left" ] || fail "purge left: $left"

rm -rf "$work"
[ "$failures" -eq 0 ] || exit 1
echo "package on a Firebird $version root: OK"
