#!/usr/bin/env bash
# Times the register loop in pelko and in Lua 5.4 side by side and prints both times, pelko's executed
# instructions per second and the time ratio. Usage: bench/compare_lua.sh [PELKO_BINARY]
# (default: a Release build in build-release, made when missing).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
pelko="${1:-}"
if [ -z "$pelko" ]; then
  cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DORVELT_TESTS=OFF >/dev/null
  cmake --build "$root/build-release" -j"$(nproc)" --target pelko >/dev/null
  pelko="$root/build-release/pelko/pelko"
fi
command -v lua5.4 >/dev/null || { echo "lua5.4 is missing (apt-get install lua5.4)" >&2; exit 1; }

# The best of three runs of a command, in seconds.
best_of_three() {
  local best=""
  for _ in 1 2 3; do
    local start end t
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  echo "$best"
}

instructions=90000000  # 30 million passes of inc, cmp and jg
pelko_time=$(best_of_three "$pelko" "$here/pelko/register_loop.pel")
lua_time=$(best_of_three lua5.4 "$here/lua/register_loop.lua")
printf 'pelko   %.3f s  (%.1f million instructions per second)\n' "$pelko_time" \
  "$(echo "$instructions / $pelko_time / 1000000" | bc -l)"
printf 'lua5.4  %.3f s\n' "$lua_time"
printf 'ratio   pelko / lua = %.2f\n' "$(echo "$pelko_time / $lua_time" | bc -l)"
