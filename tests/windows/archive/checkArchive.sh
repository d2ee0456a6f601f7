#!/bin/sh
# The Windows archive as users get it: its entries in order, and each of the
# four VST 2.x DLLs and the four Windows binaries of the VST 3 bundles of the
# right width, with the exports hosts look for, only system imports, and a
# version resource read the way Windows reads it.
# Prints one PASS or FAIL line per check; the test command counts them.
# usage: checkArchive.sh ARCHIVE WINE64 PRINTVERSIONRESOURCE_EXE
#   ARCHIVE is dist/orvane-VERSION-windows.zip; every DLL must carry VERSION.
set -u
archive=$1
wine=$2
reader=$(realpath "$3")
version=$(basename "$archive" | sed -n 's/^orvane-\(.*\)-windows\.zip$/\1/p')
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

# result NAME STATUS MESSAGE...
result() {
  name=$1
  shift
  if [ "$1" -eq 0 ]; then
    echo "PASS archive: $name"
  else
    shift
    echo "FAIL archive: $name: $*"
    status=1
  fi
}

vst3_entries=
for stem in orvane orvane_x2; do
  for binary in x86_64-win/$stem.vst3 x86-win/$stem.vst3 x86_64-linux/$stem.so; do
    vst3_entries="$vst3_entries VST3/$stem.vst3/Contents/$binary"
  done
done
expected="README.txt 64-bit/orvane.dll 64-bit/orvane_x2.dll 32-bit/orvane.dll 32-bit/orvane_x2.dll$vst3_entries"
entries=$(/usr/bin/python3 -c 'import sys, zipfile; print(*zipfile.ZipFile(sys.argv[1]).namelist())' "$archive" 2>&1)
/usr/bin/python3 -m zipfile -e "$archive" "$work" 2> /dev/null
grep -q "^Orvane $version " "$work/README.txt" 2> /dev/null
readme=$?
[ "$entries" = "$expected" ] && [ $readme -eq 0 ]
result contents $? "entries [$entries], expected [$expected]; README.txt naming version $version: $([ $readme -eq 0 ] && echo yes || echo no)"

# check_dll ENTRY FORMAT EXPORTS OBJDUMP NAME WIDTH [FORM]
check_dll() {
  files=$(sh "$here/checkExportsImports.sh" "$4" "$2" "$3" "$work/$1" 2>&1)
  files_ok=$?
  line=$(cd "$work" && "$wine" "$reader" "$1" 2> /dev/null | tr -d '\r')
  want="$1|$version.0|$version|Brindlewick|$5 ($6)|$5 audio analysis ${7:-VST 2.x} plug-in for $6 hosts"
  [ $files_ok -eq 0 ] && [ "$line" = "$want" ]
  result "$1" $? "$files; version resource [$line], expected [$want]"
}

check_dll 64-bit/orvane.dll pei-x86-64 'VSTPluginMain main' x86_64-w64-mingw32-objdump Orvane 64-bit
check_dll 64-bit/orvane_x2.dll pei-x86-64 'VSTPluginMain main' x86_64-w64-mingw32-objdump 'Orvane x2' 64-bit
check_dll 32-bit/orvane.dll pei-i386 main i686-w64-mingw32-objdump Orvane 32-bit
check_dll 32-bit/orvane_x2.dll pei-i386 main i686-w64-mingw32-objdump 'Orvane x2' 32-bit
vst3_exports='ExitDll GetPluginFactory InitDll'
check_dll VST3/orvane.vst3/Contents/x86_64-win/orvane.vst3 pei-x86-64 "$vst3_exports" x86_64-w64-mingw32-objdump \
  Orvane 64-bit 'VST 3'
check_dll VST3/orvane_x2.vst3/Contents/x86_64-win/orvane_x2.vst3 pei-x86-64 "$vst3_exports" x86_64-w64-mingw32-objdump \
  'Orvane x2' 64-bit 'VST 3'
check_dll VST3/orvane.vst3/Contents/x86-win/orvane.vst3 pei-i386 "$vst3_exports" i686-w64-mingw32-objdump \
  Orvane 32-bit 'VST 3'
check_dll VST3/orvane_x2.vst3/Contents/x86-win/orvane_x2.vst3 pei-i386 "$vst3_exports" i686-w64-mingw32-objdump \
  'Orvane x2' 32-bit 'VST 3'
exit $status
