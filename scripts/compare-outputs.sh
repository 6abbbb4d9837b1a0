#!/usr/bin/env bash
# Runs two vnx-check binaries on the same logs and compares everything they print and every
# working file they leave behind, byte for byte. The structured error entries that only the
# newer binary may print in --json ("error_entries") are left out of the JSON comparison.
#   scripts/compare-outputs.sh OLD_VNX_CHECK NEW_VNX_CHECK [SYNTH]
# SYNTH (default: vnx-synth beside NEW_VNX_CHECK) makes the multi-antenna log and the 24 h log
# once; they are kept in $VNX_COMPARE_DIR (default build/compare) for later runs.
set -uo pipefail
cd "$(dirname "$0")/.."
old=$(realpath "$1")
new=$(realpath "$2")
synth=$(realpath "${3:-$(dirname "$new")/../tools/vnx-synth}" 2>/dev/null || true)
out=${VNX_COMPARE_DIR:-build/compare}
mkdir -p "$out/logs"
real=tests/data/real

make_log() {  # NAME ARGS...
  local name=$1
  shift
  [ -s "$out/logs/$name" ] && return 0
  if [ ! -x "$synth" ]; then
    echo "no vnx-synth at '$synth' to make $name" >&2
    exit 2
  fi
  "$synth" "$@" --out "$out/logs/$name" 2>/dev/null >/dev/null || {
    echo "vnx-synth failed for $name" >&2
    exit 2
  }
}
make_log multi.vnx --obs $real/pdel0010.21o --nav $real/cbw10010.21n --gnav $real/dlf10010.21g \
  --antennas 3 --attitude --events --gt
make_log day.vnx --obs $real/OPEC00NOR_S_20220010000_01D_30S_MO_3.04_croped.rnx \
  --nav $real/OPEC00NOR_S_20220010000_01D_GN.rnx --gnav $real/OPEC00NOR_S_20220010000_01D_RN.rnx \
  --hours 24 --rate 1

failures=0
cases=0

# run BINARY SIDE CASE ARGS...: output, standard error, exit status and the working files.
run() {
  local bin=$1 side=$2 name=$3
  shift 3
  local dir="$out/$name/$side"
  rm -rf "$dir"
  mkdir -p "$dir/work"
  (cd "$dir" && "$bin" --workdir work "$@" >stdout 2>stderr
    echo $? >status)
}

compare() {  # NAME JSON(0/1)
  local name=$1 json=$2 a="$out/$1/old" b="$out/$1/new" f ok=1
  cases=$((cases + 1))
  if [ "$json" = 1 ]; then
    jq -S 'del(.error_entries)' "$b/stdout" >"$b/stdout.cmp" 2>/dev/null || cp "$b/stdout" "$b/stdout.cmp"
    jq -S . "$a/stdout" >"$a/stdout.cmp" 2>/dev/null || cp "$a/stdout" "$a/stdout.cmp"
  else
    cp "$a/stdout" "$a/stdout.cmp"
    cp "$b/stdout" "$b/stdout.cmp"
  fi
  for f in stdout.cmp stderr status; do
    cmp -s "$a/$f" "$b/$f" || { echo "DIFF $name: $f"; ok=0; }
  done
  if ! diff -rq "$a/work" "$b/work" >/dev/null; then
    diff -rq "$a/work" "$b/work" | sed "s|^|DIFF $name: |"
    ok=0
  fi
  local files
  files=$(find "$a/work" -type f | wc -l)
  if [ $ok = 1 ]; then
    echo "same $name ($files working files)"
    rm -rf "${out:?}/$name"
  else
    failures=$((failures + 1))
  fi
}

check() {  # NAME JSON LOG ARGS...
  local name=$1 json=$2 log=$3
  shift 3
  run "$old" old "$name" "$@" "$(realpath "$log")"
  run "$new" new "$name" "$@" "$(realpath "$log")"
  compare "$name" "$json"
}

for log in examples/sample.vnx examples/sample-damaged.vnx "$out/logs/multi.vnx"; do
  b=$(basename "$log" .vnx)
  check "$b-text" 0 "$log"
  check "$b-epochs" 0 "$log" --epochs
  check "$b-json" 1 "$log" --json --epochs
  check "$b-ephemerides" 0 "$log" --ephemerides
  check "$b-ephemerides-json" 1 "$log" --ephemerides --json
  check "$b-ephemeris-G" 0 "$log" --ephemeris G8:1
  check "$b-ephemeris-R" 1 "$log" --ephemeris R1:1 --json
done
check multi-antenna-A 1 "$out/logs/multi.vnx" --antenna A --json --epochs
check multi-antenna-B 0 "$out/logs/multi.vnx" --antenna B --epochs
check day-text 0 "$out/logs/day.vnx" --epochs
check day-json 1 "$out/logs/day.vnx" --json
check day-ephemerides 0 "$out/logs/day.vnx" --ephemerides
check day-ephemeris-G 1 "$out/logs/day.vnx" --ephemeris G5:3 --json
check day-ephemeris-R 0 "$out/logs/day.vnx" --ephemeris R3:2

echo "$((cases - failures)) passed, $failures failed"
[ $failures = 0 ]
