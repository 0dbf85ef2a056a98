#!/bin/bash
# Builds the player and starts it under Wine.
#   run.sh [FILE]
# On $DISPLAY when it is set (in a Wine virtual desktop); otherwise on Xvfb,
# where it writes a screenshot after a few seconds and says where.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" native x86_64
source "$root/scripts/wine-env.sh"

exe="$root/build/x86_64/dist/corvella.exe"
args=()
if [ $# -gt 0 ]; then
  file=$(realpath "$1")
  args=("Z:$(printf '%s' "$file" | tr / '\\')")
fi
wine_locale_zh
had_display=${DISPLAY:-}
wine_ensure_display
trap wine_stop EXIT
wine_prepare_prefix "$root/build/wine-run"

if [ -n "$had_display" ]; then
  "$WINE64" explorer /desktop=corvella,1024x768 "$exe" "${args[@]}"
else
  "$WINE64" explorer /desktop=corvella,1024x768 "$exe" "${args[@]}" &
  sleep "${CORVELLA_SHOT_DELAY:-12}"
  shot="$root/build/screenshot.png"
  # ImageMagick's import reads the screen as it is shown. xwd -root does not:
  # it gives a top-level window that lies wholly inside another one (the about
  # box over the main window) as a black rectangle.
  import-im6.q16 -window root "$shot"
  echo "run.sh: no \$DISPLAY; the player ran on Xvfb and its screenshot is $shot"
fi
