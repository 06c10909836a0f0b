#!/usr/bin/env bash
# Starts the desktop program on the bundled example; without a display, or
# before the desktop program exists, runs the batch analysis of that example.
set -euo pipefail
build=${1:-build}
system=examples/bruecke.bsy
loads=examples/bruecke.bld
if [ -x "$build/src/app/balkor" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec "$build/src/app/balkor" "$system" "$loads"
fi
if [ -x "$build/src/batch/balkor-batch" ]; then
  exec "$build/src/batch/balkor-batch" "$system" "$loads"
fi
echo "Noch kein Programm gebaut: die Tests laufen mit 'make test'." >&2
exec ctest --test-dir "$build" --output-on-failure
