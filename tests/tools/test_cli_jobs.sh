#!/bin/sh
# zelvors-solve --method optimal, --threads and --jobs: the fewest moves for
# near-solved cubes, the same answers in the same order on any number of jobs
# and threads, line by line when driven as a coprocess, and the usage errors.
# usage: test_cli_jobs.sh ZELVORS_SOLVE
set -u
tool=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
. "$(dirname "$0")/../support/checks.sh"

solved=111111111222222222333333333444444444555555555666666666
moves_in() { # the number of moves of a solution in either notation
    printf '%s\n' "$1" | awk '{ print ($0 ~ /\./) ? gsub(/\./, ".") : NF }'
}

# Near-solved cubes (so that the searches stay short) with their optimal
# lengths, each that of its scramble.
cat > "$tmp/scrambles" <<'EOF'
3 D L B
3 F2 U' R
0
1 R
2 R U
4 R U R' U'
6 R U R' U' F2 D
8 R U2 F' L D B2 R' U
EOF
: > "$tmp/cubes"
while read -r n scramble; do
    printf '%s\n' "$solved" | "$tool" --apply "${scramble:-F+.F-.}" >> "$tmp/cubes"
done < "$tmp/scrambles"
"$tool" --method optimal --notation standard < "$tmp/cubes" > "$tmp/out" 2> "$tmp/err"; rc=$?
[ $rc -eq 0 ] && [ ! -s "$tmp/err" ] && [ "$(wc -l < "$tmp/out")" -eq "$(wc -l < "$tmp/cubes")" ]
check "--method optimal answers every line, nothing on a standard error that is no terminal" $?
ok=0
paste "$tmp/scrambles" "$tmp/cubes" "$tmp/out" > "$tmp/rows"
while IFS="$(printf '\t')" read -r row cube code moves; do
    n=${row%% *}
    [ "$code" = 0 ] && [ "$(moves_in "$moves")" -eq "$n" ] &&
        [ "$(printf '%s\n' "$cube" | "$tool" --apply "$moves")" = "$solved" ] || { ok=1; echo "wrong: $row -> $moves"; }
done < "$tmp/rows"
check "--method optimal: the fewest moves, which solve the cube" $ok
printf '%s\n' 111111111222222222333333233444444444555555555666666666 \
    000000000000000000000000000000000000000000000000000000 | "$tool" --method optimal > "$tmp/out"
[ "$(cat "$tmp/out")" = "$(printf '2\t\n1\t')" ]; check "--method optimal: unsolvable, no cubelets" $?

# The same answers, in input order, for any number of jobs and threads, bad
# lines and empty ones included; the slow and the quick cubes mixed, so that
# later lines are often done first.
"$tool" --shuffle 300 > "$tmp/many"
{
    sed -n 1,100p "$tmp/many"; echo 12345; echo
    sed -n 101,300p "$tmp/many"; echo hello
} > "$tmp/mixed"
for method in lbl short; do
    "$tool" --method "$method" < "$tmp/mixed" > "$tmp/ref" 2> /dev/null; ref_rc=$?
    for jobs in 2 3 7; do
        "$tool" --method "$method" --jobs "$jobs" < "$tmp/mixed" > "$tmp/out" 2> /dev/null; rc=$?
        [ $rc -eq $ref_rc ] && [ $rc -eq 1 ] && cmp -s "$tmp/out" "$tmp/ref"
        check "--method $method --jobs $jobs: the answers of one job, in order" $?
    done
done
{ cat "$tmp/cubes"; tac "$tmp/cubes"; echo; cat "$tmp/cubes"; } > "$tmp/opt"
"$tool" --method optimal < "$tmp/opt" > "$tmp/ref"
for args in "--jobs 2" "--threads 2" "--jobs 3 --threads 2" "--threads 1 --jobs 1"; do
    # shellcheck disable=SC2086
    "$tool" --method optimal $args < "$tmp/opt" > "$tmp/out"; rc=$?
    [ $rc -eq 0 ] && cmp -s "$tmp/out" "$tmp/ref"; check "--method optimal $args: the same answers in order" $?
done
# A batch split in pieces solved apart and put back together is the batch's answer.
split -l 70 "$tmp/mixed" "$tmp/piece."
for piece in "$tmp"/piece.*; do "$tool" --method short < "$piece" > "$piece.out" 2> /dev/null; done
cat "$tmp"/piece.*.out > "$tmp/out"
"$tool" --method short --jobs 2 < "$tmp/mixed" 2> /dev/null | cmp -s - "$tmp/out"
check "a batch split with split and solved in pieces" $?

# Driven as a coprocess (one line written, its answer awaited, then the next),
# each line is answered at once with several jobs too. (The timeout only keeps
# a faulty build from hanging the suite: a missing answer then reads as none.)
if command -v timeout > /dev/null && command -v mkfifo > /dev/null; then
    { sed -n 1,4p "$tmp/cubes"; echo hello; echo; sed -n 5,8p "$tmp/cubes"; } > "$tmp/ask"
    for args in "--jobs 2" "--method short --jobs 3" "--method optimal --jobs 2 --threads 2"; do
        rm -f "$tmp/to" "$tmp/from"
        mkfifo "$tmp/to" "$tmp/from"
        (
            trap '' PIPE
            # shellcheck disable=SC2086
            timeout 60 "$tool" $args < "$tmp/to" > "$tmp/from" 2> /dev/null &
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
        [ $rc -eq 1 ] && cmp -s "$tmp/heard" "$tmp/ref"; check "answers line by line as a coprocess: $args" $?
    done
fi

# On a terminal the search says how far it has got on standard error, and
# leaves the line clean when the answer comes.
if command -v script > /dev/null; then
    printf '%s\n' "$solved" | "$tool" --apply "R U2 F' L D B2 R' U F2 D' L" > "$tmp/hard"
    script -q -c "\"$tool\" --method optimal < \"$tmp/hard\" > \"$tmp/out\"" "$tmp/typescript" > /dev/null 2>&1
    grep -q 'searching [0-9]* moves… ([0-9]* ruled out, [0-9.]* [kMG]* *positions, [0-9]* s)' "$tmp/typescript" &&
        [ "$(cut -f1 "$tmp/out")" = 0 ]; check "progress on a terminal" $?
fi

# Usage errors: exit 2, nothing solved, the message naming what is wrong.
usage_error() { # message, arguments...
    msg=$1
    shift
    printf '%s\n' "$solved" | "$tool" "$@" > "$tmp/out" 2> "$tmp/err"; rc=$?
    [ $rc -eq 2 ] && [ ! -s "$tmp/out" ] && grep -q -- "$msg" "$tmp/err" && grep -q usage "$tmp/err"
    check "usage error: $*" $?
}
usage_error "--threads needs --method optimal" --threads 2
usage_error "--threads needs --method optimal" --method short --threads 2
usage_error "--threads needs --method optimal" --method lbl --threads 1 --jobs 2
usage_error "--threads takes a number from 1 to 256: 0" --method optimal --threads 0
usage_error "--threads takes a number from 1 to 256: 257" --method optimal --threads 257
usage_error "--threads takes a number from 1 to 256" --method optimal --threads
usage_error "--jobs takes a number from 1 to 256: 2x" --jobs 2x
usage_error "--jobs takes a number from 1 to 256: -1" --jobs -1
usage_error "--jobs applies to solving only" --diagnose --jobs 2
usage_error "--threads applies to solving only" --apply F+. --threads 2
usage_error "--max-length needs --method short" --method optimal --max-length 25
usage_error "unknown method: fast (short, optimal or lbl)" --method fast

checks_summary
