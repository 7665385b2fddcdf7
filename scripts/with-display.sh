#!/usr/bin/env bash
# Runs a command with an X display: the current one, or a private Xvfb that is
# started here and stopped afterwards. TAVOMED_SCREEN=WIDTHxHEIGHT always starts
# a private Xvfb of that size (the default size is 1280x1024).
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && [ -z "${TAVOMED_SCREEN:-}" ]; then
    exec "$@"
fi
screen="${TAVOMED_SCREEN:-1280x1024}"
for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done
export DISPLAY="$display"
"$@"
