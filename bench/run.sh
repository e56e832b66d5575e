#!/usr/bin/env bash
# Times jpg2dds against `djpeg -dct int` on the same photos, side by side in
# one run (each round runs every command once, in turn), and prints one row
# per photo: the median wall times, their ratio to the decode, and the peak
# memory. The photos are the corpus plus a progressive 5640 x 3172 photo of
# quality 100 made from one of them.
#
# Usage: bench/run.sh PHOTO_DIR [BUILD_DIR]
#   PHOTO_DIR is filled from the corpus script when it holds no *.jpg.
#   ROUNDS=N        rounds per photo (default 5)
#   BASELINE=FILE   another jpg2dds binary (an older build) timed beside this one
#   OPTIONS="..."   extra options for the jpg2dds runs
#   STEPS=1         also print where the time of one default conversion goes
set -euo pipefail
photos=${1:?usage: bench/run.sh PHOTO_DIR [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
build=${2:-$here/../build}
rounds=${ROUNDS:-5}
fetch=${FETCH_CORPUS:-$here/../../shared/corpus/fetch-corpus.sh}
command -v djpeg >/dev/null || { echo "bench/run.sh: djpeg is missing (apt-get install libjpeg-turbo-progs)" >&2; exit 1; }
if ! compgen -G "$photos/*.jpg" >/dev/null; then
  "$fetch" "$photos"
fi
cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=Release -DJPG2DDS_BENCH=ON >/dev/null
cmake --build "$build" -j2 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out" "$work/baseline"

source_photo=$(ls -S "$photos"/*.jpg | head -n 1)
progressive="$work/progressive_5640x3172.jpg"
"$build/bench/jpg2dds_make_progressive" "$source_photo" "$progressive" 5640 3172

read -r -a options <<<"${OPTIONS:-}"
printf '%-40s %7s %9s %9s %6s %9s %7s' photo MP djpeg_ms jpg2dds_ms ratio peak_MiB B/px
[ -n "${BASELINE:-}" ] && printf ' %11s %6s %9s' baseline_ms ratio peak_MiB
printf '\n'
for photo in "$photos"/*.jpg "$progressive"; do
  size=$(rdjpgcom -verbose "$photo" | sed -n 's/^JPEG image is \([0-9]*\)w \* \([0-9]*\)h.*/\1 \2/p')
  mp=$(awk -v s="$size" 'BEGIN { split(s, d, " "); printf "%.1f", d[1] * d[2] / 1e6 }')
  commands=(djpeg djpeg -dct int -outfile /dev/null "$photo"
            ::: jpg2dds "$build/jpg2dds" -i "$photo" -o "$work/out" -q "${options[@]}")
  [ -n "${BASELINE:-}" ] && commands+=(::: baseline "$BASELINE" -i "$photo" -o "$work/baseline" -q "${options[@]}")
  mapfile -t rows < <("$build/bench/jpg2dds_compare" "$rounds" "${commands[@]}")
  read -r _ djpeg_ms _ _ _ <<<"${rows[0]}"
  read -r _ ms _ ratio peak <<<"${rows[1]}"
  bpp=$(awk -v p="$peak" -v m="$mp" 'BEGIN { printf "%.1f", p * 1048576 / (m * 1e6) }')
  printf '%-40s %7s %9s %9s %6s %9s %7s' "$(basename "$photo")" "$mp" "$djpeg_ms" "$ms" "$ratio" "$peak" "$bpp"
  if [ -n "${BASELINE:-}" ]; then
    read -r _ bms _ bratio bpeak <<<"${rows[2]}"
    printf ' %11s %6s %9s' "$bms" "$bratio" "$bpeak"
  fi
  printf '\n'
  rm -f "$work/out"/* "$work/baseline"/*
  if [ "${STEPS:-0}" = 1 ]; then "$build/bench/jpg2dds_bench" "$photo" "$work/out/" || true; rm -f "$work/out"/*; fi
done
