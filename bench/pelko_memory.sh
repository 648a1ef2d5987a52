#!/usr/bin/env bash
# Peak memory of pelko over N and 10 N passes of bench/pelko/stack_loop.pel (balanced push and pop,
# call and ret, string work), and of loading a generated 100,000-line source: the first two figures
# must be about equal. Usage: bench/pelko_memory.sh [PELKO_BINARY] [N]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
pelko="${1:-$(dirname "$here")/build-release/pelko/pelko}"
n="${2:-100000}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

peak_kb() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1; }

sed "s/COUNT/$n/" "$here/pelko/stack_loop.pel" >"$work/n.pel"
sed "s/COUNT/$((n * 10))/" "$here/pelko/stack_loop.pel" >"$work/10n.pel"
echo "stack loop, $n passes:        $(peak_kb "$pelko" "$work/n.pel") KB peak"
echo "stack loop, $((n * 10)) passes:      $(peak_kb "$pelko" "$work/10n.pel") KB peak"

{
  echo ".text"
  echo "end"
  for i in $(seq 1 99998); do echo "  mov cx, v$((i % 500))"; done
} >"$work/load.pel"
start=$(date +%s.%N)
kb=$(peak_kb "$pelko" "$work/load.pel")
end=$(date +%s.%N)
printf 'loading 100,000 lines:       %s KB peak, %.3f s including start-up\n' "$kb" "$(echo "$end - $start" | bc -l)"
