#!/bin/sh
# SPDX-License-Identifier: MIT
# snapshot writes the in-memory client area as a binary PPM: the window
# background before the first paint, and after a game's immediate updates
# the same picture a full repaint then gives.
set -u
trace=$1
work=$2
golden=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }

{
    echo "snapshot blank.ppm"
    grep -v '^state$' "$golden/crossing_lines.trace"
    echo "snapshot updated.ppm"
    echo "repaint"
    echo "snapshot repainted.ppm"
} > script
"$trace" < script > out 2> err || fail "orvo-trace failed: $(cat err)"
[ -s err ] && fail "unexpected stderr: $(cat err)"

header=$(head -c 15 blank.ppm | od -An -c | tr -d ' \n')
[ "$header" = 'P6\n308348\n255\n' ] || fail "bad PPM header: $header"
[ "$(wc -c < blank.ppm)" -eq $((15 + 308 * 348 * 3)) ] || fail "bad PPM size"
# Every pixel of the blank client area is the window background 0xF0F0F0.
[ "$(tail -c +16 blank.ppm | od -An -v -tx1 | tr -s ' \n' '\n' | grep -v '^$' | sort -u)" = "f0" ] ||
    fail "the client area before the first paint is not plain background"
cmp -s updated.ppm blank.ppm && fail "the game drew nothing"
cmp -s updated.ppm repainted.ppm || fail "a repaint changed what the updates had drawn"
echo "snapshots as expected"
