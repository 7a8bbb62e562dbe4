#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The Windows program under Wine on Xvfb, played with xdotool.

Usage: orvo_win_e2e.py ORVO_EXE ORVO_PROBE_EXE ORVO_TRACE [SHOTS_DIR]

Runs in the Wine prefix named by WINEPREFIX (tests/win32/run_under_wine.sh
makes one). orvo-probe.exe reports what X cannot tell: the system colours,
the tick count and the game's windows as Windows sees them. The client area
on screen is compared pixel for pixel with orvo-trace's picture of the same
game, found by its seed: the tick count at start, which lies between the
probe's readings before and after the start. What a screen reader in
another process reads of the board (orvo-probe --reading) is checked against
the screen. Then the same at 192 dots per inch, where each pixel must be a
crisp 2 x 2 block. Exit code 77: a tool is missing.
With SHOTS_DIR, screenshots of what was checked are kept there.
"""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "support"))
from game_window import (CLIENT_H, CLIENT_W, GameWindow, board_of, cell_centre,  # noqa: E402
                         move_by_keys, select_and_move, switch_sound)
from xsession import (X_TOOLS, Desktop, Failure, Scenario, check, read_ppm,  # noqa: E402
                      run_script, wait_for)

# What the Windows program's scripts need besides: Wine, a window manager
# and a notification area.
WINE_TOOLS = X_TOOLS + ("wine", "openbox", "trayer")
# The system colours as orvo-trace draws them; on screen they are whatever
# the system says.
TRACE_SYSTEM_COLOURS = {
    "COLOR_BTNFACE": (0xF0, 0xF0, 0xF0),
    "COLOR_3DHILIGHT": (0xFF, 0xFF, 0xFF),
    "COLOR_3DLIGHT": (0xE3, 0xE3, 0xE3),
    "COLOR_3DSHADOW": (0xA0, 0xA0, 0xA0),
    "COLOR_3DDKSHADOW": (0x40, 0x40, 0x40),
}
# Chinese text on screen: the dialogs' SimSun and the menu's Tahoma fall
# back to the CJK font the project installs (only for the screenshots).
CJK_LINK = "wqy-microhei.ttc,WenQuanYi Micro Hei"
FONT_REG = "\r\n".join([
    "Windows Registry Editor Version 5.00", "",
    "[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]",
    '"SimSun"="WenQuanYi Micro Hei"',
    '"\u5b8b\u4f53"="WenQuanYi Micro Hei"', "",
    "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]",
    '"Tahoma"=hex(7):' + ",".join("%02x" % b for b in (CJK_LINK + "\0\0").encode("utf-16-le")),
    '"MS Shell Dlg"=hex(7):' + ",".join("%02x" % b for b in (CJK_LINK + "\0\0").encode("utf-16-le")),
    "", ""])


class WineDesktop(Desktop):
    """An X server with a window manager and a notification area, and Wine."""

    def __init__(self, work, exe, probe, trace, shots):
        super().__init__(work, 1280, 1024, "wine.log")
        self.cwd, self.trace, self.shots = work, trace, shots
        game = os.path.join(work, "game")
        os.makedirs(game)
        self.exe = os.path.join(game, os.path.basename(exe))
        self.probe_exe = os.path.join(work, "orvo-probe.exe")
        shutil.copy2(exe, self.exe)
        shutil.copy2(probe, self.probe_exe)
        self.ini = os.path.join(game, "orvo.ini")
        # One Wine server and its helpers for the whole test, not one per command.
        self.run(["wineserver", "-p"])
        self.start(["openbox", "--sm-disable"])
        self.start(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                    "--width", "100", "--heighttype", "pixel", "--height", "24"])
        reg = os.path.join(work, "fonts.reg")
        with open(reg, "w", encoding="utf-16", newline="") as f:
            f.write(FONT_REG)
        self.run(["wine", "regedit", "/S", reg], timeout=60)

    def close(self):
        self.run(["wineserver", "-k"], timeout=30)
        super().close()

    def probe(self):
        """ticks, colours {name: (r, g, b)}, windows [dict] as Windows sees them."""
        out = self.output(["wine", self.probe_exe])
        ticks, colours, windows = None, {}, []
        for line in out.splitlines():
            words = line.split()
            if words[:1] == ["ticks"]:
                ticks = int(words[1])
            elif words[:1] == ["colour"]:
                colours[words[1]] = tuple(bytes.fromhex(words[2]))
            elif words[:1] == ["window"]:
                windows.append({"visible": words[2] == "1", "iconic": words[4] == "1",
                                "client": (int(words[6]), int(words[7])),
                                "origin": (int(words[9]), int(words[10]))})
        check(ticks is not None and len(colours) == 5, "the probe said: %r" % out)
        return ticks, colours, windows

    def reading(self):
        """What a screen reader in another process reads of the game's client
        area: its parts {1..5: name}, the cells {(r, c): name} and the focus
        cell's name, "-" for none."""
        out = self.output(["wine", self.probe_exe, "--reading"])
        parts, cells, focus = {}, {}, None
        for line in out.splitlines():
            words = line.split(" ")
            if words[0] == "part":
                parts[int(words[1])] = " ".join(words[2:])
            elif words[0] == "cell":
                cells[(int(words[1]), int(words[2]))] = " ".join(words[3:])
            elif words[0] == "focus":
                focus = " ".join(words[1:])
        check(focus is not None, "the probe read: %r" % out)
        return parts, cells, focus

    def shot(self, name):
        if self.shots:
            self.run(["import", "-window", "root", os.path.join(self.shots, name + ".png")])

    def trace_run(self, script):
        result = subprocess.run([self.trace], input=script, capture_output=True, text=True,
                                timeout=120, cwd=self.work)
        check(result.returncode == 0, "orvo-trace failed: " + result.stderr)
        return result.stdout


