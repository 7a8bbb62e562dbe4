#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The Windows installer under Wine on Xvfb, as a player runs it.

Usage: orvo_win_install.py SETUP_EXE ORVO_PROBE_EXE [SHOTS_DIR]

Runs in the Wine prefix named by WINEPREFIX (tests/win/run_under_wine.sh
makes one). A silent install (/S) must leave the stripped program, its
licence and read-me in Program Files (the program's icon in every size
Explorer shows), a Start-menu shortcut and an entry in the list of
installed programs; the shortcut must start the game; a silent
uninstall must take all of that away again and leave the player's settings
in %APPDATA%\\Orvo. With SHOTS_DIR, the installer's pages are first clicked
through by hand and a screenshot of each is kept there, with one of the game
started from the shortcut. Exit code 77: a tool is missing.
"""

import glob
import os
import sys
import time

from orvo_win_e2e import WINE_TOOLS, Game, WineDesktop
from game_window import CLIENT_H, CLIENT_W
from xsession import Scenario, check, run_script, wait_for

UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvo"
SHORTCUT = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Orvo.lnk"
SETTINGS = b"[CONFIG]\r\nPlaySound=1\r\n"


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

    def files(self):
        return sorted(os.listdir(self.folder)) if os.path.isdir(self.folder) else []

    def registry(self):
        """The uninstall entry's values, {name: data}; {} when it is missing."""
        entry = self.desktop.output(["wine", "reg", "query", UNINSTALL_KEY], timeout=60)
        values = {}
        for line in entry.splitlines():
            words = line.split(None, 2)
            if len(words) == 3 and words[1].startswith("REG_"):
                values[words[0]] = words[2]
        return values

    def uninstall(self):
        # The uninstaller runs on from a copy in the temporary folder, so
        # that it can remove itself; the first process ends at once.
        result = self.desktop.run(["wine", "C:\\Program Files\\Orvo\\uninstall.exe", "/S"],
                                  timeout=120)
        check(result.returncode == 0, "the uninstaller exited with %d" % result.returncode)
        wait_for(lambda: not os.path.exists(self.folder), 60, "the program's folder to go")


def walk_through_pages(desktop, setup, shots):
    """Installs by hand, Enter on each page, a screenshot of each; then
    starts the game from the shortcut for one more."""
    installation = Installation(desktop)
    process = desktop.start(["wine", setup])
    for page in ("welcome", "licence", "folder", "finished"):
        window = wait_for(lambda: desktop.visible_windows("Orvo"),
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


def close_game(desktop, game):
    game.focus()
    desktop.xdotool("key", "alt+F4")
    wait_for(lambda: not desktop.probe()[2], 30, "the game to end")


def scenario(desktop, shots):
    if shots:
        walk_through_pages(desktop, desktop.exe, shots)
    installation = Installation(desktop)
    os.makedirs(os.path.dirname(installation.settings), exist_ok=True)
    with open(installation.settings, "wb") as f:
        f.write(SETTINGS)

    result = desktop.run(["wine", desktop.exe, "/S"], timeout=120)
    check(result.returncode == 0, "the silent install exited with %d" % result.returncode)
    check(installation.files() == ["LICENSE.txt", "README.txt", "orvo.exe", "uninstall.exe"],
          "installed: %s" % installation.files())
    with open(os.path.join(installation.folder, "orvo.exe"), "rb") as f:
        check(b".debug_" not in f.read(), "the installed program carries debugging information")
    # Explorer's large views take the 48 and 256 pixel images.
    icon = desktop.output(["wine", desktop.probe_exe, "C:\\Program Files\\Orvo\\orvo.exe"])
    check("icon 16 24 32 48 256" in icon, "icon sizes: %r" % icon)
    check(os.path.isfile(installation.shortcut), "no Start-menu shortcut")
    entry = installation.registry()
    for name, value in (("DisplayName", "Orvo"),
                        ("InstallLocation", "C:\\Program Files\\Orvo"),
                        ("UninstallString", '"C:\\Program Files\\Orvo\\uninstall.exe"'),
                        ("QuietUninstallString", '"C:\\Program Files\\Orvo\\uninstall.exe" /S')):
        check(entry.get(name) == value, "uninstall entry %s: %r" % (name, entry.get(name)))

    game = Game(desktop, ["wine", "start", SHORTCUT])
    check(game.info["client"] == (CLIENT_W, CLIENT_H), "client area %s" % (game.info["client"],))
    close_game(desktop, game)

    installation.uninstall()
    check(not os.path.exists(installation.shortcut), "the shortcut stayed")
    check(not installation.registry(), "the uninstall entry stayed")
    with open(installation.settings, "rb") as f:
        check(f.read() == SETTINGS, "the player's settings changed")


def choose(args):
    if len(args) not in (2, 3):
        return None
    shots = os.path.abspath(args[2]) if len(args) == 3 else None
    if shots:
        os.makedirs(shots, exist_ok=True)
    return Scenario(WINE_TOOLS, "orvo-win-install-",
                    lambda work: WineDesktop(work, args[0], args[1], None, None),
                    lambda desktop: scenario(desktop, shots))


if __name__ == "__main__":
    sys.exit(run_script(__doc__, choose))
