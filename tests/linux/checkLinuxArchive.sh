#!/usr/bin/env bash
# The Linux archive as users get it: its entries, and that installing it the
# way its README says (into ~/.lv2 and ~/.vst of a fresh home) gives hosts
# both plug-ins in both forms. Prints PASS or FAIL lines; the test command
# counts them.
# usage: checkLinuxArchive.sh ARCHIVE LV2CHECKS
set -u
archive=$1
lv2checks=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
status=0
result() {
  local name=$1 code=$2
  shift 2
  if [ "$code" -eq 0 ]; then
    echo "PASS linux archive: $name"
  else
    echo "FAIL linux archive: $name: $*"
    status=1
  fi
}

expected="README.txt orvane.lv2/ orvane.lv2/manifest.ttl orvane.lv2/orvane.so orvane.lv2/orvane.ttl \
orvane.lv2/orvane_x2.so vst/ vst/orvane.so vst/orvane_x2.so"
entries=$(tar tzf "$archive" | tr '\n' ' ' | sed 's/ $//')
[ "$entries" = "$expected" ]
result "contents" $? "[$entries]"

mkdir -p "$home/unpacked" "$home/.lv2" "$home/.vst"
tar xzf "$archive" -C "$home/unpacked" &&
  cp -r "$home/unpacked/orvane.lv2" "$home/.lv2/" && cp "$home/unpacked/vst/"*.so "$home/.vst/"
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
exit $status
