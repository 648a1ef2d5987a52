#!/usr/bin/env bash
# Start-up time of the two interpreters against Lua's: a console program that prints one line run
# through pelko and a one-line script through zunt, each 50 times, and `lua5.4 -e ''` as often;
# prints each median in milliseconds and its ratio to Lua's.
# Usage: bench/startup.sh [PELKO_BINARY ZUNT_BINARY] (default: a Release build in build-release,
# made when missing).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
pelko="${1:-}"
zunt="${2:-}"
if [ -z "$pelko" ] || [ -z "$zunt" ]; then
  cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DORVELT_TESTS=OFF -DORVELT_BENCH=OFF >/dev/null
  cmake --build "$root/build-release" -j"$(nproc)" --target pelko zunt >/dev/null
  pelko="$root/build-release/pelko/pelko"
  zunt="$root/build-release/zunt/zunt"
fi
command -v lua5.4 >/dev/null || { echo "lua5.4 is missing (scripts/install-deps.sh dev)" >&2; exit 1; }
runs=50

# The median wall time of `runs` runs of a command, in milliseconds; the shell's own clock
# (EPOCHREALTIME) is read around each run, so no helper process is timed along with it.
median_ms() {
  local times=() start end
  "$@" >/dev/null 2>&1 </dev/null  # once before, so every timed run finds the files cached
  for ((i = 0; i < runs; i++)); do
    start=${EPOCHREALTIME/[.,]/}
    "$@" >/dev/null 2>&1 </dev/null
    end=${EPOCHREALTIME/[.,]/}
    times+=($((end - start)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{t[NR] = $1} END {
    m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.2f", m / 1000 }'
}

lua=$(median_ms lua5.4 -e '')
pelko_ms=$(median_ms "$pelko" "$here/startup/hello.pel")
zunt_ms=$(median_ms "$zunt" "$here/startup/hello.cf")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf 'lua5.4 -e ""  %6s ms\n' "$lua"
printf 'pelko         %6s ms  (%s x Lua)\n' "$pelko_ms" "$(ratio "$pelko_ms" "$lua")"
printf 'zunt          %6s ms  (%s x Lua)\n' "$zunt_ms" "$(ratio "$zunt_ms" "$lua")"
