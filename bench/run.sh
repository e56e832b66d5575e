#!/usr/bin/env bash
# Times jpg2dds against `djpeg -dct int` on the same photos, side by side in
# one run (each round runs every command once, in turn), and prints one row
# per photo, DDS compression and DDS quality: the median wall times, their
# ratio to the decode, the peak memory, and the PSNR of the file's levels 0
# to 3 (level 0 against the decoded photo, levels 1 to 3 against an
# area-averaged reference in linear light). The photos are the corpus plus a
# progressive 5640 x 3172 photo of quality 100 made from the largest of them.
#
# Usage: bench/run.sh PHOTO_DIR [BUILD_DIR]
#   PHOTO_DIR is filled from the corpus script when it holds no *.jpg.
#   ROUNDS=N           rounds per photo (default 5)
#   COMPRESSIONS="..." the --dds-compression keywords to time (default "auto dxt1")
#   QUALITIES="..."    the --dds-quality keywords to time with dxt1 and dxt5 (default "normal"),
#                      each past the first labelled COMPRESSION.QUALITY
#   BASELINE=FILE      another jpg2dds binary (an older build), timed beside as "baseline"
#   OPTIONS="..."      extra options for every jpg2dds run
#   STEPS=1            also print where the time of one default conversion goes
set -euo pipefail
photos=${1:?usage: bench/run.sh PHOTO_DIR [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
build=${2:-$here/../build}
rounds=${ROUNDS:-5}
read -r -a compressions <<<"${COMPRESSIONS:-auto dxt1}"
read -r -a qualities <<<"${QUALITIES:-normal}"
read -r -a options <<<"${OPTIONS:-}"
. "$here/prepare.sh"

source_photo=$(ls -S "$photos"/*.jpg | head -n 1)
progressive="$work/progressive_5640x3172.jpg"
"$build/bench/jpg2dds_make_progressive" "$source_photo" "$progressive" 5640 3172

printf '%-34s %5s %-8s %8s %8s %6s %8s %5s %6s %6s %6s %6s\n' \
  photo MP path djpeg_ms ms ratio peak_MiB B/px psnr0 psnr1 psnr2 psnr3
for photo in "$photos"/*.jpg "$progressive"; do
  size=$(rdjpgcom -verbose "$photo" | sed -n 's/^JPEG image is \([0-9]*\)w \* \([0-9]*\)h.*/\1 \2/p')
  mp=$(awk -v s="$size" 'BEGIN { split(s, d, " "); printf "%.1f", d[1] * d[2] / 1e6 }')
  commands=(djpeg djpeg -dct int -outfile /dev/null "$photo")
  paths=()
  for c in "${compressions[@]}"; do
    for q in "${qualities[@]}"; do
      label=$c
      if [ "$q" != "${qualities[0]}" ]; then
        case $c in dxt1 | dxt5) label=$c.$q ;; *) continue ;; esac
      fi
      commands+=(::: "$label" "$build/jpg2dds" -i "$photo" -o "$work/out" -q --dds-compression="$c"
                 --dds-quality="$q" --filename-mask="$label.dds" "${options[@]}")
      paths+=("$label")
    done
  done
  if [ -n "${BASELINE:-}" ]; then
    commands+=(::: baseline "$BASELINE" -i "$photo" -o "$work/out" -q --filename-mask=baseline.dds "${options[@]}")
    paths+=(baseline)
  fi
  mapfile -t rows < <("$build/bench/jpg2dds_compare" "$rounds" "${commands[@]}")
  files=()
  for p in "${paths[@]}"; do files+=("$work/out/$p.dds"); done
  mapfile -t quality < <("$build/bench/jpg2dds_bench_quality" "$photo" "${files[@]}")
  read -r _ djpeg_ms _ _ _ <<<"${rows[0]}"
  for i in "${!paths[@]}"; do
    read -r label ms _ ratio peak <<<"${rows[$((i + 1))]}"
    read -r _ q0 q1 q2 q3 <<<"${quality[$i]}"
    bpp=$(awk -v p="$peak" -v m="$mp" 'BEGIN { printf "%.1f", p * 1048576 / (m * 1e6) }')
    printf '%-34s %5s %-8s %8s %8s %6s %8s %5s %6s %6s %6s %6s\n' "$(basename "$photo")" "$mp" "$label" \
      "$djpeg_ms" "$ms" "$ratio" "$peak" "$bpp" "${q0:-}" "${q1:-}" "${q2:-}" "${q3:-}"
  done
  rm -f "$work/out"/*
  if [ "${STEPS:-0}" = 1 ]; then "$build/bench/jpg2dds_bench" "$photo" "$work/out/" || true; rm -f "$work/out"/*; fi
done
