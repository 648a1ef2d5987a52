#!/usr/bin/env bash
# Installs the Debian packages that building (and, with "test", testing) needs, when any is missing.
# Usage: scripts/install-deps.sh [build|test|dev|windows]
# "windows" is the cross build for Windows and its tests under Wine; "test" and "dev" include it.
set -euo pipefail
set_name=${1:-build}

packages=(g++ cmake make pkg-config libsdl2-dev libgtk-3-dev)
# mingw-w64 with POSIX threads (std::thread and friends), Wine to run what it builds, icotool for the
# programs' icons, zip for the download.
windows=(g++-mingw-w64-x86-64-posix wine wine64 icoutils zip googletest)
# The tests also install both programs, build their Debian package and check it as a desktop and
# Debian's tools would: dpkg-dev and file for the package's dependencies, man-db, the validators
# of desktop entries and AppStream data, the MIME database and GLib's lookup, and lintian.
test_packages=(googletest libgtest-dev libbenchmark-dev xvfb xdotool x11-apps libxtst6
  dpkg-dev file man-db desktop-file-utils appstream shared-mime-info libglib2.0-bin lintian "${windows[@]}")
case "$set_name" in
  build) ;;
  windows) packages=(cmake make "${windows[@]}") ;;
  test) packages+=("${test_packages[@]}") ;;
  # Fuzzing (clang), the Lua comparison, timing, and rsvg-convert to remake the icons' PNGs.
  dev) packages+=("${test_packages[@]}" clang libclang-rt-14-dev lua5.4 luajit hyperfine librsvg2-bin) ;;
  *) echo "usage: $0 [build|test|dev|windows]" >&2; exit 2 ;;
esac
# The editor tests: Vim, the GtkSourceView schema (libgtksourceview-4-common) and library with Python's
# bindings, and node with npm (which some node packages bring along).
if [ "$set_name" != build ]; then
  packages+=(vim libxml2-utils libgtksourceview-4-common python3-gi gir1.2-gtksource-4 nodejs)
  command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing with apt-get (a few minutes on a fresh machine): ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