class Game(GameWindow):
    """The game under Wine: found by the probe, its seed among the tick
    counts around its start."""

    def __init__(self, desktop, argv=None):
        self.desktop = desktop
        before, self.colours, windows = desktop.probe()
        check(not windows, "a game window exists before the start")
        self.process = desktop.start(argv or ["wine", desktop.exe])
        self.info = wait_for(lambda: self.shown_window(), 60, "the game window")
        after = desktop.probe()[0]
        # The first game's seed is the tick count when it started.
        self.seeds = range(before, after + 1)
        self.client = self.info["origin"]

    def shown_window(self):
        windows = self.desktop.probe()[2]
        return windows[0] if len(windows) == 1 and windows[0]["visible"] else None

    def focus(self):
        window = self.desktop.visible_windows()
        check(len(window) == 1, "X shows %d windows titled Orvo" % len(window))
        self.desktop.xdotool("windowactivate", "--sync", window[0])
        self.desktop.xdotool("windowfocus", "--sync", window[0])

    def scaled_pixels(self, scale):
        """The client area of a scaled window, one pixel per block of scale x
        scale, or None while some block is not of one colour."""
        big = self.desktop.grab(self.client[0], self.client[1], CLIENT_W * scale, CLIENT_H * scale)
        small = []
        for y in range(CLIENT_H):
            row = []
            for x in range(CLIENT_W):
                block = {big[y * scale + j][x * scale + i] for j in range(scale) for i in range(scale)}
                if len(block) != 1:
                    return None
                row.append(block.pop())
            small.append(row)
        return small


def find_seed(desktop, seeds, balls):
    """The seeds whose first game puts balls where the screen shows them."""
    script = "".join("ticks %d\nnew\nstate\n" % seed for seed in seeds)
    lines = desktop.trace_run(script).splitlines()
    rows = [line for line in lines if line.startswith("row ")]
    found = []
    for i, seed in enumerate(seeds):
        cells = set()
        for r, line in enumerate(rows[9 * i:9 * i + 9], start=1):
            cells |= {(r, c) for c, v in enumerate(line.split()[2], start=1) if v != "0"}
        if cells == set(balls):
            found.append(seed)
    return found


def trace_picture(desktop, script):
    """The client area as orvo-trace draws it after script."""
    path = os.path.join(desktop.work, "trace.ppm")
    desktop.trace_run(script + "snapshot %s\n" % path)
    with open(path, "rb") as f:
        return read_ppm(f.read())


