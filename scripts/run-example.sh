#!/usr/bin/env bash
# Builds both interpreters and runs bundled example programs. Without a display the console examples run;
# with one, a window demo follows (it ends on Escape).
set -euo pipefail
cd "$(dirname "$0")/.."

echo "Checking the Debian packages the build needs ..."
scripts/install-deps.sh build
echo "Configuring the build in build-run/ ..."
cmake -S . -B build-run -DCMAKE_BUILD_TYPE=Release -DORVELT_TESTS=OFF -DORVELT_BENCH=OFF >/dev/null
echo "Building pelko and zunt (a few minutes on a fresh machine; log in build-run/build.log) ..."
# The build's own progress, in steps of about a tenth, so that a long build does not look stuck.
show_progress() {
  awk 'match($0, /^\[ *[0-9]+%\]/) {
         percent = substr($0, RSTART + 1, RLENGTH - 3) + 0
         if (percent >= shown + 10) { shown = percent; printf "  %d %%\n", percent; fflush() }
       }'
}
# Without tests and benchmarks, everything is the two programs and their compressed man pages, so
# that "cmake --install build-run" works too.
if ! cmake --build build-run -j"$(nproc)" 2>&1 | tee build-run/build.log | show_progress; then
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
else
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): the window demos mover.pel and shapes.cf are skipped."
fi
