#!/bin/sh
# Reading a real cube on the command line: --read-rgb from measured colours,
# --read-photos from six photos, --cube-line into the short solver.
# usage: test_cli_read.sh ZELVORS_SOLVE REAL_READINGS PHOTO_FOLDER
set -u
tool=$1
readings=$2
photos=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
. "$(dirname "$0")/../support/checks.sh"
tab=$(printf '\t')
solved=111111111222222222333333333444444444555555555666666666

# Real camera readings: each line read as its true cube, result 0, and the
# doubtful field a comma-separated list of facelets 0-53 (no centres).
cut -f3 "$readings" > "$tmp/rgb"
"$tool" --read-rgb < "$tmp/rgb" > "$tmp/out" 2> "$tmp/err"; rc=$?
[ $rc -eq 0 ] && [ ! -s "$tmp/err" ]; check "--read-rgb: real readings, status 0" $?
cut -f2 "$readings" | sed 's/^/0\t/' > "$tmp/want"
cut -f1,2 "$tmp/out" | cmp -s - "$tmp/want"; check "--read-rgb: each real cube read exactly" $?
ok=0
while IFS="$tab" read -r code digits doubtful; do
    printf '%s\n' "$doubtful" | grep -Eq '^([0-9]+(,[0-9]+)*)?$' || ok=1
    for i in $(printf '%s' "$doubtful" | tr ',' ' '); do
        [ "$i" -le 53 ] && [ $((i % 9)) -ne 4 ] || ok=1
    done
done < "$tmp/out"
check "--read-rgb: doubtful facelets are listed 0-53, never a centre" $ok

# Bad lines among good ones: one answer a line, E and the reason for a bad
# one (named by its colour and character), the reason on standard error by
# line number, status 1 at the end.
good=$(head -n 1 "$tmp/rgb")
short=$(printf '%s\n' "$good" | cut -d' ' -f1-53)
badtoken=$(printf '%s\n' "$good" | sed 's/#[0-9a-fA-F]*/#12x456/3')
nohash=$(printf '%s\n' "$good" | sed 's/#//')
printf '%s\n%s\n\n%s\n%s\n%s #ffffff\n%s\n' "$good" "$short" "$badtoken" "$nohash" "$good" "$good" \
    | "$tool" --read-rgb > "$tmp/out" 2> "$tmp/err"; rc=$?
[ $rc -eq 1 ]; check "--read-rgb: bad lines give status 1" $?
[ "$(wc -l < "$tmp/out")" -eq 7 ]; check "--read-rgb: one output line per input line" $?
[ "$(sed -n 1p "$tmp/out" | cut -f1,2)" = "0${tab}$solved" ] && [ "$(sed -n 7p "$tmp/out" | cut -f1,2)" = "0${tab}$solved" ]
check "--read-rgb: good lines around bad ones are read" $?
[ "$(sed -n 2p "$tmp/out")" = "E${tab}53 colours, expected 54" ]; check "--read-rgb: 53 colours" $?
[ -z "$(sed -n 3p "$tmp/out")" ]; check "--read-rgb: an empty line gets an empty line" $?
[ "$(sed -n 4p "$tmp/out")" = "E${tab}colour 3 at character 17 is '#12x456', expected #rrggbb" ]
check "--read-rgb: a bad colour is named by place and character" $?
sed -n 5p "$tmp/out" | grep -q "^E${tab}colour 1 at character 1 is '" ; check "--read-rgb: a colour without #" $?
[ "$(sed -n 6p "$tmp/out")" = "E${tab}more than 54 colours: colour 55 at character 433" ]; check "--read-rgb: 55 colours" $?
grep -q '^zelvors-solve: line 2: 53 colours' "$tmp/err" && grep -q '^zelvors-solve: line 4: colour 3' "$tmp/err"
check "--read-rgb: standard error names the lines" $?

# --cube-line: the digits alone, which the solver reads.
"$tool" --read-rgb --cube-line < "$tmp/rgb" | cmp -s - "$(cut -f2 "$readings" > "$tmp/truth"; echo "$tmp/truth")"
check "--read-rgb --cube-line: the cubes as lines" $?

# Six photos of each rendered session: the cube read exactly, and its cube
# line solved by the short solver; the solution solves the cube.
for s in a b c d; do
    set -- "$photos/$s-T.jpg" "$photos/$s-F.jpg" "$photos/$s-R.jpg" "$photos/$s-L.jpg" "$photos/$s-B.jpg" "$photos/$s-D.jpg"
    truth=$(grep "^$s-T.jpg" "$photos/photos.tsv" | cut -f3)
    "$tool" --read-photos "$@" > "$tmp/out" 2> "$tmp/err"; rc=$?
    [ $rc -eq 0 ] && [ "$(wc -l < "$tmp/out")" -eq 1 ] && [ "$(cut -f1,2 "$tmp/out")" = "0${tab}$truth" ]
    check "--read-photos: session $s read exactly" $?
    "$tool" --read-photos "$@" --cube-line | "$tool" --method short > "$tmp/solution"; rc=$?
    moves=$(cut -f2 "$tmp/solution")
    [ $rc -eq 0 ] && [ "$(cut -f1 "$tmp/solution")" = 0 ] &&
        [ "$(printf '%s\n' "$truth" | "$tool" --apply "$moves")" = "$solved" ]
    check "--read-photos --cube-line | --method short: session $s solved" $?
done

# A photo without a cube and a missing file: each named, E, status 1.
"$tool" --read-photos "$photos/a-T.jpg" "$photos/no-cube.jpg" "$photos/a-R.jpg" "$photos/a-L.jpg" \
    "$tmp/missing.jpg" "$photos/a-D.jpg" > "$tmp/out" 2> "$tmp/err"; rc=$?
[ $rc -eq 1 ] && [ "$(wc -l < "$tmp/out")" -eq 1 ] && grep -q "^E${tab}" "$tmp/out"; check "--read-photos: bad photos give E, status 1" $?
grep -q "F face: .*no-cube.jpg: no cube face found" "$tmp/err" && grep -q "B face: cannot open .*missing.jpg" "$tmp/err"
check "--read-photos: each bad photo named" $?
"$tool" --read-photos "$photos/a-T.jpg" "$photos/photos.tsv" "$photos/a-R.jpg" "$photos/a-L.jpg" \
    "$photos/a-B.jpg" "$photos/a-D.jpg" > /dev/null 2> "$tmp/err"; rc=$?
[ $rc -eq 1 ] && grep -q "photos.tsv is not an image" "$tmp/err"; check "--read-photos: a file that is no image" $?

# Usage errors: status 2, nothing written, the reason and the usage.
usage_error() { # expected text, arguments...
    what=$1
    shift
    "$tool" "$@" < /dev/null > "$tmp/out" 2> "$tmp/err"; rc=$?
    [ $rc -eq 2 ] && [ ! -s "$tmp/out" ] && grep -qF -- "$what" "$tmp/err" && grep -q usage "$tmp/err"
    check "usage error: $*" $?
}
usage_error "--read-photos takes six image files" --read-photos a.jpg b.jpg c.jpg
usage_error "--cube-line needs --read-rgb or --read-photos" --cube-line
usage_error "only one of --shuffle, --apply, --diagnose, --read-rgb, --read-photos" --read-rgb --diagnose
usage_error "--method and --max-length apply to solving only" --read-rgb --method short
# The old modes' message is as it was.
usage_error "only one of --shuffle, --apply, --diagnose, --help, --version: --diagnose" --shuffle 1 --diagnose

checks_summary
