#!/usr/bin/env bash
# coverage.sh: builds the suite with gcc --coverage into build-cov, runs the
# test suite there, and prints the line coverage of the programs' own code
# (the window shells, tools/, tests, benchmarks and fuzz targets left out).
# The annotated report is build-cov/coverage/index.html.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-cov
bash "$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage \
  -DZEP_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2
# Counts add up across runs; start from zero.
find "$build" -name '*.gcda' -delete
# The window tests drive the shells, which are not measured; they run in the
# normal builds.
ctest --test-dir "$build" -j2 -LE gui --output-on-failure

mkdir -p "$build/coverage"
cd "$root"
gcovr --root "$root" --object-directory "$build" --exclude-directories "$build/CMakeFiles" \
  --exclude "$root/tests/" --exclude "$root/bench/" --exclude "$root/fuzz/" --exclude "$root/tools/" \
  --exclude "$root/apps/zepplayer/shell_qt/" --exclude "$root/apps/zepplayer/shell_win32/" --exclude "$build/" \
  --html-details "$build/coverage/index.html" --print-summary --sort-percentage \
  --txt "$build/coverage/summary.txt"
cat "$build/coverage/summary.txt"
