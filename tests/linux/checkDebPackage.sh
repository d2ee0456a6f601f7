#!/usr/bin/env bash
# The Debian package as users get it: lintian finds no errors, it holds what
# it promises, its Depends name the package of every library its programs
# and plug-ins load, its orvane-analyze (no sanitizer build) analyses a
# file, and an LV2 host finds both plug-ins in its bundle. Prints lintian's
# output, then PASS or FAIL lines; the test command counts them.
# usage: checkDebPackage.sh PACKAGE
set -u
deb=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
check_area="debian package"
source "$(dirname "$0")/checkSupport.sh"

lintian --tag-display-limit 0 "$deb" > "$work/lintian.log" 2>&1
lintian_status=$?
echo "lintian output:"
sed 's/^/  /' "$work/lintian.log"
! grep -q '^E: ' "$work/lintian.log" && [ "$lintian_status" -eq 0 ]
result "lintian reports no errors" $? "see its output above"

expected="./usr/bin/orvane-analyze
./usr/lib/lv2/orvane.lv2/manifest.ttl
./usr/lib/lv2/orvane.lv2/orvane.so
./usr/lib/lv2/orvane.lv2/orvane.ttl
./usr/lib/lv2/orvane.lv2/orvane_x2.so
./usr/lib/orvane/liborvane_analyze_session.so
./usr/lib/orvane/liborvane_analyze_session_x2.so
./usr/lib/vst/orvane.so
./usr/lib/vst/orvane_x2.so
./usr/lib/vst3/orvane.vst3/Contents/x86_64-linux/orvane.so
./usr/lib/vst3/orvane_x2.vst3/Contents/x86_64-linux/orvane_x2.so
./usr/share/doc/orvane/changelog.gz
./usr/share/doc/orvane/copyright
./usr/share/man/man1/orvane-analyze.1.gz"
files=$(dpkg-deb -c "$deb" | grep -v '^d' | awk '{print $NF}' | sort)
[ "$files" = "$expected" ]
result "dpkg-deb -c lists the program, its manual page, the LV2 bundle, the VST objects and the VST 3 bundles" $? "[$files]"

dpkg-deb -x "$deb" "$work/root"
depends=$(dpkg-deb -f "$deb" Depends)
# The libraries each object names itself, where the dynamic loader finds them.
direct_libraries() {
  local object name
  for object in $(find "$work/root" -name '*.so' -o -type f -perm -u+x); do
    for name in $(readelf -d "$object" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'); do
      ldd "$object" | awk -v name="$name" '$1 == name && $3 ~ /^\// {print $3}'
    done
  done | grep -v "^$work/" | sort -u
}
missing=
for library in $(direct_libraries); do
  owner=$(dpkg -S "$library" 2> /dev/null || dpkg -S "$(realpath "$library")" 2> /dev/null)
  owner=${owner%%:*}
  case ", $depends," in
    *", $owner,"* | *", $owner "*) [ -n "$owner" ] || missing="$missing $library(no package)" ;;
    *) missing="$missing $library(${owner:-no package})" ;;
  esac
done
[ -z "$missing" ] && [ -n "$depends" ]
result "Depends names the package of every library loaded" $? "missing:$missing; Depends: $depends"

analyze=$work/root/usr/bin/orvane-analyze
sox -R -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 2 sine 440 gain -6
! readelf -d "$analyze" | grep -q -E 'libasan|libubsan|libtsan' &&
  "$analyze" --json "$work/tone.wav" > "$work/tone.json" 2> "$work/tone.err" &&
  python3 - "$work/tone.json" << 'PYTHON'
import json, sys
report = json.load(open(sys.argv[1]))[0]
assert report["error"] is None, report["error"]
assert abs(report["measures"]["peak"]["value"] + 6) < 0.1, report["measures"]["peak"]
PYTHON
result "its orvane-analyze, a build without sanitizers, analyses a file" $? "$(cat "$work/tone.err")"
gzip -dc "$work/root/usr/share/man/man1/orvane-analyze.1.gz" | grep -q -F -- '\-\-json'
result "the manual page describes the options" $? "no --json in it"

listed=$(LV2_PATH=$work/root/usr/lib/lv2 lv2ls | tr '\n' ' ')
[ "$listed" = "https://brindlewick.org/plugins/orvane https://brindlewick.org/plugins/orvane_x2 " ]
result "lv2ls finds both plug-ins in the bundle" $? "[$listed]"
exit $status
