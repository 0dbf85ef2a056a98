#!/bin/sh
# Copies the generated assets that ship beside corvella.exe: help, skins.
set -e
assets=$1 dist=$2
for f in "$assets"/*.chm; do [ -e "$f" ] && cp -f "$f" "$dist"/; done
for f in "$assets"/skins/*.fac; do [ -e "$f" ] && cp -f "$f" "$dist"/skins/; done
exit 0
