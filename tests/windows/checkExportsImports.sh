#!/bin/sh
# A plug-in must load on a clean Windows machine: it exports exactly the entry
# names hosts look for (a VST 2.x plug-in's all naming one function, a VST 3
# plug-in's each its own), and imports nothing but DLLs that every Windows
# installation has.
# usage: checkExportsImports.sh OBJDUMP FORMAT "EXPORTS" DLL...
#   FORMAT: pei-i386 or pei-x86-64; EXPORTS: the names, space-separated, sorted
set -u
objdump=$1
format=$2
expected_exports=$3
shift 3
expected_addresses=1
case " $expected_exports " in
  *" GetPluginFactory "*) expected_addresses=$(echo $expected_exports | wc -w) ;;
esac
system_dlls='^(kernel32|user32|gdi32|winmm|ole32|oleaut32|shell32|advapi32|comdlg32|msvcrt)\.dll$'
status=0
for dll in "$@"; do
  dump=$("$objdump" -p "$dll") || { echo "$dll: objdump failed"; status=1; continue; }
  if ! printf '%s\n' "$dump" | grep -q "file format $format\$"; then
    echo "$dll: not a $format file"
    status=1
  fi
  exports=$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] *//p')
  exports=$(echo $(printf '%s\n' "$exports" | LC_ALL=C sort))
  if [ "$exports" != "$expected_exports" ]; then
    echo "$dll: exports are [$exports], expected [$expected_exports]"
    status=1
  fi
  addresses=$(printf '%s\n' "$dump" | sed -n 's/.*\] *\([0-9a-f]*\) Export RVA$/\1/p' | sort -u | wc -l)
  if [ "$addresses" -ne "$expected_addresses" ]; then
    echo "$dll: $addresses exported addresses, expected $expected_addresses"
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
