#!/bin/sh
# Runs every example of the manual page's EXAMPLES and SCRIPTS AND PIPELINES
# sections (not the report lines shown there), and every example block of the
# README that needs no clone of the sources, as a user would: in
# an empty folder (with a blank in its path) that holds one photo, photo.jpg,
# with jpg2dds on the PATH. Each must print no error line, and a texture must
# appear below that folder.
#   check_examples.sh MANUAL_PAGE README JPG2DDS SAMPLE_JPEG
set -eu
page=$1 readme=$2 program=$3 sample=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/bin"
ln -s "$program" "$scratch/bin/jpg2dds"
failed=0

# Each example goes into a file of its own: $scratch/examples/NAME.
mkdir "$scratch/examples"
# The manual's: the .EX blocks of those sections, with the escapes that they
# use turned back into the characters typed.
awk -v out="$scratch/examples/manual" '
  /^\.SH / { inExamples = ($0 == ".SH EXAMPLES" || $0 == ".SH SCRIPTS AND PIPELINES") }
  inExamples && /^\.EX/ { n++; inBlock = 1; next }
  inExamples && /^\.EE/ { inBlock = 0; next }
  inBlock { print > (out "-" n) }' "$page"
for file in "$scratch"/examples/manual-*; do
  if head -n 1 "$file" | grep -q '^{'; then rm "$file"; continue; fi  # a report's lines
  if sed -e 's/\\-//g' -e 's/\\(dq//g' -e 's/\\(aq//g' -e 's/\\&//g' -e 's/\\e//g' "$file" | grep -q '\\'; then
    echo "an example holds an escape this check does not know:"; cat "$file"; failed=1
  fi
  sed -e 's/\\-/-/g' -e 's/\\(dq/"/g' -e "s/\\\\(aq/'/g" -e 's/\\&//g' -e 's/\\e/\\/g' "$file" > "$file.sh"
  rm "$file"
done
[ -n "$(find "$scratch/examples" -name 'manual-*.sh')" ] || { echo "no EXAMPLES in $page"; exit 1; }
# The README's: its sh blocks, but those that build from the sources.
awk -v out="$scratch/examples/readme" '
  /^```sh$/ { n++; inBlock = 1; next }
  /^```$/ { inBlock = 0; next }
  inBlock { print > (out "-" n ".sh") }' "$readme"
for file in "$scratch"/examples/readme-*.sh; do
  if grep -q 'scripts/setup.sh' "$file"; then rm "$file"; fi
done

# Side by side, each with a lock folder of its own: most of a run is waiting
# for the disk.
for example in "$scratch"/examples/*.sh; do
  work="$scratch/run $(basename "$example" .sh)"
  mkdir "$work" "$work/.xdg"
  cp "$sample" "$work/photo.jpg"
  (cd "$work" && PATH="$scratch/bin:$PATH" XDG_RUNTIME_DIR="$work/.xdg" sh -e "$example" > .printed 2>&1 ||
    echo "exit status $?" >> .printed) &
done
wait
for example in "$scratch"/examples/*.sh; do
  work="$scratch/run $(basename "$example" .sh)"
  if grep -Eq '^Error: |^Not OK$|^Conversion stopped$|^exit status ' "$work/.printed"; then
    echo "failed:"; cat "$example" "$work/.printed"; failed=1
  elif [ -z "$(find "$work" -name '*.dds')" ]; then
    echo "wrote no texture:"; cat "$example" "$work/.printed"; failed=1
  fi
done
exit $failed
