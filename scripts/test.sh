#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, then the same suite built with
# AddressSanitizer and UndefinedBehaviorSanitizer, both against a virtual X server; then the
# Windows build, its tests and the window tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DORVELT_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
echo "== Windows build"
scripts/build-windows.sh --tests

export ORVELT_REQUIRE_DISPLAY=1
# The interpreters free nothing before the process ends, by design; leaks are not findings here.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The window tests drive real windows on the X server through xdotool; a test that lost a race with the
# server on a busy machine runs once more before it counts as failed.
echo "== tests (release build)"
scripts/with-xvfb.sh ctest --test-dir build --output-on-failure --repeat until-pass:2
echo "== tests (AddressSanitizer and UndefinedBehaviorSanitizer)"
scripts/with-xvfb.sh ctest --test-dir build-asan --output-on-failure --repeat until-pass:2
echo "== Windows programs under Wine"
scripts/with-xvfb.sh scripts/wine-tests.sh
