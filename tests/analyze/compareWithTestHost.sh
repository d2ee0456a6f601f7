#!/usr/bin/env bash
# The nine measures of orvane-analyze are the plug-in's: plays generated
# files through both plug-in DLLs in the project's test host under Wine and
# compares its measures with orvane-analyze's, exactly (as single floats).
# usage: compareWithTestHost.sh ORVANE-ANALYZE BIN-FOLDER WINE-LOADER
set -euo pipefail
analyze=$1
bin=$2
wine_loader=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Stereo with a silence longer than half a second and a tail of part of a
# block; mono at another rate.
sox -R -D -r 44100 -c 2 -n -b 16 "$work/loud.wav" synth 3 pinknoise
sox -R -D -r 44100 -c 2 -n -b 16 "$work/quiet.wav" synth 1 sine 0
sox -D "$work/loud.wav" "$work/quiet.wav" "$work/loud.wav" "$work/stereo.wav" pad 0 0.0317
sox -R -D -r 48000 -c 1 -n -b 16 "$work/mono.wav" synth 5 sine 200-9000 gain -2

status=0
for file in stereo mono; do
  wav=$work/$file.wav
  "$analyze" --json --no-loudness "$wav" > "$work/$file.json"
  for plugin in orvane.dll orvane_x2.dll; do
    # Wine's drive Z: is the Linux root.
    (cd "$bin" && "$wine_loader" orvhost.exe --play "Z:${wav//\//\\}" "$plugin") > "$work/$file-$plugin.txt" ||
      { cat "$work/$file-$plugin.txt"; status=1; continue; }
    python3 - "$work/$file.json" "$work/$file-$plugin.txt" "$file in $plugin" << 'PYTHON' || status=1
import json, struct, sys

def single(value):
    return struct.unpack('f', struct.pack('f', float(value)))[0]

analyzed = json.load(open(sys.argv[1]))[0]['measures']
hosted = {}
for line in open(sys.argv[2]):
    parts = line.split()
    if len(parts) == 3 and parts[0] == 'measure':
        hosted[parts[1]] = single(parts[2])
different = [name for name in analyzed if name not in hosted or single(analyzed[name]['value']) != hosted[name]]
for name in different:
    print(f"  {sys.argv[3]}: {name} is {analyzed[name]['value']} in orvane-analyze, {hosted.get(name)} in the test host")
print(f"  {sys.argv[3]}: {len(analyzed) - len(different)} of {len(analyzed)} measures identical")
sys.exit(1 if different or len(analyzed) != 9 else 0)
PYTHON
  done
done
exit $status
