# Counting checks for the shell tests; sourced, not run.
# check NAME STATUS: counts a pass when STATUS is 0, else names the failure.
# checks_summary: the closing "N passed, N failed" line; its status is 0 only
# when nothing failed.
failures=0
passes=0

check() {
    if [ "$2" -eq 0 ]; then
        passes=$((passes + 1))
    else
        echo "FAILED: $1"
        failures=$((failures + 1))
    fi
}

checks_summary() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}
