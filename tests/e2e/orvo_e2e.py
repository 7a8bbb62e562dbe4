#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The real game under Xvfb, played with xdotool and read off the screen.

Usage: orvo_e2e.py PATH_TO_ORVO SCENARIO [QT_PLATFORM_PLUGIN_FOLDER [SNI_HOST]]

Each scenario runs on its own X display, with a fresh copy of the program
in its own folder (so its settings file is its own) and its own temporary
folder (so its single-instance socket meets no other game). Exit code 77
means the scenario cannot run here (a tool is missing). The scenario
"installed" runs the program where it is, as a package installed it, with a
home folder of its own. The scenario "wayland" runs the game as a Wayland
client of Weston, which shows its output in a window on the X display and
passes xdotool's input on, and ends with the window's own title bar;
"wayland_tray" adds a notification area on a D-Bus session bus of its own;
"keys" and "wayland_keys" make a move with the keyboard alone.
"""

import copy
import json
import os
import queue
import shutil
import signal
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "support"))
from game_window import (BOARD_LEFT, BOARD_TOP, CLIENT_H, CLIENT_W, EVEN_SQUARE,  # noqa: E402
                         SQUARE, GameWindow, board_of, cell_centre, farthest_reachable,
                         focus_shown, move_by_keys, select_and_move, square, square_corner,
                         switch_sound)
from xsession import (START_TIMEOUT, X_TOOLS, Desktop, Failure, Scenario, Skip, TimedOut,  # noqa: E402
                      check, require, run_script, start_xvfb, wait_for,
                      wait_for_window_manager)

SCREEN_W, SCREEN_H = 800, 600


class LinuxDesktop(Desktop):
    """An X server of our own with a home and a copy of the game for the
    scenario alone."""

    def __init__(self, orvo, work, installed=False):
        super().__init__(work, SCREEN_W, SCREEN_H, "stderr.log")
        self.env.update({"TMPDIR": os.path.join(work, "tmp"),
                         "XDG_RUNTIME_DIR": os.path.join(work, "run"), "HOME": work})
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        for sub in ("tmp", "run", "game"):
            os.makedirs(os.path.join(work, sub), mode=0o700)
        if installed:
            self.env.pop("XDG_CONFIG_HOME", None)
            self.orvo = orvo
            self.ini = os.path.join(work, ".config", "orvo", "orvo.ini")
        else:
            # A copy of its own, so that the settings file lands beside it here.
            self.orvo = os.path.join(work, "game", "orvo")
            shutil.copy2(orvo, self.orvo)
            self.ini = os.path.join(work, "game", "orvo.ini")

    def start_session_bus(self):
        """A D-Bus session bus of our own; its address."""
        path = os.path.join(self.env["XDG_RUNTIME_DIR"], "bus")
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1",
                                "--address=unix:path=" + path],
                               stdout=subprocess.PIPE, stderr=self.log, text=True)
        self.processes.append(bus)
        return Lines(bus).expect("unix:", "the session bus")

    def second_display(self):
        """The same user, folders and program on another X display."""
        other = copy.copy(self)
        other.processes = []
        other.xvfb, display = start_xvfb(SCREEN_W, SCREEN_H)
        other.env = dict(self.env, DISPLAY=display)
        return other


class WaylandDesktop(LinuxDesktop):
    """Weston in a window on our X server, and the game as its client."""

    SOCKET = "orvo-e2e"

    def __init__(self, orvo, work, qt_platforms, sni_host=None):
        super().__init__(orvo, work)
        self.qt_platforms = qt_platforms
        self.sni_host = sni_host
        self.game_env = dict(self.env, WAYLAND_DISPLAY=self.SOCKET, QT_QPA_PLATFORM="wayland")
        # Nothing to fall back to: the game is a Wayland client or nothing.
        del self.game_env["DISPLAY"]

    def start_compositor(self):
        # Its window fills our screen, at the origin: its output's pixels
        # are the screen's.
        weston = self.start(["weston", "--backend=x11-backend.so", "--use-pixman", "--no-config",
                             "--idle-time=0", "--socket=" + self.SOCKET,
                             "--width=%d" % SCREEN_W, "--height=%d" % SCREEN_H])
        socket = os.path.join(self.env["XDG_RUNTIME_DIR"], self.SOCKET)

        def ready():
            check(weston.poll() is None, "Weston ended with %s" % weston.returncode)
            return os.path.exists(socket)
        wait_for(ready, 30, "Weston")

    def start_session_bus(self):
        """A D-Bus session bus of our own, for the game and a notification area."""
        address = super().start_session_bus()
        self.game_env["DBUS_SESSION_BUS_ADDRESS"] = address
        return address

    def start_game(self):
        process = subprocess.Popen([self.orvo], env=self.game_env, stdout=subprocess.DEVNULL,
                                   stderr=self.log)
        self.processes.append(process)
        return process

    def run_game(self):
        return subprocess.run([self.orvo], env=self.game_env, capture_output=True, text=True,
                              timeout=30)


class Lines:
    """What a helper we started says on its standard output, line by line."""

    def __init__(self, process):
        self.process = process
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.strip())

    def expect(self, prefix, what, timeout=START_TIMEOUT):
        """The next line that starts with prefix; fails after timeout."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                line = self.lines.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                raise TimedOut("timed out waiting for " + what)
            if line.startswith(prefix):
                return line


