#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Start-up time and memory of the game against a bare Qt window with the
same Chinese menu title and client size, both on one Xvfb display.

Both programs report the first paint of their client area (ORVO_STARTUP_PROBE,
see src/qt/CStartupProbe.h). Time rounds start each program with the probe
set to exit after that paint, the two interleaved and taking turns at going
first, and time exec to first paint and exec to exit; the medians and their
ratios are printed, never absolute goals, since only the ratio means
anything on a busy machine. Memory rounds keep each program running: its
resident set is read a second after the first paint, and for the game again
after its menus and dialogs (rules, top-ten list, about) have been opened and
closed with the keyboard.

usage: startup.py ORVO BARE_WINDOW [--rounds N] [--memory-rounds M]
"""

import argparse
import os
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir,
                                "tests", "support"))
from xsession import Failure, start_xvfb, stop  # noqa: E402


class Display:
    """An X server of our own and a private home for both programs."""

    def __init__(self, work):
        self.xvfb, display = start_xvfb(800, 600)
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS"):
            self.env.pop(name, None)
        self.env.update({"DISPLAY": display, "HOME": work,
                         "TMPDIR": os.path.join(work, "tmp"),
                         "XDG_RUNTIME_DIR": os.path.join(work, "run")})
        for sub in ("tmp", "run"):
            os.makedirs(os.path.join(work, sub), mode=0o700)

    def close(self):
        stop(self.xvfb)

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env,
                                capture_output=True, text=True, timeout=20)
        return result.stdout.split()


def start(display, program, mode):
    env = dict(display.env, ORVO_STARTUP_PROBE=mode)
    start_ns = time.monotonic_ns()
    process = subprocess.Popen([program], env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
    return process, start_ns


def painted_at(process, timeout=30):
    if not select.select([process.stdout], [], [], timeout)[0]:
        raise Failure("no first paint reported by " + process.args[0])
    words = process.stdout.readline().split()
    if len(words) != 2 or words[0] != b"painted":
        raise Failure("unexpected probe output from " + process.args[0])
    return int(words[1])


def time_once(display, program):
    """Milliseconds from exec to the first paint and to the exit."""
    process, start_ns = start(display, program, "exit")
    try:
        painted_ns = painted_at(process)
        process.wait(30)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    exit_ns = time.monotonic_ns()
    if process.returncode != 0:
        raise Failure("%s exited with %d" % (program, process.returncode))
    return (painted_ns - start_ns) / 1e6, (exit_ns - start_ns) / 1e6


def resident_mb(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    raise Failure("no VmRSS for %d" % pid)


def wait_until(predicate, what, timeout=10):
    deadline = time.monotonic() + timeout
    while not predicate():
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)


def open_and_close_everything(display, pid):
    """The game's menus and its dialogs, each opened and closed by key."""
    windows = display.xdotool("search", "--onlyvisible", "--pid", pid, "--name", "^Orvo$")
    if not windows:
        raise Failure("the game's window is not visible")
    main = windows[0]
    display.xdotool("windowfocus", "--sync", main)
    for keys in (["alt+g"], ["alt+h"]):
        display.xdotool("key", *keys)
        time.sleep(0.3)
        display.xdotool("key", "Escape")
        time.sleep(0.3)
    visible = lambda: set(display.xdotool("search", "--onlyvisible", "--pid", pid, ""))
    for keys in (["F1"], ["F3"], ["alt+h", "a"]):
        display.xdotool("windowfocus", "--sync", main)
        before = visible()
        display.xdotool("key", "--delay", "100", *keys)
        wait_until(lambda: visible() - before, "a dialog after " + "+".join(keys))
        time.sleep(0.3)
        display.xdotool("key", "Escape")
        wait_until(lambda: not visible() - before, "the dialog after " + "+".join(keys) + " to close")
        time.sleep(0.3)


def memory_once(display, program, dialogs):
    """Resident megabytes after start, and after the dialogs when asked."""
    process, _ = start(display, program, "paint")
    try:
        painted_at(process)
        time.sleep(1)
        after_start = resident_mb(process.pid)
        after_dialogs = None
        if dialogs:
            open_and_close_everything(display, process.pid)
            time.sleep(1)
            after_dialogs = resident_mb(process.pid)
        return after_start, after_dialogs
    finally:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("orvo")
    parser.add_argument("bare")
    parser.add_argument("--rounds", type=int, default=21, help="time rounds (21)")
    parser.add_argument("--memory-rounds", type=int, default=5, help="memory rounds (5)")
    args = parser.parse_args()
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            print("startup.py needs %s" % tool, file=sys.stderr)
            return 2

    work = tempfile.mkdtemp(prefix="orvo-startup-")
    display = None
    try:
        display = Display(work)
        # A copy of its own, so that its settings file is a fresh one here.
        os.makedirs(os.path.join(work, "game"))
        orvo = os.path.join(work, "game", "orvo")
        shutil.copy2(args.orvo, orvo)
        bare = os.path.abspath(args.bare)
        programs = {"bare": bare, "orvo": orvo}

        times = {name: ([], []) for name in programs}
        for n in range(args.rounds):
            order = ["bare", "orvo"] if n % 2 == 0 else ["orvo", "bare"]
            for name in order:
                paint_ms, exit_ms = time_once(display, programs[name])
                times[name][0].append(paint_ms)
                times[name][1].append(exit_ms)

        memory = {"bare": ([], []), "orvo": ([], [])}
        for n in range(args.memory_rounds):
            order = ["bare", "orvo"] if n % 2 == 0 else ["orvo", "bare"]
            for name in order:
                after_start, after_dialogs = memory_once(display, programs[name], name == "orvo")
                memory[name][0].append(after_start)
                if after_dialogs is not None:
                    memory[name][1].append(after_dialogs)
    except Failure as failure:
        print("startup.py: %s" % failure, file=sys.stderr)
        return 1
    finally:
        if display:
            display.close()
        shutil.rmtree(work, ignore_errors=True)

    median = statistics.median
    print("start-up, median of %d interleaved rounds (ms; only the ratios carry over "
          "between machines):" % args.rounds)
    for i, what in enumerate(("exec to first paint", "exec to exit")):
        bare_ms, orvo_ms = median(times["bare"][i]), median(times["orvo"][i])
        print("  %-20s bare %7.1f  orvo %7.1f  ratio %.2f" % (what, bare_ms, orvo_ms,
                                                              orvo_ms / bare_ms))
    bare_mb = median(memory["bare"][0])
    print("resident memory, median of %d rounds (MB):" % args.memory_rounds)
    print("  %-20s bare %7.1f  orvo %7.1f  ratio %.2f" % (
        "after start", bare_mb, median(memory["orvo"][0]), median(memory["orvo"][0]) / bare_mb))
    print("  %-20s bare %7.1f  orvo %7.1f  ratio %.2f" % (
        "after the dialogs", bare_mb, median(memory["orvo"][1]),
        median(memory["orvo"][1]) / bare_mb))
    return 0


if __name__ == "__main__":
    sys.exit(main())
