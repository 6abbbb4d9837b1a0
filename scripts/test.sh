#!/usr/bin/env bash
# Runs every test twice: a normal build, and one under AddressSanitizer and
# UndefinedBehaviorSanitizer (any sanitizer report fails the run). The normal build is also
# packed as a Debian package, which is installed and checked (scripts/package-test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs="${JOBS:-2}"

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVNX_WERROR=ON
cmake --build build/release -j"$jobs"
ctest --test-dir build/release -j"$jobs" --output-on-failure
# The Debian package of the same build: made, checked, installed and run.
./scripts/package-test.sh build/release

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DVNX_SANITIZE=ON -DVNX_WERROR=ON
cmake --build build/sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize -j"$jobs" --output-on-failure
