#!/bin/bash
# Builds Corvella: native (portable core, tests, corvella-cli, generated
# assets), then the Windows builds with mingw-w64.
#   build.sh [native] [asan] [fuzz] [x86_64] [i686]    (default: all)
# asan is the unit tests built with AddressSanitizer and UBSan, fuzz the
# libFuzzer harnesses (clang); the native ctest run starts both.
# Build folders: build/native, build/x86_64, build/i686; each Windows build
# puts corvella.exe and the files beside it into build/<arch>/dist.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${CORVELLA_JOBS:-$(nproc)}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(native asan fuzz x86_64 i686)

build_native() {
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCORVELLA_WIN_TEST_EXE="$root/build/x86_64/tests/corvella_win_tests.exe" \
    -DCORVELLA_ASAN_TEST_EXE="$root/build/asan/corvella_core_tests" \
    -DCORVELLA_FUZZ_DIR="$root/build/fuzz" >/dev/null
  cmake --build "$root/build/native" -j"$jobs"
}

build_asan() {
  cmake -S "$root" -B "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DCORVELLA_SANITIZE=ON >/dev/null
  cmake --build "$root/build/asan" -j"$jobs" --target corvella_core_tests
}

build_fuzz() {
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCORVELLA_FUZZ=ON >/dev/null
  cmake --build "$root/build/fuzz" -j"$jobs"
}

build_windows() {
  local arch=$1
  cmake -S "$root" -B "$root/build/$arch" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DCORVELLA_ASSETS_DIR="$root/build/native/assets" >/dev/null
  cmake --build "$root/build/$arch" -j"$jobs" --target all corvella_win_tests
}

for t in "${targets[@]}"; do
  case $t in
    native) echo "== native build"; build_native ;;
    asan) echo "== sanitizer build"; build_asan ;;
    fuzz) echo "== fuzz build"; build_fuzz ;;
    x86_64|i686) echo "== $t build"; build_windows "$t" ;;
    *) echo "build.sh: unknown build '$t'" >&2; exit 2 ;;
  esac
done
