#!/bin/sh
# Every plug-in DLL carries the editor's ten pictures as BITMAP resources. This
# reads the files themselves, so it also covers DLLs that cannot be run here.
# usage: checkBitmapResources.sh OBJDUMP DLL...
set -u
objdump=$1
shift
expected='101 102 103 104 105 115 119 120 121 122'
status=0
for dll in "$@"; do
  dump=$("$objdump" -p "$dll") || { echo "$dll: objdump failed"; status=1; continue; }
  # The resource tree lists types, then the names under each type, deeper indented.
  hex_ids=$(printf '%s\n' "$dump" | sed -n '/The .rsrc Resource Directory section:/,$p' | awk '
    /^[0-9a-f]+   Entry: ID: / { type = $4 }
    /^[0-9a-f]+     Entry: ID: / && type == "0x000002," { sub(",", "", $4); print $4 }')
  ids=$(for id in $hex_ids; do printf '%d ' "$id"; done)
  ids=$(echo $ids)
  if [ "$ids" != "$expected" ]; then
    echo "$dll: bitmaps [$ids], expected [$expected]"
    status=1
  else
    echo "$dll: bitmaps [$ids]"
  fi
done
exit $status