class Game(GameWindow):
    """The running game's window, seen from outside."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.process = desktop.start([desktop.orvo])
        windows = wait_for(desktop.visible_windows, 30, "the game window")
        check(len(windows) == 1, "more than one game window: %s" % windows)
        self.window = windows[0]
        x, y, w, h = desktop.geometry(self.window)
        check(w == CLIENT_W, "window is %d pixels wide" % w)
        # The client area is what lies below the one-line menu bar.
        self.menu_height = h - CLIENT_H
        check(12 <= self.menu_height <= 40, "menu bar of %d pixels" % self.menu_height)
        self.client = (x, y + self.menu_height)
        self.outer = (x, y, w, h)

    def focus(self):
        self.desktop.xdotool("windowfocus", "--sync", self.window)


class WaylandGame(Game):
    """The game on Weston: found on the screen by its board, since no X
    window stands for it."""

    def __init__(self, desktop):
        self.desktop = desktop
        # Weston draws the pointer into its output, where it would hide
        # what it points at; it waits in a corner the window never takes.
        desktop.xdotool("mousemove", 0, SCREEN_H - 1)
        self.process = desktop.start_game()
        self.client = wait_for(self.locate, 30, "the game window on Weston")

    def locate(self):
        """Where the client area is on the screen now, or None."""
        check(self.process.poll() is None, "the game ended with %s" % self.process.returncode)
        return find_board(self.desktop.grab(0, 0, SCREEN_W, SCREEN_H))

    def click(self, cx, cy, button=1):
        super().click(cx, cy, button)
        self.desktop.xdotool("mousemove", 0, SCREEN_H - 1)

    def shows_cell_empty(self, r, c):
        check(self.process.poll() is None, "the game ended with %s" % self.process.returncode)
        return super().shows_cell_empty(r, c)

    def key(self, name):
        # Weston gives its keyboard focus to the window last clicked.
        self.desktop.xdotool("key", name)


def misplaced_square(pixels, left=0, top=0):
    """The first square not at its place with the client area at left, top:
    the inside corner of each square (never covered by a ball) has the
    square's grey, and its raised edges one pixel further out, above and to
    the left, have not."""
    for r in range(1, 10):
        for c in range(1, 10):
            x, y = square_corner(r, c)
            x, y = x + left, y + top
            grey = square(r, c)
            if pixels[y + 1][x + 1] != grey or grey in (pixels[y][x + 1], pixels[y + 1][x]):
                return (r, c)
    return None


def find_board(pixels):
    """The top left corner of the client area whose board the screen shows."""
    width, height = len(pixels[0]), len(pixels)
    for y in range(BOARD_TOP + 1, height - 9 * SQUARE):
        for x in range(BOARD_LEFT + 1, width - 9 * SQUARE):
            # The first square's inside corner.
            if pixels[y][x] == EVEN_SQUARE and pixels[y - 1][x - 1] != EVEN_SQUARE:
                left, top = x - 1 - BOARD_LEFT, y - 1 - BOARD_TOP
                if not misplaced_square(pixels, left, top):
                    return left, top
    return None


def check_ends_well(desktop, game, how):
    """The game ends within ten seconds, and well."""
    try:
        code = game.process.wait(10)
    except subprocess.TimeoutExpired:
        raise Failure("the game did not end " + how)
    desktop.log.seek(0)
    check(ended_well(code, desktop.log.read()), "the game ended with %d %s" % (code, how))


def ended_well(code, stderr):
    """Exit status 0, or a sanitizer build's report of nothing but leaks:
    what system libraries (libdbus, libwayland-client) leave behind at exit
    is an end, not a hang or a crash."""
    return code == 0 or ("ERROR: LeakSanitizer" in stderr
                         and "ERROR: AddressSanitizer" not in stderr
                         and "runtime error" not in stderr)


def scenario_play(desktop):
    game = Game(desktop)
    x, y, w, h = game.outer
    check(abs(x - (SCREEN_W - w) // 2) <= 1 and abs(y - (SCREEN_H - h) // 2) <= 1,
          "window at %d,%d is not centred" % (x, y))
    if shutil.which("xprop"):
        icons = desktop.output(["xprop", "-id", game.window, "_NET_WM_ICON"])
        for size in (16, 32, 128):
            check("Icon (%d x %d)" % (size, size) in icons, "no %d-pixel window icon" % size)

    # Every square at its place, pixel for pixel.
    pixels = wait_for(lambda: (lambda p: None if misplaced_square(p) else p)(game.pixels()), 10,
                      "the board to show with every square in its place")
    balls = game.board(pixels)
    check(len(balls) == 3, "the first game shows %d balls" % len(balls))

    # A ball blinks once selected and walks to the farthest free cell.
    select_and_move(game, balls)

    switch_sound(game, desktop, "\n")

    # A second start while the game is on screen: no second window.
    second = desktop.run([desktop.orvo], timeout=30)
    check(second.returncode == 0, "second start exited with %d" % second.returncode)
    time.sleep(0.5)
    check(desktop.visible_windows() == [game.window], "a second window opened")
    check(game.process.poll() is None, "the first game ended")


def scenario_keys(desktop):
    """A move made with the keyboard alone; the mouse then takes the focus
    frame off and leaves the board exactly as it was."""
    game = Game(desktop)
    pixels = wait_for(lambda: (lambda p: None if misplaced_square(p) else p)(game.pixels()), 10,
                      "the board to show with every square in its place")
    balls = game.board(pixels)
    check(len(balls) == 3, "the first game shows %d balls" % len(balls))
    check(not any(focus_shown(pixels, r, c) for r in range(1, 10) for c in range(1, 10)),
          "a focus frame before any key")
    _, target, after = move_by_keys(game, balls)
    game.click(*cell_centre(*target), button=3)
    wait_for(lambda: not focus_shown(game.pixels(), *target), 3, "the focus frame to go")
    check(misplaced_square(game.pixels()) is None and game.board() == board_of(after),
          "the board changed when the focus frame went")


def tray_icon(desktop, game):
    """The visible window of our program that is not the main window."""
    for window in desktop.xdotool("search", "--onlyvisible", "--class", "^orvo$"):
        if window != game.window and desktop.geometry(window)[2] <= 64:
            return window
    return None


def scenario_tray(desktop):
    require("trayer")
    desktop.start(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                   "--width", "100", "--heighttype", "pixel", "--height", "24"])
    wait_for(lambda: desktop.xdotool("search", "--onlyvisible", "--class", "trayer"), 10,
             "the notification area")
    game = Game(desktop)

    # Esc: the window leaves the screen and an icon takes its place.
    game.key("Escape")
    wait_for(lambda: not desktop.visible_windows(), 5, "the window to hide")
    icon = wait_for(lambda: tray_icon(desktop, game), 5, "the tray icon")
    x, y, w, h = desktop.geometry(icon)
    # The game's picture, not an empty square of the panel's colour.
    check(len({p for row in desktop.grab(x, y, w, h) for p in row}) > 2, "the tray icon is blank")

    # A right click on the icon does nothing; a left click brings the game
    # back and the icon goes.
    desktop.xdotool("mousemove", x + w // 2, y + h // 2, "click", 3)
    time.sleep(0.5)
    check(not desktop.visible_windows(), "a right click on the icon showed the window")
    desktop.xdotool("mousemove", x + w // 2, y + h // 2, "click", 1)
    wait_for(lambda: desktop.visible_windows() == [game.window], 5, "the window to return")
    wait_for(lambda: tray_icon(desktop, game) is None, 5, "the icon to go")
    check(len(game.board()) == 3, "the board did not come back whole")

    # Hidden again, a second start brings it back and opens nothing else.
    game.key("Escape")
    wait_for(lambda: not desktop.visible_windows(), 5, "the window to hide again")
    wait_for(lambda: tray_icon(desktop, game), 5, "the tray icon again")
    second = desktop.run([desktop.orvo], timeout=30)
    check(second.returncode == 0, "second start exited with %d" % second.returncode)
    wait_for(lambda: desktop.visible_windows() == [game.window], 5, "the window to return")
    wait_for(lambda: tray_icon(desktop, game) is None, 5, "the icon to go")


def window_state(desktop, window):
    return desktop.output(["xprop", "-id", window, "WM_STATE"])


def scenario_minimise(desktop):
    # A window manager to minimise into, and no notification area.
    require("openbox", "xprop")
    wait_for_window_manager(desktop.env, desktop.start(["openbox", "--sm-disable"]))
    game = Game(desktop)
    wait_for(lambda: "Normal" in window_state(desktop, game.window), 5, "a managed window")

    # The window with the border the window manager gives it is centred.
    def framed():
        extents = desktop.output(["xprop", "-id", game.window, "_NET_FRAME_EXTENTS"])
        if "=" not in extents:
            return None
        left, right, top, bottom = (int(v) for v in extents.split("=")[1].split(","))
        x, y, w, h = desktop.geometry(game.window)
        return x - left, y - top, w + left + right, h + top + bottom
    frame = wait_for(framed, 5, "the window's border")
    wait_for(lambda: (lambda f: abs(f[0] - (SCREEN_W - f[2]) // 2) <= 1 and
                      abs(f[1] - (SCREEN_H - f[3]) // 2) <= 1)(framed()), 5,
             "the framed window to be centred (it is at %d,%d, %dx%d)" % frame)

    game.key("Escape")
    wait_for(lambda: "Iconic" in window_state(desktop, game.window), 5, "the window to minimise")
    check(not desktop.visible_windows(), "the minimised window is still on screen")

    second = desktop.run([desktop.orvo], timeout=30)
    check(second.returncode == 0, "second start exited with %d" % second.returncode)
    wait_for(lambda: "Normal" in window_state(desktop, game.window), 5, "the window to return")
    wait_for(lambda: desktop.visible_windows() == [game.window], 5, "the window on screen")


def move_farthest(game):
    """Selects the first ball and sends it to the farthest free cell; returns
    the cell and the colour that must arrive there."""
    balls = game.board()
    cell = sorted(balls)[0]
    game.click(*cell_centre(*cell))
    time.sleep(0.3)
    target = farthest_reachable(balls, cell)
    game.click(*cell_centre(*target))
    return target, balls[cell]


def scenario_sound_hang(desktop):
    # The default sound device writes into a FIFO that nobody reads: opening
    # it blocks for ever, in the middle of ALSA's set-up.
    fifo = os.path.join(desktop.work, "sink")
    os.mkfifo(fifo)
    with open(os.path.join(desktop.work, ".asoundrc"), "w") as f:
        f.write('pcm.!default {\n type file\n slave.pcm "null"\n file "%s"\n format "raw"\n}\n'
                % fifo)
    with open(desktop.ini, "w") as f:
        f.write("[CONFIG]\nPlaySound=1\n")

    game = Game(desktop)
    wait_for(lambda: len(game.board()) == 3, 10, "the first three balls")
    target, colour = move_farthest(game)
    wait_for(lambda: game.board().get(target) == colour, 10, "the ball to arrive with the sound on")

    # Off and on again: the device is tried again, still hangs, and is given
    # up again; the game goes on.
    game.key("F4")
    wait_for(lambda: "PlaySound=0" in desktop.ini_text(), 5, "PlaySound=0")
    game.key("F4")
    wait_for(lambda: "PlaySound=1" in desktop.ini_text(), 5, "PlaySound=1")
    target, colour = move_farthest(game)
    wait_for(lambda: game.board().get(target) == colour, 10, "the second move")

    # The hung sound must not keep the program from ending.
    game.key("alt+g")
    time.sleep(0.3)
    desktop.xdotool("key", "x")
    check_ends_well(desktop, game, "after 退出")


def scenario_displays(desktop):
    # A start on another display is a game of its own there, and a second
    # start on that display wakes that game, not the first one.
    other = desktop.second_display()
    try:
        first = Game(desktop)
        second = Game(other)
        check(first.process.poll() is None, "the first game ended")
        again = other.run([other.orvo], timeout=30)
        check(again.returncode == 0, "a further start exited with %d" % again.returncode)
        time.sleep(0.5)
        check(other.visible_windows() == [second.window], "a further window opened")
        check(desktop.visible_windows() == [first.window], "the first display changed")
    finally:
        other.close(own_log=False)


def play_to_the_end(game):
    """Moves balls to far cells until the board is full and the game asks
    for a name; returns the name dialog's window."""
    def settled():
        first = game.board()
        time.sleep(0.15)
        return first if game.board() == first else None

    for _ in range(200):
        dialogs = game.desktop.visible_windows("^恭喜！$")
        if dialogs:
            return dialogs[0]
        balls = wait_for(settled, 10, "the board to settle")
        movable = [cell for cell in sorted(balls) if farthest_reachable(balls, cell)]
        if not movable:
            continue
        cell = movable[0]
        game.click(*cell_centre(*cell))
        game.click(*cell_centre(*farthest_reachable(balls, cell)))
        wait_for(lambda: game.desktop.visible_windows("^恭喜！$") or game.board() != balls, 10,
                 "the move to change the board")
    raise Failure("the game did not end")


