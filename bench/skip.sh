#!/usr/bin/env bash
# Times a second run over a folder of converted photos with
# --skip-up-to-date: every output is up to date, so the run reads the
# folder, stats each photo and its texture, and converts nothing. Side by
# side in one run with `djpeg -dct int` decoding one of the photos, and with
# the same run writing its report. Prints the median wall times, their ratio
# to the decode, and the time per photo; the target is at most 2 s for
# 10,000 photos.
#
# Usage: bench/skip.sh [BUILD_DIR]
#   COUNT=N    photos (default 10000), 64 x 64 copies of one made here
#   ROUNDS=N   rounds (default 5)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
count=${COUNT:-10000}
rounds=${ROUNDS:-5}
command -v cjpeg >/dev/null || { echo "$0: cjpeg is missing (apt-get install libjpeg-turbo-progs)" >&2; exit 1; }
tile=$(mktemp -d)
{ printf 'P6\n64 64\n255\n'; head -c 12288 /dev/urandom; } | cjpeg -quality 90 >"$tile/tile.jpg"
photos=$tile
. "$here/prepare.sh"
trap 'rm -rf "$work" "$tile"' EXIT

# The photos as one run of copies (doubled until there are enough), cut into
# files: no process per photo.
size=$(stat -c %s "$tile/tile.jpg")
cp "$tile/tile.jpg" "$tile/copies"
while (($(stat -c %s "$tile/copies") < size * count)); do
  cat "$tile/copies" "$tile/copies" >"$tile/twice" && mv "$tile/twice" "$tile/copies"
done
mkdir "$work/photos"
head -c $((size * count)) "$tile/copies" | split -b "$size" -a 5 -d --additional-suffix=.jpg - "$work/photos/tile"
export XDG_RUNTIME_DIR=$work
"$build/jpg2dds" --input-folder="$work/photos" -o "$work/out" -q --dds-compression=dxt1
converted=$(find "$work/out" -name '*.dds' | wc -l)
((converted == count)) || { echo "$0: $converted of $count photos converted" >&2; exit 1; }

skip=("$build/jpg2dds" --input-folder="$work/photos" -o "$work/out" -q --dds-compression=dxt1 --skip-up-to-date
      --exit-code)
"$build/bench/jpg2dds_compare" "$rounds" \
  djpeg-one djpeg -dct int -outfile /dev/null "$tile/tile.jpg" \
  ::: skip "${skip[@]}" \
  ::: skip-report "${skip[@]}" --report="$work/report.jsonl" |
  awk -v count="$count" '
    { label[NR] = $1; ms[NR] = $2 }
    END {
      printf "%d photos, %s cores\n", count, "'"$(nproc)"'"
      printf "%-12s %10s %8s %14s\n", "run", "median_ms", "ratio", "us_per_photo"
      for (i = 1; i <= NR; ++i) {
        printf "%-12s %10.1f %8.1f %14s\n", label[i], ms[i], ms[i] / ms[1],
               i == 1 ? "-" : sprintf("%.1f", ms[i] * 1000 / count)
      }
    }'
grep -q '"skipped": '"$count" "$work/report.jsonl" || { echo "$0: not every photo was skipped" >&2; exit 1; }
