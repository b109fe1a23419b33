#!/usr/bin/env bash
# Builds the library, creates an embedded Firebird database in a temporary
# directory, declares the functions with sql/qor_udf3.sql and runs every
# documented example through the engine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
"$here/scripts/build.sh" "$here/build" -DCMAKE_BUILD_TYPE=Release -DQOR_TESTS=OFF

fb_home=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)/firebird/3.0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A private Firebird root: the installed engine, and a firebird.conf that
# lets it load our library from the build directory.
mkdir -p "$work/root" "$work/lock"
for f in plugins intl firebird.msg plugins.conf lib include; do ln -s "$fb_home/$f" "$work/root/$f"; done
echo "UdfAccess = Restrict $here/build" > "$work/root/firebird.conf"
export FIREBIRD="$work/root" FIREBIRD_LOCK="$work/lock"
cd "$work"

isql=$(command -v isql-fb || command -v isql)
echo "CREATE DATABASE '$work/demo.fdb' USER 'SYSDBA';" > create.sql
"$isql" -q -b -i create.sql
"$isql" -q -b -user SYSDBA -i "$here/sql/qor_udf3.sql" "$work/demo.fdb"
echo "Library: $here/build/libqor_udf3.dll.so"
echo "Database: $work/demo.fdb (removed afterwards), functions declared from sql/qor_udf3.sql"
# SET BLOB ALL: isql shows the text of every blob result, not only its id.
{ echo "SET BLOB ALL;"; "$here/build/tools/qor_gen" demo "$here/sql/qor_udf3.sql"; } > showcase.sql
echo
# isql lists each row as "call ..." and "result ..." lines; show them side by
# side. A blob result is its id ("0:1") followed by its text: show the text.
"$isql" -q -b -user SYSDBA -i showcase.sql "$work/demo.fdb" |
  awk 'function show(v) { printf "%-48s = %s\n", call, v; pending = 0 }
       /^call +/ { if (pending) show(value); sub(/^call +/, ""); call = $0; next }
       /^result +/ { sub(/^result +/, "")
                     if ($0 ~ /^[0-9a-f]+:[0-9a-f]+$/) { pending = 1; value = $0; next }
                     show($0); next }
       pending { show(NF ? $0 : value); next }
       NF { print "    " $0 }
       END { if (pending) show(value) }'