def give_name(desktop, dialog, name):
    desktop.xdotool("windowactivate", "--sync", dialog)
    desktop.xdotool("key", "--window", dialog, "ctrl+a")
    desktop.xdotool("type", "--window", dialog, name)
    desktop.xdotool("key", "--window", dialog, "Return")
    wait_for(lambda: not desktop.visible_windows("^恭喜！$"), 10, "the name dialog to close")


def scenario_shared_top_ten(desktop):
    # Two games on two displays share one settings file and start with the
    # same empty list; the second to end must keep the first one's entry.
    other = desktop.second_display()
    try:
        first = Game(desktop)
        second = Game(other)
        first_dialog = play_to_the_end(first)
        second_dialog = play_to_the_end(second)
        give_name(desktop, first_dialog, "first")
        wait_for(lambda: "Hero0=" in desktop.ini_text(), 10, "the first entry in the file")
        give_name(other, second_dialog, "second")
        wait_for(lambda: "Hero1=" in desktop.ini_text(), 10,
                 "both entries in the file: %r" % desktop.ini_text())
        heroes = [line for line in desktop.ini_text().splitlines() if line.startswith("Hero")]
        check(len(heroes) == 2 and heroes[0][6:] != heroes[1][6:], "the list: %s" % heroes)
    finally:
        other.close(own_log=False)


