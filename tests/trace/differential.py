#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Differential test: random scripts are played through orvo-trace and through
oracle.py, a separately written model of the same rules, and the two outputs
must agree byte for byte (plus exit status and the settings file left behind).

Scripts are built while a live model plays along, so moves are chosen from the
board that `state` shows: games progress, lines form, boards fill and results
reach the top-ten list.

Usage: differential.py ORVO_TRACE [--scripts N] [--seed S] [--save FILE]
                       [--literal-search]
"""

import argparse
import concurrent.futures
import difflib
import io
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ORACLE = os.path.join(HERE, "oracle.py")
sys.path.insert(0, HERE)
import oracle  # noqa: E402  (the live model that steers the scripts)

DIR = "@DIR@"
INI = DIR + "/orvo.ini"

EDGE_TICKS = [0, 1, 2, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF]
EDGE_COUNTERS = [0, 1, 255, 256, 4095, 65534, 65535, 65536, 65537, 70000,
                 2**31 - 1, -1, -65536, -(2**31)]
EDGE_POINTS = [(9, 60), (298, 60), (60, 49), (60, 338), (10, 50), (297, 337),
               (41, 100), (42, 100), (100, 81), (100, 82), (297, 50), (10, 337),
               (0, 0), (-1, -1), (308, 348), (2**31 - 1, 100), (100, -(2**31)),
               (-(2**31), -(2**31)), (2**31 - 1, 2**31 - 1), (150, 20)]

# Lines the driver must refuse (exit status 2, nothing after them runs).
MALFORMED = [
    "click 1", "new 1", "blink now", "state 1", "click  10 60", " new", "new ",
    "ticks +5", "ticks 4294967296", "ticks -1", "ticks 1.5", "ticks 0x10",
    "ticks", "click 2147483648 60", "click 60 -2147483649", "click 1e3 60",
    "rclick 5", "name ABC", "name XY", "name 4G", "name", "name 41 42",
    "cancel 1", "sound maybe", "sound", "sound on off", "bogus", "encode - 1",
    "encode 41 1 2 3", "encode 4 1 2", "encode - 99999999999 0", "decode",
    "decode A B", "profile", "heroes 2", "\tnew", "click 10\t60",
    "cell 0 1", "cell 1 10", "cell -1 5", "cell 5", "cell 1 2 3", "cell +1 1",
    "key", "key tab", "key LEFT", "key left right", "focus 1",
]
# Lines that look odd but are valid or skipped.
ODD_VALID = ["# a comment", "#", "", "   ", " \t ", "\t", "ticks 0", "ticks 4294967295",
             "click -2147483648 2147483647", "rclick 2147483647 -2147483648",
             "encode - -2147483648 2147483647", "name -", "decode -", "new\r", "state\r"]


def cell_point(rng, row, col):
    """Anywhere inside the cell, corners included: these clicks probe the
    hit test itself, which the oracle models on its own."""
    return 10 + (col - 1) * 32 + rng.randrange(32), 50 + (row - 1) * 32 + rng.randrange(32)


def random_name(rng):
    kind = rng.random()
    if kind < 0.1:
        return b""
    if kind < 0.35:  # two-byte characters of the system code page
        return bytes(b for _ in range(rng.randint(1, 7))
                     for b in (rng.randint(0x81, 0xFE), rng.randint(0x40, 0xFE)))
    if kind < 0.45:
        return bytes(rng.randrange(256) for _ in range(rng.randint(1, 16)))
    return bytes(rng.randint(0x20, 0x7E) for _ in range(rng.randint(1, 14)))


def hex_word(data):
    return data.hex().upper() if data else "-"


def make_code(rng, name, balls, score, filler=False):
    """A code string as any encoder might have written it, optionally with
    meaningless bytes after the name's terminating zero."""
    block = bytearray(18)
    block[:len(name[:12])] = name[:12]
    if filler:
        for i in range(len(name) + 1, 12):
            block[i] = rng.randrange(256)
    block[12:16] = bytes([balls >> 8, balls & 255, score >> 8, score & 255])
    total = oracle.checksum(block)
    block[16:18] = bytes([total >> 8, total & 255])
    digits = oracle.convert_base(block, 256, 36)
    return bytes(48 + d if d < 10 else 55 + d for d in digits)


