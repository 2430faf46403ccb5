#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: the normal
# build, then the same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j2

# The sanitized build skips the benchmarks: they measure the normal build.
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug \
  -DZEP_SANITIZE=address,undefined -DZEP_BUILD_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j2
