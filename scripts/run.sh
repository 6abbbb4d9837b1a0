#!/usr/bin/env bash
# Installs what is missing, builds, and checks the bundled sample log with vnx-check.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j"${JOBS:-2}" --target vnx-check
status=0
./build/release/src/cli/vnx-check "${1:-examples/sample.vnx}" || status=$?
echo "vnx-check exit status: $status (0 no errors, 1 errors found, 2 not scanned)"