def damage(rng, code):
    code = bytearray(code)
    kind = rng.randrange(8)
    i = rng.randrange(len(code))
    if kind == 0 and any(65 <= c <= 90 for c in code):
        i = rng.choice([j for j, c in enumerate(code) if 65 <= c <= 90])
        code[i] += 32  # lower case
    elif kind == 1:
        code[i] = rng.choice(b"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")
    elif kind == 2:
        code[i] = rng.choice(b":;<=>?@[\\]^_`{|}~!\"$%&'()*+,./")
    elif kind == 3:
        del code[rng.randrange(len(code)):]
    elif kind == 4:
        code += bytes(rng.choice(b"0123456789ABCDEFXYZ") for _ in range(rng.randint(1, 6)))
    elif kind == 5:
        code[i] = rng.randint(0x80, 0xFF)
    elif kind == 6:
        code.insert(i, rng.choice(b"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"))
    else:
        code[i], code[-1] = code[-1], code[i]
    return bytes(code) if code else b"0"


# ---------------------------------------------------------------- settings files

def random_ini(rng, full):
    """A TOPTEN section as a player's file might hold it: good entries,
    damaged ones, odd spacing and case, neighbours and noise."""
    nl = b"\r\n" if rng.random() < 0.2 else b"\n"
    lines = []
    if rng.random() < 0.5:
        lines += [b"; settings", b"[CONFIG]", b"PlaySound=%d" % rng.randint(0, 1), b""]
    lines.append(rng.choice([b"[TOPTEN]", b"[topten]", b"[TopTen]", b"[ TOPTEN ]"]))
    top = rng.randint(5, 60)
    balls = score = None
    for i in range(10):
        key = rng.choice([b"Hero%d", b"Hero%d", b"hero%d", b"HERO%d"]) % i
        kind = rng.random()
        if not full and kind < 0.15:
            continue
        name = random_name(rng)
        if balls is not None and rng.random() < 0.2:
            pass  # the same result as the entry before: ties keep key order
        elif rng.random() < 0.9:
            balls = rng.randint(0, top)
            score = rng.randint(0, min(balls * 9, 65535))
        else:
            balls, score = rng.randint(0, 65535), rng.randint(0, 65535)
        value = make_code(rng, name, balls, score, filler=rng.random() < 0.3)
        if not full:
            if kind < 0.25:
                value = b""
            elif kind < 0.45:
                value = damage(rng, value)
            elif kind < 0.5 and len(value) == 28:
                value += b"EXTRA"
            elif kind < 0.52:
                value += b"Z" * rng.choice([4000, 4100])
        pad = [b"", b" ", b"\t", b"  "]
        lines.append(key + rng.choice(pad) + b"=" + rng.choice(pad) + value + rng.choice(pad))
    if rng.random() < 0.3:
        lines += [b"Hero10=" + make_code(rng, b"x", 1, 1), b"Other=1",
                  b"Hero01=" + make_code(rng, b"y", 2, 2)]
    if rng.random() < 0.3:
        lines += [b"[TAIL]", b"Key=Value"]
    return nl.join(lines) + nl


# ---------------------------------------------------------------- generator

