#!/usr/bin/env bash
# Times a folder of photos converted in one run, side by side in one run with
# `djpeg -dct int` decoding the same files one after another: the built-in
# DXT1 encoder on every core, and the default (DevIL) path with one thread
# and with two. Prints the median wall times, their ratios, and the peak
# memory of each run against the largest single-file peak. With two threads
# DevIL runs in helper processes: the peak column is the largest single
# process, so the run with two threads is sampled once more for the peak of
# all its processes together.
#
# Usage: bench/batch.sh PHOTO_DIR [BUILD_DIR]
#   The photos of 2 to 18 megapixels in PHOTO_DIR are used (at least 12);
#   PHOTO_DIR is filled from the corpus script when it holds no *.jpg.
#   ROUNDS=N   rounds (default 3)
set -euo pipefail
photos=${1:?usage: bench/batch.sh PHOTO_DIR [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
build=${2:-$here/../build}
rounds=${ROUNDS:-3}
. "$here/prepare.sh"
# A lock of its own: a conversion run elsewhere meanwhile must not make these wait.
export XDG_RUNTIME_DIR="$work"
mkdir -p "$work/photos"

count=0
pixels=0
for photo in "$photos"/*.jpg; do
  size=$(rdjpgcom -verbose "$photo" | sed -n 's/^JPEG image is \([0-9]*\)w \* \([0-9]*\)h.*/\1 \2/p')
  read -r w h <<<"$size"
  mp=$(( w * h ))
  if (( mp >= 2000000 && mp <= 18000000 )); then
    cp "$photo" "$work/photos/"
    count=$((count + 1))
    pixels=$((pixels + mp))
  fi
done
(( count >= 12 )) || { echo "bench/batch.sh: only $count photos of 2 to 18 megapixels in $photos" >&2; exit 1; }
echo "$count photos, $(awk -v p="$pixels" 'BEGIN { printf "%.1f", p / 1e6 }') megapixels in all, $(nproc) cores"

# The largest peak of one photo converted alone, by the default path.
single=0
for photo in "$work/photos"/*.jpg; do
  read -r _ _ _ _ peak < <("$build/bench/jpg2dds_compare" 1 one "$build/jpg2dds" -i "$photo" -o "$work/out" -q)
  single=$(awk -v a="$single" -v b="$peak" 'BEGIN { print (b > a ? b : a) }')
  rm -f "$work/out"/*
done

decode_all="for f in '$work/photos'/*.jpg; do djpeg -dct int -outfile /dev/null \"\$f\"; done"
"$build/bench/jpg2dds_compare" "$rounds" \
  djpeg sh -c "$decode_all" \
  ::: dxt1 "$build/jpg2dds" --input-folder="$work/photos" -o "$work/out" -q --dds-compression=dxt1 \
  ::: auto-threads-1 "$build/jpg2dds" --input-folder="$work/photos" -o "$work/out" -q --threads=1 \
  ::: auto-threads-2 "$build/jpg2dds" --input-folder="$work/photos" -o "$work/out" -q --threads=2 |
  awk -v single="$single" '
    { label[NR] = $1; ms[NR] = $2; peak[NR] = $5 }
    END {
      printf "%-16s %10s %8s %10s %12s\n", "run", "median_ms", "ratio", "peak_MiB", "peak/single"
      for (i = 1; i <= NR; ++i) {
        printf "%-16s %10.1f %8.2f %10.1f %12.2f\n", label[i], ms[i], ms[i] / ms[1], peak[i], peak[i] / single
      }
      printf "auto threads 2 / threads 1: %.2f; single-file peak %.1f MiB\n", ms[4] / ms[3], single
    }'

# The peak of the parent and its helpers together, sampled every 20 ms.
together=$(peak_together 0.02 "$build/jpg2dds" --input-folder="$work/photos" -o "$work/out" -q --threads=2)
awk -v kib="$together" -v single="$single" 'BEGIN {
  printf "auto threads 2, parent and helpers together: %.1f MiB (%.2f x single-file peak)\n", kib / 1024, kib / 1024 / single }'
