#!/usr/bin/env bash
# Builds both interpreters and runs bundled example programs. Without a display the console examples run;
# with one, a window demo follows (it ends on Escape).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build
cmake -S . -B build-run -DCMAKE_BUILD_TYPE=Release -DORVELT_TESTS=OFF -DORVELT_BENCH=OFF >/dev/null
echo "Building pelko and zunt (log in build-run/build.log) ..."
if ! cmake --build build-run -j"$(nproc)" --target pelko zunt >build-run/build.log 2>&1; then
  cat build-run/build.log
  exit 1
fi

echo "== pelko examples/pelko/primes.pel"
build-run/pelko/pelko "$PWD/examples/pelko/primes.pel" </dev/null
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "== pelko examples/pelko/mover.pel (arrow keys move the box, Escape ends)"
  build-run/pelko/pelko "$PWD/examples/pelko/mover.pel"
  echo "== zunt examples/zunt/shapes.cf (any key ends)"
  build-run/zunt/zunt "$PWD/examples/zunt/shapes.cf"
fi
