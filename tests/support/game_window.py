# SPDX-License-Identifier: MIT
"""The game's client area as the end-to-end tests see it on the screen, the
same on Linux and under Wine: where the squares lie (from the header the game
itself measures with), the balls read off the pixels, clicks and keys, and
the first move both games are played with."""

import os
import re
from collections import deque

from xsession import check, wait_for

CLIENT_W, CLIENT_H = 308, 348
EVEN_SQUARE, ODD_SQUARE = (0x70, 0x70, 0x70), (0x90, 0x90, 0x90)


def read_board_geometry():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir,
                        "src", "game", "CBoardGeometry.h")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return [int(re.search(r"\b%s = (\d+);" % name, text).group(1))
            for name in ("kLeft", "kTop", "kSquare")]


BOARD_LEFT, BOARD_TOP, SQUARE = read_board_geometry()


def square_corner(r, c):
    return BOARD_LEFT + SQUARE * (c - 1), BOARD_TOP + SQUARE * (r - 1)


def cell_centre(r, c):
    left, top = square_corner(r, c)
    return left + SQUARE // 2, top + SQUARE // 2


def square(r, c):
    return EVEN_SQUARE if (r + c) % 2 == 0 else ODD_SQUARE


def board_of(pixels):
    """Cell -> colour of the ball's centre pixel, for every occupied cell."""
    balls = {}
    for r in range(1, 10):
        for c in range(1, 10):
            x, y = cell_centre(r, c)
            if pixels[y][x] not in (EVEN_SQUARE, ODD_SQUARE):
                balls[(r, c)] = pixels[y][x]
    return balls


def farthest_reachable(balls, start):
    """The empty cell farthest from start by a walk through empty cells."""
    seen, queue, last = {start}, deque([start]), None
    while queue:
        r, c = queue.popleft()
        for nr, nc in ((r, c + 1), (r - 1, c), (r, c - 1), (r + 1, c)):
            if 1 <= nr <= 9 and 1 <= nc <= 9 and (nr, nc) not in seen and (nr, nc) not in balls:
                seen.add((nr, nc))
                queue.append((nr, nc))
                last = (nr, nc)
    return last


class GameWindow:
    """The running game's client area, whose top left corner is at
    self.client on the screen of self.desktop; focus() is each system's."""

    def key(self, name):
        self.focus()
        self.desktop.xdotool("key", name)

    def click(self, cx, cy, button=1):
        self.desktop.xdotool("mousemove", self.client[0] + cx, self.client[1] + cy,
                             "click", button)

    def pixels(self):
        return self.desktop.grab(self.client[0], self.client[1], CLIENT_W, CLIENT_H)

    def board(self, pixels=None):
        return board_of(pixels or self.pixels())

    def shows_cell_empty(self, r, c):
        x, y = cell_centre(r, c)
        return self.desktop.grab(self.client[0] + x, self.client[1] + y, 1, 1)[0][0] == square(r, c)


def select_and_move(game, balls):
    """A click on the first of balls selects it: it blinks, hidden, shown,
    hidden. A click on the farthest free cell sends it there and three new
    balls fall. Returns the ball's cell, where it went and the client area
    after the move."""
    cell = sorted(balls)[0]
    colour = balls[cell]
    game.click(*cell_centre(*cell))
    for shown in (False, True, False):
        wait_for(lambda: game.shows_cell_empty(*cell) != shown, 3,
                 "the selected ball to be %s" % ("shown" if shown else "hidden"))
    target = farthest_reachable(balls, cell)
    game.click(*cell_centre(*target))
    after = wait_for(lambda: (lambda p: p if len(board_of(p)) == 6 else None)(game.pixels()), 10,
                     "three new balls after the move")
    check(board_of(after).get(target) == colour, "the ball did not arrive at %s" % (target,))
    return cell, target, after


def focus_shown(pixels, r, c):
    """Whether the keyboard's focus frame is drawn on cell (r, c): its dotted
    ring, one pixel inside the square's raised edge, has a dot on the
    inside corner, the square's grey XORed with 0x80."""
    x, y = square_corner(r, c)
    return pixels[y + 1][x + 1] == tuple(v ^ 0x80 for v in square(r, c))


def move_by_keys(game, balls):
    """The first ball of balls picked up with the keyboard and sent to the
    farthest free cell: the first arrow shows the focus on the centre, the
    arrows take it to the ball, Space picks it up (it blinks), Return sends
    it; three new balls fall, and the focus stays on the target. A right
    click takes the focus off. Returns the keys pressed, in orvo-trace's
    words, the target and the client area after the move."""
    cell = sorted(balls)[0]
    colour = balls[cell]
    pressed = []

    def press(name):
        game.key(name)
        pressed.append(name.lower().replace("return", "enter"))

    press("Right")
    wait_for(lambda: focus_shown(game.pixels(), 5, 5), 3, "the focus frame on the centre")
    at = [5, 5]

    def go(to):
        while at != list(to):
            if at[0] != to[0]:
                press("Down" if to[0] > at[0] else "Up")
                at[0] += 1 if to[0] > at[0] else -1
            else:
                press("Right" if to[1] > at[1] else "Left")
                at[1] += 1 if to[1] > at[1] else -1
        wait_for(lambda: focus_shown(game.pixels(), *to), 3, "the focus frame on %s" % (to,))

    go(cell)
    press("space")
    wait_for(lambda: game.shows_cell_empty(*cell), 3, "the ball picked up by Space to blink")
    target = farthest_reachable(balls, cell)
    go(target)
    press("Return")
    after = wait_for(lambda: (lambda p: p if len(board_of(p)) == len(balls) + 3 else None)(
        game.pixels()), 10, "three new balls after the move by keys")
    check(board_of(after).get(target) == colour, "the ball did not arrive at %s" % (target,))
    check(focus_shown(after, *target), "the focus frame is not on %s after the move" % (target,))
    return pressed, target, after


def switch_sound(game, desktop, newline):
    """F4 writes the sound switch at once, on and then off, into a settings
    file that the start left without one; its lines end in newline."""
    check("PlaySound" not in desktop.ini_text(), "the settings file was written at start")
    for value in (1, 0):
        game.key("F4")
        line = "[CONFIG]%sPlaySound=%d%s" % (newline, value, newline)
        wait_for(lambda: line in desktop.ini_text(), 5, "PlaySound=%d" % value)