class Builder:
    """Writes a script while the live model plays it, so every choice can
    look at the board the model's `state` prints."""

    def __init__(self, rng, guide_dir):
        self.rng = rng
        self.lines = []
        self.guide_dir = guide_dir
        self.out = io.BytesIO()
        self.driver = oracle.Driver(self.out)
        self.stopped = False

    def add(self, line):
        if self.stopped:
            return
        self.lines.append(line)
        parsed = oracle.parse_line(line.replace(DIR, self.guide_dir).encode("latin-1"))
        if parsed is not None:
            self.driver.run(*parsed)

    def add_malformed(self):
        self.lines.append(self.rng.choice(MALFORMED))
        for _ in range(self.rng.randint(0, 2)):
            self.lines.append(self.rng.choice(["state", "new", "heroes"]))
        self.stopped = True

    def state(self):
        """Adds `state` and reads the board back from the model's output."""
        start = self.out.tell()
        self.add("state")
        text = self.out.getvalue()[start:].decode("latin-1").split("\n")
        head = text[0].split()
        board = {}
        for r in range(9):
            digits = text[2 + r].split()[2]
            for c in range(9):
                board[(r + 1, c + 1)] = int(digits[c])
        selected = None if text[1] == "selected none" else tuple(map(int, text[1].split()[1:3]))
        return {"count": int(head[1]), "balls": int(head[3]), "board": board,
                "selected": selected}

    def click_cell(self, row, col, exact=True):
        if exact:
            self.add("cell %d %d" % (row, col))
        else:
            self.add("click %d %d" % cell_point(self.rng, row, col))

    def key_cell(self, row, col):
        """Takes the focus to (row, col) with the arrows, now and then
        running into an edge or asking where it is, and acts there with
        Space or Enter, as a player without a mouse would."""
        rng, driver = self.rng, self.driver
        if not driver.focus_shown:
            self.add("key " + rng.choice(["left", "right", "up", "down", "space", "enter"]))
        if rng.random() < 0.1:
            for _ in range(rng.randint(1, 10)):
                self.add("key " + rng.choice(["left", "right", "up", "down"]))
        while driver.focus_at != [row, col]:
            r, c = driver.focus_at
            if r != row and (c == col or rng.random() < 0.5):
                self.add("key " + ("down" if row > r else "up"))
            else:
                self.add("key " + ("right" if col > c else "left"))
            if rng.random() < 0.05:
                self.add("focus")
        self.add("key " + rng.choice(["space", "enter"]))
        if rng.random() < 0.2:
            self.add("focus")

    # ------------------------------------------------------------ misc
    def random_ticks(self):
        rng = self.rng
        value = rng.choice(EDGE_TICKS) if rng.random() < 0.2 else rng.randrange(2**32)
        self.add("ticks %d" % value)

    def answer(self):
        rng = self.rng
        if rng.random() < 0.25:
            self.add("cancel")
        else:
            self.add("name " + hex_word(random_name(rng)))

    def codec(self):
        rng = self.rng
        for _ in range(rng.randint(1, 6)):
            name = random_name(rng)
            if rng.random() < 0.5:
                balls, score = rng.choice(EDGE_COUNTERS), rng.choice(EDGE_COUNTERS)
            else:
                balls, score = rng.randint(0, 500), rng.randint(0, 5000)
            self.add("encode %s %d %d" % (hex_word(name), balls, score))
            good = make_code(rng, name[:12], oracle.clamp16(balls), oracle.clamp16(score),
                             filler=rng.random() < 0.3)
            word = good if rng.random() < 0.3 else damage(rng, good)
            if rng.random() < 0.1:
                word = bytes(rng.choice(b"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ:@")
                             for _ in range(rng.randint(1, 32)))
            self.add("decode " + word.decode("latin-1"))

    def misc(self):
        rng = self.rng
        for _ in range(rng.randint(1, 12)):
            kind = rng.random()
            if kind < 0.1:
                self.random_ticks()
            elif kind < 0.18:
                self.add("sound " + rng.choice(["on", "off"]))
            elif kind < 0.25:
                self.add("new")
            elif kind < 0.45:
                x, y = rng.choice(EDGE_POINTS) if rng.random() < 0.5 else (
                    rng.randint(-20, 330), rng.randint(-20, 370))
                self.add("%s %d %d" % (rng.choice(["click", "click", "rclick"]), x, y))
            elif kind < 0.6:
                self.click_cell(rng.randint(1, 9), rng.randint(1, 9), rng.random() < 0.5)
            elif kind < 0.7:
                self.add("blink")
            elif kind < 0.75:
                self.add("heroes")
            elif kind < 0.82:
                self.state()
            elif kind < 0.88:
                self.answer()
            elif kind < 0.94:
                self.codec()
            else:
                self.add(rng.choice(ODD_VALID))

    # ------------------------------------------------------------ play
    @staticmethod
    def regions(board):
        """Empty cells grouped into connected regions: cell -> region id."""
        region = {}
        for start in board:
            if board[start] or start in region:
                continue
            stack = [start]
            region[start] = start
            while stack:
                r, c = stack.pop()
                for nb in ((r, c + 1), (r - 1, c), (r, c - 1), (r + 1, c)):
                    if nb in board and not board[nb] and nb not in region:
                        region[nb] = start
                        stack.append(nb)
        return region

    @staticmethod
    def run_lengths(board, origin, target, colour):
        """Run through target in each line direction once the ball moved there."""
        runs = []
        for dr, dc in oracle.LINE_DIRS:
            n = 1
            for sign in (1, -1):
                r, c = target[0] + sign * dr, target[1] + sign * dc
                while (r, c) in board and (r, c) != origin and board[(r, c)] == colour:
                    n += 1
                    r, c = r + sign * dr, c + sign * dc
            runs.append(n)
        return runs

    def reachable(self, board, region, ball):
        r, c = ball
        ids = {region[nb] for nb in ((r, c + 1), (r - 1, c), (r, c - 1), (r + 1, c))
               if nb in region}
        return [cell for cell, rid in region.items() if rid in ids]

    def choose_move(self, board, greedy):
        rng = self.rng
        region = self.regions(board)
        balls = [cell for cell, v in board.items() if v]
        rng.shuffle(balls)
        best, best_len = None, -1
        for ball in balls[:40 if greedy else 6]:
            targets = self.reachable(board, region, ball)
            if not greedy:
                targets = rng.sample(targets, min(len(targets), 6))
            for target in targets:
                runs = self.run_lengths(board, ball, target, board[ball])
                lines = sum(n for n in runs if n >= 5)
                if not greedy:
                    n = -lines if lines else rng.random()
                elif lines:
                    n = 1000 + lines + rng.random()
                else:  # build crosses, where crossing lines can meet
                    n = sum(k * k for k in runs) + rng.random()
                if n > best_len:
                    best, best_len = (ball, target), n
        return best

    def new_plan(self, board):
        """Arms of one colour around an empty centre: moving a ball into the
        centre then removes two or three lines at once."""
        rng = self.rng
        centre = (rng.randint(3, 7), rng.randint(3, 7))
        arms = rng.sample(oracle.LINE_DIRS, rng.choice([2, 2, 2, 3]))
        cells = [(centre[0] + k * dr, centre[1] + k * dc)
                 for dr, dc in arms for k in (1, 2, -1, -2)]
        colours = [v for v in board.values() if v]
        colour = max(set(colours), key=colours.count) if colours else rng.randint(1, 7)
        self.plan = (colour, centre, cells, 40)

    def plan_move(self, board):
        rng = self.rng
        colour, centre, cells, budget = self.plan
        self.plan = (colour, centre, cells, budget - 1)
        region = self.regions(board)
        balls = [cell for cell, v in board.items() if v]
        rng.shuffle(balls)

        def safe_targets(ball, avoid):
            return [t for t in self.reachable(board, region, ball) if t not in avoid
                    and max(self.run_lengths(board, ball, t, board[ball])) < 5]

        def first_move(movers, avoid):
            for ball in movers:
                targets = safe_targets(ball, avoid)
                if targets:
                    return ball, rng.choice(targets)
            return None

        reserved = set(cells) | {centre}
        if board[centre]:
            return first_move([centre], reserved)
        if all(board[c] == colour for c in cells):
            movers = [b for b in balls if board[b] == colour and b not in reserved]
            for ball in movers:
                if centre in self.reachable(board, region, ball):
                    self.plan = None
                    return ball, centre
        wrong = [c for c in cells if board[c] and board[c] != colour]
        if wrong:
            return first_move(wrong, reserved)
        open_cells = [c for c in cells if not board[c]]
        for ball in balls:
            if board[ball] != colour or ball in reserved:
                continue
            targets = [t for t in self.reachable(board, region, ball) if t in open_cells
                       and max(self.run_lengths(board, ball, t, colour)) < 5]
            if targets:
                return ball, rng.choice(targets)
        return first_move([b for b in balls if b not in reserved], reserved)

    def unreachable_target(self, board, ball):
        region = self.regions(board)
        near = set(self.reachable(board, region, ball))
        far = [cell for cell in region if cell not in near]
        return self.rng.choice(far) if far else None

    def decorate_selection(self, board, ball):
        """What a restless player does between picking a ball and moving it."""
        rng = self.rng
        for _ in range(rng.choice([0, 0, 0, 1, 2])):
            kind = rng.random()
            if kind < 0.35:
                for _ in range(rng.randint(1, 3)):
                    self.add("blink")
            elif kind < 0.5:
                far = self.unreachable_target(board, ball)
                if far:
                    self.click_cell(*far, exact=False)
            elif kind < 0.6:
                self.add("click %d %d" % rng.choice(EDGE_POINTS[:4]))
            elif kind < 0.7:
                others = [cell for cell, v in board.items() if v and cell != ball]
                if others:
                    self.click_cell(*rng.choice(others))
                self.click_cell(*ball, exact=False)
            elif kind < 0.8:
                self.add("rclick %d %d" % (rng.randint(0, 307), rng.randint(0, 347)))
                if rng.random() < 0.3:
                    self.add("rclick 1 1")
                self.click_cell(*ball)
            elif kind < 0.9:
                self.click_cell(*ball)
            else:
                self.state()

    def play_game(self, max_moves, greedy_share, crosses=False):
        rng = self.rng
        self.plan = None
        if rng.random() < 0.7:
            self.random_ticks()
        self.add("new")
        for _ in range(max_moves):
            st = self.state()
            if st["count"] >= 81:
                break
            if rng.random() < 0.05:
                self.add("sound " + rng.choice(["on", "off"]))
            if rng.random() < 0.08:
                self.answer()
            if rng.random() < 0.03:
                self.add("heroes")
            move = None
            if crosses:
                if self.plan is None or self.plan[3] <= 0:
                    self.new_plan(st["board"])
                move = self.plan_move(st["board"])
            if move is None:
                move = self.choose_move(st["board"], rng.random() < greedy_share)
            if move is None:
                break
            ball, target = move
            if rng.random() < 0.05:  # empty cell with nothing selected
                self.add("rclick 5 5")
                self.click_cell(*target)
            if rng.random() < 0.2:  # by keys alone
                self.key_cell(*ball)
                if rng.random() < 0.1:
                    self.add("key " + rng.choice(["backspace", "delete"]))
                    self.key_cell(*ball)
                self.key_cell(*target)
                continue
            self.click_cell(*ball, exact=rng.random() < 0.8)
            self.decorate_selection(st["board"], ball)
            self.click_cell(*target, exact=rng.random() < 0.8)
            if rng.random() < 0.05:  # the second release of a double click
                self.click_cell(*target)
                if rng.random() < 0.5:
                    self.add("blink")
                self.add("rclick 0 0")
            if rng.random() < 0.01:
                return  # abandoned
        if rng.random() < 0.5:  # poke at the finished board
            for _ in range(rng.randint(1, 4)):
                self.click_cell(rng.randint(1, 9), rng.randint(1, 9), exact=False)
                if rng.random() < 0.5:
                    self.add("blink")
            if rng.random() < 0.5:
                self.add("rclick 100 100")
            self.state()

    # ------------------------------------------------------------ whole script
    def build(self, profile_kind):
        rng = self.rng
        if profile_kind != "none" and rng.random() < 0.8:
            unusable = rng.choice([DIR + "/no/such/dir.ini", DIR])
            self.add("profile " + (INI if profile_kind != "nodir" else unusable))
            self.add("heroes")
        if rng.random() < 0.5:
            self.add("sound on")
        style = rng.random()
        if style < 0.25:  # many short episodes
            for _ in range(rng.randint(3, 12)):
                part = rng.random()
                if part < 0.4:
                    self.misc()
                elif part < 0.6:
                    self.codec()
                else:
                    self.play_game(rng.randint(1, 8), 0.5)
        elif style < 0.75:  # one or two games to the end
            self.misc()
            for _ in range(rng.randint(1, 2)):
                self.play_game(200, rng.random(), crosses=rng.random() < 0.4)
        else:  # a season: enough finished games to fill and churn the list
            for _ in range(rng.randint(4, 13)):
                self.play_game(200, rng.choice([0.0, 0.3, 0.9]), crosses=rng.random() < 0.2)
                self.add("heroes")
        if profile_kind != "none":
            if rng.random() < 0.7:
                self.add("profile " + INI)  # read back what was saved
            self.add("heroes")
        if rng.random() < 0.04:
            self.add_malformed()
        return self.lines


