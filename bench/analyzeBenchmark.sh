#!/usr/bin/env bash
# Times orvane-analyze beside sox and ffmpeg on a 10-minute stereo 44.1 kHz
# 16-bit WAV, without loudness (against `sox stats`) and with it (against
# ffmpeg's ebur128 with true peak), one file on --jobs 1 and on --jobs 2,
# with plots and the HTML report, on a dense limited master (where the
# true-peak meter skips little), and eight such files with --jobs 1 and
# --jobs 2; then prints the ratios beside their goals and the peak memory.
# A benchmark, not a test: the figures depend on the machine and on whatever
# else runs on it. The commands take turns, round after round, so that a
# busy moment slows them alike; each prints the minimum and the median of
# its wall-clock times and its least CPU time (user and system), and the
# load averages before and after say how busy the machine was.
# usage: bench/analyzeBenchmark.sh [runs]   (default 3; Release build in build/bench)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-3}
build=$root/build/bench
cmake -S "$root" -B "$build" -DORVANE_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" -j "$(nproc)" --target orvane-analyze > /dev/null
analyze=$build/bin/orvane-analyze
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Noise whose level swells and ebbs, so that no stretch is silent.
sox -R -r 44100 -c 2 -n -b 16 "$work/song.wav" synth 10:00 pinknoise tremolo 0.3 40 gain -3
sox -R -r 44100 -c 2 -n -b 16 "$work/minute.wav" synth 1:00 pinknoise tremolo 0.3 40 gain -3
# The README's limited master, repeated to 10 minutes.
sox -R -r 44100 -c 2 -n -b 16 "$work/plucks.wav" synth 0.25 pluck A2 pluck E3 fade 0 0.25 0.2 repeat 79
sox -R -r 44100 -c 2 -n -b 16 "$work/bed.wav" synth 20 pinknoise pinknoise lowpass 3000 gain -30
sox -D -m "$work/plucks.wav" "$work/bed.wav" "$work/dynamic.wav" fade q 3 20 5 tremolo 0.15 60 gain -n -3
sox -D "$work/dynamic.wav" "$work/dense.wav" compand 0.0002,0.04 -90,-90,-70,-14,-30,-3,0,-1 0 -90 gain -n -0.2 \
  repeat 29 2> /dev/null
files=()
for i in 1 2 3 4 5 6 7 8; do
  ln "$work/song.wav" "$work/song$i.wav"
  files+=("$work/song$i.wav")
done
song=$work/song.wav

labels=(sox ffmpeg_astats ffmpeg_ebur128 plain plain_jobs1 loudness loudness_jobs1 plots dense jobs1 jobs2)
declare -A command=(
  [sox]="sox $song -n stats"
  [ffmpeg_astats]="ffmpeg -nostdin -i $song -af astats -f null -"
  [ffmpeg_ebur128]="ffmpeg -nostdin -i $song -af ebur128=peak=true -f null -"
  [plain]="$analyze --jobs 2 --no-loudness $song"
  [plain_jobs1]="$analyze --jobs 1 --no-loudness $song"
  [loudness]="$analyze --jobs 2 $song"
  [loudness_jobs1]="$analyze --jobs 1 $song"
  [plots]="$analyze --jobs 2 --plot $work/plots --html $work/report.html $song"
  [dense]="$analyze --jobs 2 $work/dense.wav"
  [jobs1]="$analyze --jobs 1 ${files[*]}"
  [jobs2]="$analyze --jobs 2 ${files[*]}"
)
declare -A wall cpu

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for ((run = 0; run < runs; run++)); do
  for label in "${labels[@]}"; do
    # Word splitting is meant: the paths hold no spaces.
    # shellcheck disable=SC2086
    /usr/bin/time -o "$work/time" -f '%e %U %S' ${command[$label]} > /dev/null 2>&1
    read -r elapsed user system < "$work/time"
    wall[$label]+="$elapsed "
    cpu[$label]+="$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }') "
  done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# minimum LIST / median LIST: of whitespace-separated numbers.
minimum() { tr ' ' '\n' <<< "$1" | sed '/^$/d' | sort -g | head -1; }
median() { tr ' ' '\n' <<< "$1" | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

row() {
  printf '  %-52s %7.3f %7.3f %7.2f\n' "$1" "$(minimum "${wall[$2]}")" "$(median "${wall[$2]}")" \
    "$(minimum "${cpu[$2]}")"
}

echo "orvane-analyze on a 10-minute stereo 44.1 kHz 16-bit WAV: $runs runs, $(nproc) cores," \
  "load average $load_before before and $load_after after"
printf '  %-52s %7s %7s %7s\n' "seconds" "min" "median" "CPU"
row "sox FILE -n stats" sox
row "ffmpeg -i FILE -af astats -f null -" ffmpeg_astats
row "ffmpeg -i FILE -af ebur128=peak=true -f null -" ffmpeg_ebur128
row "orvane-analyze --no-loudness FILE (--jobs 2)" plain
row "orvane-analyze --no-loudness --jobs 1 FILE" plain_jobs1
row "orvane-analyze FILE (with loudness, --jobs 2)" loudness
row "orvane-analyze --jobs 1 FILE (with loudness)" loudness_jobs1
row "orvane-analyze on a dense limited master" dense
row "orvane-analyze --plot DIR --html FILE FILE" plots
row "orvane-analyze --jobs 1, eight such files" jobs1
row "orvane-analyze --jobs 2, eight such files" jobs2

# ratio_row TEXT SLOWER FASTER GOAL: how many times faster, on the minima and on the medians.
ratio_row() {
  printf '  %-52s %6s %6s  (%s)\n' "$1" "$(ratio "$(minimum "${wall[$2]}")" "$(minimum "${wall[$3]}")")" \
    "$(ratio "$(median "${wall[$2]}")" "$(median "${wall[$3]}")")" "$4"
}
echo "ratios, of the minima and of the medians (goal in brackets):"
ratio_row "without loudness, sox stats time / ours" sox plain "at least 2"
ratio_row "without loudness, ffmpeg astats time / ours" ffmpeg_astats plain "at least 2"
ratio_row "with loudness, ffmpeg ebur128 time / ours" ffmpeg_ebur128 loudness "at least 1.5"
ratio_row "one file without loudness, --jobs 1 time / --jobs 2" plain_jobs1 plain "no goal"
ratio_row "one file with loudness, --jobs 1 time / --jobs 2" loudness_jobs1 loudness "no goal"
ratio_row "eight files, throughput of --jobs 2 / --jobs 1" jobs1 jobs2 "at least 1.8"
# megabytes COMMAND...: the peak resident memory of one run.
megabytes() {
  /usr/bin/time -f %M "$@" 2>&1 > /dev/null | tail -1 | awk '{ printf "%.1f", $1 / 1024 }'
}

echo "peak memory: 1-minute file $(megabytes "$analyze" "$work/minute.wav") MB," \
  "10-minute file $(megabytes "$analyze" "$song") MB," \
  "eight 10-minute files with --jobs 2 $(megabytes "$analyze" --jobs 2 "${files[@]}") MB"
echo "peak memory with plots and the HTML report: 1-minute file" \
  "$(megabytes "$analyze" --plot "$work/plots" --html "$work/report.html" "$work/minute.wav") MB, 10-minute file" \
  "$(megabytes "$analyze" --plot "$work/plots" --html "$work/report.html" "$song") MB"
