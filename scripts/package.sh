#!/usr/bin/env bash
# Builds the four plug-in DLLs where they are missing or stale and writes the
# archive for Windows users, dist/orvane-<version>-windows.zip. The same commit
# gives the same bytes: the DLLs carry no link time and the archive's dates are
# the commit's (or SOURCE_DATE_EPOCH's).
# usage: scripts/package.sh   (prints the archive's path on its last line)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

bash "$root/scripts/setup.sh"
echo "Building the plug-ins..."
build_targets="orvane orvane_x2" build_windows

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/win64/CMakeCache.txt")
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2> /dev/null || echo 0)}
archive=$root/dist/orvane-$version-windows.zip
mkdir -p "$root/dist"
/usr/bin/python3 -B "$root/packaging/make_archive.py" "$archive" "$epoch" "$version" \
  "$root/packaging/README.txt" \
  "64-bit/orvane.dll=$build/win64/bin/orvane.dll" "64-bit/orvane_x2.dll=$build/win64/bin/orvane_x2.dll" \
  "32-bit/orvane.dll=$build/win32/bin/orvane.dll" "32-bit/orvane_x2.dll=$build/win32/bin/orvane_x2.dll"
echo "$archive"
