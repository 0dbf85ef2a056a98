#!/bin/sh
# Converts a UTF-8 text file of the repository to the program's ANSI code
# page (936, GBK) with CR LF line breaks, as the program reads it.
set -e
iconv -f UTF-8 -t GBK "$1" | sed 's/$/\r/' > "$2"
