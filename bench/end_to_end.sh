#!/usr/bin/env bash
# End-to-end timing of balkor-batch (read, check, analyse, write the results
# protocol) on generated grillages; prints wall time, CPU time (user + system,
# steadier than wall time on a shared machine) and peak memory per model.
#
#   bench/end_to_end.sh [BUILD_DIR] [SIZES...]      (default: build 50 100 200)
#
# BALKOR_BATCH=path runs another balkor-batch (e.g. a saved older build).
set -euo pipefail
build=${1:-build}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(50 100 200)
gen=$build/bench/balkor-gen
batch=${BALKOR_BATCH:-$build/src/batch/balkor-batch}
for tool in "$gen" "$batch" /usr/bin/time; do
  [ -x "$tool" ] || { echo "fehlt: $tool (make build; apt-get install time)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() { # name, N, M, generator options...
  local name=$1 n=$2 m=$3
  shift 3
  "$gen" "$n" "$m" "$work/$name" "$@"
  /usr/bin/time -v "$batch" --quiet "$work/$name.bsy" "$work/$name.bld" \
    --results "$work/$name.txt" 2> "$work/$name.time" || { cat "$work/$name.time" >&2; return 1; }
  local wall user sys mem
  wall=$(grep 'Elapsed (wall clock)' "$work/$name.time" | awk '{print $NF}')
  user=$(grep 'User time' "$work/$name.time" | awk '{print $NF}')
  sys=$(grep 'System time' "$work/$name.time" | awk '{print $NF}')
  mem=$(grep 'Maximum resident set size' "$work/$name.time" | awk '{print $NF}')
  printf '%-30s wall %9s   cpu %7.2f s   peak %8.1f MB\n' "$name" "$wall" \
    "$(echo "$user + $sys" | bc -l)" "$(echo "$mem / 1024" | bc -l)"
}

printf 'Machine: %s, %s cores, %s\n' "$(uname -srm)" "$(nproc)" \
  "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
for n in "${sizes[@]}"; do
  run "grid-$n" "$n" "$n"
done
for n in "${sizes[@]}"; do
  run "grid-$n-points-hinges10" "$n" "$n" --point-loads --hinges 10
done
for n in "${sizes[@]}"; do
  [ "$n" -le 100 ] || continue
  run "grid-$n-hinges-per-beam-skew" "$n" "$n" --hinges 50 --per-beam-loads --skew 30
done
