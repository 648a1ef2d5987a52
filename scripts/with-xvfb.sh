#!/usr/bin/env bash
# Runs a command with a virtual X server: starts Xvfb on a free display, runs the command with DISPLAY
# set to it, and stops the server again. Usage: scripts/with-xvfb.sh COMMAND [ARGS...]
set -uo pipefail

display=""
for n in $(seq 90 130); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
if [ -z "$display" ]; then echo "with-xvfb: no free display number" >&2; exit 1; fi

Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/tmp/xvfb-$display.log 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null' EXIT

for _ in $(seq 1 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then echo "with-xvfb: Xvfb did not start" >&2; cat /tmp/xvfb-$display.log >&2; exit 1; fi
  sleep 0.1
done

DISPLAY=":$display" "$@"
