#!/usr/bin/env bash
# Runs every fuzz target for a bounded time on its seed corpus and prints the
# executions it made. Usage: fuzz/run.sh BUILD_DIR SECONDS
set -euo pipefail
build=${1:?build dir}
seconds=${2:-20}
corpus="$build/corpus"
"$(dirname "$0")/seeds.sh" "$corpus"
targets=(load number catalogue savepath model keptwork values)
for target in "${targets[@]}"; do
  log="$build/fuzz_$target.log"
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$build/" "$corpus/$target" >"$log" 2>&1 || { tail -40 "$log"; echo "fuzz_$target FAILED"; exit 1; }
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  rate=$(grep -o 'exec/s: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$')
  echo "fuzz_$target: $runs executions in ${seconds}s (${rate:-?} exec/s), no property broken"
done
echo "fuzz: ${#targets[@]} passed, 0 failed"
