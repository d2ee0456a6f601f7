#!/usr/bin/env bash
# Times orvane-analyze against sox and ffmpeg on a 10-minute stereo 44.1 kHz
# 16-bit WAV, with and without loudness, with plots and the HTML report, and
# on eight such files with --jobs 1 and --jobs 2, then prints the ratios and
# the peak memory; also with loudness on a 10-minute dense, limited master,
# where most of the file comes near its true peak and the true-peak meter
# skips little. A benchmark, not a test: the figures depend on the machine
# and on whatever else runs on it, so each is the best of several runs.
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

# seconds COMMAND...: the best wall-clock time of $runs runs.
seconds() {
  local best=1e9 start end
  for ((run = 0; run < runs; run++)); do
    start=$(date +%s.%N)
    "$@" > /dev/null 2>&1
    end=$(date +%s.%N)
    best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { t = e - s; printf "%.3f", (t < b ? t : b) }')
  done
  echo "$best"
}

# megabytes COMMAND...: the peak resident memory of one run.
megabytes() {
  /usr/bin/time -f %M "$@" 2>&1 > /dev/null | tail -1 | awk '{ printf "%.1f", $1 / 1024 }'
}

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

song=$work/song.wav
sox_stats=$(seconds sox "$song" -n stats)
ffmpeg_astats=$(seconds ffmpeg -nostdin -i "$song" -af astats -f null -)
ffmpeg_ebur128=$(seconds ffmpeg -nostdin -i "$song" -af ebur128=peak=true -f null -)
plain=$(seconds "$analyze" --no-loudness "$song")
loudness=$(seconds "$analyze" "$song")
plots=$(seconds "$analyze" --plot "$work/plots" --html "$work/report.html" "$song")
dense=$(seconds "$analyze" "$work/dense.wav")
jobs1=$(seconds "$analyze" --jobs 1 "${files[@]}")
jobs2=$(seconds "$analyze" --jobs 2 "${files[@]}")

echo "orvane-analyze on a 10-minute stereo 44.1 kHz 16-bit WAV, best of $runs runs, $(nproc) cores"
printf '  %-48s %7s s\n' "sox FILE -n stats" "$sox_stats" "ffmpeg -i FILE -af astats -f null -" "$ffmpeg_astats" \
  "ffmpeg -i FILE -af ebur128=peak=true -f null -" "$ffmpeg_ebur128" "orvane-analyze --no-loudness FILE" "$plain" \
  "orvane-analyze FILE (with loudness)" "$loudness" "orvane-analyze on a dense limited master" "$dense" \
  "orvane-analyze --plot DIR --html FILE FILE" "$plots" \
  "orvane-analyze --jobs 1, eight such files" "$jobs1" \
  "orvane-analyze --jobs 2, eight such files" "$jobs2"
echo "ratios (goal in brackets):"
echo "  without loudness, sox stats time / ours            $(ratio "$sox_stats" "$plain")  (at least 2)"
echo "  without loudness, ffmpeg astats time / ours        $(ratio "$ffmpeg_astats" "$plain")  (at least 2)"
echo "  with loudness, ffmpeg ebur128 time / ours          $(ratio "$ffmpeg_ebur128" "$loudness")  (at least 1)"
echo "  throughput of --jobs 2 / --jobs 1                  $(ratio "$jobs1" "$jobs2")  (at least 1.7)"
echo "peak memory: 1-minute file $(megabytes "$analyze" "$work/minute.wav") MB," \
  "10-minute file $(megabytes "$analyze" "$song") MB," \
  "eight 10-minute files with --jobs 2 $(megabytes "$analyze" --jobs 2 "${files[@]}") MB"
echo "peak memory with plots and the HTML report: 1-minute file" \
  "$(megabytes "$analyze" --plot "$work/plots" --html "$work/report.html" "$work/minute.wav") MB, 10-minute file" \
  "$(megabytes "$analyze" --plot "$work/plots" --html "$work/report.html" "$song") MB"