# ---------------------------------------------------------------- running

def play(command, script, folder):
    proc = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, cwd=folder)
    out, err = proc.communicate(script.encode("latin-1"))
    return out, err.decode("latin-1"), proc.returncode, os.path.join(folder, "orvo.ini")


def settings_snapshot(path):
    """The file's sections and keys as the game reads them (case-blind)."""
    sections = oracle.Profile(path)._parse()
    return sorted((name.lower(), sorted((k.lower(), v) for k, v in entries))
                  for name, entries in sections)


def compare_once(pool, trace, script_lines, ini_text, work, oracle_flags):
    """Plays the script on both sides at once; returns (report or None,
    orvo-trace's output, its exit status)."""
    jobs = []
    for side, command in (("trace", [trace]),
                          ("oracle", [sys.executable, ORACLE, *oracle_flags])):
        folder = os.path.join(work, side)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        if ini_text is not None:
            with open(os.path.join(folder, "orvo.ini"), "wb") as f:
                f.write(ini_text)
        script = "\n".join(script_lines).replace(DIR, folder) + "\n"
        jobs.append(pool.submit(play, command, script, folder))
    (t_out, t_err, t_rc, t_ini), (o_out, o_err, o_rc, o_ini) = (job.result() for job in jobs)
    problems = []
    if t_out != o_out:
        diff = difflib.unified_diff(o_out.decode("latin-1").splitlines(),
                                    t_out.decode("latin-1").splitlines(),
                                    "oracle", "orvo-trace", lineterm="", n=6)
        problems.append("\n".join(diff))
    if t_rc != o_rc:
        problems.append("exit status: orvo-trace %d, oracle %d\n%s%s"
                        % (t_rc, o_rc, t_err, o_err))
    elif t_rc == 2:
        number = o_err.split(":")[0].split()[-1]
        if not re.search(r"\b%s\b" % number, t_err):
            problems.append("orvo-trace's error does not name line %s: %s" % (number, t_err))
    elif t_rc == 0 and settings_snapshot(t_ini) != settings_snapshot(o_ini):
        problems.append("settings files differ:\norvo-trace %r\noracle     %r"
                        % (settings_snapshot(t_ini), settings_snapshot(o_ini)))
    return ("\n".join(problems) if problems else None), t_out, t_rc


