#!/bin/sh
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs them side by side for SECONDS (default
# 60). New inputs go to build/fuzz/corpus; the committed seeds are read, never
# written.
# An input that fails is written as build/fuzz/crash-*: keep it under
# tests/fuzz/regressions/<target>/ so the ordinary suite replays it for ever.
set -e
cd "$(dirname "$0")/.."
. scripts/deps.sh
zelvors_install_deps clang libclang-rt-14-dev
seconds=${1:-60}

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -g -O1"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZELVORS_BUILD_GUI=OFF -DZELVORS_BUILD_BENCH=OFF -DZELVORS_BUILD_FUZZ=ON -DCMAKE_UNITY_BUILD=ON \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build build/fuzz -j "${JOBS:-2}" --target fuzz_config fuzz_moves

# The targets side by side, one a core; their summaries shown in turn.
fuzz_one() {
    target=$1
    mkdir -p "build/fuzz/corpus/$target"
    build/fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix=build/fuzz/ "build/fuzz/corpus/$target" "tests/fuzz/corpus/$target" \
        > "build/fuzz/$target.log" 2>&1 || true
}
for target in config moves; do
    fuzz_one $target &
done
wait
for target in config moves; do
    echo "== fuzz_$target for ${seconds}s"
    grep -E "^#[0-9]+ +(INITED|DONE)|^stat::(number_of_executed_units|average_exec_per_sec)|property|ERROR|SUMMARY" \
        "build/fuzz/$target.log" || true
    # The grep above hides the log; the fuzzer's own status decides.
    build/fuzz/tests/fuzz/fuzz_$target -runs=0 "build/fuzz/corpus/$target" >/dev/null 2>&1 ||
        { echo "fuzz_$target: a corpus input fails"; exit 1; }
done
if ls build/fuzz/crash-* build/fuzz/leak-* build/fuzz/timeout-* >/dev/null 2>&1; then
    echo "fuzzing found failing inputs:"; ls build/fuzz/crash-* build/fuzz/leak-* build/fuzz/timeout-* 2>/dev/null
    exit 1
fi
