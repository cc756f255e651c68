#!/bin/sh
# Long fuzzing runs: each target in turn (one at a time, at low priority) for RUNS
# executions (1,000,000 unless given), from the seed corpora and the inputs that once found
# a fault, under AddressSanitizer and UndefinedBehaviorSanitizer. Logs and anything found
# go to build-san/fuzz/long/<target>/; the last lines of each log give the counts. The
# time limit per input is generous: at the lowest priority a busy machine can starve a run.
#   scripts/fuzz-long.sh [runs] [target...]     targets: wave xfile picture effect replay settings
set -e
cd "$(dirname "$0")/.."
runs=${1:-1000000}
[ $# -gt 0 ] && shift
targets=${*:-wave xfile picture effect replay settings}
CC=clang CXX=clang++ cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON -DVELMORA_BENCH=OFF >/dev/null
cmake --build build-san -j"$(nproc)" --target velmora_fuzzers
for target in $targets; do
  case $target in
    wave) max=4096 ;; xfile) max=16384 ;; picture|effect|settings) max=8192 ;; replay) max=40960 ;;
    *) echo "unknown target $target"; exit 2 ;;
  esac
  out=build-san/fuzz/long/$target
  rm -rf "$out" && mkdir -p "$out/corpus"
  regressions=
  [ -d "fuzz/regressions/$target" ] && regressions=fuzz/regressions/$target
  echo "fuzz_$target: $runs runs"
  status=0
  nice -n 19 build-san/fuzz/fuzz_$target -runs="$runs" -max_len=$max -timeout=60 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$out/" "$out/corpus" "build-san/fuzz/seeds/$target" $regressions \
    >"$out/log" 2>&1 || status=$?
  grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)|SUMMARY|ERROR' "$out/log" || true
  if [ $status -ne 0 ]; then
    echo "fuzz_$target found a fault (exit $status); see $out"
    exit 1
  fi
done
