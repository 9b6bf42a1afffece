#!/usr/bin/env bash
# Fuzzing campaigns with libFuzzer:  tools/fuzz.sh [target|all] [seconds] [--merge]
# Builds the targets (clang, AddressSanitizer and UBSan) into build/fuzz and fuzzes each target on
# one core for the given time (default 600 s), starting from its seeds in tests/fuzz/corpus/<target>.
# What it finds is kept in build/fuzz/campaign/<target>: the grown corpus, and any input that
# crashed or hung as crash-*, timeout-* or leak-*; each of those is a defect to fix, after which the
# input goes into the seed corpus so the test run replays it. With --merge, the inputs that add
# coverage are merged into the seed corpus at the end.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:-all}
seconds=${2:-600}
merge=${3:-}
build="$root/build/fuzz"

bash "$root/tools/setup.sh" >/dev/null || exit 1
cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DOX_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)" >"$build.build.log" 2>&1 || { tail -40 "$build.build.log"; exit 1; }

targets=()
if [ "$target" = all ]; then
  for dir in "$root"/tests/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
else
  targets=("$target")
fi

status=0
for t in "${targets[@]}"; do
  exe="$build/tests/fuzz/fuzz_$t"
  [ -x "$exe" ] || { echo "fuzz: no target $t"; status=1; continue; }
  work="$build/campaign/$t"
  mkdir -p "$work/corpus"
  cp -n "$root/tests/fuzz/corpus/$t"/* "$work/corpus/" 2>/dev/null
  log="$work/fuzz.log"
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/corpus" >"$log" 2>&1
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(find "$work" -maxdepth 1 -name 'crash-*' -o -maxdepth 1 -name 'timeout-*' -o -maxdepth 1 -name 'leak-*' \
          -o -maxdepth 1 -name 'oom-*' | wc -l)
  echo "fuzz: $t: ${runs:-?} executions in ${seconds} s, $found finding(s), corpus $(ls "$work/corpus" | wc -l) inputs"
  [ "$found" -eq 0 ] || { status=1; find "$work" -maxdepth 1 \( -name 'crash-*' -o -name 'timeout-*' -o -name 'leak-*' -o -name 'oom-*' \) -printf '  %p\n'; }
  if [ "$merge" = --merge ]; then
    "$exe" -merge=1 "$root/tests/fuzz/corpus/$t" "$work/corpus" >/dev/null 2>&1
  fi
done
exit $status
