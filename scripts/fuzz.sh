#!/usr/bin/env bash
# fuzz.sh smoke [TARGET...]   builds the libFuzzer targets with clang into build-fuzz
#                             (AddressSanitizer + UndefinedBehaviorSanitizer, assertions
#                             on) and runs each from its seed corpus for FUZZ_SECONDS
#                             (default 20) seconds, with a fixed seed so that CI
#                             explores the same inputs each time.
# fuzz.sh long N [TARGET...]  the same build, then each target for N executions,
#                             shared among FUZZ_WORKERS (default 1) processes with
#                             seeds 1, 2, ... that add to one corpus.
# fuzz.sh merge [TARGET...]   adds to fuzz/corpus/<target> the inputs of
#                             build-fuzz/corpus/<target> that reach code or
#                             features the committed corpus does not, so that
#                             CI and later campaigns start from there.
#
# FUZZ_SANITIZE=undefined builds into build-fuzz/undefined without
# AddressSanitizer, for more executions a second where a campaign needs them.
#
# Seeds are read from fuzz/corpus/<target>; what the fuzzer adds goes to
# build-fuzz/corpus/<target>, so the committed seeds stay as they are. A crash
# or a broken property is saved under build-fuzz/crashes/<target>/ and fails
# the script: copy the input to fuzz/regressions/<target>/ once it is fixed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sanitize=${FUZZ_SANITIZE:-address,undefined}
build=$root/build-fuzz
[ "$sanitize" = address,undefined ] || build=$root/build-fuzz/${sanitize//,/-}

mode=${1:-smoke}
case $mode in
  smoke) limit=(-seed=1 -max_total_time="${FUZZ_SECONDS:-20}"); shift $(( $# > 0 ? 1 : 0 )) ;;
  long)  [ $# -ge 2 ] || { echo "usage: fuzz.sh long N [TARGET...]" >&2; exit 2; }
         workers=${FUZZ_WORKERS:-1}
         limit=(-runs=$(( ($2 + workers - 1) / workers ))); shift 2 ;;
  merge) limit=(-merge=1); shift ;;
  *)     echo "usage: fuzz.sh smoke|long N|merge [TARGET...]" >&2; exit 2 ;;
esac
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_script_engine fuzz_region_bytes fuzz_picture_trace fuzz_bmp_decode
                                  fuzz_dorvik_grade fuzz_character_store)

# Inputs stay small so that executions stay fast; a region file or a picture
# of this size already holds dozens of lines or a full palette; the seed
# sets of the character store are at most 4 KB.
declare -A max_len=([fuzz_script_engine]=1024 [fuzz_region_bytes]=4096
                    [fuzz_picture_trace]=4096 [fuzz_bmp_decode]=4096
                    [fuzz_dorvik_grade]=512 [fuzz_character_store]=8192)

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" \
  -DZEP_FUZZ=ON -DZEP_SANITIZE="$sanitize" \
  -DZEP_BUILD_TESTS=OFF -DZEP_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"

# One input frees far less than a 16 MiB quarantine holds, so a use after
# free within an input is still caught, and the memory that is handed out
# again stays warm: with the default 256 MiB a region campaign ran at a third
# of its speed after twenty minutes.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=16
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Without AddressSanitizer, the C library keeps freed frames for reuse.
export GLIBC_TUNABLES=glibc.malloc.trim_threshold=1073741824:glibc.malloc.mmap_threshold=1073741824
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t" "$build/crashes/$t" "$build/logs"
  dict=()
  [ -f "$root/fuzz/$t.dict" ] && dict=(-dict="$root/fuzz/$t.dict")
  echo "== $t"
  status=0
  # The fuzzer adds to the first folder. Past finds are replayed too, under
  # the fuzzer's own time and memory limits.
  if [ "$mode" = merge ]; then
    folders=("$root/fuzz/corpus/$t" "$build/corpus/$t")
  else
    folders=("$build/corpus/$t" "$root/fuzz/corpus/$t")
    [ -d "$root/fuzz/regressions/$t" ] && folders+=("$root/fuzz/regressions/$t")
  fi
  logs=("$build/logs/$t.$mode.log")
  if [ "$mode" = long ] && [ "$workers" -gt 1 ]; then
    logs=()
    for (( w = 1; w <= workers; ++w )); do logs+=("$build/logs/$t.$mode.worker$w.log"); done
  fi
  pids=()
  for (( w = 1; w <= ${#logs[@]}; ++w )); do
    seed=()
    [ "$mode" = long ] && seed=(-seed="$w")
    "$build/fuzz/$t" "${limit[@]}" "${seed[@]}" "${dict[@]}" -max_len="${max_len[$t]}" -timeout=20 \
      -print_final_stats=1 -artifact_prefix="$build/crashes/$t/" \
      "${folders[@]}" >"${logs[w - 1]}" 2>&1 &
    pids+=($!)
  done
  for (( w = 0; w < ${#pids[@]}; ++w )); do
    wait "${pids[w]}" && continue
    status=1
    tail -n 60 "${logs[w]}" >&2
  done
  for log in "${logs[@]}"; do
    grep -E "^(Done [0-9]+ runs|stat::number_of_executed_units|stat::peak_rss_mb|MERGE-OUTER: [0-9]+ new)" "$log" || true
  done
  if [ "$status" -ne 0 ]; then
    echo "$t failed; the input is in $build/crashes/$t/" >&2
    exit 1
  fi
done
