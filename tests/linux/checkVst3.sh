#!/usr/bin/env bash
# The Linux VST 3 bundles in real hosts: what each shared object exports and
# links, Ardour's VST 3 scanner listing both (names, vendor, category, two
# inputs and two outputs), Ardour itself (its Lua session tool, on JACK's
# dummy driver) putting both on tracks of a session, saving their state with
# it and loading it again, and the project's VST 3 test host playing and
# showing both (screenshots into OUTPUT_DIR). Needs the X display of the caller.
# Prints one PASS or FAIL line per check; the test command counts them.
# usage: checkVst3.sh LINUX_BUILD_DIR OUTPUT_DIR
set -u
build=$(realpath "$1")
out=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
scanner=/usr/lib/ardour7/ardour-vst3-scanner
jackd_pid=

check_area="vst3"
source "$(dirname "$0")/checkSupport.sh"

for variant in "" _x2; do
  bundle=$build/vst3/orvane$variant.vst3
  exports_and_links "$bundle/Contents/x86_64-linux/orvane$variant.so" GetPluginFactory ModuleEntry ModuleExit
  result "orvane$variant.vst3: exports and libraries" $? "see above"
done

# The scanner keeps its cache under HOME, where Ardour finds the bundles it
# lists (~/.vst3): a fresh one, so that it scans.
scanner_home=$(mktemp -d)
stop_jack() {
  if [ -n "$jackd_pid" ]; then
    kill "$jackd_pid" 2> /dev/null
    wait "$jackd_pid" 2> /dev/null
    jackd_pid=
  fi
}
trap 'stop_jack; rm -rf "$scanner_home"' EXIT
mkdir -p "$scanner_home/.vst3"
cp -r "$build/vst3/orvane.vst3" "$build/vst3/orvane_x2.vst3" "$scanner_home/.vst3/"
# Ardour trusts a scan only when it is newer than the plug-in by whole seconds.
find "$scanner_home/.vst3" -exec touch -d '-1 minute' {} +
for variant in "" _x2; do
  name=$([ -z "$variant" ] && echo "Orvane" || echo "Orvane x2")
  log=$out/ardour-vst3-scanner$variant.txt
  HOME=$scanner_home LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 60 "$scanner" -f -v \
    "$scanner_home/.vst3/orvane$variant.vst3" > "$log" 2>&1
  scanned=$?
  cat "$log"
  [ "$scanned" -eq 0 ] && grep -q "Class: 0 '$name' 'Audio Module Class'" "$log" &&
    grep -q "<VST3Info .*name=\"$name\" vendor=\"Brindlewick\" category=\"Fx|Analyzer\" .*n_inputs=\"2\" n_outputs=\"2\"" "$log"
  result "Ardour's scanner lists orvane$variant.vst3 as $name, Brindlewick, Fx|Analyzer, 2 in, 2 out" $? \
    "$(tail -3 "$log")"
done

# Ardour's session tool on a JACK server of our own with the dummy driver.
export JACK_DEFAULT_SERVER=orvane-vst3-tests-$$ JACK_NO_AUDIO_RESERVATION=1
jackd -n "$JACK_DEFAULT_SERVER" -d dummy -r 44100 -p 256 > "$out/jackd.log" 2>&1 &
jackd_pid=$!
sleep 2
session=$out/ardour-session
rm -rf "$session"
sed "s|@SESSION@|$session|" "$here/ardourSession.lua" > "$out/ardourSession.lua"
HOME=$scanner_home LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 120 ardour7-lua "$out/ardourSession.lua" \
  > "$out/ardour-session.log" 2>&1 &&
  grep -q "plug-ins loaded again: 2" "$out/ardour-session.log" &&
  python3 "$here/savedVst3State.py" "$session/orvane.ardour" >> "$out/ardour-session.log"
result "Ardour saves a session with both plug-ins and their state, and loads it again" $? \
  "$(grep -v 'MIDI buffer' "$out/ardour-session.log" | tail -3)"
grep -E "^(plug-ins|Orvane)" "$out/ardour-session.log"
stop_jack

(cd "$out" && "$build/bin/orvhost_vst3" --screenshots "$out" "$build/vst3/orvane.vst3" "$build/vst3/orvane_x2.vst3") \
  > "$out/orvhost_vst3.log" 2>&1
result "the VST 3 test host plays and shows both bundles (screenshots in $out)" $? "see below"
cat "$out/orvhost_vst3.log"
exit $status
