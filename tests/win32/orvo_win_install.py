#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The Windows installer under Wine on Xvfb, as a player runs it.

Usage: orvo_win_install.py SETUP_EXE ORVO_PROBE_EXE [SHOTS_DIR]

Runs in the Wine prefix named by WINEPREFIX (tests/win32/run_under_wine.sh
makes one). A silent install (/S) must leave the stripped program, its
licence, read-me and install mark in Program Files (the program's icon in
every size Explorer shows), a Start-menu shortcut and an entry in the list
of installed programs; the game started from the shortcut keeps its
settings in %APPDATA%\\Orvo, though Wine would let it write Program Files.
An update while the game runs closes it first: silently by asking it, or
by the player when the installer asks; a game that does not close fails a
silent update or uninstall, with nothing changed. An update carries an
orvo.ini that an older install kept beside the program into %APPDATA%\\Orvo,
unless one is there already. A silent uninstall with the game running
closes it and takes everything away but the player's settings.
With SHOTS_DIR, the installer's pages are first clicked through by hand and
a screenshot of each is kept there, with one of the game started from the
shortcut. Exit code 77: a tool is missing.
"""

import glob
import hashlib
import os
import re
import signal
import sys
import time

from orvo_win_e2e import WINE_TOOLS, Game, WineDesktop
from game_window import CLIENT_H, CLIENT_W
from xsession import Scenario, check, file_text, run_script, wait_for

UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvo"
FOLDER = "C:\\Program Files\\Orvo"
SHORTCUT = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Orvo.lnk"
SETTINGS = b"[CONFIG]\r\nPlaySound=1\r\n"
INSTALLED = ["LICENSE.txt", "README.txt", "orvo-installed.txt", "orvo.exe", "uninstall.exe"]
# Bytes past a program's last section change nothing in how it runs: an
# installed program with this tail is an older one, which an update replaces.
OLD_TAIL = b"\0an older build"
# The installer's windows, not the game's ("Orvo"): "Orvo Setup", "Orvo 安装".
SETUP_WINDOW = "^Orvo .+"


class Installation:
    """Where the installer puts things in the prefix, seen from Linux."""

    def __init__(self, desktop):
        self.desktop = desktop
        drive = os.path.join(os.environ["WINEPREFIX"], "drive_c")
        self.folder = os.path.join(drive, "Program Files", "Orvo")
        self.shortcut = os.path.join(drive, "ProgramData", "Microsoft", "Windows", "Start Menu",
                                     "Programs", "Orvo.lnk")
        roaming = [path for path in glob.glob(os.path.join(drive, "users", "*", "AppData", "Roaming"))
                   if os.sep + "Public" + os.sep not in path]
        check(len(roaming) == 1, "application-data folders: %s" % roaming)
        self.settings = os.path.join(roaming[0], "Orvo", "orvo.ini")
        self.beside = os.path.join(self.folder, "orvo.ini")
        self.exe = os.path.join(self.folder, "orvo.exe")
        self.exported = os.path.join(drive, "entry.reg")
        # Runs the uninstaller in place, so that its exit code comes back:
        # a batch file, as the folder's space would split _?= on a command line.
        self.uninstall_here = os.path.join(drive, "uninstall-here.bat")
        with open(self.uninstall_here, "w", newline="\r\n") as f:
            f.write('@"%s\\uninstall.exe" /S _?=%s\nexit /b %%errorlevel%%\n' % (FOLDER, FOLDER))

    def files(self):
        return sorted(os.listdir(self.folder)) if os.path.isdir(self.folder) else []

    def registry(self):
        """The uninstall entry's values, {name: data}; {} when it is missing."""
        # Exported, not queried: the export is UTF-16, the query's output is
        # in a code page that has no Chinese.
        if os.path.exists(self.exported):
            os.remove(self.exported)
        self.desktop.run(["wine", "reg", "export", UNINSTALL_KEY, "C:\\entry.reg", "/y"], timeout=60)
        if not os.path.exists(self.exported):
            return {}
        values = {}
        with open(self.exported, encoding="utf-16") as f:
            for line in f.read().splitlines():
                match = re.match(r'^"([^"]+)"=(?:"(.*)"|(.*))$', line)
                if match:
                    text = match.group(2)
                    values[match.group(1)] = (match.group(3) if text is None else
                                              text.replace('\\"', '"').replace("\\\\", "\\"))
        return values

    def state(self):
        """Everything an install or uninstall changes: the folder's files and
        their contents, the shortcut, the uninstall entry."""
        contents = {}
        for name in self.files():
            with open(os.path.join(self.folder, name), "rb") as f:
                contents[name] = hashlib.sha256(f.read()).hexdigest()
        return contents, os.path.isfile(self.shortcut), self.registry()

    def age(self):
        """Makes the installed copy look like an older release's."""
        with open(self.exe, "ab") as f:
            f.write(OLD_TAIL)
        with open(os.path.join(self.folder, "README.txt"), "wb") as f:
            f.write(b"an older read-me")

    def is_old(self):
        with open(self.exe, "rb") as f:
            return f.read().endswith(OLD_TAIL)

    def install(self, expect=0):
        result = self.desktop.run(["wine", self.desktop.exe, "/S"], timeout=120)
        check(result.returncode == expect,
              "the silent install exited with %d, not %d" % (result.returncode, expect))

    def uninstall(self):
        # The uninstaller runs on from a copy in the temporary folder, so
        # that it can remove itself; the first process ends at once.
        result = self.desktop.run(["wine", FOLDER + "\\uninstall.exe", "/S"], timeout=120)
        check(result.returncode == 0, "the uninstaller exited with %d" % result.returncode)
        wait_for(lambda: not os.path.exists(self.folder), 60, "the program's folder to go")


