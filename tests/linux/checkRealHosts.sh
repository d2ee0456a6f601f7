#!/usr/bin/env bash
# The Linux plug-ins in real hosts: what each shared object exports and links,
# the LV2 descriptions against the LV2 schemas, lv2info, lv2file, jalv (with
# JACK's dummy driver, started and stopped here), the project's own host
# loading the VST 2.x shared objects and Ardour's VST 2.x scanner. Needs the
# X display of the caller.
# Prints one PASS or FAIL line per check; the test command counts them.
# usage: checkRealHosts.sh SOURCE_DIR LINUX_BUILD_DIR OUTPUT_DIR
set -u
source_dir=$1
build=$2
out=$3
mkdir -p "$out"
bundle=$build/lv2/orvane.lv2
export LV2_PATH=$build/lv2:/usr/lib/lv2
base_uri=https://brindlewick.org/plugins/orvane
jackd_pid=

check_area="linux"
source "$(dirname "$0")/checkSupport.sh"

stop_jack() {
  if [ -n "$jackd_pid" ]; then
    kill "$jackd_pid" 2> /dev/null
    wait "$jackd_pid" 2> /dev/null
    jackd_pid=
  fi
}
trap stop_jack EXIT

for variant in "" _x2; do
  exports_and_links "$build/vst/orvane$variant.so" VSTPluginMain main
  result "vst/orvane$variant.so exports and libraries" $? "see above"
  exports_and_links "$bundle/orvane$variant.so" lv2_descriptor lv2ui_descriptor
  result "orvane.lv2/orvane$variant.so exports and libraries" $? "see above"
done