NO_ANSWER = "orvo: another game is running here but does not answer; close it and try again\n"


def scenario_stopped(desktop):
    # A stopped game cannot come forward: a second start says so, in a box
    # and on stderr, fails, and opens no game of its own. Once the game runs
    # again, a start wakes it as ever.
    game = Game(desktop)
    game.process.send_signal(signal.SIGSTOP)
    try:
        second = subprocess.Popen([desktop.orvo], env=desktop.env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.PIPE, text=True)
        desktop.processes.append(second)
        boxes = wait_for(lambda: [w for w in desktop.visible_windows() if w != game.window], 15,
                         "the second start's box")
        check(len(boxes) == 1, "windows besides the game: %s" % boxes)
        check(desktop.geometry(boxes[0])[2:] != game.outer[2:], "the second start opened a game")
        check(second.poll() is None, "the second start ended with its box still up")
        desktop.xdotool("windowfocus", "--sync", boxes[0])
        desktop.xdotool("key", "Return")
        try:
            code = second.wait(10)
        except subprocess.TimeoutExpired:
            raise Failure("the second start did not end when its box was closed")
        said = second.stderr.read()
        check(code == 1 or (code != 0 and ended_well(code, said)),
              "the second start exited with %d:\n%s" % (code, said[-2000:]))
        check(NO_ANSWER in said, "the second start did not say why:\n%s" % said[-2000:])
    finally:
        game.process.send_signal(signal.SIGCONT)

    again = desktop.run([desktop.orvo], timeout=30)
    check(again.returncode == 0, "a start after the game went on exited with %d" % again.returncode)
    time.sleep(0.5)
    check(desktop.visible_windows() == [game.window], "a second window opened")