TALLY = {"games over": b"enter ", "names asked": b"ask", "notices": b"notice",
         "lines removed": b"effect 131", "no-path": b"effect 134",
         "full lists": b"heroes 10", "decoded": b"decoded ", "refused": b"refused",
         "crossing lines": None, "scripts refused": None}


def count_events(tally, out, status):
    lines = out.split(b"\n")
    landing_lines = 0
    for line in lines:
        if line == b"effect 132":
            landing_lines = 0
        elif line == b"effect 131":
            landing_lines += 1
            tally["crossing lines"] += landing_lines == 2
    for key, prefix in TALLY.items():
        if key == "scripts refused":
            tally[key] += status == 2
        elif prefix is not None:
            tally[key] += sum(1 for line in lines if line.startswith(prefix))


def build_script(seed, guide):
    """The script for one seed and the settings file it starts from (or None)."""
    rng = random.Random(seed)
    profile_kind = rng.choice(["none", "none", "fresh", "fresh", "file", "full", "nodir"])
    ini_text = None
    if profile_kind in ("file", "full"):
        ini_text = random_ini(rng, profile_kind == "full")
    shutil.rmtree(guide, ignore_errors=True)
    os.makedirs(guide)
    if ini_text is not None:
        with open(os.path.join(guide, "orvo.ini"), "wb") as f:
            f.write(ini_text)
    return Builder(rng, guide).build(profile_kind), ini_text


