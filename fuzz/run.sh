#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan + UBSan + libFuzzer) and runs each
# for SECONDS (default 600), starting from the seeds in fuzz/corpus/<target>.
# Usage: fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(ini options configuration naming convert exif)
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
# fontconfig keeps its caches for the life of the process; they are no leak.
export LSAN_OPTIONS="suppressions=$root/.ci/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJPG2DDS_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}" >/dev/null
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  mkdir -p "$work" "$build/findings/$target"
  echo "== fuzz_$target for ${seconds}s"
  (cd "$build/findings/$target" &&
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=4096 -print_final_stats=1 \
      "$work" "$root/fuzz/corpus/$target" 2>&1 | grep -E "^(#[0-9]+ *DONE|stat::number_of_executed_units|stat::peak_rss_mb|.*(ERROR|SUMMARY))" || true)
done
