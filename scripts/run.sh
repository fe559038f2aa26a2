#!/bin/sh
# Builds the program and runs it. Until the desktop program exists this runs
# the command-line solver's help.
set -e
cd "$(dirname "$0")/.."
. scripts/deps.sh
zelvors_install_deps

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZELVORS_BUILD_TESTS=OFF -DZELVORS_BUILD_BENCH=OFF
cmake --build build/release -j "${JOBS:-2}"
exec build/release/tools/zelvors-solve --help
