#!/usr/bin/env bash
# Times the default conversion (DevIL writes the DDS) against `djpeg -dct
# int` on the same file, side by side in one run (each round runs every
# command once, in turn), on two large inputs made from the largest corpus
# photo: a 5640 x 3172 progressive 4:2:2 photo of quality 100, and a
# 4096 x 4096 baseline 4:2:0 tile of quality 90. Prints one row per input and
# command: the median and fastest wall times, the ratio of the median to the
# decode's, and the peak memory; and the peak of the converter and its helper
# processes together. The DDS files go to a memory file system
# (/dev/shm) when there is one, as the decode's output goes to /dev/null:
# the disk's flush of each written file, shared with whatever else writes,
# is not in the figures. The runs take their single-instance lock in the
# work folder, so that another copy running elsewhere on the machine does
# not make them wait.
#
# Usage: bench/default_path.sh PHOTO_DIR [BUILD_DIR]
#   PHOTO_DIR is filled from the corpus script when it holds no *.jpg.
#   ROUNDS=N        rounds per input (default 7)
#   BASELINE=FILE   another jpg2dds binary (an older build), timed beside as "baseline"
#   KEEP=DIR        keep the two inputs in DIR (made there once, reused after)
set -euo pipefail
photos=${1:?usage: bench/default_path.sh PHOTO_DIR [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
build=${2:-$here/../build}
rounds=${ROUNDS:-7}
. "$here/prepare.sh"

export XDG_RUNTIME_DIR=$work
out=$work/out
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  out=$(mktemp -d /dev/shm/jpg2dds_bench.XXXXXX)
  trap 'rm -rf "$work" "$out"' EXIT
fi
inputs=${KEEP:-$work}
mkdir -p "$inputs"
source_photo=$(ls -S "$photos"/*.jpg | head -n 1)
progressive="$inputs/progressive_5640x3172_422_q100.jpg"
tile="$inputs/tile_4096x4096_420_q90.jpg"
[ -s "$progressive" ] || "$build/bench/jpg2dds_make_progressive" "$source_photo" "$progressive" 5640 3172 422
[ -s "$tile" ] || "$build/bench/jpg2dds_make_tile" "$source_photo" "$tile" 4096

echo "load: $(uptime)"
printf '%-34s %-8s %9s %9s %6s %8s\n' input command median_ms best_ms ratio peak_MiB
for photo in "$progressive" "$tile"; do
  commands=(djpeg djpeg -dct int -outfile /dev/null "$photo"
            ::: jpg2dds "$build/jpg2dds" -i "$photo" -o "$out" -q)
  if [ -n "${BASELINE:-}" ]; then
    commands+=(::: baseline "$BASELINE" -i "$photo" -o "$out" -q --filename-mask=baseline.dds)
  fi
  "$build/bench/jpg2dds_compare" "$rounds" "${commands[@]}" | while read -r label ms best ratio peak; do
    printf '%-34s %-8s %9s %9s %6s %8s\n' "$(basename "$photo")" "$label" "$ms" "$best" "$ratio" "$peak"
  done
  rm -f "$out"/*
  # The peak of the converter and its helpers together (the peak column is
  # the largest single process), sampled every 5 ms.
  together=$(peak_together 0.005 "$build/jpg2dds" -i "$photo" -o "$out" -q)
  rm -f "$out"/*
  printf '%-34s %-8s %9s %9s %6s %8.1f\n' "$(basename "$photo")" together - - - "$(awk -v k="$together" 'BEGIN { print k / 1024 }')"
done
echo "load: $(uptime)"
