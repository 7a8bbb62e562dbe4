#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The Windows program under Wine on Xvfb: starts at the same moment, and a
player who may not write the program's folder.

Usage: orvo_win_instances.py ORVO_EXE ORVO_PROBE_EXE simultaneous|unwritable

simultaneous: three starts at the same moment open one window, round after
round (ORVO_ROUNDS, 10 by default); the others end by themselves.
unwritable: as the user nobody, with a Wine prefix of its own, from a
root-owned folder it may only read: F4 and a new top-ten entry land in
%APPDATA%\\Orvo\\orvo.ini, nothing beside the program, and both are still
there after a restart. Needs root to become nobody; skipped otherwise.

Runs in the Wine prefix named by WINEPREFIX (tests/win32/run_under_wine.sh
makes one). Exit code 77: a tool is missing.
"""

import os
import pwd
import shutil
import sys
import tempfile
import time

from orvo_win_e2e import WINE_TOOLS, Game, WineDesktop
from game_window import board_of, cell_centre, farthest_reachable
from xsession import Failure, Scenario, Skip, check, file_text, run_script, stop, wait_for

STARTS = 3


def scenario_simultaneous(desktop):
    rounds = int(os.environ.get("ORVO_ROUNDS", "10"))
    for n in range(1, rounds + 1):
        starts = [desktop.start(["wine", desktop.exe]) for _ in range(STARTS)]
        try:
            wait_for(lambda: sum(p.poll() is None for p in starts) <= 1, 30, "")
        except Failure:
            raise Failure("round %d: %d starts still run, windows %s"
                          % (n, sum(p.poll() is None for p in starts), desktop.probe()[2]))
        running = [p for p in starts if p.poll() is None]
        check(len(running) == 1, "round %d: no game is left running" % n)
        check(all(p.returncode == 0 for p in starts if p is not running[0]),
              "round %d: exit codes %s" % (n, [p.returncode for p in starts]))
        windows = wait_for(lambda: desktop.probe()[2], 30, "round %d: the window" % n)
        # Give a straggler the time to open a second window, were it to.
        time.sleep(0.5)
        windows = desktop.probe()[2]
        check(len(windows) == 1 and windows[0]["visible"], "round %d: windows %s" % (n, windows))
        stop(running[0])
        wait_for(lambda: not desktop.probe()[2], 30, "round %d: the game to end" % n)
    print("%d rounds of %d starts at once: one window each time" % (rounds, STARTS))


class NobodysDesktop(WineDesktop):
    """The desktop, with every Wine command run as nobody in a prefix of
    its own; the program's folder is root's, readable by all."""

    def __init__(self, work, exe, probe):
        if os.geteuid() != 0 or not shutil.which("setpriv"):
            raise Skip("becoming nobody needs root and setpriv")
        user = pwd.getpwnam("nobody")
        self.home = tempfile.mkdtemp(prefix="orvo-nobody-")
        os.chown(self.home, user.pw_uid, user.pw_gid)
        self.as_nobody = ["setpriv", "--reuid=%d" % user.pw_uid, "--regid=%d" % user.pw_gid,
                          "--clear-groups"]
        self.nobody_env = {"HOME": self.home, "USER": "nobody", "LOGNAME": "nobody",
                           "WINEPREFIX": os.path.join(self.home, "prefix")}
        os.chmod(work, 0o755)
        super().__init__(work, exe, probe, None, None)
        self.appdata_ini = os.path.join(self.home, "prefix", "drive_c", "users", "nobody",
                                        "AppData", "Roaming", "Orvo", "orvo.ini")

    def close(self):
        super().close()
        shutil.rmtree(self.home, ignore_errors=True)

    def _wrap(self, argv):
        if argv[0] in ("wine", "wineserver"):
            return self.as_nobody + ["env"] + ["%s=%s" % kv for kv in self.nobody_env.items()] + argv
        return argv

    def start(self, argv):
        return super().start(self._wrap(argv))

    def run(self, argv, timeout=30):
        # A new prefix is made on the first command: give it time.
        return super().run(self._wrap(argv), timeout=max(timeout, 120))

    def appdata_text(self):
        return file_text(self.appdata_ini)


def dialog(desktop, title):
    return desktop.visible_windows("^%s$" % title)


def play_to_the_end(desktop, game):
    """Moves a ball to the farthest free cell it reaches, again and again,
    until the board is full and the name prompt shows."""
    for _ in range(60):
        if dialog(desktop, "恭喜！"):
            return
        balls = board_of(game.pixels())
        moves = [(ball, farthest_reachable(balls, ball)) for ball in sorted(balls)]
        moves = [(ball, target) for ball, target in moves if target]
        check(moves, "no move on a board of %d balls and no name prompt" % len(balls))
        ball, target = moves[0]
        game.click(*cell_centre(*ball))
        game.click(*cell_centre(*target))

        def settled():
            if dialog(desktop, "恭喜！"):
                return True
            first = board_of(game.pixels())
            time.sleep(0.2)
            return first != balls and first == board_of(game.pixels())
        wait_for(settled, 30, "the move to end")
    raise Failure("the game did not end in 60 moves")


def scenario_unwritable(desktop):
    game = Game(desktop)
    game.key("F4")
    wait_for(lambda: "[CONFIG]\r\nPlaySound=1\r\n" in desktop.appdata_text(), 10,
             "PlaySound=1 in %APPDATA%\\Orvo\\orvo.ini")
    play_to_the_end(desktop, game)
    prompt = dialog(desktop, "恭喜！")[0]
    desktop.xdotool("windowactivate", "--sync", prompt)
    desktop.xdotool("type", "nobody")
    desktop.xdotool("key", "Return")
    # No notice of a failed save follows: the entry is in the file.
    wait_for(lambda: "[TOPTEN]\r\nHero0=" in desktop.appdata_text(), 10,
             "the top ten in %APPDATA%")
    check(not os.path.exists(desktop.ini), "a settings file beside the program")
    saved = desktop.appdata_text()

    # After a restart the same file is read: the switch is on (F4 turns
    # it off) and the top ten is as it was.
    stop(game.process)
    wait_for(lambda: not desktop.probe()[2], 30, "the game to end")
    game = Game(desktop)
    game.key("F4")
    wait_for(lambda: "[CONFIG]\r\nPlaySound=0\r\n" in desktop.appdata_text(), 10, "PlaySound=0")
    top_ten = saved[saved.index("[TOPTEN]"):]
    check(top_ten in desktop.appdata_text(), "the top ten changed: %r" % desktop.appdata_text())
    check(not os.path.exists(desktop.ini), "a settings file beside the program")


def choose(args):
    if len(args) != 3:
        return None
    exe, probe, which = args
    if which == "simultaneous":
        return Scenario(WINE_TOOLS, "orvo-win-starts-",
                        lambda work: WineDesktop(work, exe, probe, None, None),
                        scenario_simultaneous)
    if which == "unwritable":
        return Scenario(WINE_TOOLS, "orvo-win-unwritable-",
                        lambda work: NobodysDesktop(work, exe, probe), scenario_unwritable)
    return None


if __name__ == "__main__":
    sys.exit(run_script(__doc__, choose))
