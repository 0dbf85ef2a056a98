#!/bin/sh
# Compiles the HTML help pages in SRC into the CHM file OUT with chmcmd.
set -e
src=$1 out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$src"/* "$work"/
(cd "$work" && chmcmd --no-html-scan help.hhp >/dev/null 2>&1)
cp "$work/help.chm" "$out"