def differences(expected, screen, colours):
    """Pixels where the screen and orvo-trace's picture differ, beyond the
    system colours, which the screen shows as the system has them."""
    system = {TRACE_SYSTEM_COLOURS[name]: colours[name] for name in TRACE_SYSTEM_COLOURS}
    wrong = []
    for y in range(CLIENT_H):
        for x in range(CLIENT_W):
            want, got = expected[y][x], screen[y][x]
            if got != want and system.get(want) != got:
                wrong.append((x, y, want, got))
    return wrong


def same_as_trace(desktop, screen, scripts, colours, what, grab=None, timeout=5):
    """The script whose picture the screen shows. With grab, the screen is
    taken again until it matches: the last steps of a move (the preview's
    scroll after the last ball lands) may still be on their way when the
    board first looks complete."""
    pictures = [(script, trace_picture(desktop, script)) for script in scripts]
    deadline = time.monotonic() + timeout
    while True:
        best = None
        for script, picture in pictures:
            wrong = differences(picture, screen, colours)
            if not wrong:
                return script
            if best is None or len(wrong) < len(best):
                best = wrong
        if grab is None or time.monotonic() > deadline:
            raise Failure("%s differs from orvo-trace's picture in %d pixels, e.g. %s"
                          % (what, len(best), best[:5]))
        time.sleep(0.1)
        screen = grab()


def check_reading(desktop, balls, focus=None):
    """A screen reader's names for the cells say where the screen shows a
    ball and where none; the focus cell is the one given, or none."""
    parts, cells, read_focus = desktop.reading()
    check(parts.get(1) == "棋盘" and len(parts) == 5 and len(cells) == 81,
          "the screen reader's parts: %s, %d cells" % (parts, len(cells)))
    for (r, c), name in sorted(cells.items()):
        place = "第%d行第%d列，" % (r, c)
        check(name.startswith(place) and (name == place + "空") == ((r, c) not in balls),
              "cell %d %d is read as %s" % (r, c, name))
    if focus is None:
        check(read_focus == "-", "the focus is read on %s" % read_focus)
    else:
        check(read_focus == cells[focus], "the focus is read on %s, not %s" % (read_focus, focus))
    return parts


def tray_icon(desktop):
    """The centre of an icon docked in the notification area, if any."""
    panels = desktop.visible_windows("^panel$")
    check(len(panels) == 1, "no notification area")
    px, py, pw, ph = desktop.geometry(panels[0])
    for window in desktop.visible_windows(".*"):
        x, y, w, h = desktop.geometry(window)
        if 8 <= w <= 32 and 8 <= h <= 32 and px <= x and x + w <= px + pw and py <= y \
                and y + h <= py + ph:
            return x + w // 2, y + h // 2
    return None


