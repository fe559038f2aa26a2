#!/bin/sh
# The short solver's cache file: whatever state the file or its folder is in,
# the answers are the same as with a whole cache, and a damaged or missing
# file is written anew. Each case but the first computes the tables (seconds).
# usage: test_short_cache.sh ZELVORS_SOLVE all|corrupt
#   ZELVORS_CACHE_DIR names a folder holding a whole cache (the tests' own).
set -u
tool=$1
cases=$2
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
. "$(dirname "$0")/../support/checks.sh"
good=$ZELVORS_CACHE_DIR/short-solver-tables.bin
name=short-solver-tables.bin

# A few cubes and their answers with the whole cache.
"$tool" --shuffle 6 > "$tmp/cubes"
echo 111111111222222222333333333444444444555555555666666666 >> "$tmp/cubes"
"$tool" --method short < "$tmp/cubes" > "$tmp/expected"
[ "$(cut -f1 "$tmp/expected" | sort -u)" = 0 ]; check "the cubes are solved with the whole cache" $?

# solve_in FOLDER: the answers with ZELVORS_CACHE_DIR=FOLDER, compared.
solve_in() {
    ZELVORS_CACHE_DIR=$1 "$tool" --method short < "$tmp/cubes" > "$tmp/actual"
    status=$?
    [ "$status" -eq 0 ] && cmp -s "$tmp/expected" "$tmp/actual"
}

# A flipped byte in the middle of the tables: refused, computed, written anew.
mkdir "$tmp/corrupt"
cp "$good" "$tmp/corrupt/$name"
size=$(wc -c < "$good")
printf '\377' | dd of="$tmp/corrupt/$name" bs=1 seek=$((size / 2)) conv=notrunc 2> /dev/null
cmp -s "$good" "$tmp/corrupt/$name"; [ $? -ne 0 ]; check "the copy is damaged" $?
solve_in "$tmp/corrupt"; check "a corrupted cache gives the same answers" $?
cmp -s "$good" "$tmp/corrupt/$name"; check "a corrupted cache is written anew" $?
[ "$cases" = all ] || { checks_summary; exit $?; }

# Missing: the folder is made and the file written.
solve_in "$tmp/missing/cache"; check "a missing cache gives the same answers" $?
cmp -s "$good" "$tmp/missing/cache/$name"; check "a missing cache is written" $?
# Read back: the same answers, the file untouched.
touch -d '2001-01-01' "$tmp/missing/cache/$name"
solve_in "$tmp/missing/cache"; check "a written cache gives the same answers" $?
[ -z "$(find "$tmp/missing/cache/$name" -newer "$tmp/cubes")" ]; check "a whole cache is only read" $?

# Truncated: at half, and one byte short.
for keep in $((size / 2)) $((size - 1)); do
    mkdir "$tmp/short$keep"
    head -c "$keep" "$good" > "$tmp/short$keep/$name"
    solve_in "$tmp/short$keep"; check "a cache cut to $keep bytes gives the same answers" $?
    cmp -s "$good" "$tmp/short$keep/$name"; check "a cache cut to $keep bytes is written anew" $?
done

# Unwritable: the folder is a file, the file is a folder, the folder is read-only.
echo not a folder > "$tmp/file"
solve_in "$tmp/file"; check "a cache folder that is a file gives the same answers" $?
mkdir -p "$tmp/dir/$name"
solve_in "$tmp/dir"; check "a cache file that is a folder gives the same answers" $?
mkdir "$tmp/readonly"
chmod a-w "$tmp/readonly"
if ! touch "$tmp/readonly/probe" 2> /dev/null; then
    solve_in "$tmp/readonly"; check "a read-only cache folder gives the same answers" $?
    [ -z "$(ls -A "$tmp/readonly")" ]; check "a read-only cache folder stays empty" $?
fi

# Not a regular file: a FIFO, a link to one. Neither is waited on; each is
# replaced by a whole file. Beside the FIFO, the temporary file of a writer
# killed while writing: the write removes it.
mkdir "$tmp/fifo" "$tmp/fifolink"
mkfifo "$tmp/fifo/$name" "$tmp/fifo.target"
ln -s "$tmp/fifo.target" "$tmp/fifolink/$name"
head -c 1000 "$good" > "$tmp/fifo/$name.0123456789abcdef-0.tmp"
for kind in fifo fifolink; do
    ZELVORS_CACHE_DIR=$tmp/$kind timeout 300 "$tool" --method short < "$tmp/cubes" > "$tmp/actual"
    status=$?
    [ "$status" -eq 0 ] && cmp -s "$tmp/expected" "$tmp/actual"
    check "a cache path that is a $kind gives the same answers at once" $?
done
[ -f "$tmp/fifo/$name" ] && cmp -s "$good" "$tmp/fifo/$name"; check "a FIFO at the cache path is replaced by the tables" $?
[ "$(ls -A "$tmp/fifo")" = "$name" ]; check "the dead writer's temporary file is removed" $?
checks_summary