def walk_through_pages(desktop, setup, shots):
    """Installs by hand, Enter on each page, a screenshot of each; then
    starts the game from the shortcut for one more."""
    installation = Installation(desktop)
    process = desktop.start(["wine", setup])
    for page in ("welcome", "licence", "folder", "finished"):
        window = wait_for(lambda: desktop.visible_windows(SETUP_WINDOW),
                          60, "the installer's %s page" % page)
        # The files page passes by itself; each other one waits for Enter.
        time.sleep(2)
        desktop.run(["import", "-window", "root", os.path.join(shots, "setup-%s.png" % page)])
        desktop.xdotool("windowactivate", "--sync", window[0])
        desktop.xdotool("key", "Return")
        if page == "folder":
            wait_for(lambda: "uninstall.exe" in installation.files(), 60, "the files")
    process.wait(60)
    game = Game(desktop, ["wine", "start", SHORTCUT])
    time.sleep(2)
    desktop.run(["import", "-window", "root", os.path.join(shots, "game-from-shortcut.png")])
    close_game(desktop, game)
    installation.uninstall()


def start_game(desktop):
    game = Game(desktop, ["wine", "start", SHORTCUT])
    check(game.info["client"] == (CLIENT_W, CLIENT_H), "client area %s" % (game.info["client"],))
    return game


def game_gone(desktop):
    return not desktop.probe()[2]


def close_game(desktop, game):
    game.focus()
    desktop.xdotool("key", "alt+F4")
    wait_for(lambda: game_gone(desktop), 30, "the game to end")


class Hung:
    """The running game stopped, as a game that hangs: it reads no message
    until the block ends, and then the close it was asked for."""

    def __init__(self, desktop):
        self.desktop = desktop
        window = desktop.visible_windows()
        check(len(window) == 1, "X shows %d game windows" % len(window))
        self.pid = int(desktop.xdotool("getwindowpid", window[0])[0])

    def __enter__(self):
        os.kill(self.pid, signal.SIGSTOP)
        return self

    def __exit__(self, *exc):
        os.kill(self.pid, signal.SIGCONT)
        wait_for(lambda: game_gone(self.desktop), 30, "the woken game to close")


def check_fresh_install(desktop, installation):
    installation.install()
    check(installation.files() == INSTALLED, "installed: %s" % installation.files())
    with open(installation.exe, "rb") as f:
        check(b".debug_" not in f.read(), "the installed program carries debugging information")
    # Explorer's large views take the 48 and 256 pixel images.
    icon = desktop.output(["wine", desktop.probe_exe, FOLDER + "\\orvo.exe"])
    check("icon 16 24 32 48 256" in icon, "icon sizes: %r" % icon)
    check(os.path.isfile(installation.shortcut), "no Start-menu shortcut")
    entry = installation.registry()
    for name, value in (("DisplayName", "Orvo"),
                        ("Publisher", "Orvo 开发者"),
                        ("InstallLocation", FOLDER),
                        ("UninstallString", '"%s\\uninstall.exe"' % FOLDER),
                        ("QuietUninstallString", '"%s\\uninstall.exe" /S' % FOLDER)):
        check(entry.get(name) == value, "uninstall entry %s: %r" % (name, entry.get(name)))


def check_settings_stay_out_of_program_files(desktop, installation):
    """F4 writes the sound switch at once: into the player's folder, though
    Wine lets the game write Program Files (it would, without the mark)."""
    game = start_game(desktop)
    game.key("F4")
    wait_for(lambda: b"PlaySound=0" in open(installation.settings, "rb").read(), 10,
             "the sound switch in %APPDATA%\\Orvo")
    check(not os.path.exists(installation.beside), "the game wrote orvo.ini into Program Files")
    game.key("F4")
    wait_for(lambda: open(installation.settings, "rb").read() == SETTINGS, 10,
             "the sound switch back on")
    close_game(desktop, game)


