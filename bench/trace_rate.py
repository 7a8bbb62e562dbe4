#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""How many random games per second orvo-trace plays, for one or more builds
of it side by side. The scripts are the differential test's; every round
runs each build once over all of them, the builds interleaved, and the
median round is reported, so that a busy machine slows every build alike.

usage: trace_rate.py ORVO_TRACE [ORVO_TRACE ...] [--scripts N] [--rounds R]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "trace"))
import differential  # noqa: E402  (the script builder)


def play_all(trace, scripts, work):
    start = time.monotonic()
    for text, ini_text in scripts:
        shutil.rmtree(work, ignore_errors=True)
        os.makedirs(work)
        if ini_text is not None:
            with open(os.path.join(work, "orvo.ini"), "wb") as f:
                f.write(ini_text)
        subprocess.run([trace], input=text.replace(differential.DIR, work).encode("latin-1"),
                       capture_output=True, cwd=work)
    return time.monotonic() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("traces", nargs="+")
    parser.add_argument("--scripts", type=int, default=40)
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="orvo-rate-")
    try:
        scripts = []
        for seed in range(1, args.scripts + 1):
            lines, ini_text = differential.build_script(seed, os.path.join(work, "guide"))
            scripts.append(("\n".join(lines) + "\n", ini_text))
        games = sum(text.count("\nnew\n") + text.startswith("new\n") for text, _ in scripts)
        times = {trace: [] for trace in args.traces}
        for _ in range(args.rounds):
            for trace in args.traces:
                times[trace].append(play_all(os.path.abspath(trace), scripts,
                                             os.path.join(work, "play")))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%d scripts, %d games, median of %d rounds" % (len(scripts), games, args.rounds))
    first = statistics.median(times[args.traces[0]])
    for trace in args.traces:
        median = statistics.median(times[trace])
        print("%-40s %7.1f games/s %7.1f scripts/s  %.2fx" % (
            trace, games / median, len(scripts) / median, first / median))


if __name__ == "__main__":
    main()
