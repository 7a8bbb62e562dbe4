# SPDX-License-Identifier: MIT
"""A private X display for the end-to-end tests and the start-up benchmark.

start_xvfb() takes a display number nobody holds, well away from :0 and the
low numbers desktops and other test runs use (ORVO_TEST_DISPLAYS=FIRST-LAST
confines it to those numbers), and returns once the server
says it accepts clients. The server never resets when its last client goes:
the tests connect and disconnect with every xdotool call, and a reset while
the next one connects loses that connection. Every wait has a generous bound,
since a loaded machine can take many seconds to start a server or a window
manager; a process that dies while we wait for it fails at once.
"""

import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

# Seconds to wait for a server or a window manager to come up.
START_TIMEOUT = 60
# The display numbers tried unless ORVO_TEST_DISPLAYS names others.
FIRST_DISPLAY, DISPLAYS = 100, 800
# The exit status that tells CTest a test was skipped.
SKIP = 77


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, timeout, what):
    """Polls predicate until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)


def stop(process):
    """Ends a process we started, politely first."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def _try_display(number, size, deadline):
    """Xvfb on :number once it is ready, or None when another server holds it."""
    read_fd, write_fd = os.pipe()
    # With -displayfd the server writes the number once clients can connect,
    # and closes the pipe unwritten when it cannot take the number.
    xvfb = subprocess.Popen(
        ["Xvfb", ":%d" % number, "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % size,
         "-nolisten", "tcp", "-noreset"],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as pipe:
        ready = select.select([pipe], [], [], max(0.0, deadline - time.monotonic()))[0]
        answer = pipe.readline().strip() if ready else ""
    if answer == str(number):
        return xvfb
    stop(xvfb)
    check(ready, "Xvfb did not come up on :%d within %d s" % (number, START_TIMEOUT))
    return None


def display_range(setting):
    """(first, count) from ORVO_TEST_DISPLAYS: "FIRST-LAST", or one number."""
    if not setting:
        return FIRST_DISPLAY, DISPLAYS
    first, _, last = setting.strip().partition("-")
    try:
        first, last = int(first), int(last or first)
    except ValueError:
        first, last = -1, -1
    check(0 <= first <= last, "ORVO_TEST_DISPLAYS=%r is not FIRST-LAST, such as 300-309" % setting)
    return first, last - first + 1


def start_xvfb(width, height):
    """Starts Xvfb with one screen of width x height; returns (process, ":N")."""
    deadline = time.monotonic() + START_TIMEOUT
    first, count = display_range(os.environ.get("ORVO_TEST_DISPLAYS"))
    # Parallel runs start at different numbers and rarely meet.
    offset, tries = os.getpid() % count, 0
    for i in range(count):
        number = first + (offset + i) % count
        if os.path.exists("/tmp/.X%d-lock" % number) or os.path.exists("/tmp/.X11-unix/X%d" % number):
            continue
        xvfb = _try_display(number, (width, height), deadline)
        if xvfb:
            return xvfb, ":%d" % number
        # Losing a race for a number now and then is normal; always failing is not.
        tries += 1
        check(tries < 20, "Xvfb failed to start on %d free displays" % tries)
    raise Failure("no free X display between :%d and :%d" % (first, first + count - 1))


def wait_for_window_manager(env, manager):
    """Waits until the window manager started as manager runs on env's display."""
    def running():
        check(manager.poll() is None, "the window manager ended with %s" % manager.returncode)
        root = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env,
                              capture_output=True, text=True, timeout=START_TIMEOUT)
        return "window id" in root.stdout
    wait_for(running, START_TIMEOUT, "the window manager")


def run_scenario(tools, prefix, make_desktop, play):
    """Runs play(desktop) on a desktop that make_desktop(work) builds in a
    fresh work folder, and turns the outcome into an exit status: SKIP when
    one of tools is missing or play returns SKIP, 1 with the end of the
    desktop's log on a Failure, else 0. The desktop and the folder go in any
    case."""
    for tool in tools:
        if not shutil.which(tool):
            print("skipped: %s is not installed" % tool)
            return SKIP
    work = tempfile.mkdtemp(prefix=prefix)
    desktop = make_desktop(work)
    try:
        if play(desktop) == SKIP:
            print("skipped: a tool this scenario needs is not installed")
            return SKIP
        print("passed")
        return 0
    except Failure as failure:
        print("FAILED: %s" % failure)
        desktop.log.seek(0)
        sys.stdout.write(desktop.log.read()[-4000:])
        return 1
    finally:
        desktop.close()
        shutil.rmtree(work, ignore_errors=True)
