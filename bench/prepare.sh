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
