#!/usr/bin/env bash
# Many-log benchmark of vnx-check --qc: eight logs of about 20 MB (3 h at 1 Hz from the OPEC
# files, different seeds), checked one after another and with --jobs 2; prints both times and
# their ratio.
#   bench/quality_jobs_bench.sh BUILD_DIR [WORK_DIR]
set -euo pipefail
build="${1:?usage: quality_jobs_bench.sh BUILD_DIR [WORK_DIR]}"
work="${2:-/tmp/vnx-quality-jobs}"
data="$(cd "$(dirname "$0")/.." && pwd)/tests/data/real"
mkdir -p "$work"
logs=()
for i in 1 2 3 4 5 6 7 8; do
  log="$work/log$i.vnx"
  if [ ! -f "$log" ]; then
    "$build/src/tools/vnx-synth" --obs "$data/OPEC00NOR_S_20220010000_01D_30S_MO_3.04_croped.rnx" \
      --nav "$data/OPEC00NOR_S_20220010000_01D_GN.rnx" --gnav "$data/OPEC00NOR_S_20220010000_01D_RN.rnx" \
      --hours 3 --rate 1 --seed "$i" --out "$log" 2>/dev/null
  fi
  logs+=("$log")
done
echo "logs: ${#logs[@]} of $(du -m "${logs[0]}" | cut -f1) MB each"
cd "$work"
t0=$(date +%s.%N)
"$build/src/cli/vnx-check" --qc --json --jobs 1 --csv "$work/seq.csv" "${logs[@]}" > /dev/null || true
t1=$(date +%s.%N)
"$build/src/cli/vnx-check" --qc --json --jobs 2 --csv "$work/par.csv" "${logs[@]}" > /dev/null || true
t2=$(date +%s.%N)
cmp -s "$work/seq.csv" "$work/par.csv" && echo "CSV of both runs identical" || echo "CSV DIFFERS"
awk -v a="$t0" -v b="$t1" -v c="$t2" 'BEGIN {
  printf "one after another  %.2f s\n--jobs 2           %.2f s\nratio              %.2f\n", b - a, c - b, (c - b) / (b - a) }'
