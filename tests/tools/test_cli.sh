#!/bin/sh
# Exercises zelvors-solve as a user would: the three forms, bad input, exit codes.
# usage: test_cli.sh ZELVORS_SOLVE GOLDEN_FILE
set -u
tool=$1
golden=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
. "$(dirname "$0")/../support/checks.sh"

solved=111111111222222222333333333444444444555555555666666666

# The first scrambles after start-up and their solutions never change.
n=$(wc -l < "$golden")
"$tool" --shuffle "$n" > "$tmp/cfg"
cut -f1 "$golden" | cmp -s - "$tmp/cfg"; check "--shuffle reproduces the first scrambles" $?
"$tool" < "$tmp/cfg" > "$tmp/res"
cut -f2- "$golden" | cmp -s - "$tmp/res"; check "solutions match the golden file" $?

# The answers to the first 1,000 scrambles are the ones the solver has always
# given; with one edge flipped or one corner twisted each is unsolvable.
"$tool" --shuffle 1000 > "$tmp/many"
[ "$("$tool" < "$tmp/many" | cksum)" = "70091926 249606" ]; check "1,000 solutions unchanged" $?
all_unsolvable() { # name, sed script that damages each cube
    sed "$2" "$tmp/many" | "$tool" > "$tmp/res"
    [ "$(wc -l < "$tmp/res")" -eq 1000 ] && [ "$(sort -u "$tmp/res")" = "$(printf '2\t')" ]
    check "1,000 cubes with $1 are unsolvable" $?
}
# Facelets 7 and 10 are the top-front edge; 8, 11 and 18 the top-front-right corner.
all_unsolvable "a flipped edge" 's/^\(.\{7\}\)\(.\)\(..\)\(.\)/\1\4\3\2/'
all_unsolvable "a twisted corner" 's/^\(.\{8\}\)\(.\)\(..\)\(.\)\(.\{6\}\)\(.\)/\1\4\3\6\5\2/'

# Every solution solves its cube.
ok=0
while IFS="$(printf '\t')" read -r cfg code moves; do
    out=$(printf '%s\n' "$cfg" | "$tool" --apply "$moves")
    [ "$code" = 0 ] && [ "$out" = "$solved" ] || ok=1
done < "$golden"
check "every golden solution solves its cube" $ok

# Surrounding white space is ignored; an empty line gets an empty line.
printf '\n   %s  \n \t\n' "$solved" | "$tool" > "$tmp/out"; rc=$?
printf '\n0\t\n\n' > "$tmp/ref"
[ $rc -eq 0 ] && cmp -s "$tmp/out" "$tmp/ref"; check "solved cube, padded, between empty lines" $?

# A cube file is read as its one configuration: the comment lines, the
# fields among them, get no answer.
scrambled1=$(cut -f1 "$golden" | sed -n 1p)
printf '# zelvors-cube 1\n# a note\n\n  %s\n#: method lbl\n#: step 0\n' "$scrambled1" | "$tool" > "$tmp/out"; rc=$?
[ $rc -eq 0 ] && [ "$(cat "$tmp/out")" = "$(printf '\n%s\n' "$(sed -n 1p "$golden" | cut -f2-)")" ]
check "a cube file gets the answer of its cube (and its empty line one)" $?

# Bad lines are reported by number and answered with E, a tab and the reason;
# the others are still answered.
printf '%s\n12345\n1111111112222222223333333334444444445555555556666666x6\n%s\n' "$solved" "$solved" > "$tmp/in"
"$tool" < "$tmp/in" > "$tmp/out" 2> "$tmp/err"; rc=$?
[ $rc -eq 1 ]; check "bad input exits 1" $?
{
    printf '0\t\n'
    printf 'E\texpected 54 colour digits, found 5 characters\n'
    printf "E\tcharacter 53 is 'x', expected a colour digit 0-6\n"
    printf '0\t\n'
} > "$tmp/ref"
cmp -s "$tmp/out" "$tmp/ref"; check "every line answered, bad ones with E and the reason" $?
grep -q 'line 2' "$tmp/err" && grep -q 'line 3' "$tmp/err"; check "messages name the lines" $?
grep -q 'character 53' "$tmp/err"; check "message says what is wrong" $?

