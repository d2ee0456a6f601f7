#!/usr/bin/env bash
# Fuzzes orvane-analyze (its sanitizer build) with zzuf: seed files it makes
# itself (WAV 16- and 24-bit and float, FLAC, Ogg Vorbis, Opus, AIFF, MP3, in
# one to six channels and several rates) are damaged at random, and each
# damaged file is analysed with a time limit. Counts crashes, sanitizer
# reports from the project's code, hangs and refusals without a reason;
# leaks inside Debian's codec libraries are counted apart. Prints the
# figures, then PASS/FAIL lines; damaged files that failed are kept.
# usage: fuzz.sh ORVANE-ANALYZE CASES KEEP-FOLDER [FIRST-SEED]
set -uo pipefail
analyze=$1
cases=$2
keep=$3
first=${4:-1}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$keep"
: > "$work/leaking"

# A case that takes this long is a hang.
limit=60
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:exitcode=86
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=exitcode=87

seeds=$work/seeds
mkdir -p "$seeds"
{
  sox -R -r 44100 -c 2 -n -b 16 "$seeds/pcm16.wav" synth 0.6 pinknoise tremolo 3 50 gain -3
  sox -R -r 48000 -c 6 -n -b 24 "$seeds/pcm24-5.1.wav" synth 0.6 pinknoise gain -6
  sox -R -r 96000 -c 1 -n -e floating-point -b 32 "$seeds/float.wav" synth 0.6 sine 300-9000 gain -1
  sox -R -r 22050 -c 2 -n -b 16 "$seeds/stereo.flac" synth 0.6 pinknoise gain -3
  sox -R -r 32000 -c 1 -n -b 16 "$seeds/mono.aiff" synth 0.6 sine 440 gain -2
  ffmpeg -nostdin -v error -i "$seeds/pcm16.wav" -c:a libvorbis "$seeds/vorbis.ogg"
  ffmpeg -nostdin -v error -i "$seeds/pcm16.wav" -c:a libopus "$seeds/stereo.opus"
  ffmpeg -nostdin -v error -i "$seeds/pcm16.wav" -c:a libmp3lame "$seeds/stereo.mp3"
} || { echo "FAIL fuzz: the seed files could not be made"; exit 1; }
seed_files=("$seeds"/*)

crashes=0
project_reports=0
library_leaks=0
hangs=0
unnamed=0
analysed=0
refused=0

# keep_case NAME WHY: the damaged file and what the program said, for a rerun.
keep_case() {
  cp "$work/case.${1##*.}" "$keep/$1"
  cp "$work/err" "$keep/$1.stderr"
  echo "  $2: $keep/$1"
}

# A report is the project's when a frame of its stack lies in the project's sources.
from_project() {
  grep -q -E "(#[0-9]+ .* in .* $root/|^$root/[^ ]*: runtime error)" "$work/err"
}

for ((i = first; i < first + cases; i++)); do
  seed=${seed_files[$((i % ${#seed_files[@]}))]}
  extension=${seed##*.}
  name=case$i-$(basename "$seed")
  # Ratios from one byte in ten thousand to one in fifty: damaged headers and damaged audio.
  zzuf -s "$i" -r 0.0001:0.02 cat "$seed" > "$work/case.$extension"
  timeout -s KILL "$limit" "$analyze" --json --jobs 2 "$work/case.$extension" > "$work/out" 2> "$work/err"
  status=$?
  if [ "$status" -eq 137 ]; then
    hangs=$((hangs + 1))
    keep_case "$name" "hang"
  elif grep -q -E 'ERROR: LeakSanitizer' "$work/err" && ! grep -q -E 'ERROR: (AddressSanitizer|UndefinedBehavior)|runtime error' "$work/err"; then
    if from_project; then
      project_reports=$((project_reports + 1))
      keep_case "$name" "leak from the project's code"
    else
      library_leaks=$((library_leaks + 1))
      # The library of the first frame after the allocator.
      grep -m1 -oE '#1 0x[0-9a-f]+ in .*\(/[^)+]+' "$work/err" | sed -E 's/.*\(//; s|.*/||' >> "$work/leaking"
    fi
  elif grep -q -E 'ERROR: (AddressSanitizer|UndefinedBehavior)|runtime error' "$work/err"; then
    if from_project; then
      project_reports=$((project_reports + 1))
      keep_case "$name" "sanitizer report from the project's code"
    else
      crashes=$((crashes + 1))
      keep_case "$name" "sanitizer report in a library"
    fi
  elif [ "$status" -gt 1 ]; then
    crashes=$((crashes + 1))
    keep_case "$name" "exit status $status"
  elif [ "$status" -eq 1 ]; then
    refused=$((refused + 1))
    if ! grep -q -E "^orvane-analyze: $work/case\.$extension: [a-z].+" "$work/err" ||
      ! grep -q -E '"error": "[^"]+' "$work/out"; then
      unnamed=$((unnamed + 1))
      keep_case "$name" "refused without a reason"
    fi
  else
    analysed=$((analysed + 1))
  fi
done

echo "fuzzing $cases cases from seed $first with zzuf over ${#seed_files[@]} seed files:" \
  "$analysed analysed, $refused refused with a reason, $crashes crashes, $project_reports sanitizer" \
  "reports from the project's code, $hangs hangs, $unnamed refused without a reason;" \
  "$library_leaks leaks inside Debian's libraries (counted apart)"
if [ -s "$work/leaking" ]; then
  echo "  leaks by library: $(sort "$work/leaking" | uniq -c | awk '{ printf "%s%s %d", (NR > 1 ? ", " : ""), $2, $1 }')"
fi
check() {
  if [ "$2" -eq 0 ]; then echo "PASS fuzz: no $1"; else echo "FAIL fuzz: $2 $1"; fi
}
check "crashes" "$crashes"
check "sanitizer reports from the project's code" "$project_reports"
check "hangs" "$hangs"
check "refused files without a reason" "$unnamed"
