#!/bin/sh
# Checks every #include "<folder>/..." between the folders of src/ against
# the layers of the library:
#   frame                    the base: includes no other folder
#   datetime, numeric        the calendar and the rounding everybody shares:
#                            frame only
#   text, blob, files, mask, accounting, version
#                            frame, datetime and numeric
#   udr, and src/*.cpp       frame only
# A folder includes only folders of a lower layer, so there is no cycle. A
# folder that is not listed here fails, so a new one gets its place first.
# Usage: include_layers.sh <source dir>
set -eu
src=${1:?usage: include_layers.sh <source dir>}/src
[ -d "$src/frame" ] || { echo "no src/frame under $1" >&2; exit 2; }

allowed() {  # allowed <from> <to>
  case "$1" in
    frame) return 1 ;;
    datetime | numeric | udr | .) [ "$2" = frame ] ;;
    text | blob | files | mask | accounting | version)
      case "$2" in frame | datetime | numeric) return 0 ;; *) return 1 ;; esac ;;
    *) echo "src/$1 has no layer: add it to tests/include_layers.sh" >&2; return 1 ;;
  esac
}

bad=0
checked=0
for file in "$src"/*.cpp "$src"/*.h "$src"/*/*.cpp "$src"/*/*.h; do
  [ -f "$file" ] || continue
  rel=${file#"$src"/}
  case "$rel" in */*) from=${rel%%/*} ;; *) from=. ;; esac
  for to in $(sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"/]*\)/.*|\1|p' "$file"); do
    checked=$((checked + 1))
    [ "$to" = "$from" ] && continue
    if ! allowed "$from" "$to"; then
      echo "src/$rel includes $to/: not allowed from $from" >&2
      bad=1
    fi
  done
done
# An empty scan would pass anything: the pattern or the layout went wrong.
[ "$checked" -gt 0 ] || { echo "no includes found under $src" >&2; exit 2; }
[ "$bad" -eq 0 ] && echo "$checked includes of src/ folders follow the layers"
exit "$bad"