# Output line n answers input line n in every mode, whatever is bad; the bad
# lines, and only they, are answered with E.
"$tool" --shuffle 12 > "$tmp/cfg"
{
    sed -n 1,2p "$tmp/cfg"; echo 12345
    sed -n 3,5p "$tmp/cfg"; echo "hello world"
    sed -n 6,7p "$tmp/cfg"; head -c 5000 /dev/zero | tr '\0' 1; echo
    echo; sed -n 8,12p "$tmp/cfg"; echo uuuuuuuuurrrrrrrrrfffffffffdddddddddlllllllllbbbbbbbbb
} > "$tmp/mixed"
ok=0
for args in "" "--notation standard" "--diagnose" "--apply F+." "--method short"; do
    # shellcheck disable=SC2086
    "$tool" $args < "$tmp/mixed" > "$tmp/out" 2> /dev/null; rc=$?
    [ $rc -eq 1 ] && [ "$(wc -l < "$tmp/out")" -eq "$(wc -l < "$tmp/mixed")" ] &&
        [ "$(grep -n '^E	' "$tmp/out" | cut -d: -f1 | tr '\n' ' ')" = "3 7 10 17 " ] &&
        [ "$(sed -n 11p "$tmp/out")" = "" ] || { ok=1; echo "pairing fails with: $args"; }
done
check "one output line per input line, in every mode" $ok
grep "^E	" "$tmp/out" | cut -f2 > "$tmp/why"
{
    echo "expected 54 colour digits, found 5 characters"
    echo "character 1 is 'h', expected a colour digit 0-6 or an upper-case face letter U R F D L B"
    echo "longer than 4096 bytes"
    echo "character 1 is 'u', expected a colour digit 0-6 or an upper-case face letter U R F D L B"
} > "$tmp/ref"
cmp -s "$tmp/why" "$tmp/ref"; check "bad lines say why, a lower-case facelet string what was expected" $?

# A cube that fails the check gets no solution, whatever was solved before it.
scrambled=$(sed -n 1p "$tmp/cfg")
for args in "" "--notation standard" "--method short"; do
    # shellcheck disable=SC2086
    printf '%s\n%s\n%s\n%s\n' "$scrambled" 000000000000000000000000000000000000000000000000000000 \
        "$scrambled" 111111111222222222333333233444444444555555555666666666 | "$tool" $args > "$tmp/out"
    [ "$(cut -f1 "$tmp/out" | tr '\n' ' ')" = "0 1 0 2 " ] && [ -n "$(sed -n 1p "$tmp/out" | cut -f2)" ] &&
        [ "$(sed -n 2p "$tmp/out")" = "$(printf '1\t')" ] && [ "$(sed -n 4p "$tmp/out")" = "$(printf '2\t')" ]
    check "no solution after a failed check: ${args:-lbl}" $?
done

# Unsolvable and malformed configurations.
printf '%s\n' 111111111222222222333333233444444444555555555666666666 | "$tool" > "$tmp/out"
[ "$(cut -f1 "$tmp/out")" = 2 ]; check "repainted sticker is unsolvable" $?
printf '%s\n' 000000000000000000000000000000000000000000000000000000 | "$tool" > "$tmp/out"
[ "$(cut -f1 "$tmp/out")" = 1 ]; check "blank cube is no set of cubelets" $?

# --apply.
printf '%s\n' "$solved" | "$tool" --apply 'F+.F-.C^.Cv.' > "$tmp/out"
[ "$(cat "$tmp/out")" = "$solved" ]; check "--apply of moves and their inverses" $?

