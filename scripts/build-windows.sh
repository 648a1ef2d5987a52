#!/usr/bin/env bash
# Cross-builds pelko.exe and zunt.exe for 64-bit Windows with mingw-w64 (no DLL to ship beside
# them) and packs them with the examples, the guides and the licence into a zip.
# Usage: scripts/build-windows.sh [--tests]   (--tests also builds the test suites, for Wine)
# Output: build-windows/pelko/pelko.exe, build-windows/zunt/zunt.exe, build-windows/orvelt-windows.zip
set -euo pipefail
cd "$(dirname "$0")/.."

tests=OFF
[ "${1:-}" = "--tests" ] && tests=ON

scripts/install-deps.sh windows
build=build-windows
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s -DORVELT_TESTS="$tests" -DORVELT_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

# The zip holds one folder: the programs, and beside them what a relative path finds first.
stage="$build/zip/orvelt"
rm -rf "$build/zip" "$build/orvelt-windows.zip"
mkdir -p "$stage"
cp "$build/pelko/pelko.exe" "$build/zunt/zunt.exe" "$stage/"
cp -r examples docs "$stage/"
cp README.md "$stage/"
[ -f LICENSE ] && cp LICENSE "$stage/LICENSE.txt"
(cd "$build/zip" && zip -qr -X ../orvelt-windows.zip orvelt)
echo "Built $build/pelko/pelko.exe, $build/zunt/zunt.exe and $build/orvelt-windows.zip"