def scenario(desktop):
    game = Game(desktop)
    info, colours = game.info, game.colours
    print("system colours: " + ", ".join("%s %02X%02X%02X" % ((name,) + colours[name])
                                         for name in sorted(colours)))
    check(info["client"] == (CLIENT_W, CLIENT_H), "client area %s" % (info["client"],))
    check(desktop.visible_windows(), "no X window titled Orvo")

    pixels = wait_for(lambda: (lambda p: p if len(board_of(p)) == 3 else None)(game.pixels()), 10,
                      "three balls on the board")
    desktop.shot("main-window")
    balls = board_of(pixels)
    seeds = find_seed(desktop, game.seeds, balls)
    check(seeds, "no seed in %d..%d gives this board" % (game.seeds[0], game.seeds[-1]))
    starts = ["ticks %d\nnew\n" % seed for seed in seeds]
    start = same_as_trace(desktop, pixels, starts, colours, "the first game")
    # The background around the panels is the window's own colour, as the
    # frame and the menu around it are.
    check(pixels[0][0] == colours["COLOR_BTNFACE"],
          "client background %s, the system's face colour %s" % (pixels[0][0],
                                                                  colours["COLOR_BTNFACE"]))

    # Read from another process, through the window's own objects.
    parts = check_reading(desktop, balls)
    check((parts[2], parts[4]) == ("消去球数：0", "得分：0"), "the counters read %s" % parts)

    # A ball blinks once selected and walks to the farthest free cell;
    # the board after the turn is drawn as orvo-trace draws it.
    cell, target, after = select_and_move(game, balls)
    turn = start + "click %d %d\nclick %d %d\n" % (cell_centre(*cell) + cell_centre(*target))
    same_as_trace(desktop, after, [turn], colours, "the board after a move", game.pixels)

    # The next move by the keyboard: the board and its focus frame as
    # orvo-trace draws them after the same keys; a right click takes the
    # frame off.
    pressed, target, after = move_by_keys(game, board_of(after))
    turn += "".join("key %s\n" % name for name in pressed)
    same_as_trace(desktop, after, [turn], colours, "the board after a move by keys", game.pixels)
    check_reading(desktop, board_of(after), target)
    game.click(*cell_centre(*target), button=3)
    same_as_trace(desktop, game.pixels(), [turn + "rclick 0 0\n"], colours,
                  "the board once the mouse took the focus off", game.pixels)
    check_reading(desktop, board_of(after))

    # F4 writes the switch beside the program, in Windows' line ends.
    switch_sound(game, desktop, "\r\n")

    # A second start while the game is on screen opens no second window.
    second = desktop.run(["wine", desktop.exe], timeout=60)
    check(second.returncode == 0, "second start exited with %d" % second.returncode)
    windows = desktop.probe()[2]
    check(len(windows) == 1 and windows[0]["visible"], "after a second start: %s" % windows)
    check(game.process.poll() is None, "the first game ended")

    # Esc: into the notification area; a click on the icon brings it back.
    game.key("Escape")
    wait_for(lambda: not desktop.probe()[2][0]["visible"], 10, "the window to hide")
    ix, iy = wait_for(lambda: tray_icon(desktop), 10, "the tray icon")
    desktop.shot("tray")
    desktop.xdotool("mousemove", ix, iy, "click", 3)
    time.sleep(1)
    check(not desktop.probe()[2][0]["visible"], "a right click on the icon showed the window")
    desktop.xdotool("mousemove", ix, iy, "click", 1)
    wait_for(lambda: game.shown_window(), 10, "the window to come back from the icon")
    wait_for(lambda: tray_icon(desktop) is None, 10, "the icon to go")
    wait_for(lambda: len(board_of(game.pixels())) == len(board_of(after)), 10,
             "the board to be repainted")

    # Hidden again, a second start brings it back.
    game.key("Escape")
    wait_for(lambda: not desktop.probe()[2][0]["visible"], 10, "the window to hide again")
    second = desktop.run(["wine", desktop.exe], timeout=60)
    check(second.returncode == 0, "second start exited with %d" % second.returncode)
    wait_for(lambda: game.shown_window(), 10, "the window to come back on a second start")
    wait_for(lambda: tray_icon(desktop) is None, 10, "the icon to go again")


def scenario_scaled(desktop):
    """At 192 dots per inch the board is drawn twice as large, each pixel a
    crisp 2 x 2 block of what orvo-trace draws."""
    desktop.run(["wineserver", "-k"])
    for key in ("HKCU\\Control Panel\\Desktop",
                "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts"):
        desktop.run(["wine", "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "192",
                     "/f"], timeout=60)
    desktop.run(["wineserver", "-k"])
    desktop.run(["wineserver", "-p"])
    game = Game(desktop)
    check(game.info["client"] == (2 * CLIENT_W, 2 * CLIENT_H),
          "client area %s at twice the density" % (game.info["client"],))
    pixels = wait_for(lambda: (lambda p: p if p and len(board_of(p)) == 3 else None)(
        game.scaled_pixels(2)), 10, "three balls on the scaled board")
    desktop.shot("main-window-scaled")
    seeds = find_seed(desktop, game.seeds, board_of(pixels))
    check(seeds, "no seed gives the scaled board")
    same_as_trace(desktop, pixels, ["ticks %d\nnew\n" % seed for seed in seeds], game.colours,
                  "the scaled first game")


def choose(args):
    if len(args) not in (3, 4):
        return None
    shots = args[3] if len(args) == 4 else None

    def play(desktop):
        scenario(desktop)
        scenario_scaled(desktop)

    return Scenario(WINE_TOOLS, "orvo-win-e2e-",
                    lambda work: WineDesktop(work, *args[:3], shots), play)


if __name__ == "__main__":
    sys.exit(run_script(__doc__, choose))