# --apply refuses a text that is neither notation, naming where it goes wrong,
# and applies nothing.
for row in "F+R-.|group 2 \"-.\" at character 4" "hello world|'h' at character 1" \
        "F+.f+.C*.T|group 2 \"f+.\" at character 4" "R U.|'.' at character 4" "U-|'-' at character 2" \
        "R U R' U' T|'T' at character 11" "R U X|'X' at character 5" "(R U|( at character 1 is never closed"; do
    moves=${row%%|*} what=${row#*|}
    printf '%s\n' "$solved" | "$tool" --apply "$moves" > "$tmp/out" 2> "$tmp/err"; rc=$?
    [ $rc -eq 2 ] && [ ! -s "$tmp/out" ] && grep -qF -- "$what" "$tmp/err" && grep -q usage "$tmp/err"
    check "--apply refuses: $moves" $?
done
# Slice, wide, repeated and bracketed moves, against their face turns.
for row in "M|R L' x'" "r U2 M'|L x U2 R' L x" "(R U R' U')6|" "[R, U]|R U R' U'" "[R: U]2|R U2 R'" \
        "x y z // turns|x y z" "2R 2Rw|R' L x L x"; do
    printf '%s\n' "$solved" | "$tool" --apply "${row%%|*}" > "$tmp/out"
    printf '%s\n' "$solved" | "$tool" --apply "${row#*|}" > "$tmp/ref"
    cmp -s "$tmp/out" "$tmp/ref"; check "--apply ${row%%|*}" $?
done
printf '%s\n' "$solved" | "$tool" --apply 'F+.R-.T*.C+.C-.C^.Cv.' > /dev/null 2> "$tmp/err"
[ ! -s "$tmp/err" ]; check "--apply of real moves is silent" $?

# Standard facelet strings and notation.
solved_std=UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB
printf '%s\n' "$solved_std" | "$tool" > "$tmp/out"; rc=$?
[ $rc -eq 0 ] && [ "$(cat "$tmp/out")" = "$(printf '0\t')" ]; check "standard facelet string of the solved cube" $?
printf '%s\n' "$solved_std" | "$tool" --apply "R U R' U'" > "$tmp/std"
printf '%s\n' "$solved" | "$tool" --apply 'R+.T+.R-.T-.' > "$tmp/ref"
cmp -s "$tmp/std" "$tmp/ref"; check "--apply in standard notation, on a standard facelet string" $?
printf '%s\n' "$solved" | "$tool" --apply "RUR'U'x2 y' z" > "$tmp/std"
printf '%s\n' "$solved" | "$tool" --apply "R U R' U' x x y' z" > "$tmp/ref"
cmp -s "$tmp/std" "$tmp/ref"; check "--apply: spaces optional, rotations, 2" $?
# A scramble's standard solution, applied in standard notation, solves it.
ok=0
for scramble in "R U2 F' L D B2 R' U" "F2 D' L2 B U R2 D' F L' x y2" "z R' D2 U F2 L B' z'"; do
    cube=$(printf '%s\n' "$solved" | "$tool" --apply "$scramble")
    sol=$(printf '%s\n' "$cube" | "$tool" --notation standard | cut -f2)
    [ "$(printf '%s\n' "$cube" | "$tool" --apply "$sol" | "$tool")" = "$(printf '0\t')" ] || ok=1
    [ "$(printf '%s\n' "$cube" | "$tool" --notation model)" = "$(printf '%s\n' "$cube" | "$tool")" ] || ok=1
done
check "standard solutions of standard scrambles solve them" $ok
printf '%s\n' "$solved" | "$tool" --apply 'R U Q' > /dev/null 2> "$tmp/err"; rc=$?
[ $rc -eq 2 ] && grep -q "unexpected 'Q' at character 5" "$tmp/err"; check "--apply: bad standard notation says where" $?
"$tool" --apply "R’ U”" < /dev/null > /dev/null 2> "$tmp/err"; rc=$?
[ $rc -eq 2 ] && grep -q "unexpected '”' at character 5 after the move U: expected ', 2, a space or the next move" "$tmp/err"
check "--apply: a typographic quote is named as typed, counted in characters" $?
printf 'UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBX\nUUU\n' | "$tool" > /dev/null 2> "$tmp/err"; rc=$?
[ $rc -eq 1 ] && grep -q "line 1: character 54 is 'X', expected a face letter U R F D L B" "$tmp/err" &&
    grep -q 'line 2: expected 54 face letters, found 3' "$tmp/err"; check "bad facelet strings say what" $?

# --diagnose: the verdict, a tab and every problem.
flipped=111111121212222222333333333444444444555555555666666666
wrong=111111111222222232333333333444444444555555555666666666
centres=111121111222212222333333333444444444555555555666666666
printf '%s\n%s\n%s\n%s\n' "$solved" "$flipped" "$wrong" "$centres" | "$tool" --diagnose > "$tmp/out"; rc=$?
{
    printf '0\t\n'
    printf '2\tOne edge is flipped, its two colours the wrong way round. Which one cannot be told from the colours: find it and flip it back\n'
    printf '1\tThe front sticker of the edge at bottom-front is painted the wrong colour: it is red and should be blue\n'
    printf '1\tThe top and front centres look swapped: the pieces fit only if the top centre is yellow and the front centre blue\n'
} > "$tmp/ref"
[ $rc -eq 0 ] && cmp -s "$tmp/out" "$tmp/ref"; check "--diagnose: flipped edge, wrong sticker, swapped centres" $?
"$tool" --shuffle 20 > "$tmp/cfg"
"$tool" < "$tmp/cfg" | cut -f1 > "$tmp/solve"
"$tool" --diagnose < "$tmp/cfg" > "$tmp/out"
cut -f1 "$tmp/out" | cmp -s - "$tmp/solve" && [ "$(cut -f2 "$tmp/out" | sort -u)" = "" ]
check "--diagnose agrees with solving on scrambles" $?

# Output that cannot be written is an error, whatever the mode.
if [ -w /dev/full ]; then
    for args in "--shuffle 5" "--help" "" "--apply F+."; do
        # shellcheck disable=SC2086
        printf '%s\n' "$solved" | "$tool" $args > /dev/full 2> "$tmp/err"; rc=$?
        [ $rc -eq 3 ] && grep -q 'cannot write' "$tmp/err"; check "full device: ${args:-solve}" $?
    done
fi
"$tool" --shuffle 5 >&- 2> "$tmp/err"; rc=$?
[ $rc -eq 3 ] && grep -q 'cannot write' "$tmp/err"; check "closed standard output" $?
# A reader that goes away ends even an endless shuffle when SIGPIPE is ignored.
# (The timeout only keeps a faulty build from hanging the suite.)
if command -v timeout > /dev/null; then
    (trap '' PIPE; timeout 60 "$tool" --shuffle 9223372036854775807 2> "$tmp/err"; echo $? > "$tmp/rc") | head -1 > /dev/null
    [ "$(cat "$tmp/rc")" -eq 3 ] && grep -q 'cannot write' "$tmp/err"; check "--shuffle stops at a closed pipe" $?
    # Otherwise the signal ends it, as it ends any filter (when this shell may
    # have the signal at all).
    (yes 2> /dev/null; echo $? > "$tmp/rc_filter") | head -1 > /dev/null
    if [ "$(cat "$tmp/rc_filter")" -gt 128 ]; then
        (timeout 60 "$tool" --shuffle 9223372036854775807 2> /dev/null; echo $? > "$tmp/rc") | head -1 > /dev/null
        [ "$(cat "$tmp/rc")" = "$(cat "$tmp/rc_filter")" ]; check "--shuffle ends by SIGPIPE at a closed pipe" $?
    fi
fi

# Input that cannot be read is an error, not the end of the input.
"$tool" < / > /dev/null 2> "$tmp/err"; rc=$?
[ $rc -eq 3 ] && grep -q 'cannot read' "$tmp/err"; check "unreadable input" $?

# A line longer than any configuration is bad, is never held whole, and the
# next line is still answered. (A sanitizer's shadow memory defeats ulimit -v.)
if [ -z "${ASAN_OPTIONS:-}" ]; then
    (head -c 300000000 /dev/zero | tr '\0' 1; echo; echo "$solved") |
        (ulimit -v 150000; "$tool") > "$tmp/out" 2> "$tmp/err"; rc=$?
    [ $rc -eq 1 ] && [ "$(cat "$tmp/out")" = "$(printf 'E\tlonger than 4096 bytes\n0\t')" ] &&
        grep -q 'line 1: longer than' "$tmp/err"
    check "300 MB line in 150 MB of address space" $?
fi
(head -c 4096 /dev/zero | tr '\0' ' '; echo; head -c 4097 /dev/zero | tr '\0' ' '; echo; echo "$solved") |
    "$tool" > "$tmp/out" 2> "$tmp/err"; rc=$?
[ $rc -eq 1 ] && [ "$(cat "$tmp/out")" = "$(printf '\nE\tlonger than 4096 bytes\n0\t')" ] &&
    grep -q 'line 2: longer than 4096' "$tmp/err" &&
    ! grep -q 'line 1' "$tmp/err"; check "4096 characters are a line, 4097 too many" $?
printf '%s' "$solved" | "$tool" > "$tmp/out"; rc=$?
[ $rc -eq 0 ] && [ "$(cat "$tmp/out")" = "$(printf '0\t')" ]; check "last line without a newline" $?

# --metrics: the solution's counts in a third field, the solution unchanged.
printf '%s\n' "$solved" | "$tool" --apply "R U2 F' L D B2 R' U" > "$tmp/cfg1"
"$tool" --notation standard < "$tmp/cfg1" > "$tmp/plain"
"$tool" --notation standard --metrics < "$tmp/cfg1" > "$tmp/out"
sol=$(cut -f2 "$tmp/plain")
n=$(printf '%s\n' "$sol" | wc -w) q=$(( $(printf '%s\n' "$sol" | wc -w) + $(printf '%s\n' "$sol" | grep -o 2 | wc -l) ))
[ "$(cut -f1,2 "$tmp/out")" = "$(cat "$tmp/plain")" ] && [ "$(cut -f3 "$tmp/out")" = "$n HTM $q QTM $n STM" ]
check "--metrics counts the solution" $?
[ "$(printf '%s\n' "$solved" | "$tool" --metrics)" = "$(printf '0\t\t0 HTM 0 QTM 0 STM')" ]; check "--metrics of the solved cube" $?

# --target: the short solver's moves turn each cube into the target, given as
# a configuration or as a pattern's name.
checker=$(printf '%s\n' "$solved" | "$tool" --apply "M2 E2 S2")
printf '%s\n' "$solved" | "$tool" --shuffle 3 > "$tmp/from"
ok=0
for target in "$checker" "checkerboard" "Cube in a Cube" "$(sed -n 2p "$tmp/from")"; do
    "$tool" --method short --target "$target" < "$tmp/from" | cut -f2 > "$tmp/sol" || ok=1
    case $target in *[0-9]*) want=$target ;; *) want= ;; esac
    n=0
    while read -r cfg && read -r sol <&3; do
        n=$((n + 1))
        got=$(printf '%s\n' "$cfg" | "$tool" --apply "${sol:-}")
        [ -z "$want" ] && [ "$target" = checkerboard ] && want=$checker
        [ -z "$want" ] || [ "$got" = "$want" ] || ok=1
        [ "$(printf '%s' "$sol" | wc -c)" -le 60 ] || ok=1
    done < "$tmp/from" 3< "$tmp/sol"
    [ $n -eq 3 ] || ok=1