def scenario_installed(desktop):
    # The package's own version is the one the program reports.
    package = desktop.output(["dpkg-query", "-W", "-f=${Version}", "orvo"])
    version = desktop.output([desktop.orvo, "--version"])
    check(version == "Orvo %s\n" % package, "--version says %r, the package %r" % (version, package))
    game = Game(desktop)
    wait_for(lambda: os.path.isdir(os.path.dirname(desktop.ini)), 5, "~/.config/orvo")
    game.key("F4")
    wait_for(lambda: "[CONFIG]\nPlaySound=1\n" in desktop.ini_text(), 5, "PlaySound=1 in ~/.config/orvo")
    beside = os.path.join(os.path.dirname(desktop.orvo), "orvo.ini")
    check(not os.path.exists(beside), "settings written beside the installed program: " + beside)


def require_wayland(desktop):
    require("weston")
    if not os.path.exists(os.path.join(desktop.qt_platforms, "libqwayland-generic.so")):
        raise Skip("Qt's Wayland platform plugin is not installed")


def title_bar_buttons(game):
    """The buttons on the game's own title bar, left to right, each as a
    point on its glyph: what stands out from the bar's grey in its right
    third (right of the title), in groups with bare columns between them."""
    x, y = game.client
    above = min(y, 100)
    rows = game.desktop.grab(x, y - above, CLIENT_W, above)
    # The window's right edge is its own light grey up to its top; the
    # desktop round it is darker.
    edge = CLIENT_W - 2
    top = above
    while top > 0 and min(rows[top - 1][edge]) >= 200:
        top -= 1
    grey = rows[top][edge]
    ink = sorted((cx, cy) for cy in range(top, above)
                 for cx in range(CLIENT_W * 2 // 3, CLIENT_W)
                 if max(abs(a - b) for a, b in zip(rows[cy][cx], grey)) > 40)
    groups = []
    for cx, cy in ink:
        if groups and cx - groups[-1][-1][0] <= 2:
            groups[-1].append((cx, cy))
        else:
            groups.append([(cx, cy)])
    return [(x + g[len(g) // 2][0], y - above + g[len(g) // 2][1]) for g in groups]


def check_title_bar(desktop, game):
    """The window's own title bar on Weston: minimise and close and no
    maximise; dragging it moves the window, its minimise sends the window
    off the screen until a second start, and its close ends the game."""
    buttons = wait_for(lambda: (lambda b: b if len(b) >= 2 else None)(title_bar_buttons(game)),
                       5, "the title bar's buttons")
    check(len(buttons) == 2, "the title bar has %d buttons, not minimise and close: %s"
          % (len(buttons), buttons))
    minimise, close = buttons

    # Dragged by the bar left of its title, the window follows the pointer.
    before = game.client
    wanted = (60 if before[0] > 200 else 400, 120)
    grip = (before[0] + CLIENT_W // 4, minimise[1])
    to = (grip[0] + wanted[0] - before[0], grip[1] + wanted[1] - before[1])
    desktop.xdotool("mousemove", *grip, "mousedown", 1)
    try:
        def moved():
            # Weston moves the window with the pointer's motion once the
            # press has reached the game: the pointer goes on moving.
            desktop.xdotool("mousemove", to[0], to[1] + 1, "mousemove", *to)
            return game.locate() == wanted
        wait_for(moved, 5, "the window dragged by its title bar from %s to %s" % (before, wanted))
    finally:
        desktop.xdotool("mouseup", 1, "mousemove", 0, SCREEN_H - 1)
    game.client = wanted

    minimise, _ = title_bar_buttons(game)
    desktop.xdotool("mousemove", *minimise, "click", 1, "mousemove", 0, SCREEN_H - 1)
    wait_for(lambda: game.locate() is None, 5, "the window to leave the screen by its minimise")
    second = desktop.run_game()
    check(ended_well(second.returncode, second.stderr),
          "second start exited with %d:\n%s" % (second.returncode, second.stderr[-2000:]))
    game.client = wait_for(game.locate, 10, "the window to come back after its minimise")

    _, close = title_bar_buttons(game)
    desktop.xdotool("mousemove", *close, "click", 1)
    check_ends_well(desktop, game, "by its close button")


def scenario_wayland(desktop):
    require_wayland(desktop)
    desktop.start_compositor()
    game = WaylandGame(desktop)
    balls = wait_for(lambda: (lambda b: b if len(b) == 3 else None)(game.board()), 10,
                     "the first three balls")
    _, _, after = select_and_move(game, balls)
    after_move = board_of(after)

    # Weston maximises the window with a key of its own, although the game
    # told it the window has one size. The game lives on, at its size.
    # The game makes its window anew, which Weston puts somewhere else.
    before = game.client
    game.key("super+shift+m")

    def made_anew():
        at = game.locate()
        return at if at not in (None, before) else None
    game.client = wait_for(made_anew, 10, "the window made anew at its own size after a maximise")
    board = game.board()
    check(board == after_move,
          "the board changed with the maximise: %s, was %s" % (board, after_move))
    # And it still draws: a selected ball blinks.
    cell = sorted(after_move)[0]
    game.click(*cell_centre(*cell))
    wait_for(lambda: game.shows_cell_empty(*cell), 3, "the selected ball to blink")
    game.click(*cell_centre(*cell), button=3)

    # Esc minimises (no notification area here); a second start brings the
    # game back.
    game.key("Escape")
    wait_for(lambda: game.locate() is None, 5, "the window to leave the screen")
    second = desktop.run_game()
    check(ended_well(second.returncode, second.stderr),
          "second start exited with %d:\n%s" % (second.returncode, second.stderr[-2000:]))
    game.client = wait_for(game.locate, 10, "the window to come back")
    check(game.board() == after_move, "the board did not come back whole")

    check_title_bar(desktop, game)


def scenario_wayland_keys(desktop):
    """The move by keys on Weston, which gives the keyboard to the window
    last clicked: a right click on the board first, which does nothing."""
    require_wayland(desktop)
    desktop.start_compositor()
    game = WaylandGame(desktop)
    balls = wait_for(lambda: (lambda b: b if len(b) == 3 else None)(game.board()), 10,
                     "the first three balls")
    game.click(*cell_centre(5, 5), button=3)
    _, target, after = move_by_keys(game, balls)
    game.click(*cell_centre(*target), button=3)
    wait_for(lambda: not focus_shown(game.pixels(), *target), 3, "the focus frame to go")
    check(game.board() == board_of(after), "the board changed when the focus frame went")


def scenario_wayland_tray(desktop):
    require_wayland(desktop)
    require("dbus-daemon")
    desktop.start_compositor()
    address = desktop.start_session_bus()
    host = subprocess.Popen([desktop.sni_host],
                            env=dict(desktop.env, DBUS_SESSION_BUS_ADDRESS=address),
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=desktop.log,
                            text=True)
    desktop.processes.append(host)
    said = Lines(host)
    said.expect("ready", "the notification area")
    game = WaylandGame(desktop)
    board = wait_for(lambda: (lambda b: b if len(b) == 3 else None)(game.board()), 10,
                     "the first three balls")

    # Esc: the window leaves the screen and an item takes its place; a
    # click on the item brings the game back and the item goes.
    for wake in ("click", "second start"):
        game.click(250, 20)  # the score: the keyboard's focus, and nothing else
        game.key("Escape")
        wait_for(lambda: game.locate() is None, 5, "the window to leave the screen")
        said.expect("registered", "the notification-area item")
        if wake == "click":
            host.stdin.write("activate\n")
            host.stdin.flush()
        else:
            second = desktop.run_game()
            check(ended_well(second.returncode, second.stderr),
                  "second start exited with %d:\n%s" % (second.returncode, second.stderr[-2000:]))
        game.client = wait_for(game.locate, 10, "the window to come back by a %s" % wake)
        said.expect("unregistered", "the item to go")
        check(game.board() == board, "the board did not come back whole")


AT_SPI_BUS = "/usr/libexec/at-spi-bus-launcher"
READER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_reader.py")


class ScreenReader:
    """atspi_reader.py on the desktop's session bus: what a screen reader
    reads of the game."""

    def __init__(self, desktop):
        pythons = [sys.executable, "/usr/bin/python3"]
        python = next((p for p in pythons if subprocess.run(
            [p, "-c", "import pyatspi"], stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL).returncode == 0), None)
        if python is None:
            raise Skip("no Python with pyatspi (python3-pyatspi)")
        self.process = subprocess.Popen([python, READER], env=desktop.env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=desktop.log, text=True)
        desktop.processes.append(self.process)
        self.lines = Lines(self.process)
        self.lines.expect("ready", "the screen reader to find the board")
        self.events = []

    def ask(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        return json.loads(self.lines.expect("", "the screen reader's answer to " + command))

    def read(self):
        return self.ask("read")

    def saw(self, kind, name):
        """Whether an event of kind ("name", "focus") has been seen so far
        on a part whose name then started with name."""
        self.events += self.ask("events")
        return any(k == kind and n.startswith(name) for k, n in self.events)


def cell_name(r, c, content):
    return "第%d行第%d列，%s" % (r, c, content)


def check_cells(view, balls):
    """The screen reader's cells say what the screen shows: empty where no
    ball is, and one name for each colour."""
    names = {}
    for r in range(1, 10):
        for c in range(1, 10):
            said = view["cells"][(r - 1) * 9 + c - 1]
            prefix = cell_name(r, c, "")
            if not said.startswith(prefix):
                return "cell %s is read as %r" % ((r, c), said)
            content = said[len(prefix):].replace("，已选中", "")
            if (r, c) not in balls:
                if content != "空":
                    return "the empty cell %s is read as %r" % ((r, c), said)
                continue
            if names.setdefault(balls[(r, c)], content) != content or content == "空":
                return "cell %s is read as %r, its colour as %r before" % (
                    (r, c), said, names[balls[(r, c)]])
    if len(set(names.values())) != len(names):
        return "two colours read alike: %s" % names
    return None


def read_board(reader, balls, what):
    """The screen reader's view once it agrees with balls."""
    last = [None]

    def agrees():
        view = reader.read()
        last[0] = check_cells(view, balls)
        return view if last[0] is None else None
    try:
        return wait_for(agrees, 5, what)
    except TimedOut as timeout:
        raise TimedOut("%s: %s" % (timeout, last[0]))


def scenario_screen_reader(desktop):
    """The board, the counters, the preview, the focus and each move's
    outcome as a screen reader reads them over AT-SPI, checked against the
    screen."""
    require("dbus-daemon")
    if not os.path.exists(AT_SPI_BUS):
        raise Skip("at-spi2-core is not installed")
    desktop.env["DBUS_SESSION_BUS_ADDRESS"] = desktop.start_session_bus()
    desktop.start([AT_SPI_BUS, "--launch-immediately"])
    # The game asks for the accessibility bus once, at its start: it must be
    # there by then (the call starts it if the launcher has not yet).
    wait_for(lambda: desktop.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                                  "/org/a11y/bus", "org.a11y.Bus.GetAddress"]).returncode == 0,
             10, "the accessibility bus")
    # Qt makes itself seen when a screen reader says it runs; here the
    # test's reader comes after the game.
    desktop.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    game = Game(desktop)
    balls = wait_for(lambda: (lambda b: b if len(b) == 3 else None)(game.board()), 10,
                     "the first three balls")
    reader = ScreenReader(desktop)
    view = read_board(reader, balls, "the first three balls read")
    check((view["balls"], view["score"]) == ("消去球数：0", "得分：0"),
          "the counters are read as %r and %r" % (view["balls"], view["score"]))
    check(view["preview"].startswith("下一批：") and len(view["preview"].split("、")) == 3,
          "the preview is read as %r" % view["preview"])
    check(view["focused"] is None and view["outcome"] == "",
          "before any input: focus %r, outcome %r" % (view["focused"], view["outcome"]))

    # A move by the mouse: where it went and the balls that fell.
    cell, target, after = select_and_move(game, balls)
    balls = board_of(after)
    view = read_board(reader, balls, "the board after the move read")
    moved = "%s从第%d行第%d列移到第%d行第%d列。落下：" % (
        view["cells"][(target[0] - 1) * 9 + target[1] - 1].split("，")[1], cell[0], cell[1],
        target[0], target[1])
    check(view["outcome"].startswith(moved) and view["outcome"].count("、") == 2,
          "the move's outcome is read as %r" % view["outcome"])
    wait_for(lambda: reader.saw("name", view["outcome"]), 5, "the outcome to be told")

    # By keys: the focus cell is the reader's focus, a ball picked up says
    # so, Delete puts it down.
    _, target, after = move_by_keys(game, balls)
    balls = board_of(after)
    view = read_board(reader, balls, "the board after the move by keys read")
    focused = view["cells"][(target[0] - 1) * 9 + target[1] - 1]
    check(view["focused"] == focused, "the focus is read on %r, not %r" % (view["focused"], focused))
    # The focus came to the target before the ball did.
    wait_for(lambda: reader.saw("focus", cell_name(target[0], target[1], "")), 5,
             "the focus event on the target")
    game.key("space")
    picked = focused + "，已选中"
    wait_for(lambda: reader.read()["focused"] == picked, 5, "the cell read as %r" % picked)
    game.key("Delete")
    wait_for(lambda: reader.read()["outcome"].startswith("放下第%d行第%d列" % target), 5,
             "the ball read as put down")


SCENARIOS = {"play": scenario_play, "tray": scenario_tray, "minimise": scenario_minimise}
SCENARIOS["keys"] = scenario_keys
SCENARIOS["wayland"] = scenario_wayland
SCENARIOS["wayland_tray"] = scenario_wayland_tray
SCENARIOS["wayland_keys"] = scenario_wayland_keys
SCENARIOS["sound_hang"] = scenario_sound_hang
SCENARIOS["displays"] = scenario_displays
SCENARIOS["stopped"] = scenario_stopped
SCENARIOS["shared_top_ten"] = scenario_shared_top_ten
SCENARIOS["installed"] = scenario_installed
SCENARIOS["screen_reader"] = scenario_screen_reader


def choose(args):
    if len(args) < 2 or args[1] not in SCENARIOS:
        return None
    orvo, name = args[:2]
    if name.startswith("wayland"):
        # The folder of Qt's platform plugins comes third, the notification
        # area (orvo-sni-host) fourth.
        make = lambda work: WaylandDesktop(orvo, work, *args[2:4])
    else:
        make = lambda work: LinuxDesktop(orvo, work, installed=name == "installed")
    return Scenario(X_TOOLS, "orvo-e2e-", make, SCENARIOS[name])


if __name__ == "__main__":
    sys.exit(run_script(__doc__, choose))
