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

Desktop is such a display with the processes a test starts on it and the X
tools that act on it and read it back; run_script() is the command line of an
end-to-end script: one scenario on a fresh desktop, its outcome an exit status.
"""

import os
import select
import shutil
import subprocess
import sys
import tempfile
import time
from collections import namedtuple

# Seconds to wait for a server or a window manager to come up.
START_TIMEOUT = 60
# The display numbers tried unless ORVO_TEST_DISPLAYS names others.
FIRST_DISPLAY, DISPLAYS = 100, 800
# The exit status that tells CTest a test was skipped.
SKIP = 77
# What every end-to-end script needs: the server, and the tools that click,
# find windows and read the screen.
X_TOOLS = ("Xvfb", "xdotool", "xwininfo", "import")
# The title of the game's main window.
TITLE = "Orvo"


class Failure(Exception):
    pass


class TimedOut(Failure):
    """Something awaited did not come in time: on a loaded machine, maybe
    only late."""


class Skip(Exception):
    """The scenario cannot run here: something it needs is missing."""


def require(*tools):
    """Skips the scenario unless every one of tools is on the PATH."""
    for tool in tools:
        if not shutil.which(tool):
            raise Skip("%s is not installed" % tool)


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
            raise TimedOut("timed out waiting for " + what)
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


def read_ppm(data):
    """A binary PPM picture (P6, 8 bits a channel) as rows of (r, g, b)."""
    fields, offset = [], 0
    while len(fields) < 4:
        while data[offset:offset + 1].isspace():
            offset += 1
        end = offset
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[offset:end])
        offset = end
    offset += 1
    check(fields[0] == b"P6" and fields[3] == b"255", "unexpected picture format")
    w, h = int(fields[1]), int(fields[2])
    body = data[offset:]
    return [[tuple(body[(y * w + x) * 3:(y * w + x) * 3 + 3]) for x in range(w)] for y in range(h)]


def file_text(path):
    """A settings file as it is, line ends included, or "" while there is none."""
    try:
        with open(path, "rb") as f:
            return f.read().decode("latin-1")
    except FileNotFoundError:
        return ""


class Desktop:
    """An X server of our own, the processes we start on it, and the X tools
    that act on it and read it back. What we start writes its errors into
    the log, which a failed scenario shows."""

    def __init__(self, work, width, height, log_name):
        self.work = work
        self.cwd = None
        self.processes = []
        self.xvfb, display = start_xvfb(width, height)
        self.env = dict(os.environ, DISPLAY=display)
        self.log = open(os.path.join(work, log_name), "w+")

    def close(self, own_log=True):
        for process in reversed(self.processes + [self.xvfb]):
            stop(process)
        if own_log:
            self.log.close()

    def start(self, argv):
        process = subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL, stderr=self.log,
                                   cwd=self.cwd)
        self.processes.append(process)
        return process

    def run(self, argv, timeout=30):
        """Runs argv to its end; the result's stdout is what it wrote, as bytes."""
        # Output through a file, not a pipe: Wine's helper processes inherit
        # the pipe and would keep it open long after the command is done.
        with tempfile.TemporaryFile(dir=self.work) as out:
            result = subprocess.run(argv, env=self.env, stdout=out, stderr=self.log,
                                    timeout=timeout, cwd=self.cwd)
            out.seek(0)
            result.stdout = out.read()
        return result

    def output(self, argv, timeout=30):
        """What argv writes, as text."""
        return self.run(argv, timeout).stdout.decode("utf-8", "replace")

    def ini_text(self):
        """The game's settings file, which a subclass names self.ini."""
        return file_text(self.ini)

    def xdotool(self, *args):
        return self.output(["xdotool"] + [str(a) for a in args]).split()

    def visible_windows(self, name="^%s$" % TITLE):
        return self.xdotool("search", "--onlyvisible", "--name", name)

    def geometry(self, window):
        """(x, y, width, height) of an X window, on the screen."""
        info = {}
        for line in self.output(["xwininfo", "-id", window]).splitlines():
            key, _, value = line.strip().partition(":")
            info[key] = value.strip()
        return (int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"]),
                int(info["Width"]), int(info["Height"]))

    def grab(self, x, y, w, h):
        """The screen's pixels in a rectangle, as rows of (r, g, b)."""
        crop = "%dx%d+%d+%d" % (w, h, x, y)
        pixels = read_ppm(self.run(["import", "-window", "root", "-crop", crop, "+repage",
                                    "-depth", "8", "ppm:-"]).stdout)
        check(len(pixels) == h and len(pixels[0]) == w,
              "a screenshot of %dx%d pixels, not %dx%d" % (len(pixels[0]), len(pixels), w, h))
        return pixels


def run_scenario(tools, prefix, make_desktop, play):
    """Runs play(desktop) on a desktop that make_desktop(work) builds in a
    fresh work folder, and turns the outcome into an exit status: SKIP when
    one of tools is missing or the desktop or play raise Skip, 1 with the
    end of the desktop's log on a Failure, else 0. A scenario that fails
    only by waiting too long is played once more from the start, on a new
    desktop: these machines are shared, and a wait that is long enough
    alone can be too short beside a heavy build; a fault that is really
    there fails twice. The desktop and the folder go in any case."""
    try:
        require(*tools)
        for attempt in (1, 2):
            outcome = _play_once(prefix, make_desktop, play, last=attempt == 2)
            if outcome is not None:
                return outcome
            print("timed out on the first attempt; once more from the start")
    except Skip as skip:
        print("skipped: %s" % skip)
        return SKIP


def _play_once(prefix, make_desktop, play, last):
    """One run of run_scenario's: 0, 1, or None for a time-out that may be
    tried again when this is not the last attempt."""
    work = tempfile.mkdtemp(prefix=prefix)
    try:
        desktop = make_desktop(work)
        try:
            play(desktop)
            print("passed")
            return 0
        except Failure as failure:
            print("FAILED: %s" % failure)
            desktop.log.seek(0)
            sys.stdout.write(desktop.log.read()[-4000:])
            return None if isinstance(failure, TimedOut) and not last else 1
        finally:
            desktop.close()
    finally:
        shutil.rmtree(work, ignore_errors=True)


# What a script's command line asks for: run_scenario's arguments.
Scenario = namedtuple("Scenario", "tools prefix make_desktop play")


def run_script(doc, choose):
    """The command line of an end-to-end script. choose(args), given the
    arguments after the script's name, returns the Scenario they ask for,
    or None when they are not what doc's usage line says: then doc is
    printed and the exit status is 2. Else the status is run_scenario's:
    0 passed, 1 failed, SKIP."""
    scenario = choose(sys.argv[1:])
    if scenario is None:
        print(doc)
        return 2
    return run_scenario(*scenario)