done
check "--target: solutions end on the target" $ok
for args in "--target checkerboard" "--method lbl --target checkerboard" "--method short --target nothing" \
        "--method short --target 111111111222222222333333333444444444555555555666666655" "--method short --target"; do
    # shellcheck disable=SC2086
    "$tool" $args < /dev/null > /dev/null 2> "$tmp/err"; rc=$?
    [ $rc -eq 2 ] && grep -q -- "--target" "$tmp/err"; check "bad --target: $args" $?
done

# --solutions N: up to N distinct solutions a line, shortest first, each solving the cube.
"$tool" --method short --solutions 8 --notation standard < "$tmp/from" > "$tmp/many"
"$tool" --method short --solutions 8 --notation standard < "$tmp/from" | cmp -s - "$tmp/many"
check "--solutions is deterministic" $?
ok=0
while read -r cfg && IFS= read -r line <&3; do
    [ "${line%%	*}" = 0 ] || ok=1
    printf '%s\n' "$line" | tr '\t' '\n' | tail -n +2 > "$tmp/each"
    [ "$(sort "$tmp/each" | uniq -d)" = "" ] || ok=1
    prev=0
    while read -r sol; do
        [ "$(printf '%s\n' "$cfg" | "$tool" --apply "$sol" | "$tool")" = "$(printf '0\t')" ] || ok=1
        n=$(printf '%s\n' "$sol" | wc -w); [ "$n" -ge "$prev" ] && [ "$n" -le 20 ] || ok=1; prev=$n
    done < "$tmp/each"
    [ "$(head -n 1 "$tmp/each")" != "" ] || ok=1
