#!/usr/bin/env bash
# Builds the plug-ins where they are missing or stale and writes the archives
# for users: dist/orvane-<version>-windows.zip with the four VST 2.x DLLs,
# dist/orvane-<version>-linux-x86_64.tar.gz with the LV2 bundle and the VST
# shared objects, both with the two VST 3 bundles (each with its binaries for
# 64-bit and 32-bit Windows and for Linux), and the Debian package
# dist/orvane_<version>_amd64.deb with the Linux plug-ins and orvane-analyze.
# The same commit gives the same Windows archive: the DLLs carry no link time
# and the archives' dates are the commit's (or SOURCE_DATE_EPOCH's).
# usage: scripts/package.sh   (prints the Windows archive's, the Linux archive's and the package's path last)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

bash "$root/scripts/setup.sh"
echo "Building the plug-ins..."
build_targets="orvane orvane_x2 vst3_orvane vst3_orvane_x2" build_windows
build_linux

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/win64/CMakeCache.txt")
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2> /dev/null || echo 0)}
archive=$root/dist/orvane-$version-windows.zip
mkdir -p "$root/dist"
# The files of both VST 3 bundles, as NAME=FILE pairs under VST3/: each build
# tree holds its own system's binary of them.
vst3_files=()
for stem in orvane orvane_x2; do
  for binary in win64/vst3/$stem.vst3/Contents/x86_64-win/$stem.vst3 win32/vst3/$stem.vst3/Contents/x86-win/$stem.vst3 \
    linux/vst3/$stem.vst3/Contents/x86_64-linux/$stem.so; do
    vst3_files+=("VST3/${binary#*/vst3/}=$build/$binary")
  done
done
/usr/bin/python3 -B "$root/packaging/make_archive.py" "$archive" "$epoch" "$version" \
  "$root/packaging/README.txt" \
  "64-bit/orvane.dll=$build/win64/bin/orvane.dll" "64-bit/orvane_x2.dll=$build/win64/bin/orvane_x2.dll" \
  "32-bit/orvane.dll=$build/win32/bin/orvane.dll" "32-bit/orvane_x2.dll=$build/win32/bin/orvane_x2.dll" \
  "${vst3_files[@]}"
linux_archive=$root/dist/orvane-$version-linux-x86_64.tar.gz
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
cp -r "$build/linux/lv2/orvane.lv2" "$build/linux/vst" "$staging/"
for pair in "${vst3_files[@]}"; do
  name=${pair%%=*}
  mkdir -p "$staging/vst3/$(dirname "${name#VST3/}")"
  cp "${pair#*=}" "$staging/vst3/${name#VST3/}"
done
sed "s/@VERSION@/$version/" "$root/packaging/README-linux.txt" > "$staging/README.txt"
# Fixed order, owner and dates, and no name or time in the gzip header.
tar --sort=name --mtime="@$epoch" --owner=0 --group=0 --numeric-owner --mode='u+rw,go+r,go-w' \
  -C "$staging" -c README.txt orvane.lv2 vst vst3 | gzip -n -9 > "$linux_archive"
deb=$(bash "$root/packaging/make_deb.sh" "$build/linux" "$root/dist" "$version" "$epoch")
echo "$archive"
echo "$linux_archive"
echo "$deb"
