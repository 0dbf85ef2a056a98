#!/bin/bash
# Runs a Windows test executable under wine64 in a prepared prefix, in a
# virtual desktop on Xvfb (or on $DISPLAY), and returns its exit status.
#   wine-test.sh EXE [ARGS...]
# CORVELLA_WINE_LOCALE=zh (default) starts Wine with code page 936, =c with 1252.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"

exe=$(realpath "$1"); shift
root=${CORVELLA_WINE_DIR:-$(dirname "$exe")/wine}
mkdir -p "$root"
[ "${CORVELLA_WINE_LOCALE:-zh}" = zh ] && wine_locale_zh
unset DISPLAY
wine_ensure_display
trap wine_stop EXIT
wine_prepare_prefix "$root"
"$WINESERVER" -p
cd "$(dirname "$exe")"
"$WINE64" "$exe" "$@"
status=$?
exit $status
