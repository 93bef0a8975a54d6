#!/usr/bin/env bash
# Runs every fuzz target for a given time: fuzz/run.sh [seconds per target] [build folder].
# FUZZ_TARGETS="config options" runs only those, in that order.
# Each target starts from the seeds of fuzz/seeds/ (the image target from the PNG suite) and
# keeps what it finds in <build>/fuzz-corpus/. A crash, a leak or a hang stops the run with its
# input saved in <build>/fuzz-artifacts/.
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
# Absolute: a target may change its working folder.
mkdir -p "${2:-build-fuzz}"
build=$(cd "${2:-build-fuzz}" && pwd)
export LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0
suite=$root/../shared/corpus/pngsuite
mkdir -p "$build/fuzz-artifacts"

for target in ${FUZZ_TARGETS:-config profile list_file options output_name language convert_image}; do
  corpus=$build/fuzz-corpus/$target
  mkdir -p "$corpus"
  if [ -d "$root/fuzz/seeds/$target" ]; then
    find "$root/fuzz/seeds/$target" -type f -exec cp -n {} "$corpus/" \;
  fi
  if [ "$target" = convert_image ] && [ -d "$suite" ]; then
    # The settings bytes in front: every step off, then every step on.
    for png in "$suite"/*.png; do
      name=$(basename "$png" .png)
      [ -e "$corpus/off-$name" ] || { head -c 64 /dev/zero; cat "$png"; } > "$corpus/off-$name"
      [ -e "$corpus/on-$name" ] || { printf '\377%.0s' $(seq 64); cat "$png"; } > "$corpus/on-$name"
    done
  fi
  echo "== $target: $seconds s"
  log=$build/fuzz-artifacts/$target.log
  status=0
  "$build/fuzz/${target}_fuzzer" "$corpus" -max_total_time="$seconds" -timeout=30 \
    -rss_limit_mb=3072 -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$target-" \
    > "$log" 2>&1 || status=$?
  grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)" "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log" >&2
    echo "fuzz: $target failed; its input is in $build/fuzz-artifacts/" >&2
    exit 1
  fi
done
