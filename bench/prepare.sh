# Sourced by the benchmark scripts with $here, $photos and $build set: checks
# the tools, fetches the corpus into $photos when it holds no photo, builds
# the benchmark tools and makes a work folder $work (removed on exit) with
# an empty $work/out.
for tool in djpeg rdjpgcom; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is missing (apt-get install libjpeg-turbo-progs)" >&2; exit 1; }
done
if ! compgen -G "$photos/*.jpg" >/dev/null; then
  "${FETCH_CORPUS:-$here/../../shared/corpus/fetch-corpus.sh}" "$photos"
fi
cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=Release -DJPG2DDS_BENCH=ON >/dev/null
cmake --build "$build" -j2 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out"

# peak_together SECONDS COMMAND...: runs COMMAND and prints the peak of its
# memory and its child processes' together, in KiB, sampled every SECONDS.
# Shared pages count in each process that maps them: an upper bound.
peak_together() {
  local interval=$1 together=0 sum rss p pid
  shift
  "$@" &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    sum=0
    for p in "$pid" $(cat /proc/"$pid"/task/*/children 2>/dev/null); do
      rss=$(awk '/^VmRSS/ { print $2 }' /proc/"$p"/status 2>/dev/null || true)
      sum=$((sum + ${rss:-0}))
    done
    ((sum > together)) && together=$sum
    sleep "$interval"
  done
  wait "$pid"
  echo "$together"
}
