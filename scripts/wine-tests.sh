#!/usr/bin/env bash
# Runs the Windows programs' tests under Wine, inside the X server that scripts/with-xvfb.sh started:
# the cross-built unit and end-to-end suites (build-windows), then the window tests of the Linux
# build (build) against the .exe files. Wine gets a fresh prefix in a temporary folder, made once.
# Usage: scripts/with-xvfb.sh scripts/wine-tests.sh
set -euo pipefail
cd "$(dirname "$0")/.."

prefix_folder=$(mktemp -d /tmp/orvelt-wine-XXXXXX)
export WINEPREFIX="$prefix_folder/prefix"
# No Mono and no Gecko (which Wine would offer to download), and no Wine diagnostics in the output.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix_folder"
}
trap cleanup EXIT

echo "== Wine prefix"
start=$(date +%s)
# One server for the whole run, and its services and desktop started here: whatever starts them
# hands them its standard streams, and a test runner waits for those to close.
mkdir -p "$WINEPREFIX"
wineserver -p
wine wineboot --init </dev/null >/dev/null 2>&1
wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1
echo "made in $(($(date +%s) - start)) s"

echo "== tests of the Windows build under Wine"
# Without DISPLAY no window can be made, as on a machine without a display: a Wine program takes
# its display from its own environment, which a Windows parent cannot take from its child.
env -u DISPLAY ctest --test-dir build-windows --output-on-failure --repeat until-pass:2
echo "== window tests against the Windows programs under Wine"
ORVELT_WINE_BUILD="$PWD/build-windows" ctest --test-dir build --output-on-failure --repeat until-pass:2 \
  -R '^(WindowX11|Window|ScriptWindow|KeyCodes|WindowsDialogs)\.'
