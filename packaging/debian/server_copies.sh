# The server's copies of the library: one in the UDF directory (legacy front)
# and one in plugins/udr (UDR front) of every installed Firebird version below
# @QOR_FIREBIRD_LIB@ (3.0, 4.0, ...). A version counts as installed while its
# UDR engine plugin is there. Included by postinst and prerm.
qor_lib=@QOR_PACKAGE_LIB_DIR@/@QOR_LIBRARY_FILE@
qor_firebird=@QOR_FIREBIRD_LIB@

# A new copy goes to a temporary name in the same directory and is renamed
# over the old one: a running server keeps the file it has mapped.
qor_place() {
  mkdir -p "$1"
  tmp=$(mktemp "$1/.@QOR_LIBRARY_FILE@.XXXXXX")
  cp "$qor_lib" "$tmp"
  chmod 644 "$tmp"
  mv -f "$tmp" "$1/@QOR_LIBRARY_FILE@"
}

# Removes a copy, then the directories it leaves empty that no package owns
# (plugins/udr is missing after a fresh Debian server install; all of a
# server's directories once its package is gone).
qor_unplace() {
  rm -f "$1/@QOR_LIBRARY_FILE@"
  rm -f "$1"/.@QOR_LIBRARY_FILE@.??????
  dir=$1
  while [ "$dir" != "$qor_firebird" ] && [ "$dir" != / ]; do
    [ -d "$dir" ] || { dir=$(dirname "$dir"); continue; }
    dpkg-query -S "$dir" >/dev/null 2>&1 && return 0
    rmdir "$dir" 2>/dev/null || return 0
    dir=$(dirname "$dir")
  done
  if [ "$dir" = "$qor_firebird" ] && ! dpkg-query -S "$dir" >/dev/null 2>&1; then
    rmdir "$dir" 2>/dev/null || true
  fi
}

# mode "place": copies for every installed version, none for the others;
# mode "unplace": no copies anywhere.
qor_server_copies() {
  for root in "$qor_firebird"/*/; do
    [ -d "$root" ] || continue
    root=${root%/}
    for dir in "$root/UDF" "$root/plugins/udr"; do
      if [ "$1" = place ] && [ -e "$root/plugins/libudr_engine.so" ]; then
        qor_place "$dir"
      elif [ -e "$dir/@QOR_LIBRARY_FILE@" ] || [ -d "$dir" ]; then
        qor_unplace "$dir"
      fi
    done
  done
}
