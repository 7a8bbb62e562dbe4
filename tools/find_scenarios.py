#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Plays games through orvo-trace with a simple line-building player and
keeps the shortest scripts in which a wanted turn happens (a move that
completes a line, crossing lines, a spawned ball completing a line, the end
of a game). The scripts become golden traces once their output has been
checked by hand at the turn they were chosen for.

usage: find_scenarios.py ORVO_TRACE OUT_DIR [GAMES]
"""
import os
import random
import subprocess
import sys

DIRS = [(0, 1), (-1, 1), (-1, 0), (-1, -1)]


class Trace:
    def __init__(self, exe):
        self.p = subprocess.Popen([exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  text=True, bufsize=1)
        self.script = []

    def run(self, command):
        """Sends one command followed by `state`; returns (events, board)."""
        self.script.append(command)
        self.p.stdin.write(command + "\nstate\n")
        self.p.stdin.flush()
        events = []
        while True:
            line = self.p.stdout.readline().rstrip("\n")
            if line.startswith("count "):
                break
            events.append(line)
        self.p.stdout.readline()  # selected
        board = [[0] * 11 for _ in range(11)]
        for r in range(1, 10):
            digits = self.p.stdout.readline().split()[2]
            for c in range(1, 10):
                board[r][c] = int(digits[c - 1])
        return events, board

    def close(self):
        self.p.stdin.close()
        self.p.wait()


def run_length(board, r, c, colour, skip):
    best = []
    for dr, dc in DIRS:
        n = 1
        for sign in (1, -1):
            rr, cc = r + sign * dr, c + sign * dc
            while 1 <= rr <= 9 and 1 <= cc <= 9 and board[rr][cc] == colour and (rr, cc) != skip:
                n += 1
                rr += sign * dr
                cc += sign * dc
        best.append(n)
    return best


def reachable(board, r, c):
    seen = {(r, c)}
    todo = [(r, c)]
    while todo:
        cr, cc = todo.pop()
        for dr, dc in ((0, 1), (-1, 0), (0, -1), (1, 0)):
            nr, nc = cr + dr, cc + dc
            if 1 <= nr <= 9 and 1 <= nc <= 9 and board[nr][nc] == 0 and (nr, nc) not in seen:
                seen.add((nr, nc))
                todo.append((nr, nc))
    seen.discard((r, c))
    return seen


def choose_move(board, rng):
    best, moves = -1, []
    for r in range(1, 10):
        for c in range(1, 10):
            colour = board[r][c]
            if not colour:
                continue
            for tr, tc in reachable(board, r, c):
                runs = run_length(board, tr, tc, colour, (r, c))
                score = sum(n * n for n in runs if n >= 5) * 100 + max(runs) * 10 + sum(runs)
                if score > best:
                    best, moves = score, []
                if score == best:
                    moves.append((r, c, tr, tc))
    return rng.choice(moves) if moves else None


def classify(events):
    found = set()
    pushed = False
    lines_since_landing = 0
    for i, e in enumerate(events):
        if e == "effect 132" or e == "pause 50":
            lines_since_landing = 0
        if e.startswith("push"):
            pushed = True
        if e == "effect 131":
            lines_since_landing += 1
            found.add("spawn_line" if pushed else "move_line")
            if lines_since_landing >= 2:
                found.add("crossing")
        if e.startswith("enter"):
            nxt = events[i + 1] if i + 1 < len(events) else ""
            found.add("end_entry" if nxt == "effect 137" or nxt == "ask" else "end_no_entry")
    return found


def main():
    exe, out_dir = sys.argv[1], sys.argv[2]
    games = int(sys.argv[3]) if len(sys.argv) > 3 else 200
    best = {}
    for game in range(games):
        rng = random.Random(game)
        trace = Trace(exe)
        ticks = rng.randrange(1, 2**32)
        trace.run(f"ticks {ticks}")
        _, board = trace.run("new")
        for _ in range(400):
            move = choose_move(board, rng)
            if move is None:
                break
            r, c, tr, tc = move
            if "no_path" not in best:
                walled = [(wr, wc) for wr in range(1, 10) for wc in range(1, 10)
                          if board[wr][wc] == 0 and (wr, wc) not in reachable(board, r, c)]
                if walled:
                    trace.run("sound on")
                    trace.run("cell %d %d" % (r, c))
                    events, _ = trace.run("cell %d %d" % walled[0])
                    trace.run("sound off")
                    if events == ["effect 134"]:
                        best["no_path"] = list(trace.script)
            trace.run("cell %d %d" % (r, c))
            events, board = trace.run("cell %d %d" % (tr, tc))
            for kind in classify(events):
                if kind.startswith("end"):
                    continue
                if kind not in best or len(trace.script) < len(best[kind]):
                    best[kind] = list(trace.script)
            ended = [e for e in events if e.startswith("enter")]
            if ended:
                kind = "end_game" if ended[0] == "enter 0 0" else "end_scored"
                if kind not in best or len(trace.script) < len(best[kind]):
                    best[kind] = list(trace.script)
                break
        trace.close()
    os.makedirs(out_dir, exist_ok=True)
    for kind, script in sorted(best.items()):
        with open(os.path.join(out_dir, kind + ".trace"), "w") as f:
            f.write("\n".join(script) + "\n")
        print(kind, len(script), "commands")


if __name__ == "__main__":
    main()
