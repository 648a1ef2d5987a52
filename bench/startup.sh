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

# Wall time of one run in microseconds, read from the shell's own clock (EPOCHREALTIME), so no
# helper process is timed along with it.
time_us() {
  local start end
  start=${EPOCHREALTIME/[.,]/}
  "$@" >/dev/null 2>&1 </dev/null
  end=${EPOCHREALTIME/[.,]/}
  echo $((end - start))
}

median_ms() {
  printf '%s\n' "$@" | sort -n | awk '{t[NR] = $1} END {
    m = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2; printf "%.2f", m / 1000 }'
}

# The three take turns, so that a busy machine slows each of them alike; one round first fills
# the file cache.
lua_runs=() pelko_runs=() zunt_runs=()
for ((i = 0; i <= runs; i++)); do
  l=$(time_us lua5.4 -e '')
  p=$(time_us "$pelko" "$here/startup/hello.pel")
  z=$(time_us "$zunt" "$here/startup/hello.cf")
  if ((i > 0)); then lua_runs+=("$l") pelko_runs+=("$p") zunt_runs+=("$z"); fi
done
lua=$(median_ms "${lua_runs[@]}")
pelko_ms=$(median_ms "${pelko_runs[@]}")
zunt_ms=$(median_ms "${zunt_runs[@]}")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
printf 'lua5.4 -e ""  %6s ms\n' "$lua"
printf 'pelko         %6s ms  (%s x Lua)\n' "$pelko_ms" "$(ratio "$pelko_ms" "$lua")"
printf 'zunt          %6s ms  (%s x Lua)\n' "$zunt_ms" "$(ratio "$zunt_ms" "$lua")"