def show_difference(number, seed, lines, ini_text, report, save):
    print("Difference in script %d (seed %d):" % (number, seed))
    if ini_text is not None:
        print("--- settings file %s/orvo.ini beforehand:" % DIR)
        print(ini_text.decode("latin-1"))
    print("--- script (%s stands for the folder of the settings file):" % DIR)
    print("\n".join(lines))
    print("--- differences:")
    print(report)
    if save:
        with open(save, "w", encoding="latin-1") as f:
            f.write("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("trace", help="the orvo-trace executable")
    parser.add_argument("--scripts", type=int, default=300, help="how many scripts (300)")
    parser.add_argument("--seed", type=int, default=1, help="first script's seed (1)")
    parser.add_argument("--save", help="write the first disagreeing script here")
    parser.add_argument("--literal-search", action="store_true",
                        help="the model searches paths step by step, repeats and all (slow)")
    args = parser.parse_args()
    if os.path.exists(args.trace):
        args.trace = os.path.abspath(args.trace)  # each side runs in its own folder
    flags = ["--literal-search"] if args.literal_search else []

    work = tempfile.mkdtemp(prefix="orvo-diff-")
    pool = concurrent.futures.ThreadPoolExecutor(2)
    total_script, total_out = 0, 0
    tally = {key: 0 for key in TALLY}
    try:
        for n in range(args.scripts):
            seed = args.seed + n
            lines, ini_text = build_script(seed, os.path.join(work, "guide"))
            report, out, status = compare_once(pool, args.trace, lines, ini_text, work, flags)
            if report:
                show_difference(n + 1, seed, lines, ini_text, report, args.save)
                return 1
            total_script += len(lines)
            total_out += out.count(b"\n")
            count_events(tally, out, status)
    finally:
        pool.shutdown()
        shutil.rmtree(work, ignore_errors=True)
    print("%d scripts agree: %d script lines, %d output lines compared"
          % (args.scripts, total_script, total_out))
    print("covered: " + ", ".join("%s %d" % item for item in tally.items()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
