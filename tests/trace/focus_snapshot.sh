#!/bin/sh
# SPDX-License-Identifier: MIT
# The keyboard's focus frame in the client area: it appears on the first
# arrow as a dotted ring inside the square, follows the focus, lives through
# a picked-up ball's blink, a walk, a removal and new balls exactly as a
# full repaint draws it, and the mouse takes it off without a trace: the
# game played by keys then looks pixel for pixel as the same game clicked.
set -u
trace=$1
work=$2
golden=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }

# Bounding box and count of the pixels in which two snapshots differ, as
# "left top right bottom count" (inclusive client pixels).
differing() {
    cmp -l "$1" "$2" | awk '{ p = int(($1 - 16) / 3); if (!(p in seen)) { seen[p] = 1; n++;
        x = p % 308; y = int(p / 308);
        if (n == 1 || x < l) l = x; if (n == 1 || x > r) r = x;
        if (n == 1 || y < t) t = y; if (n == 1 || y > b) b = y } }
        END { print l + 0, t + 0, r + 0, b + 0, n + 0 }'
}
# The ring of cell (row, col): the square's top-left pixel is (10 + 32 (col - 1),
# 50 + 32 (row - 1)); the ring is 30 x 30 one pixel inside, every other pixel.
ring() {
    x=$((10 + 32 * ($2 - 1) + 1)) y=$((50 + 32 * ($1 - 1) + 1))
    echo "$x $y $((x + 29)) $((y + 29)) 58"
}

# The keyboard game's moves, from the focus on (5, 5) on: the golden
# script without its queries, its start, its first arrow and its mouse.
awk '/^(#|ticks|new|focus|state|rclick)/ { next }
     /^key down$/ && !first { first = 1; next } { print }' "$golden/keys_move_line.trace" > moves
{
    echo "ticks 3626764238"
    echo "new"
    echo "snapshot start.ppm"
    echo "key up"
    echo "snapshot shown.ppm"
    echo "key right"
    echo "snapshot moved.ppm"
    echo "key left"
    cat moves
    # From (1, 1) to the ball on (2, 3): picked up, blinked, put down.
    echo "key down"
    echo "key right"
    echo "key right"
    echo "key space"
    echo "blink"
    echo "blink"
    echo "key backspace"
    echo "snapshot played.ppm"
    echo "repaint"
    echo "snapshot repainted.ppm"
    echo "rclick 0 0"
    echo "snapshot mouse.ppm"
} > keys
# The same game clicked.
{
    grep -v '^state$' "$golden/move_line.trace"
    echo "snapshot clicked.ppm"
} > clicks
"$trace" < keys > keys.out 2> err || fail "orvo-trace failed: $(cat err)"
[ -s err ] && fail "unexpected stderr: $(cat err)"
"$trace" < clicks > clicks.out 2> err || fail "orvo-trace failed: $(cat err)"

[ "$(differing start.ppm shown.ppm)" = "$(ring 5 5)" ] ||
    fail "the first arrow did not draw the focus ring of (5, 5): $(differing start.ppm shown.ppm)"
[ "$(differing start.ppm moved.ppm)" = "$(ring 5 6)" ] ||
    fail "the focus did not follow to (5, 6): $(differing start.ppm moved.ppm)"
cmp -s played.ppm repainted.ppm ||
    fail "blinks, walks and removals under the focus left other pixels than a repaint: $(differing played.ppm repainted.ppm)"
cmp -s mouse.ppm clicked.ppm ||
    fail "after the mouse the board differs from the clicked game: $(differing mouse.ppm clicked.ppm)"
[ "$(differing played.ppm mouse.ppm)" = "$(ring 2 3)" ] ||
    fail "the mouse did not take off exactly the focus ring: $(differing played.ppm mouse.ppm)"
echo "focus snapshots as expected"
