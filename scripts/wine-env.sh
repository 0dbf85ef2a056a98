# Sourced by the Wine scripts: the loader, a prepared prefix and a display.
#   wine_prepare_prefix DIR   make DIR a prefix with a null sound device, CJK
#                             font substitutes, the Marlett symbol font and a
#                             1024x768 virtual desktop
#   wine_ensure_display       start Xvfb when no $DISPLAY is set
#   wine_stop                 end the prefix's wineserver and our Xvfb

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
CORVELLA_XVFB_PID=""
# Changing what wine_prepare_prefix writes changes this stamp, which makes
# prefixes prepared before the change be made again.
CORVELLA_PREFIX_STAMP="fonts-uming-marlett-1"
# "AR PL UMing CN" (fonts-arphic-uming) is a Song face like the one the program
# asks for; at 9 points it draws Chinese captions whole, where WenQuanYi Zen
# Hei's tall ascent clips their top strokes in a control's height.
CORVELLA_CJK_FONT="AR PL UMing CN"
CORVELLA_MARLETT=/usr/share/wine/fonts/marlett.ttf

# Wine's sound goes to ALSA; a null device keeps MCI working without hardware.
# HOME points at a folder of ours so that the user's own ~/.asoundrc is untouched.
wine_prepare_prefix() {
  local dir=$1
  export WINEPREFIX=$dir/prefix
  export HOME=$dir/home
  mkdir -p "$HOME"
  [ -f "$HOME/.asoundrc" ] || echo 'pcm.!default { type null }' > "$HOME/.asoundrc"
  if [ "$(cat "$dir/prefix.ready" 2>/dev/null)" != "$CORVELLA_PREFIX_STAMP" ]; then
    rm -rf "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
    # Without Marlett in the prefix's own fonts the caption buttons showed
    # letters here: fonts-wine's copy is put there.
    [ -f "$CORVELLA_MARLETT" ] && cp "$CORVELLA_MARLETT" "$WINEPREFIX/drive_c/windows/Fonts/"
    python3 - "$dir/settings.reg" "$CORVELLA_CJK_FONT" <<'PY'
import sys
font = sys.argv[2]
lines = ["Windows Registry Editor Version 5.00", "",
         r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]"]
for name in ["宋体", "SimSun", "MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Tahoma"]:
    lines.append(f'"{name}"="{font}"')
# Text drawn in a Latin face falls back to the CJK face for Chinese characters.
lines += ["", r"[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]"]
for name in ["Tahoma", "MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif", "Segoe UI"]:
    lines.append(f'"{name}"=hex(7):' + ",".join(f"{b:02x}" for b in ("uming.ttc," + font + "\0\0").encode("utf-16-le")))
lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\Explorer]", '"Desktop"="Default"',
          "", r"[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]", '"Default"="1024x768"', ""]
open(sys.argv[1], "w", encoding="utf-16", newline="\r\n").write("\n".join(lines))
PY
    "$WINE64" reg import "$(printf 'Z:%s' "$dir/settings.reg" | tr / '\\')" >/dev/null 2>&1
    "$WINESERVER" -w
    echo "$CORVELLA_PREFIX_STAMP" > "$dir/prefix.ready"
  fi
}

wine_ensure_display() {
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
  CORVELLA_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}

wine_stop() {
  "$WINESERVER" -k 2>/dev/null || true
  if [ -n "$CORVELLA_XVFB_PID" ]; then
    kill "$CORVELLA_XVFB_PID" 2>/dev/null || true
    wait "$CORVELLA_XVFB_PID" 2>/dev/null || true
    CORVELLA_XVFB_PID=""
  fi
}

# Wine locale: code page 936 when the zh_CN.UTF-8 locale exists.
wine_locale_zh() {
  if locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  fi
}
