#!/usr/bin/env bash
# Balkor against CalculiX (ccx, Debian's calculix-ccx) on the same generated
# grillages: balkor-batch end to end (read, check, analyse, results protocol)
# and ccx on the deck of balkor-ccx-deck (read, analyse, nodal displacements),
# one after the other in the same run, both with every core (ccx through
# OMP_NUM_THREADS). Checks first that both give the same deflections.
# Skipped when ccx is not installed.
#
#   bench/ccx_compare.sh [BUILD_DIR] [SIZES...]     (default: build 50 100)
#   REPEAT=k runs each program k times and reports the median wall time.
set -euo pipefail
build=${1:-build}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(50 100)
repeat=${REPEAT:-3}
if ! command -v ccx > /dev/null; then
  echo "ccx (calculix-ccx) ist nicht installiert: Vergleich übersprungen"
  exit 0
fi
gen=$build/bench/balkor-gen
deck=$build/bench/balkor-ccx-deck
batch=${BALKOR_BATCH:-$build/src/batch/balkor-batch}
for tool in "$gen" "$deck" "$batch" /usr/bin/time; do
  [ -x "$tool" ] || { echo "fehlt: $tool" >&2; exit 1; }
done
cores=$(nproc)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Median wall time in seconds of `repeat` runs of a command; peak memory in
# MB of the last one.
timed() { # label, command...
  local label=$1
  shift
  local times=()
  for ((r = 0; r < repeat; ++r)); do
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" > /dev/null 2> "$work/err" ||
      { cat "$work/err" >&2; return 1; }
    times+=("$(cut -d' ' -f1 "$work/time")")
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((repeat + 1) / 2))p")
  printf '%s %s %s\n' "$label" "$median" "$(awk '{printf "%.0f", $2 / 1024}' "$work/time")"
}

printf 'Machine: %s, %s cores; ccx %s; median of %s runs\n' "$(uname -srm)" "$cores" \
  "$(dpkg-query -W -f='${Version}' calculix-ccx 2> /dev/null || echo '?')" "$repeat"
printf '%-28s %10s %8s %10s %8s %8s\n' model "Balkor s" MB "ccx s" MB ratio
compare() { # name, N, generator options...
  local name=$1 n=$2
  shift 2
  "$gen" "$n" "$n" "$work/$name" "$@"
  "$deck" "$work/$name.bsy" "$work/$name.bld" "$work/$name.inp"
  (cd "$work" && OMP_NUM_THREADS=$cores ccx "$name" > "$name.log" 2>&1) ||
    { tail -20 "$work/$name.log" >&2; return 1; }
  "$deck" --compare "$work/$name.bsy" "$work/$name.bld" "$work/$name.dat" > "$work/agree" ||
    { cat "$work/agree" >&2; echo "$name: Durchbiegungen verschieden" >&2; return 1; }
  read -r _ ours oursMB < <(timed balkor "$batch" --quiet "$work/$name.bsy" "$work/$name.bld" \
    --results "$work/$name.txt")
  read -r _ theirs theirsMB < <(cd "$work" && export OMP_NUM_THREADS=$cores && timed ccx ccx "$name")
  printf '%-28s %10s %8s %10s %8s %8.2f\n' "$name" "$ours" "$oursMB" "$theirs" "$theirsMB" \
    "$(echo "$ours / $theirs" | bc -l)"
  sed 's/^/    /' "$work/agree"
}

for n in "${sizes[@]}"; do
  compare "grid-$n" "$n"
  compare "grid-$n-points-hinges10" "$n" --point-loads --hinges 10
done
