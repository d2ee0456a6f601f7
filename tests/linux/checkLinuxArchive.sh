#!/usr/bin/env bash
# The Linux archive as users get it: its entries, and that installing it the
# way its README says (into ~/.lv2, ~/.vst3 and ~/.vst of a fresh home) gives
# hosts both plug-ins in every form. Prints PASS or FAIL lines; the test
# command counts them.
# usage: checkLinuxArchive.sh ARCHIVE LV2CHECKS
set -u
archive=$1
lv2checks=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
check_area="linux archive"
source "$(dirname "$0")/checkSupport.sh"

expected="README.txt orvane.lv2/ orvane.lv2/manifest.ttl orvane.lv2/orvane.so orvane.lv2/orvane.ttl \
orvane.lv2/orvane_x2.so vst/ vst/orvane.so vst/orvane_x2.so vst3/"
for stem in orvane orvane_x2; do
  expected="$expected vst3/$stem.vst3/ vst3/$stem.vst3/Contents/ vst3/$stem.vst3/Contents/x86-win/ \
vst3/$stem.vst3/Contents/x86-win/$stem.vst3 vst3/$stem.vst3/Contents/x86_64-linux/ \
vst3/$stem.vst3/Contents/x86_64-linux/$stem.so vst3/$stem.vst3/Contents/x86_64-win/ \
vst3/$stem.vst3/Contents/x86_64-win/$stem.vst3"
done
entries=$(tar tzf "$archive" | tr '\n' ' ' | sed 's/ $//')
[ "$entries" = "$expected" ]
result "contents" $? "[$entries]"

mkdir -p "$home/unpacked" "$home/.lv2" "$home/.vst" "$home/.vst3"
tar xzf "$archive" -C "$home/unpacked" &&
  cp -r "$home/unpacked/orvane.lv2" "$home/.lv2/" && cp "$home/unpacked/vst/"*.so "$home/.vst/" &&
  cp -r "$home/unpacked/vst3/"*.vst3 "$home/.vst3/"
result "installs as its README says" $? "could not unpack or copy"
listed=$(HOME=$home LV2_PATH=$home/.lv2 lv2ls | tr '\n' ' ')
[ "$listed" = "https://brindlewick.org/plugins/orvane https://brindlewick.org/plugins/orvane_x2 " ]
result "an LV2 host finds both plug-ins in ~/.lv2" $? "[$listed]"
for variant in "" _x2; do
  "$lv2checks" "$home/.lv2/orvane.lv2/orvane$variant.so" "https://brindlewick.org/plugins/orvane$variant" \
    > /dev/null 2>&1 &&
    objdump -T "$home/.vst/orvane$variant.so" | grep -q ' VSTPluginMain$'
  result "orvane$variant installed: the LV2 plug-in runs, the VST entry point is there" $? "see lv2Checks"
done
for variant in "" _x2; do
  HOME=$home LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 60 /usr/lib/ardour7/ardour-vst3-scanner -f \
    "$home/.vst3/orvane$variant.vst3" 2>&1 | grep -q "Found Plugin: Orvane"
  result "orvane$variant.vst3 installed in ~/.vst3: Ardour's VST 3 scanner finds it" $? "see checkVst3.sh"
done
exit $status