def check_silent_update_closes_game(desktop, installation):
    """Even with a dialog open: the top-ten board's loop passes the close on."""
    installation.age()
    game = start_game(desktop)
    game.key("F3")
    wait_for(lambda: desktop.visible_windows("^英雄板$"), 30, "the top-ten board")
    installation.install()
    check(game_gone(desktop), "the game still runs after the update")
    check(not installation.is_old(), "the update kept the old program")
    check(installation.files() == INSTALLED, "after the update: %s" % installation.files())


def check_hung_game_stops_silent_runs(desktop, installation):
    """Neither a silent update nor a silent uninstall may change anything
    while a game that does not close holds its program."""
    installation.age()
    start_game(desktop)
    before = installation.state()
    with Hung(desktop):
        installation.install(expect=2)
        check(installation.state() == before, "the failed update changed the installation")
        result = desktop.run(["wine", "cmd", "/c", "C:\\uninstall-here.bat"], timeout=120)
        check(result.returncode == 2, "the silent uninstall exited with %d" % result.returncode)
        check(installation.state() == before, "the failed uninstall changed the installation")


def check_update_asks_player(desktop, installation):
    """Run by hand with the game running, the installer asks the player to
    close it; once closed, Retry goes on with the update."""
    installation.age()
    game = start_game(desktop)
    setup = desktop.start(["wine", desktop.exe])
    for page in ("welcome", "licence", "folder"):
        window = wait_for(lambda: desktop.visible_windows(SETUP_WINDOW), 60,
                          "the installer's %s page" % page)
        time.sleep(2)
        desktop.xdotool("windowactivate", "--sync", window[0])
        desktop.xdotool("key", "Return")
    message = wait_for(lambda: [w for w in desktop.visible_windows(SETUP_WINDOW) if w != window[0]],
                       60, "the message to close the game")[0]
    desktop.shot("setup-game-running")
    time.sleep(2)
    check(installation.is_old(), "the installer changed the program while asking")
    close_game(desktop, game)
    desktop.xdotool("windowactivate", "--sync", message)
    desktop.xdotool("key", "Return")
    wait_for(lambda: not installation.is_old(), 60, "the new program")
    window = wait_for(lambda: desktop.visible_windows(SETUP_WINDOW), 60, "the finish page")
    time.sleep(2)
    desktop.xdotool("windowactivate", "--sync", window[0])
    desktop.xdotool("key", "Return")
    check(setup.wait(60) == 0, "the installer exited with %d" % setup.returncode)


def check_update_moves_old_settings(installation):
    """An older install kept orvo.ini beside the program: the update takes
    it to %APPDATA%\\Orvo once, unless settings are there already."""
    old = b"[CONFIG]\r\nPlaySound=0\r\n[TOPTEN]\r\nHero0=from beside the program\r\n"
    mark = os.path.join(installation.folder, "orvo-installed.txt")
    for players, beside_after, players_after in ((SETTINGS, old, SETTINGS), (None, None, old)):
        os.remove(mark)
        with open(installation.beside, "wb") as f:
            f.write(old)
        if players is None:
            os.remove(installation.settings)
        installation.install()
        check(os.path.isfile(mark), "the update left no install mark")
        check(file_text(installation.beside).encode("latin-1") == (beside_after or b""),
              "beside the program: %r" % file_text(installation.beside))
        check(file_text(installation.settings).encode("latin-1") == players_after,
              "in %%APPDATA%%\\Orvo: %r" % file_text(installation.settings))


def check_uninstall_closes_game(desktop, installation):
    start_game(desktop)
    installation.uninstall()
    check(game_gone(desktop), "the game still runs after the uninstall")
    check(not os.path.exists(installation.shortcut), "the shortcut stayed")
    check(not installation.registry(), "the uninstall entry stayed")


def scenario(desktop, shots):
    if shots:
        walk_through_pages(desktop, desktop.exe, shots)
    installation = Installation(desktop)
    os.makedirs(os.path.dirname(installation.settings), exist_ok=True)
    with open(installation.settings, "wb") as f:
        f.write(SETTINGS)

    check_fresh_install(desktop, installation)
    check_settings_stay_out_of_program_files(desktop, installation)
    check_silent_update_closes_game(desktop, installation)
    check_hung_game_stops_silent_runs(desktop, installation)
    check_update_asks_player(desktop, installation)
    check_update_moves_old_settings(installation)
    check_uninstall_closes_game(desktop, installation)
    with open(installation.settings, "rb") as f:
        check(f.read() == (b"[CONFIG]\r\nPlaySound=0\r\n[TOPTEN]\r\n"
                           b"Hero0=from beside the program\r\n"),
              "the uninstall changed the player's settings")


def choose(args):
    if len(args) not in (2, 3):
        return None
    shots = os.path.abspath(args[2]) if len(args) == 3 else None
    if shots:
        os.makedirs(shots, exist_ok=True)
    return Scenario(WINE_TOOLS, "orvo-win-install-",
                    lambda work: WineDesktop(work, args[0], args[1], None, shots),
                    lambda desktop: scenario(desktop, shots))


if __name__ == "__main__":
    sys.exit(run_script(__doc__, choose))
