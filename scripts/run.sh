#!/bin/sh
# Builds the desktop program and starts it.
set -e
cd "$(dirname "$0")/.."
. scripts/deps.sh
zelvors_install_deps

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZELVORS_BUILD_TESTS=OFF -DZELVORS_BUILD_BENCH=OFF
cmake --build build/release -j "${JOBS:-2}" --target ZelvorsCube
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
    echo "Built build/release/app/ZelvorsCube, but there is no display to show it on" >&2
    echo "(neither DISPLAY nor WAYLAND_DISPLAY is set). On a headless machine try:" >&2
    echo "  xvfb-run -a build/release/app/ZelvorsCube" >&2
    exit 1
fi
exec build/release/app/ZelvorsCube
