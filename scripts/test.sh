#!/bin/bash
# Builds everything and runs every test: the native unit tests, the
# sanitizer build of them, and the Win32 tests under Wine, all in one ctest
# run whose summary is printed last.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
"$root/scripts/build.sh" native asan fuzz x86_64 i686
cd "$root/build/native"
ctest --output-on-failure -j2 --timeout 900
