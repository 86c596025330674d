# Sourced by the shell tests: checks that count, and the closing line.
passes=0 failures=0
check() {  # check WHAT EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "ok: $1"
        passes=$((passes + 1))
    else
        printf 'FAILED: %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
unix() { sed -i 's/\r$//' "$@"; }  # a Windows program's text output
finish() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}
