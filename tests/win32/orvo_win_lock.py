#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The Windows program and the Linux program writing one settings file
through Wine take turns: each finds the other's lock.

Usage: orvo_win_lock.py ORVO_PROFILE_PROBE_EXE

The Linux side locks the way the Linux program does (an open-file-
description record lock on the first byte of .orvo.ini.lock); the Windows
side is the program's own settings code in the probe. Runs in the Wine
prefix named by WINEPREFIX (tests/win32/run_under_wine.sh makes one).
"""

import fcntl
import os
import struct
import subprocess
import sys
import tempfile

BUSY = 8  # CProfileError::Busy


def ofd_lock(path):
    """The Linux program's lock, or None when someone else has it."""
    fd = os.open(path, os.O_RDWR | os.O_CREAT, 0o666)
    try:
        fcntl.fcntl(fd, fcntl.F_OFD_SETLK, struct.pack("hhqqi", fcntl.F_WRLCK, 0, 0, 1, 0))
    except OSError:
        os.close(fd)
        return None
    return fd


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def main():
    probe = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as work:
        ini = os.path.join(work, "orvo.ini")
        lock = os.path.join(work, ".orvo.ini.lock")
        with open(ini, "w") as f:
            f.write("[CONFIG]\nPlaySound=0\n")

        fd = ofd_lock(lock)
        assert fd is not None
        out = subprocess.run(["wine", probe, "save", wine_path(ini)], capture_output=True,
                             text=True, timeout=120).stdout.split()
        os.close(fd)
        if out != ["failed", str(BUSY)]:
            failures.append("a save while Linux holds the lock: %s" % out)
        if open(ini).read() != "[CONFIG]\nPlaySound=0\n":
            failures.append("the file changed under Linux's lock")

        out = subprocess.run(["wine", probe, "save", wine_path(ini)], capture_output=True,
                             text=True, timeout=120).stdout.split()
        if out != ["saved"]:
            failures.append("a save with the lock free: %s" % out)

        holder = subprocess.Popen(["wine", probe, "hold", wine_path(ini), "10000"],
                                  stdout=subprocess.PIPE, text=True)
        line = holder.stdout.readline().strip()
        fd = ofd_lock(lock) if line == "holding" else None
        if line != "holding":
            failures.append("the probe did not take the lock: %r" % line)
        elif fd is not None:
            failures.append("Linux got the lock while the Windows program held it")
            os.close(fd)
        holder.kill()
        holder.wait()
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("each side finds the other's lock")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
