#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in ./build-fuzz and runs one of them:
#   fuzz/run.sh <name> [executions] [extra libFuzzer options...]
# <name> is a fuzz_<name>.cpp of this folder. The kept inputs in tests/fuzz/<name>/ seed the
# run; new inputs collect in build-fuzz/corpus/<name>/, and an input that crashes lands in
# build-fuzz/artifacts/<name>/: copy it to tests/fuzz/<name>/ with the fix, so ctest replays it.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
NAME="${1:?fuzz target name}"
RUNS="${2:-1000000}"
shift $(( $# >= 2 ? 2 : 1 ))
BUILD="$ROOT/build-fuzz"

export CCACHE_BASEDIR="$ROOT"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja --log-level=WARNING \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_FUZZ=ON -DVANTREL_WERROR=OFF \
    -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_BENCH=OFF
cmake --build "$BUILD" --parallel "$(nproc)" --target "fuzz_$NAME"

mkdir -p "$BUILD/corpus/$NAME" "$BUILD/artifacts/$NAME" "$ROOT/tests/fuzz/$NAME"
# Huge allocations fail as the engine's Out of memory instead of ending the run.
export ASAN_OPTIONS="${ASAN_OPTIONS:-allocator_may_return_null=1:max_allocation_size_mb=512:detect_leaks=1}"
export QT_QPA_PLATFORM=offscreen
DICT=()
case "$NAME" in vbscript_parse|vbscript_run) DICT=(-dict="$ROOT/fuzz/vbscript.dict") ;; esac
"$BUILD/fuzz/fuzz_$NAME" -runs="$RUNS" -max_len=4096 -timeout=10 -rss_limit_mb=4096 \
    -malloc_limit_mb=1024 -artifact_prefix="$BUILD/artifacts/$NAME/" -print_final_stats=1 "${DICT[@]}" "$@" \
    "$BUILD/corpus/$NAME" "$ROOT/tests/fuzz/$NAME"
