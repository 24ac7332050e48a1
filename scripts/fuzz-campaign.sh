#!/usr/bin/env bash
# Fuzzing campaign (not part of the test run; CI keeps its bounded runs):
# runs every libFuzzer target of the sanitize build, one after another at the
# lowest priority, each for the given time, starting from and growing its
# corpus in tests/fuzz/corpus/<target>. Afterwards the corpus is minimised
# (-merge=1) in place, so what is committed stays small. Prints executions,
# rate, coverage and findings per target; findings (crash-*, leak-*,
# timeout-*, oom-*) are kept in build/fuzz-campaign/findings/<target>.
#
#   scripts/fuzz-campaign.sh SECONDS [TARGET...]
#   scripts/fuzz-campaign.sh 1800 ini_fuzz config_fuzz
#   FUZZ_RUNS=10000000 scripts/fuzz-campaign.sh 36000 ini_fuzz
#
# FUZZ_RUNS ends each target after that many executions, when that comes
# before the time.
#
# Exit status 1 when any target found something.
set -uo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}

seconds=${1:?usage: scripts/fuzz-campaign.sh SECONDS [TARGET...]}
shift
all=(plugin_devmode_fuzz command_line_fuzz ini_fuzz paper_data_fuzz config_fuzz discovery_reply_fuzz
     usb_answer_fuzz)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

[ -f build/sanitize/CMakeCache.txt ] || cmake --preset sanitize >/dev/null || exit 1
cmake --build --preset sanitize --target "${targets[@]}" >/dev/null || exit 1

binary() { find build/sanitize -type f -name "$1" -perm -u+x | head -n 1; }

out=build/fuzz-campaign
status=0
table=$(printf '%-22s %14s %10s %8s %8s %9s %8s\n' target executions exec/s cov ft corpus findings)
for t in "${targets[@]}"; do
  bin=$(binary "$t")
  [ -n "$bin" ] || { echo "no binary for $t" >&2; status=1; continue; }
  corpus=tests/fuzz/corpus/$t
  findings=$out/findings/$t
  log=$out/$t.log
  mkdir -p "$corpus" "$findings"
  # New inputs land in the corpus folder itself; the merge below trims it.
  nice -n 19 "$bin" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2048 \
    ${FUZZ_RUNS:+-runs=$FUZZ_RUNS} -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
  ft=$(grep -oE 'ft: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)

  # Minimise: keep the smallest inputs that together reach every edge
  # (without hit counts, which would keep thousands of near-duplicates),
  # then replace the folder.
  merged=$(mktemp -d "$out/merge.XXXX")
  nice -n 19 "$bin" -merge=1 -use_counters=0 -max_len=65536 -timeout=20 "$merged" "$corpus" \
    >"$out/$t.merge.log" 2>&1 &&
    { find "$corpus" -maxdepth 1 -type f -delete; mv "$merged"/* "$corpus"/ 2>/dev/null; }
  rm -rf "$merged"

  found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  [ "$found" -gt 0 ] && status=1
  table+=$(printf '\n%-22s %14s %10s %8s %8s %9s %8s' "$t" "${runs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" \
    "$(find "$corpus" -type f | wc -l)" "$found")
done
echo "$table"
exit $status
