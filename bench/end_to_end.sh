#!/usr/bin/env bash
# End-to-end timing of balkor-batch (read, check, analyse, write the results
# protocol) on generated grillages; prints wall time and peak memory per model.
#
#   bench/end_to_end.sh [BUILD_DIR] [SIZES...]      (default: build 50 100 200)
set -euo pipefail
build=${1:-build}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(50 100 200)
gen=$build/bench/balkor-gen
batch=$build/src/batch/balkor-batch
for tool in "$gen" "$batch" /usr/bin/time; do
  [ -x "$tool" ] || { echo "fehlt: $tool (make build; apt-get install time)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() { # name, generator options...
  local name=$1
  shift
  "$gen" "$@" "$work/$name"
  /usr/bin/time -v "$batch" --quiet "$work/$name.bsy" "$work/$name.bld" \
    --results "$work/$name.txt" 2> "$work/$name.time" || { cat "$work/$name.time" >&2; return 1; }
  local wall mem
  wall=$(grep 'Elapsed (wall clock)' "$work/$name.time" | awk '{print $NF}')
  mem=$(grep 'Maximum resident set size' "$work/$name.time" | awk '{print $NF}')
  printf '%-28s wall %10s   peak %8.1f MB\n' "$name" "$wall" "$(echo "$mem / 1024" | bc -l)"
}

printf 'Machine: %s, %s cores\n' "$(uname -srm)" "$(nproc)"
for n in "${sizes[@]}"; do
  run "grid-$n" "$n" "$n"
done
for n in "${sizes[@]}"; do
  [ "$n" -le 100 ] || continue
  run "grid-$n-points-hinges" "$n" "$n" --point-loads --hinges 10
done
