#!/bin/sh
# Renders the manual page as groff and man do and prints every warning; the
# test fails on any output.
page=$1
[ -s "$page" ] || { echo "no manual page at $page"; exit 1; }
groff -man -ww -z "$page" 2>&1
if command -v man >/dev/null 2>&1; then
  MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null
fi
# The title line carries the release date.
grep -Eq '^\.TH JPG2DDS 1 "[0-9]{4}-[0-9]{2}-[0-9]{2}" ' "$page" || echo "no date in the .TH line"
