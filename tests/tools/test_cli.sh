#!/bin/sh
# Exercises zelvors-solve as a user would: the three forms, bad input, exit codes.
# usage: test_cli.sh ZELVORS_SOLVE GOLDEN_FILE
set -u
tool=$1
golden=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
passes=0

check() { # name, condition result
    if [ "$2" -eq 0 ]; then
        passes=$((passes + 1))
    else
        echo "FAILED: $1"
        failures=$((failures + 1))
    fi
}

solved=111111111222222222333333333444444444555555555666666666

# The first scrambles after start-up and their solutions never change.
n=$(wc -l < "$golden")
"$tool" --shuffle "$n" > "$tmp/cfg"
cut -f1 "$golden" | cmp -s - "$tmp/cfg"; check "--shuffle reproduces the first scrambles" $?
"$tool" < "$tmp/cfg" > "$tmp/res"
cut -f2- "$golden" | cmp -s - "$tmp/res"; check "solutions match the golden file" $?

# Every solution solves its cube.
ok=0
while IFS="$(printf '\t')" read -r cfg code moves; do
    out=$(printf '%s\n' "$cfg" | "$tool" --apply "$moves")
    [ "$code" = 0 ] && [ "$out" = "$solved" ] || ok=1
done < "$golden"
check "every golden solution solves its cube" $ok

# Blank lines and surrounding white space are ignored.
printf '\n   %s  \n\n' "$solved" | "$tool" > "$tmp/out"; rc=$?
[ $rc -eq 0 ] && [ "$(cat "$tmp/out")" = "$(printf '0\t')" ]; check "solved cube, padded" $?

# Bad lines are reported by number; the others are still answered.
printf '%s\n12345\n1111111112222222223333333334444444445555555556666666x6\n%s\n' "$solved" "$solved" > "$tmp/in"
"$tool" < "$tmp/in" > "$tmp/out" 2> "$tmp/err"; rc=$?
[ $rc -eq 1 ]; check "bad input exits 1" $?
[ "$(wc -l < "$tmp/out")" -eq 2 ]; check "good lines still answered" $?
grep -q 'line 2' "$tmp/err" && grep -q 'line 3' "$tmp/err"; check "messages name the lines" $?
grep -q 'character 53' "$tmp/err"; check "message says what is wrong" $?

# Unsolvable and malformed configurations.
printf '%s\n' 111111111222222222333333233444444444555555555666666666 | "$tool" > "$tmp/out"
[ "$(cut -f1 "$tmp/out")" = 2 ]; check "repainted sticker is unsolvable" $?
printf '%s\n' 000000000000000000000000000000000000000000000000000000 | "$tool" > "$tmp/out"
[ "$(cut -f1 "$tmp/out")" = 1 ]; check "blank cube is no set of cubelets" $?

# --apply.
printf '%s\n' "$solved" | "$tool" --apply 'F+.F-.C^.Cv.' > "$tmp/out"
[ "$(cat "$tmp/out")" = "$solved" ]; check "--apply of moves and their inverses" $?

# Command line.
"$tool" --help > "$tmp/out" 2>&1; rc=$?
[ $rc -eq 0 ] && grep -q usage "$tmp/out"; check "--help" $?
for args in "--bogus" "--shuffle" "--shuffle x" "--shuffle -1" "--apply" "--apply a b"; do
    # shellcheck disable=SC2086
    "$tool" $args < /dev/null > /dev/null 2> "$tmp/err"; rc=$?
    [ $rc -eq 2 ] && grep -q usage "$tmp/err"; check "bad command line: $args" $?
done

# --method short: the first cubes of the golden file in at most 20 moves (or
# the bound given), solutions that solve. A few only: the sanitizer build is slow.
cut -f1 "$golden" | head -n 12 > "$tmp/cfg"
"$tool" --method lbl < "$tmp/cfg" > "$tmp/lbl"
"$tool" < "$tmp/cfg" | cmp -s - "$tmp/lbl"; check "--method lbl is the default" $?
for bound in "" 20 25 30; do
    if [ -n "$bound" ]; then
        "$tool" --method short --max-length "$bound" < "$tmp/cfg" > "$tmp/short"; rc=$?
    else
        bound=20
        "$tool" --method short < "$tmp/cfg" > "$tmp/short"; rc=$?
    fi
    [ $rc -eq 0 ] && [ "$(wc -l < "$tmp/short")" -eq "$(wc -l < "$tmp/cfg")" ]
    check "--method short --max-length $bound answers every line" $?
    ok=0
    paste "$tmp/cfg" "$tmp/short" > "$tmp/pairs"
    while IFS="$(printf '\t')" read -r cfg code moves; do
        out=$(printf '%s\n' "$cfg" | "$tool" --apply "$moves")
        [ "$code" = 0 ] && [ "$out" = "$solved" ] && [ $((${#moves} / 3)) -le "$bound" ] || ok=1
    done < "$tmp/pairs"
    check "--method short --max-length $bound solves within the bound" $ok
done
printf '%s\n%s\n%s\n' "$solved" 111111111222222222333333233444444444555555555666666666 \
    000000000000000000000000000000000000000000000000000000 |
    "$tool" --max-length 22 --method short > "$tmp/out"
[ "$(cat "$tmp/out")" = "$(printf '0\t\n2\t\n1\t')" ]; check "--method short: solved, unsolvable, no cubelets" $?
for args in "--method" "--method x" "--method short --max-length 19" "--method short --max-length 31" \
            "--method short --max-length abc" "--max-length" "--max-length 20x" "--method short --bogus 1"; do
    # shellcheck disable=SC2086
    "$tool" $args < /dev/null > /dev/null 2> "$tmp/err"; rc=$?
    [ $rc -eq 2 ] && grep -q usage "$tmp/err"; check "bad command line: $args" $?
done

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
