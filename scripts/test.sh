#!/bin/sh
# Builds everything and runs the whole test suite; then the whole suite again,
# GUI tests included, under AddressSanitizer and UndefinedBehaviorSanitizer;
# then each fuzz target for a bounded time (FUZZ_SECONDS, default 60).
set -e
cd "$(dirname "$0")/.."
. scripts/deps.sh
zelvors_install_deps clang libclang-rt-14-dev

jobs=${JOBS:-2}
# How long each part took, so that a slow one shows in the log.
start=$(date +%s)
took() { echo "== $1 done, $(($(date +%s) - start)) s since the start"; }

# Both builds keep line tables only (-g1): stacks and reports still name
# files and lines, and the builds take about a quarter less time. They also
# compile each target's sources as one (a unity build), a third less time
# again; a plain build is what the quick start makes.
unity=-DCMAKE_UNITY_BUILD=ON
# The dialog's endurance run takes half its usual cycles (about two minutes
# instead of four; memory growth is still judged).
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" $unity \
    -DZELVORS_ENDURANCE_GUI_CYCLES=100
cmake --build build/test -j "$jobs"
took "build"
ctest --test-dir build/test --output-on-failure -j "$jobs"
took "suite"

# The sanitizer build. It reads the short solver's tables that the first
# build's tests computed (the same file; computing them here takes long).
# Mesa's software driver is loaded for the whole run: unloaded at exit, it
# would hide the owners of its own static allocations from LeakSanitizer,
# which then reports them as leaks of an unknown module.
# -O1 keeps the reports' stacks and runs the suite much faster than no
# optimisation; asserts stay on (a Debug build). It is compiled by clang, a
# fifth faster than gcc here, so that the run has both compilers' errors and
# warnings.
san="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
dri=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -1)
CC=clang CXX=clang++ cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 $unity \
    -DZELVORS_BUILD_BENCH=OFF -DZELVORS_PACKAGE_TEST=OFF \
    -DCMAKE_CXX_FLAGS="$san -O1" -DCMAKE_EXE_LINKER_FLAGS="$san" \
    -DZELVORS_DIAGNOSIS_CASES=300 -DZELVORS_SCAN_CASES=500 \
    -DZELVORS_GUI_TEST_ENV="${dri:+LD_PRELOAD=$dri}" \
    -DZELVORS_ENDURANCE_CORE_CYCLES=1000 \
    -DZELVORS_ENDURANCE_MAX_GROWTH_MIB=0 -DZELVORS_SHORT_CUBES=100 \
    -DZELVORS_TEST_CACHE="$(pwd)/build/test/test-cache" -DZELVORS_CACHE_CASES=corrupt
cmake --build build/asan -j "$jobs"
took "sanitizer build"
# Three tests of the first suite are left out here. The dialog's endurance
# run: its cycles are the dialog tests' commands again, which run here with
# LeakSanitizer on. The two runs of the program that find its cache folder
# by XDG_CACHE_HOME and by no HOME: they choose a path, and then compute the
# tables (a minute each here), as the cache tests here do.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0 \
UBSAN_OPTIONS=print_stacktrace=1 \
LSAN_OPTIONS=suppressions=$(pwd)/tests/sanitizers/lsan.supp \
    ctest --test-dir build/asan --output-on-failure -j "$jobs" \
    -E '^(endurance_gui|short_solve_app_cache_in_xdg_cache_home|short_solve_app_no_cache_without_home)$'
took "sanitizer suite"

sh scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
took "fuzzing"
