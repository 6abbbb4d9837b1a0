#!/usr/bin/env bash
# Fuzzing: builds the libFuzzer targets of tests/fuzz (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz and runs each for SECONDS (default 60) over the
# committed corpus and regression inputs, with the identifier dictionary.
#
#   ./scripts/fuzz.sh [SECONDS]   every target; exits non-zero on the first finding, whose input
#                                 is left in build/fuzz/findings/
#   ./scripts/fuzz.sh --seeds     rewrites the committed seed corpus (tests/fuzz/corpus/)
#
# FUZZ_ARGS adds libFuzzer options (for example -runs=N instead of a time).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${JOBS:-2}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

if [ "${1:-}" = "--seeds" ]; then
  # Per-identifier seeds made with our frame builder, and short logs made by vnx-synth.
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
  cmake --build build/release -j"$jobs" --target vnx-fuzz-seeds vnx-synth
  rm -rf tests/fuzz/corpus
  ./build/release/tests/vnx-fuzz-seeds tests/fuzz/corpus
  data=tests/data/real
  synth=(./build/release/src/tools/vnx-synth
         --obs "$data/OPEC00NOR_S_20220010000_01D_30S_MO_3.04_croped.rnx"
         --nav "$data/OPEC00NOR_S_20220010000_01D_GN.rnx"
         --gnav "$data/OPEC00NOR_S_20220010000_01D_RN.rnx" --hours 0.004 --rate 0.2)
  "${synth[@]}" --out tests/fuzz/corpus/check/synth-plain.vnx
  "${synth[@]}" --events --gt --out tests/fuzz/corpus/check/synth-events-gt.vnx
  "${synth[@]}" --attitude --antennas 2 --hours 0.002 --out tests/fuzz/corpus/check/synth-attitude.vnx
  # Damage as vnx-synth injects it (a log needs an hour for that): the file header and 8 KB
  # around the first stretch of garbage and the first bad checksum of the damaged sample.
  damaged=examples/sample-damaged.vnx
  for at in 333973 967841; do
    { head -c 92 "$damaged"
      dd if="$damaged" iflag=skip_bytes,count_bytes skip="$at" count=8000 status=none
    } > tests/fuzz/corpus/check/synth-damaged-"$at".vnx
  done
  ls -l tests/fuzz/corpus/check/synth-*
  exit 0
fi

seconds="${1:-60}"
werror=()
[ "${VNX_WERROR:-}" = "ON" ] && werror=(-DVNX_WERROR=ON)
cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVNX_FUZZ=ON -DVNX_BUILD_APP=OFF -DVNX_BUILD_TESTS=OFF "${launcher[@]}" "${werror[@]}" >/dev/null
cmake --build build/fuzz -j"$jobs" --target vnx-fuzz-check vnx-fuzz-dispatch vnx-fuzz-export

mkdir -p build/fuzz/findings
status=0
for target in check dispatch export; do
  work="build/fuzz/corpus-$target"
  mkdir -p "$work" tests/fuzz/regressions/"$target"
  # The export target takes logs as the whole-path target does: it starts from the same seeds.
  seeds="tests/fuzz/corpus/$target"
  [ "$target" = export ] && seeds=tests/fuzz/corpus/check
  echo "== vnx-fuzz-$target: $seconds s"
  # Longer logs only slow the search down: the synthetic seeds stay below 16 KiB.
  # shellcheck disable=SC2086
  if ! ./build/fuzz/tests/fuzz/vnx-fuzz-"$target" -max_total_time="$seconds" -max_len=16384 \
      -timeout=10 -rss_limit_mb=4096 -dict=tests/fuzz/vnx.dict -print_final_stats=1 \
      -artifact_prefix="build/fuzz/findings/$target-" ${FUZZ_ARGS:-} \
      "$work" "$seeds" tests/fuzz/regressions/"$target" \
      2> "build/fuzz/$target.log"; then
    tail -40 "build/fuzz/$target.log"
    echo "vnx-fuzz-$target found a fault: see build/fuzz/findings/; commit its input under" \
         "tests/fuzz/regressions/$target/ with the fix" >&2
    status=1
  fi
  grep -E "^(stat::|#[0-9]+[[:space:]]+DONE)" "build/fuzz/$target.log" || true
done
exit $status
