#!/usr/bin/env bash
# Installs what is missing, builds, checks the bundled sample log with vnx-check and starts
# the viewer on it, scanned. Without a display, run it as:  xvfb-run -a ./scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j"${JOBS:-2}" --target vnx-check vnx-viewer
status=0
./build/release/src/cli/vnx-check examples/sample.vnx || status=$?
echo "vnx-check exit status: $status (0 no errors, 1 errors found, 2 not scanned)"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: the viewer needs one. Run  xvfb-run -a ./scripts/run.sh  or start"
  echo "  ./build/release/src/app/vnx-viewer examples/sample.vnx  on a desktop."
  exit 0
fi
exec ./build/release/src/app/vnx-viewer examples/sample.vnx
