#!/bin/sh
# Installs the build into a fresh prefix and converts with the installed
# program: the program, its manual page and its completion are in place, and
# a relative output folder is taken from the installed program's folder.
#   install_test.sh CMAKE BUILD_FOLDER SAMPLE_JPEG
set -eu
cmake=$1 build=$2 sample=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
for file in bin/jpg2dds share/man/man1/jpg2dds.1 share/bash-completion/completions/jpg2dds; do
  [ -s "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
mkdir "$prefix/bin/out" "$prefix/work" "$prefix/work/out"
cp "$sample" "$prefix/work/photo.jpg"
cd "$prefix/work"
printed=$("$prefix/bin/jpg2dds" -q -i photo.jpg -o out)
[ -z "$printed" ] || { echo "jpg2dds printed: $printed"; exit 1; }
[ -s "$prefix/bin/out/photo.dds" ] || { echo "no photo.dds in the installed program's folder"; exit 1; }
[ ! -e out/photo.dds ] || { echo "photo.dds went into the current directory"; exit 1; }