# Against the schema bundles lv2-dev installs and nothing else: other
# plug-ins on the machine have errors of their own that are not ours to count.
lv2_schemas=$(dpkg -L lv2-dev | grep '\.ttl$')
sord_validate $lv2_schemas "$bundle"/*.ttl > "$out/sord_validate.log" 2>&1
grep -q '^Found 0 errors' "$out/sord_validate.log"
result "descriptions valid against the LV2 schemas" $? "$(tail -1 "$out/sord_validate.log")"
# The same check on a description of ours with a port index that is not a number.
broken=$(mktemp -d)
cp "$bundle"/*.ttl "$broken"/
sed -i '0,/lv2:index 1 ;/s//lv2:index "one" ;/' "$broken/orvane.ttl"
sord_validate $lv2_schemas "$broken"/*.ttl > "$out/sord_validate-broken.log" 2>&1
grep -q '^Found [1-9][0-9]* errors' "$out/sord_validate-broken.log"
result "the schema check finds the error in a broken description" $? "$(tail -1 "$out/sord_validate-broken.log")"
rm -rf "$broken"

for variant in "" _x2; do
  uri=$base_uri$variant
  lv2info "$uri" > "$out/lv2info$variant.txt" 2>&1
  ports=$(grep -c '^	Port [0-3]:' "$out/lv2info$variant.txt")
  grep -q "Author: *Brindlewick" "$out/lv2info$variant.txt" && grep -q "X11UI" "$out/lv2info$variant.txt" &&
    [ "$ports" -eq 4 ] && grep -q "Class: *Analyser Plugin" "$out/lv2info$variant.txt"
  result "lv2info lists $uri with its 4 ports, maker and X11 UI" $? "$(head -3 "$out/lv2info$variant.txt")"

  "$build/bin/lv2Checks" "$bundle/orvane$variant.so" "$uri" 2> /dev/null
  result "in place and without instance access ($uri)" $? "see above"
done

# lv2file: a generated stereo file through each plug-in, samples unchanged.
sox -n -r 44100 -c 2 -e floating-point -b 32 "$out/lv2file-in.wav" synth 4 sine 220 pinknoise vol 0.5 \
  > /dev/null 2>&1
for variant in "" _x2; do
  rm -f "$out/lv2file-out$variant.wav"
  lv2file -i "$out/lv2file-in.wav" -o "$out/lv2file-out$variant.wav" "$base_uri$variant" \
    > "$out/lv2file$variant.log" 2>&1 &&
    python3 "$source_dir/tests/linux/sameSamples.py" "$out/lv2file-in.wav" "$out/lv2file-out$variant.wav"
  result "lv2file through $base_uri$variant is bit-exact" $? "$(tail -2 "$out/lv2file$variant.log")"
done

# jalv plays through JACK: a server of our own with the dummy driver.
export JACK_DEFAULT_SERVER=orvane-tests-$$ JACK_NO_AUDIO_RESERVATION=1
jackd -n "$JACK_DEFAULT_SERVER" -d dummy -r 44100 -p 256 > "$out/jackd.log" 2>&1 &
jackd_pid=$!
sleep 2
for scale in 1 2; do
  variant=$([ "$scale" -eq 1 ] && echo "" || echo _x2)
  timeout 30 jalv.gtk3 "$base_uri$variant" > "$out/jalv$variant.log" 2>&1 &
  jalv_pid=$!
  shot=1
  for try in 1 2 3 4 5 6 7 8 9 10; do
    sleep 1
    "$build/bin/editorShot" "$scale" "$out/jalv-orvane$variant-editor.png" && { shot=0; break; }
  done
  kill "$jalv_pid" 2> /dev/null
  wait "$jalv_pid" 2> /dev/null
  result "jalv shows the editor of $base_uri$variant ($out/jalv-orvane$variant-editor.png)" $shot \
    "$(tail -3 "$out/jalv$variant.log")"
done
stop_jack

# The project's own host: dlopen, what a host sees, the demo signal, the
# editor; and the same analysis as the effect made in-process.
(cd "$out" && "$build/bin/orvhost_x11" --screenshots "$out" "$build/vst/orvane.so" "$build/vst/orvane_x2.so") \
  > "$out/orvhost_x11.log" 2>&1
result "the Linux test host loads both VST shared objects" $? "$(tail -5 "$out/orvhost_x11.log")"
cat "$out/orvhost_x11.log"
for host in orvhost_x11 orvhost_x11_x2; do
  stem=$([ "$host" = orvhost_x11 ] && echo orvane || echo orvane_x2)
  scale=$([ "$host" = orvhost_x11 ] && echo 1 || echo 2)
  (cd "$out" && "$build/bin/$host" --screenshots "$out") > "$out/$host.log" 2>&1 &&
    python3 "$source_dir/tests/linux/samePictures.py" "$scale" "$out/$stem-linux-editor.png" \
      "$out/$stem-so-linux-editor.png"
  result "$stem.so shows the same analysis as the effect in-process" $? "see above"
done
# Ardour's VST 2.x scanner on the folder of both shared objects: a host keys
# plug-ins by their IDs, so the two must differ or one is ignored.
scan_home=$(mktemp -d)
HOME=$scan_home LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner -v -f "$build/vst"/*.so \
  > "$out/ardour-vst-scanner.log" 2>&1
scanned=$?
rm -rf "$scan_home"
grep 'VST2Info' "$out/ardour-vst-scanner.log"
[ "$scanned" -eq 0 ] &&
  grep -q 'VST2Info id="1332893281" name="Orvane" creator="Brindlewick".* n_inputs="2" n_outputs="2"' \
    "$out/ardour-vst-scanner.log" &&
  grep -q 'VST2Info id="1332893234" name="Orvane x2" creator="Brindlewick".* n_inputs="2" n_outputs="2"' \
    "$out/ardour-vst-scanner.log" &&
  ! grep -qi 'conflict' "$out/ardour-vst-scanner.log"
result "Ardour's VST scanner finds Orvane ('OrVa') and Orvane x2 ('OrV2') side by side" $? \
  "$(tail -5 "$out/ardour-vst-scanner.log")"
exit $status
