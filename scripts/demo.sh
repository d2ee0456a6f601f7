#!/usr/bin/env bash
# Builds both plug-ins for Windows (both widths) and Linux, runs them on the
# demo signal in the project's test hosts (Windows under Wine, 64-bit first;
# the Linux editor over X11; the VST 3 bundles in the VST 3 test host) and the
# LV2 plug-ins in lv2file, lists the VST 3 bundles with Ardour's scanner, then
# prints the measures, writes the pictures of both builds and packs both
# archives.
# usage: scripts/demo.sh [output folder]   (default: demo-output)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

out=$(realpath -m "${1:-$root/demo-output}")
bash "$root/scripts/setup.sh"
echo "Building..."
build_windows
build_native
build_linux
mkdir -p "$out"
trap 'stop_wine; stop_display' EXIT

echo
# The editors open in windows on a display of our own.
start_display
echo "== The 64-bit plug-ins in the test host (wine64)"
start_wine 64
bin=$build/win64/bin
(cd "$bin" && "$wine_loader" orvhost.exe --screenshots . orvane.dll orvane_x2.dll)
echo "== The 64-bit VST 3 bundles in the VST 3 test host (wine64)"
mkdir -p "$build/win64/vst3-screenshots"
(cd "$build/win64" && "$wine_loader" bin/orvhost_vst3.exe --screenshots vst3-screenshots 'vst3\orvane.vst3' \
  'vst3\orvane_x2.vst3')
stop_wine
if wine32_works; then
  echo "== The 32-bit plug-ins in the test host (wine)"
  start_wine 32
  (cd "$build/win32/bin" && "$wine_loader" orvhost.exe orvane.dll orvane_x2.dll)
  echo "== The 32-bit VST 3 bundles in the VST 3 test host (wine)"
  (cd "$build/win32" && "$wine_loader" bin/orvhost_vst3.exe 'vst3\orvane.vst3' 'vst3\orvane_x2.vst3')
  stop_wine
else
  echo "== 32-bit programs cannot run on this machine: the 32-bit plug-ins were not loaded"
fi
echo
echo "== The Linux editor (X11) in the Linux test host, the effect in-process"
# The native build runs under the leak checker; fontconfig's caches are not
# ours, and the table of what was suppressed is not the editor's report.
export LSAN_OPTIONS=suppressions=$root/tests/support/leaks.supp:print_suppressions=0
for host in orvhost_x11 orvhost_x11_x2; do
  (cd "$build/native/testwork" && "$build/native/bin/$host" --screenshots "$out")
  echo
done
echo "== The Linux VST 3 bundles in the VST 3 test host"
"$build/linux/bin/orvhost_vst3" --screenshots "$out" "$build/linux/vst3/orvane.vst3" "$build/linux/vst3/orvane_x2.vst3"
stop_display
echo "== The Linux VST 3 bundles in a real host's scanner: Ardour's"
scanner_home=$(mktemp -d)
for bundle in orvane orvane_x2; do
  HOME=$scanner_home LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner -f -v \
    "$build/linux/vst3/$bundle.vst3" 2>&1 | grep -E "Class:|<VST3Info"
done
rm -rf "$scanner_home"
echo
echo "== The LV2 plug-ins in a real host: lv2file on the demo signal"
"$build/linux/bin/demoWav" "$out/demo-signal.wav"
for variant in "" _x2; do
  uri=https://brindlewick.org/plugins/orvane$variant
  LV2_PATH=$build/linux/lv2:/usr/lib/lv2 lv2file -i "$out/demo-signal.wav" -o "$out/lv2file-orvane$variant.wav" "$uri"
  echo "$uri: $(python3 "$root/tests/linux/sameSamples.py" "$out/demo-signal.wav" "$out/lv2file-orvane$variant.wav")"
done
echo
for stem in orvane orvane_x2; do
  "$build/native/bin/bmpToPng" "$bin/$stem-editor.bmp" "$out/$stem-editor.png"
  "$build/native/bin/bmpToPng" "$build/win64/vst3-screenshots/$stem-vst3-editor.bmp" "$out/$stem-vst3-editor.png"
done
echo "Editor screenshots: $out/orvane-editor.png, $out/orvane_x2-editor.png (Windows);"
echo "  $out/orvane-linux-editor.png, $out/orvane_x2-linux-editor.png (Linux);"
echo "  VST 3: $out/orvane-vst3-editor.png, $out/orvane_x2-vst3-editor.png (Windows),"
echo "  $out/orvane-vst3-linux-editor.png, $out/orvane_x2-vst3-linux-editor.png (Linux)"

echo "== Measures and pictures"
cd "$build/native/testwork"
"$build/native/bin/orvdemo" "$out"
"$build/native/bin/orvdemo_x2" "$out"
echo "The pictures are in $out"

echo
echo "== The archives and the Debian package for users (scripts/package.sh)"
bash "$root/scripts/package.sh" | tail -3
