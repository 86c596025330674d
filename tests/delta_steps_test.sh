#!/usr/bin/env bash
# The search for the steps a smallest test must play before the one that
# differs, against tries whose answers are known: each case the steps that
# bring the difference (a try shows it where it plays them all), what the
# search keeps, and in how many tries at most.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/tests/support/check.sh"
source "$here/scripts/delta-steps.sh"

# shows STEP...: the difference comes where every step of $needs is played.
shows() {
    local s
    tried+=("$*")
    for s in $needs; do [[ " $* " == *" $s "* ]] || return 1; done
}
# case NEEDS CANDIDATES KEPT MOST: what the search keeps, within MOST tries.
case_of() {
    needs=$1 tried=() reduce_runs=0
    # shellcheck disable=SC2086
    reduce_steps shows $2
    local status=$?
    check "needs [$1] of $(wc -w <<<"$2") steps: keeps" "$3" "$status [${reduce_kept[*]}]"
    [ "$reduce_runs" -le "$4" ] || fail "needs [$1]: $reduce_runs tries, more than $4"
    [ "$reduce_runs" -eq ${#tried[@]} ] || fail "needs [$1]: counted $reduce_runs tries of ${#tried[@]}"
}
#       needs    candidates      kept           most tries
case_of ""       "$(seq -s' ' 1 51)" "0 []"     1   # the state before the step is enough
case_of "47"     "$(seq -s' ' 1 51)" "0 [47]"   16  # one earlier step
case_of "2 50"   "$(seq -s' ' 1 51)" "0 [2 50]" 70  # two, far apart
case_of "5 6 7"  "$(seq -s' ' 1 9)"  "0 [5 6 7]" 30 # a run of them
case_of "3"      "3"                 "0 [3]"    2   # the only one before it
case_of "x"      "$(seq -s' ' 1 9)"  "1 []"     2   # not even all of them: said so
case_of "x"      ""                  "1 []"     1   # the start: nothing before it to try
# The first try plays none: a difference at a state reached directly costs one run.
case_of "" "1 2 3" "0 []" 1
check "and that run played no step" "" "${tried[0]}"
finish
