#!/usr/bin/env bash
# Runs the real-time benchmark on the plug-in DLLs under Wine: audio paced to
# real time in calls of 64 frames, with the editor open and closed.
# usage: bench/realtime.sh [DLL...]   (default: both plug-ins of the build Wine runs here)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

bash "$root/scripts/setup.sh"
build_windows
trap 'stop_wine; stop_display' EXIT
start_display
if wine32_works; then
  start_wine 32
  bin=$build/win32/bin
else
  start_wine 64
  bin=$build/win64/bin
fi
cd "$bin"
if [ $# -eq 0 ]; then
  set -- orvane.dll orvane_x2.dll
fi
"$wine_loader" realtimeBenchmark.exe "$@"
