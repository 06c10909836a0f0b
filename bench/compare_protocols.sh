#!/usr/bin/env bash
# Checks that two builds of balkor-batch write the same protocols: the input
# protocol, the results protocol and the JSON results of every example and of
# generated grillages (hinges, point loads, skew supports, one load record
# per beam), byte for byte except the clock line of the protocol header.
#
#   bench/compare_protocols.sh [--rounding] OLD_BATCH NEW_BATCH [GEN] [SIZES...]
#
# --rounding: where the files differ, check with bench/rounding_diff.awk that
# the protocols differ by rounding only (another equation order).
#
# GEN is balkor-gen (default build/bench/balkor-gen); SIZES the grid sizes of
# the generated models (default 10 30 60). Exit status 1 when any file differs.
set -euo pipefail
rounding=0
if [ "${1:-}" = --rounding ]; then
  rounding=1
  shift
fi
old=${1:?Aufruf: compare_protocols.sh ALT NEU [GEN] [GROESSEN...]}
new=${2:?Aufruf: compare_protocols.sh ALT NEU [GEN] [GROESSEN...]}
gen=${3:-build/bench/balkor-gen}
shift 3 || shift $#
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10 30 60)
here=$(cd "$(dirname "$0")/.." && pwd)
for tool in "$old" "$new" "$gen"; do
  [ -x "$tool" ] || { echo "fehlt: $tool" >&2; exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

models=()
for example in "$here"/examples/*.bsy; do
  base=${example%.bsy}
  models+=("$base")
done
for n in "${sizes[@]}"; do
  "$gen" "$n" "$n" "$work/grid-$n"
  "$gen" "$n" "$n" "$work/grid-$n-points-hinges10" --point-loads --hinges 10
  "$gen" "$n" "$n" "$work/grid-$n-hinges-per-beam-skew" --hinges 50 --per-beam-loads --skew 30
  "$gen" "$n" "$((n / 2 + 1))" "$work/grid-$n-hinges3-points-skew15" --hinges 3 --point-loads \
    --skew 15 --spacing 1.7
  models+=("$work/grid-$n" "$work/grid-$n-points-hinges10" "$work/grid-$n-hinges-per-beam-skew"
    "$work/grid-$n-hinges3-points-skew15")
done

# The protocols without the first header line (time and date).
run() { # batch, model, output prefix
  local loads=()
  [ -f "$2.bld" ] && loads=("$2.bld")
  "$1" --quiet "$2.bsy" "${loads[@]}" --input-protocol "$3.ein" --results "$3.erg" \
    --json "$3.json" > /dev/null 2>&1 || echo "exit $?" > "$3.exit"
  for f in "$3.ein" "$3.erg"; do
    [ -f "$f" ] && sed -i '3d' "$f"
  done
  return 0
}

status=0
for model in "${models[@]}"; do
  name=$(basename "$model")
  run "$old" "$model" "$work/$name.old"
  run "$new" "$model" "$work/$name.new"
  differing=()
  for ext in ein erg json exit; do
    a=$work/$name.old.$ext b=$work/$name.new.$ext
    if [ -f "$a" ] || [ -f "$b" ]; then
      cmp -s "$a" "$b" 2> /dev/null || differing+=("$ext")
    fi
  done
  size=$(stat -c %s "$work/$name.new.erg" 2> /dev/null || echo 0)
  if [ ${#differing[@]} -eq 0 ]; then
    printf '%-40s gleich   (%s Byte Ergebnisse)\n' "$name" "$size"
  elif [ $rounding = 1 ] && [ ! -f "$work/$name.old.exit" ] && [ ! -f "$work/$name.new.exit" ]; then
    printf '%-40s gerundet? %s\n' "$name" "${differing[*]}"
    for ext in ein erg; do
      cmp -s "$work/$name.old.$ext" "$work/$name.new.$ext" && continue
      awk -f "$here/bench/rounding_diff.awk" "$work/$name.old.$ext" "$work/$name.new.$ext" ||
        status=1
    done
  else
    printf '%-40s VERSCHIEDEN: %s\n' "$name" "${differing[*]}"
    status=1
  fi
done
exit $status
