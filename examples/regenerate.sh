#!/usr/bin/env bash
# Rebuilds the sample logs from the real RINEX files in tests/data/real (see SOURCES.md there):
#   sample.vnx          one hour of OPEC, 2022-01-01 00:00-01:00 GPS, 5 s epochs, GPS + GLONASS
#                       + Galileo, external events and PPS offsets
#   sample-damaged.vnx  the same with injected faults; sample-damaged.vnx.faults lists them
#   sample-10min.vnx    the first ten minutes of sample.vnx (the same command, --hours 0.1666)
#   sample-10min.obs, sample-10min.nav                  its RINEX 3.04 export (vnx-rinex)
#   sample-10min.22o, sample-10min.22n, sample-10min.22g  its RINEX 2.11 export
# Set VNX_SYNTH and VNX_RINEX to built programs; otherwise they are built in ./build.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
synth="${VNX_SYNTH:-$root/build/src/tools/vnx-synth}"
rinex="${VNX_RINEX:-$root/build/src/cli/vnx-rinex}"
if [ ! -x "$synth" ] || [ ! -x "$rinex" ]; then
  cmake -S "$root" -B "$root/build"
  cmake --build "$root/build" --target vnx-synth vnx-rinex -j2
fi
data="$root/tests/data/real"
common=(--obs "$data/OPEC00NOR_S_20220010000_01D_30S_MO_3.04_croped.rnx"
        --nav "$data/OPEC00NOR_S_20220010000_01D_GN.rnx"
        --gnav "$data/OPEC00NOR_S_20220010000_01D_RN.rnx"
        --rate 0.2 --events)
"$synth" "${common[@]}" --hours 1 --out "$here/sample.vnx"
"$synth" "${common[@]}" --hours 1 --damage 1 --out "$here/sample-damaged.vnx" 2>/dev/null
echo "faults of sample-damaged.vnx:"
cat "$here/sample-damaged.vnx.faults"
"$synth" "${common[@]}" --hours 0.1666 --out "$here/sample-10min.vnx"
# The creation date in the RINEX headers is the log's first day, so the exports do not change
# from one run to the next.
SOURCE_DATE_EPOCH=1640995200 "$rinex" "$here/sample-10min.vnx" >/dev/null
SOURCE_DATE_EPOCH=1640995200 "$rinex" --version 2.11 "$here/sample-10min.vnx" >/dev/null
