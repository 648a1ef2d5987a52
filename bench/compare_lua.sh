#!/usr/bin/env bash
# Times pelko against Lua 5.4 (and LuaJIT's interpreter, luajit -joff, where installed) on two pairs
# of programs that do the same work: the register loop, and the array loop of
# bench/pelko/array_loop.pel with 5,000 outer passes against bench/lua/array_loop.lua (both print
# the same total, which is checked). Each program runs RUNS times (default 5), the programs taking
# turns so that a busy machine slows each alike; the figure is the median CPU time (user + system)
# of a run, with pelko's ratio to Lua 5.4.
# Usage: bench/compare_lua.sh [PELKO_BINARY] (default: a Release build in build-release, made when
# missing). RUNS=9 bench/compare_lua.sh for more runs.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
pelko="${1:-}"
runs="${RUNS:-5}"
if [ -z "$pelko" ]; then
  cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DORVELT_TESTS=OFF >/dev/null
  cmake --build "$root/build-release" -j"$(nproc)" --target pelko >/dev/null
  pelko="$root/build-release/pelko/pelko"
fi
command -v lua5.4 >/dev/null || { echo "lua5.4 is missing (scripts/install-deps.sh dev)" >&2; exit 1; }
have_luajit=0
command -v luajit >/dev/null && have_luajit=1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
sed 's/cmp pass, 200$/cmp pass, 5000/' "$here/pelko/array_loop.pel" >"$work/array_loop.pel"
grep -q 'cmp pass, 5000' "$work/array_loop.pel" || { echo "array_loop.pel: pass count not found" >&2; exit 1; }

# CPU seconds (user + system) of one run; its output goes to $work/out.
cpu_time() {
  local TIMEFORMAT='%3U %3S' times
  times=$( { time "$@" >"$work/out" 2>/dev/null; } 2>&1 )
  echo "$times" | awk '{ printf "%.3f\n", $1 + $2 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# compare NAME PELKO_SOURCE LUA_SOURCE: RUNS turns of pelko, lua5.4 and luajit -joff.
compare() {
  local name=$1 source=$2 script=$3 expected="" i
  : >"$work/pelko.t"; : >"$work/lua.t"; : >"$work/luajit.t"
  for ((i = 0; i < runs; i++)); do
    cpu_time "$pelko" "$source" >>"$work/pelko.t"
    local pelko_out; pelko_out=$(tr -d '\r' <"$work/out")
    cpu_time lua5.4 "$script" >>"$work/lua.t"
    if [ "$(cat "$work/out")" != "$pelko_out" ]; then
      echo "$name: pelko printed '$pelko_out', lua5.4 '$(cat "$work/out")'" >&2; exit 1
    fi
    if [ "$have_luajit" = 1 ]; then cpu_time luajit -joff "$script" >>"$work/luajit.t"; fi
    expected=$pelko_out
  done
  local p l j
  p=$(median <"$work/pelko.t"); l=$(median <"$work/lua.t")
  printf '%s (prints %s), median CPU seconds of %d runs:\n' "$name" "${expected:-nothing}" "$runs"
  printf '  pelko          %.3f s\n' "$p"
  printf '  lua5.4         %.3f s\n' "$l"
  if [ "$have_luajit" = 1 ]; then
    j=$(median <"$work/luajit.t")
    printf '  luajit -joff   %.3f s\n' "$j"
  fi
  printf '  ratio          pelko / lua5.4 = %.2f\n' "$(echo "$p / $l" | bc -l)"
}

compare "register loop (90 million rows)" "$here/pelko/register_loop.pel" "$here/lua/register_loop.lua"
compare "array loop, 5,000 passes" "$work/array_loop.pel" "$here/lua/array_loop.lua"
