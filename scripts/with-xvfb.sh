#!/usr/bin/env bash
# Runs a command with a virtual X server: starts Xvfb on a free display, runs the command with DISPLAY
# set to it, and stops the server again. Usage: scripts/with-xvfb.sh COMMAND [ARGS...]
set -uo pipefail

# A display number can be taken although no socket file shows it (an X server in another root
# that shares this network's abstract sockets): a server that cannot start there moves on to the next.
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }' EXIT
for n in $(seq 90 130); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/tmp/xvfb-$n.log 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
    DISPLAY=":$n" "$@"
    exit
  fi
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
done
echo "with-xvfb: Xvfb did not start on any display from :90 to :130" >&2
exit 1
