#!/bin/sh
# SPDX-License-Identifier: MIT
# Every malformed line stops orvo-trace with status 2 and a message naming
# its line; what earlier lines printed stands and nothing after it runs.
set -u
trace=$1
work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failed=0

check_bad() {
    printf 'state\n# comment\n%s\nstate\n' "$1" > in
    "$trace" < in > out 2> err
    rc=$?
    if [ $rc -ne 2 ] || [ "$(wc -l < out)" -ne 11 ] || ! grep -q "line 3" err; then
        echo "FAIL bad line [$1]: status $rc, $(wc -l < out) lines, stderr: $(cat err)"
        failed=1
    fi
}

check_good() {
    printf '%b\nstate\n' "$1" > in
    "$trace" < in > out 2> err
    rc=$?
    if [ $rc -ne 0 ] || [ -s err ] || ! grep -q "^count " out; then
        echo "FAIL good line [$1]: status $rc, stderr: $(cat err)"
        failed=1
    fi
}

for bad in "tick 1" "ticks" "ticks 1 2" "ticks  1" " new" "new " "new\t" "ticks +1" \
    "ticks 4294967296" "ticks -1" "ticks 1x" "ticks 0x10" "click 1" "click 2147483648 0" \
    "click 1 -2147483649" "name ABC" "name GZ" "name" "sound maybe" "sound ON" \
    "encode - 1" "encode 61 1 1 1" "decode" "blink 1" "heroes now" "NEW" "cell 0 1" \
    "cell 1 10" "cell 5" "key" "key Left" "key esc" "key up down" "focus 1"; do
    check_bad "$bad"
done

for good in "ticks 4294967295" "click -2147483648 2147483647" "rclick 5 5" " \t " \
    "new\r" "name -" "name aBcD" "cancel" "sound on" "sound off" "blink" "#" "decode !!" \
    "encode - -5 2147483647" "cell 9 9" "key delete" "focus"; do
    check_good "$good"
done

[ $failed -eq 0 ] && echo "all malformed and good lines handled"
exit $failed
