#!/usr/bin/env bash
# Runs the real-time benchmark on the plug-in DLLs under Wine: audio paced to
# real time in calls of 64 frames, with the editor open and closed; the
# 64-bit DLLs under wine64, then the 32-bit ones where this machine runs
# 32-bit programs.
# usage: bench/realtime.sh [DLL...]   (default: both plug-ins of each width)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

bash "$root/scripts/setup.sh"
build_windows
trap 'stop_wine; stop_display' EXIT
start_display
widths=(64)
if wine32_works; then
  widths+=(32)
else
  echo "32-bit programs do not run here: the 32-bit DLLs are not measured"
fi
if [ $# -eq 0 ]; then
  set -- orvane.dll orvane_x2.dll
fi
for bits in "${widths[@]}"; do
  echo "== $bits-bit DLLs"
  start_wine "$bits"
  (cd "$build/win$bits/bin" && "$wine_loader" realtimeBenchmark.exe "$@")
  stop_wine
done
