#!/bin/bash
# Installs the Debian packages the builds, the tests and the player need,
# when any of them is missing, and generates the zh_CN.UTF-8 locale that
# gives Wine the code page 936.
set -euo pipefail

packages=(
  cmake make g++ python3 clang libclang-rt-14-dev
  libgtest-dev googletest zlib1g-dev libjpeg62-turbo-dev libpng-dev libmpg123-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 libz-mingw-w64-dev
  wine wine64 xvfb x11-apps x11-utils imagemagick fonts-wqy-zenhei locales fp-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8 || echo "deps: could not generate zh_CN.UTF-8; Wine will use code page 1252"
fi