done < "$tmp/from" 3< "$tmp/many"
check "--solutions: distinct solutions that solve, shortest first" $ok
# A dozen for a random cube: the search goes on past its first answer.
[ "$(sed -n 1p "$tmp/many" | tr '\t' '\n' | tail -n +2 | wc -l)" -eq 8 ]; check "--solutions: as many as asked for" $?
# --method optimal --solutions N: every solution of the fewest moves in move
# order, then of one move more; the same on two threads.
printf '%s\n' "$solved" | "$tool" --apply "R L U2 R' L' U2" > "$tmp/near"
printf '%s\n' "$solved" | "$tool" --apply "R U' F2" >> "$tmp/near"
ZELVORS_OPTIMAL_TABLES=small "$tool" --method optimal --solutions 6 --notation standard < "$tmp/near" > "$tmp/opt"
[ "$(sed -n 1p "$tmp/opt")" = "0	U2 R L U2 R' L'	R L U2 R' L' U2	U R L U2 R' L' U'	U' R L U2 R' L' U	R L' B2 R L B2 R2	R2 B2 R' L' B2 R' L" ] &&
    [ "$(sed -n 2p "$tmp/opt")" = "0	F2 U R'" ]
check "--method optimal --solutions: the fewest moves, then one more" $?
ZELVORS_OPTIMAL_TABLES=small "$tool" --method optimal --threads 2 --solutions 6 --notation standard < "$tmp/near" |
    cmp -s - "$tmp/opt"
