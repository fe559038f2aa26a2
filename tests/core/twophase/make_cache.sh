#!/bin/sh
# Makes the short solver's table cache that the other tests then read, so that
# the tables are computed once per test folder rather than once per process.
# usage: make_cache.sh ZELVORS_SOLVE   (ZELVORS_CACHE_DIR names the folder)
set -eu
echo 111111111222222222333333333444444444555555555666666666 | "$1" --method short > /dev/null
test -s "$ZELVORS_CACHE_DIR/short-solver-tables.bin"
