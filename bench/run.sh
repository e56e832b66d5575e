#!/usr/bin/env bash
# Converts real photos one per process and prints the figures of each.
# Usage: bench/run.sh PHOTO_DIR [BUILD_DIR]   (photos are fetched into PHOTO_DIR when it has none)
set -euo pipefail
photos=${1:?usage: bench/run.sh PHOTO_DIR [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
build=${2:-$here/../build}
fetch=${FETCH_CORPUS:-$here/../../shared/corpus/fetch-corpus.sh}
if ! compgen -G "$photos/*.jpg" >/dev/null; then
  "$fetch" "$photos"
fi
cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=Release -DJPG2DDS_BENCH=ON >/dev/null
cmake --build "$build" --target jpg2dds_bench -j2 >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for photo in "$photos"/*.jpg; do
  "$build/bench/jpg2dds_bench" "$photo" "$out/" || true
  rm -f "$out"/*
done