check "--method optimal --solutions: the same on two threads" $?
ZELVORS_OPTIMAL_TABLES=small "$tool" --method optimal --solutions 6 --target "$(sed -n 2p "$tmp/near")" < "$tmp/near" > "$tmp/opt"
[ "$(sed -n 2p "$tmp/opt")" = "0	" ]; check "--method optimal --solutions --target: the target itself" $?
for args in "--solutions 3" "--method short --solutions 0" "--method short --solutions 49" "--method lbl --solutions 2" \
        "--method optimal --solutions 0"; do
    # shellcheck disable=SC2086
    "$tool" $args < /dev/null > /dev/null 2> "$tmp/err"; rc=$?
    [ $rc -eq 2 ] && grep -q -- "--solutions" "$tmp/err"; check "bad --solutions: $args" $?
done

# Command line.
"$tool" --help > "$tmp/out" 2>&1; rc=$?
[ $rc -eq 0 ] && grep -q usage "$tmp/out"; check "--help" $?
for args in "--bogus" "--shuffle" "--shuffle x" "--shuffle -1" "--apply" "--apply a b" \
        "--shuffle 99999999999999999999" "--shuffle 2 --apply F+." "--help --help" \
        "--notation" "--notation x" "--diagnose --notation standard" "--apply F+. --notation standard" \
        "--diagnose --apply F+." "--apply Rw(" "--apply F+. --metrics"; do
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
for args in "--max-length 25" "--method lbl --max-length 25" "--max-length 25 --notation standard"; do
    # shellcheck disable=SC2086
    printf '%s\n' "$solved" | "$tool" $args > "$tmp/out" 2> "$tmp/err"; rc=$?
    [ $rc -eq 2 ] && [ ! -s "$tmp/out" ] && grep -q -- '--max-length needs --method short' "$tmp/err"
    check "--max-length without --method short: $args" $?
done

# Driven as a coprocess (one line written, its answer awaited, then the next),
# each line is answered at once, as in a batch. (The timeout only keeps a
# faulty build from hanging the suite: a missing answer then reads as none.)
if command -v timeout > /dev/null && command -v mkfifo > /dev/null; then
    printf '%s\n' "$solved" "$scrambled" "hello" "" 000000000000000000000000000000000000000000000000000000 \
        "$solved_std" > "$tmp/ask"
    for args in "" "--diagnose" "--apply F+." "--method short --notation standard"; do
        rm -f "$tmp/to" "$tmp/from"
        mkfifo "$tmp/to" "$tmp/from"
        (
            trap '' PIPE # a tool that has gone must not end this shell
            # shellcheck disable=SC2086
            timeout 30 "$tool" $args < "$tmp/to" > "$tmp/from" 2> /dev/null &
            pid=$!
            exec 3> "$tmp/to" 4< "$tmp/from"
            : > "$tmp/heard"
            while IFS= read -r ask; do
                printf '%s\n' "$ask" >&3
                IFS= read -r answer <&4 || answer="(no answer)"
                printf '%s\n' "$answer" >> "$tmp/heard"
            done < "$tmp/ask"
            exec 3>&-
            wait $pid
        ) 2> /dev/null; rc=$?
        # shellcheck disable=SC2086
        "$tool" $args < "$tmp/ask" > "$tmp/ref" 2> /dev/null
        [ $rc -eq 1 ] && cmp -s "$tmp/heard" "$tmp/ref"; check "answers line by line as a coprocess: ${args:-solve}" $?
    done
fi

checks_summary
