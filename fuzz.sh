#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds (default
# 30), starting from the seed corpus in fuzz/corpus. Exits non-zero on the first finding; the input
# that caused it is written to build/fuzz/findings.
#   ./fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")"

seconds=${1:-30}
scripts/install-deps.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

mkdir -p build/fuzz/findings
for target in hex_send number_field receive_display multi_line_edit; do
  # New inputs go to a scratch copy so that the checked-in seeds stay small.
  work=build/fuzz/corpus/$target
  mkdir -p "$work"
  cp -n fuzz/corpus/$target/* "$work"/
  echo "fuzzing $target for ${seconds}s"
  log=build/fuzz/$target.log
  status=0
  LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp build/fuzz/fuzz/${target}_fuzz -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix=build/fuzz/findings/$target- "$work" >"$log" 2>&1 || status=$?
  if [[ $status -ne 0 ]]; then
    tail -n 40 "$log"
    echo "fuzz: finding in $target (see build/fuzz/findings)"
    exit 1
  fi
  grep -E '^(Done|stat::new_units_added|stat::peak_rss_mb)' "$log"
done
echo "fuzz: no findings"
