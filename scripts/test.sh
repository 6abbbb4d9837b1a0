#!/usr/bin/env bash
# Checks the formatting, then runs every test twice: a normal build, and one under
# AddressSanitizer and UndefinedBehaviorSanitizer (any sanitizer report fails the run). The normal build is also
# packed as a Debian package, which is installed and checked (scripts/package-test.sh). Then
# each fuzz target runs for FUZZ_SECONDS (60 by default, 0 skips them).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs="${JOBS:-2}"

# Every C++ file as clang-format makes it (.clang-format): a difference fails the run.
./scripts/check-format.sh

# Runs ctest in a build directory. In CI a skipped test is a failure: the machine is set up to
# run every test, so a skip means something it needs is missing.
run_tests() {
  local log="$1/ctest.log"
  shift
  "$@" 2>&1 | tee "$log"
  if [ "${CI:-}" = "true" ] && grep -q '\*\*\*Skipped' "$log"; then
    echo "Skipped tests count as failures in CI:" >&2
    grep '\*\*\*Skipped' "$log" >&2
    exit 1
  fi
}

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVNX_WERROR=ON
cmake --build build/release -j"$jobs"
run_tests build/release ctest --test-dir build/release -j"$jobs" --output-on-failure
# The Debian package of the same build: made, checked, installed and run.
./scripts/package-test.sh build/release

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DVNX_SANITIZE=ON -DVNX_WERROR=ON
cmake --build build/sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_tests build/sanitize ctest --test-dir build/sanitize -j"$jobs" --output-on-failure

if [ "${FUZZ_SECONDS:-60}" != 0 ]; then
  VNX_WERROR=ON ./scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
fi
