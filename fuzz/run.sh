#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for the given number of
# seconds, starting from the example files. Usage: fuzz/run.sh SECONDS [BUILD]
set -euo pipefail
seconds=${1:-25}
build=${2:-build-fuzz}
CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBALKOR_FUZZ=ON \
  -DBALKOR_GUI=OFF >/dev/null
cmake --build "$build" -j"${JOBS:-2}" --target fuzz_line_reader fuzz_section_reader fuzz_project_reader
for target in fuzz_line_reader fuzz_section_reader fuzz_project_reader; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  echo "== $target: $seconds s"
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
    -dict=fuzz/sections.dict -print_final_stats=1 -artifact_prefix="$build/" \
    "$corpus" examples
done
