#!/bin/sh
# A plug-in must load on a clean Windows machine: its only export is `main`,
# and it imports nothing but DLLs that every Windows installation has.
# usage: checkExportsImports.sh OBJDUMP FORMAT DLL...   (FORMAT: pei-i386 for the 32-bit plug-ins)
set -u
objdump=$1
format=$2
shift 2
system_dlls='^(kernel32|user32|gdi32|winmm|ole32|oleaut32|shell32|advapi32|comdlg32|msvcrt)\.dll$'
status=0
for dll in "$@"; do
  dump=$("$objdump" -p "$dll") || { echo "$dll: objdump failed"; status=1; continue; }
  if ! printf '%s\n' "$dump" | grep -q "file format $format\$"; then
    echo "$dll: not a $format file"
    status=1
  fi
  exports=$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] *//p')
  if [ "$exports" != "main" ]; then
    echo "$dll: exports are [$exports], expected only main"
    status=1
  fi
  imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
  if [ -z "$imports" ]; then
    echo "$dll: no import table found"
    status=1
  fi
  for name in $imports; do
    if ! printf '%s\n' "$name" | grep -Eq "$system_dlls"; then
      echo "$dll: imports $name, which is not a Windows system DLL"
      status=1
    fi
  done
  echo "$dll: exports [$exports]; imports [$(echo $imports)]"
done
exit $status
