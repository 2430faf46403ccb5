#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite:
#   1. the normal build (build/), benchmarks compiled too, and a practice
#      session driven in the player's window under Xvfb (scripts/check-player.sh);
#   2. the same tests under AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/);
#   3. the same tests under ThreadSanitizer (build-tsan/);
#   4. a short run of every fuzzer from its seed corpus (build-fuzz/);
#   5. the Windows build under Wine (build-windows/, see scripts/test-windows.sh);
#   6. the .deb and the ZIP, made from build/ and build-windows/, and checked.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

# Window tests run on Qt's offscreen platform; they need no display.
export QT_QPA_PLATFORM=offscreen

echo "== normal build"
bash scripts/build.sh build
# The player checks below look kanji up in the imported set.
bash scripts/import-kanji.sh build --if-stale
ctest --test-dir build --output-on-failure -j2
echo "== the player's window under Xvfb: a practice session"
bash scripts/check-player.sh build

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug \
  -DZEP_SANITIZE=address,undefined -DZEP_BUILD_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j2

echo "== ThreadSanitizer"
bash scripts/build.sh build-tsan -DCMAKE_BUILD_TYPE=Debug \
  -DZEP_SANITIZE=thread -DZEP_BUILD_BENCHMARKS=OFF
ctest --test-dir build-tsan --output-on-failure -j2

echo "== fuzzing, briefly"
FUZZ_SECONDS=15 bash scripts/fuzz.sh smoke

bash scripts/test-windows.sh

echo "== packages"
bash scripts/package.sh
bash scripts/check-packages.sh
