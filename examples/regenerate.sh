#!/usr/bin/env bash
# Rebuilds the sample logs from the real RINEX files in tests/data/real (see SOURCES.md there):
#   sample.vnx          one hour of OPEC, 2022-01-01 00:00-01:00 GPS, 5 s epochs, GPS + GLONASS
#                       + Galileo, external events and PPS offsets
#   sample-damaged.vnx  the same with injected faults; sample-damaged.vnx.faults lists them
# Set VNX_SYNTH to a built vnx-synth; otherwise it is built in ./build.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
synth="${VNX_SYNTH:-$root/build/src/tools/vnx-synth}"
if [ ! -x "$synth" ]; then
  cmake -S "$root" -B "$root/build"
  cmake --build "$root/build" --target vnx-synth -j2
fi
data="$root/tests/data/real"
common=(--obs "$data/OPEC00NOR_S_20220010000_01D_30S_MO_3.04_croped.rnx"
        --nav "$data/OPEC00NOR_S_20220010000_01D_GN.rnx"
        --gnav "$data/OPEC00NOR_S_20220010000_01D_RN.rnx"
        --hours 1 --rate 0.2 --events)
"$synth" "${common[@]}" --out "$here/sample.vnx"
"$synth" "${common[@]}" --damage 1 --out "$here/sample-damaged.vnx" 2>/dev/null
echo "faults of sample-damaged.vnx:"
cat "$here/sample-damaged.vnx.faults"
