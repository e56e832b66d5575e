#!/bin/sh
# Installs the build into a fresh prefix and converts with the installed
# program: the program, its manual page, its completion and its copyright file
# are in place, and
# a relative output folder is taken from the installed program's folder.
# It installs under umask 077, as a careful root may have it: the folders it
# makes must still be open to every user.
#   install_test.sh CMAKE BUILD_FOLDER SAMPLE_JPEG
set -eu
cmake=$1 build=$2 sample=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/usr
(umask 077 && "$cmake" --install "$build" --prefix "$prefix" >/dev/null)
for entry in 755:. 755:bin 755:share 755:share/man 755:share/man/man1 755:share/bash-completion \
    755:share/bash-completion/completions 755:share/doc 755:share/doc/jpg2dds 755:bin/jpg2dds \
    644:share/man/man1/jpg2dds.1 644:share/bash-completion/completions/jpg2dds 644:share/doc/jpg2dds/copyright; do
  mode=$(stat -c %a "$prefix/${entry#*:}")
  [ "$mode" = "${entry%%:*}" ] || { echo "installed with mode $mode: ${entry#*:}"; exit 1; }
done
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
