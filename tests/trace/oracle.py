#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A second, separately written model of Orvo's rules that speaks orvo-trace's
script and event language. differential.py plays the same scripts through both
and compares what they print, so a slip in either one shows up as a difference.

Drawing is not modelled: `repaint` only reports the paint call, and `snapshot`
is refused with exit status 3.

Usage: oracle.py [--literal-search] < script
"""

import sys

CELL_EMPTY = 0
CELL_WALL = 8
CELL_VISITED = 0x80

WAVE_LINE = 131
WAVE_PLACE = 132
WAVE_STEP = 133
WAVE_NOPATH = 134
WAVE_HERO = 137

APP_TITLE = b"Orvo"
MAX_LIST = 10
PROFILE_BUFFER = 4096

LINE_DIRS = ((0, 1), (-1, 1), (-1, 0), (-1, -1))
PATH_DIRS = ((0, 1), (-1, 0), (0, -1), (1, 0))


def hex_text(data):
    return data.hex().upper() if data else "-"


class Events:
    """One printed line per outgoing call of the engine."""

    def __init__(self, out):
        self.out = out

    def emit(self, text):
        if isinstance(text, str):
            text = text.encode("latin-1")
        self.out.write(text + b"\n")


# ---------------------------------------------------------------- random

class Random:
    def __init__(self):
        self.state = 0

    def seed(self, value):
        self.state = value & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 214013 + 2531011) & 0xFFFFFFFF
        return (self.state >> 16) & 0x7FFF


# ---------------------------------------------------------------- INI file

class Profile:
    """Just enough of a private-profile file: case-blind section and key
    names, first definition wins, values trimmed, missing file reads empty."""

    BLANKS = b" \t"

    def __init__(self, path):
        self.path = path

    def _parse(self):
        sections = []  # [name, [[key, value], ...]]
        try:
            with open(self.path, "rb") as f:
                data = f.read()
        except OSError:
            return sections
        if data.startswith(b"\xef\xbb\xbf"):
            data = data[3:]
        current = None
        for raw in data.split(b"\n"):
            line = raw.rstrip(b"\r").strip(self.BLANKS)
            if not line or line[:1] in (b";", b"#"):
                continue
            if line.startswith(b"["):
                end = line.find(b"]")
                name = line[1:end if end >= 0 else len(line)].strip(self.BLANKS)
                current = self._section(sections, name, create=True)
                continue
            if current is None or b"=" not in line:
                continue
            key, value = line.split(b"=", 1)
            key = key.strip(self.BLANKS)
            if self._find_key(current[1], key) is None:
                current[1].append([key, value.strip(self.BLANKS)])
        return sections

    @staticmethod
    def _section(sections, name, create=False):
        for section in sections:
            if section[0].lower() == name.lower():
                return section
        if not create:
            return None
        section = [name, []]
        sections.append(section)
        return section

    @staticmethod
    def _find_key(entries, key):
        for entry in entries:
            if entry[0].lower() == key.lower():
                return entry
        return None

    def get_string(self, section, key, default=b""):
        found = self._section(self._parse(), section)
        entry = self._find_key(found[1], key) if found else None
        if entry is None:
            return default
        return entry[1][:PROFILE_BUFFER - 1]

    def rewrite(self, section, values, removed):
        """Sets each key of values and drops each key of removed, in one write."""
        sections = self._parse()
        target = self._section(sections, section, create=True)
        for key, value in values:
            entry = self._find_key(target[1], key)
            if entry is None:
                target[1].append([key, value])
            else:
                entry[1] = value
        target[1] = [e for e in target[1]
                     if all(e[0].lower() != k.lower() for k in removed)]
        text = b""
        for name, entries in sections:
            text += b"[" + name + b"]\n"
            for key, value in entries:
                text += key + b"=" + value + b"\n"
        try:
            with open(self.path, "wb") as f:
                f.write(text)
        except OSError:
            pass  # an unwritable file is ignored, as in the game


# ---------------------------------------------------------------- hero record

def clamp16(n):
    return 0 if n < 0 else min(n, 0xFFFF)


def checksum(block):
    return sum(b ^ 0xFE for b in block[:16])


def convert_base(digits, from_base, to_base):
    """Repeated division of a little-endian digit array; consumes digits."""
    digits = list(digits)
    length = len(digits)
    out = []
    while length > 0:
        remainder = 0
        for j in range(length - 1, -1, -1):
            v = remainder * from_base + digits[j]
            digits[j] = v // to_base
            remainder = v % to_base
        out.append(remainder)
        while length > 0 and digits[length - 1] == 0:
            length -= 1
    return out


class HeroRecord:
    def __init__(self, name=b"", balls=0, score=0, code=b""):
        self.name = name
        self.balls = balls
        self.score = score
        self.code = code

    def block(self):
        block = bytearray(18)
        name = self.name[:12]
        block[:len(name)] = name
        balls, score = clamp16(self.balls), clamp16(self.score)
        block[12:16] = bytes([balls >> 8, balls & 0xFF, score >> 8, score & 0xFF])
        total = checksum(block)
        block[16:18] = bytes([total >> 8, total & 0xFF])
        return block

    def encode(self):
        digits = convert_base(self.block(), 256, 36)
        self.code = bytes((48 + d) if d <= 9 else (55 + d) for d in digits)
        return True

    def decode(self):
        if not self.code:
            return False
        values = []
        for c in self.code[:28]:
            v = (c - 48) % 256
            if v > 9:
                v = (v - 7) % 256
            if v > 35:
                return False
            values.append(v)
        block = bytearray(19)
        out = convert_base(values, 36, 256)
        block[:len(out)] = bytes(out)
        if checksum(block) != block[16] * 256 + block[17]:
            return False
        name = bytes(block[:12])
        zero = name.find(b"\0")
        self.name = name if zero < 0 else name[:zero]
        self.balls = block[12] * 256 + block[13]
        self.score = block[14] * 256 + block[15]
        return True


# ---------------------------------------------------------------- hero list

class HeroList:
    def __init__(self, events, dialog):
        self.records = []
        self.profile = None
        self.events = events
        self.dialog = dialog

    def load(self):
        self.records = []
        for i in range(MAX_LIST):
            value = self.profile.get_string(b"TOPTEN", b"Hero%d" % i, b"")
            if not value:
                continue
            record = HeroRecord(code=value)
            if record.decode():
                self.insert(record)

    def save(self):
        if self.profile is None:
            return
        n = len(self.records)
        values = [(b"Hero%d" % i, r.code) for i, r in enumerate(self.records)]
        removed = [b"Hero%d" % i for i in range(n, MAX_LIST)]
        self.profile.rewrite(b"TOPTEN", values, removed)

    def insert(self, record):
        if not self.records:
            self.records.append(record)
            return
        if len(self.records) >= MAX_LIST:
            self.records.pop()
        for i, r in enumerate(self.records):
            if record.balls > r.balls or (record.balls == r.balls and record.score > r.score):
                self.records.insert(i, record)
                return
        self.records.append(record)

    def try_enter(self, balls, score, play_effect):
        self.events.emit("enter %d %d" % (balls, score))
        if len(self.records) == MAX_LIST and balls <= self.records[-1].balls:
            return False
        play_effect(WAVE_HERO)
        self.events.emit("ask")
        name = self.dialog()
        if name is None:
            return False
        record = HeroRecord(name, balls, score)
        record.encode()
        self.insert(record)
        self.save()
        return True


# ---------------------------------------------------------------- game

def at(row, col):
    return row * 11 + col


def i32(n):
    n &= 0xFFFFFFFF
    return n - (1 << 32) if n & 0x80000000 else n


class Game:
    def __init__(self, events, dialog, literal_search=False):
        self.events = events
        self.heroes = HeroList(events, dialog)
        self.random = Random()
        self.literal_search = literal_search
        self.ticks = 0
        self.score = 0
        self.balls = 0
        self.count = 0
        self.board = [CELL_EMPTY] * 121
        self.next = [0, 0, 0]
        self.path = []
        self.sel_row = 0
        self.sel_col = 0
        self.selected = False
        self.shown = False
        self.sound = False
        self.timer = False

    # outgoing operations
    def draw(self, row, col, value):
        self.events.emit("draw %d %d %d" % (row, col, value))

    def play_effect(self, wave):
        self.events.emit("effect %d" % wave)

    def pause(self, ms):
        self.events.emit("pause %d" % ms)

    def start_timer(self):
        self.timer = True
        self.events.emit("timer on")

    def stop_timer(self):
        self.timer = False
        self.events.emit("timer off")

    def add_balls(self, add, n):
        self.balls = i32(self.balls + n if add else n)
        self.events.emit("balls %d" % self.balls)

    def add_score(self, add, n):
        self.score = i32(self.score + n if add else n)
        self.events.emit("score %d" % self.score)

    def next_colour(self):
        return self.random.next() % 7 + 1

    # new game
    def new_game(self):
        if self.selected:
            self.stop_timer()
            self.selected = False
        self.count = 0
        self.add_balls(False, 0)
        self.add_score(False, 0)
        self.random.seed(self.ticks)
        self.events.emit("seed %d" % self.ticks)
        self.next = [self.next_colour() for _ in range(3)]
        for row in range(11):
            for col in range(11):
                edge = row in (0, 10) or col in (0, 10)
                self.board[at(row, col)] = CELL_WALL if edge else CELL_EMPTY
        self.events.emit("paint")
        self.spawn_balls()

    # placement and lines
    def run_cells(self, row, col, dr, dc, colour):
        cells = []
        r, c = row + dr, col + dc
        while self.board[at(r, c)] == colour:
            cells.append((r, c))
            r, c = r + dr, c + dc
        return cells

    def place_ball(self, row, col, colour):
        self.board[at(row, col)] = colour
        self.draw(row, col, colour)
        self.play_effect(WAVE_PLACE)
        if not self.sound:
            self.pause(50)
        removed = False
        for dr, dc in LINE_DIRS:
            forward = self.run_cells(row, col, dr, dc, colour)
            backward = self.run_cells(row, col, -dr, -dc, colour)
            n = 1 + len(forward) + len(backward)
            if n < 5:
                continue
            removed = True
            for r, c in [(row, col)] + forward + backward:
                self.board[at(r, c)] = CELL_EMPTY
                self.draw(r, c, 0)
            self.play_effect(WAVE_LINE)
            self.add_balls(True, n)
            self.add_score(True, n * n)
            self.count += 1 - n
        if removed:
            self.count -= 1
        return removed

    # spawning
    def pick_empty_cell(self):
        cells = [(r, c) for r in range(1, 10) for c in range(1, 10)
                 if self.board[at(r, c)] == CELL_EMPTY]
        if not cells:
            return None
        return cells[self.random.next() % len(cells)]

    def spawn_balls(self):
        for _ in range(3):
            cell = self.pick_empty_cell()
            if cell is None:
                return
            self.count += 1
            self.place_ball(cell[0], cell[1], self.next[0])
            self.next = [self.next[1], self.next[2], self.next_colour()]
            self.events.emit("push %d" % self.next[2])
            if self.count == 81:
                if not self.heroes.try_enter(self.balls, self.score, self.play_effect):
                    self.events.emit("notice")
                return

    # path search
    def find_path(self, row, col):
        search = self.search_literal if self.literal_search else self.search_fast
        walk = search(row, col)
        if walk is None:
            self.play_effect(WAVE_NOPATH)
            return False
        self.path = [(self.sel_row, self.sel_col)] + walk
        return True

    def search_fast(self, row, col):
        """Breadth-first from the target, marking cells as they are queued;
        this finds the same walk as marking them when expanded."""
        ball = (self.sel_row, self.sel_col)
        parent = {(row, col): None}
        queue = [(row, col)]
        head = 0
        while head < len(queue):
            cur = queue[head]
            head += 1
            for dr, dc in PATH_DIRS:
                nb = (cur[0] + dr, cur[1] + dc)
                if nb == ball:
                    walk = []
                    while cur is not None:
                        walk.append(cur)
                        cur = parent[cur]
                    return walk
                if nb not in parent and self.board[at(*nb)] == CELL_EMPTY:
                    parent[nb] = cur
                    queue.append(nb)
        return None

    def search_literal(self, row, col):
        """The search step by step as the game describes it: cells are marked
        in the board when expanded, so the queue holds repeats."""
        ball = (self.sel_row, self.sel_col)
        records = [(row, col, -1)]
        current = 0
        found = -1
        while current < len(records) and found < 0:
            r, c, _ = records[current]
            for dr, dc in PATH_DIRS:
                if (r + dr, c + dc) == ball:
                    found = current
                    break
                if self.board[at(r + dr, c + dc)] == CELL_EMPTY:
                    records.append((r + dr, c + dc, current))
            if found >= 0:
                break
            self.board[at(r, c)] = CELL_VISITED
            current += 1
        for i in range(121):
            if self.board[i] == CELL_VISITED:
                self.board[i] = CELL_EMPTY
        if found < 0:
            return None
        walk = []
        while found >= 0:
            walk.append(records[found][:2])
            found = records[found][2]
        return walk

    # selection and moves
    def hide_selected(self):
        self.draw(self.sel_row, self.sel_col, 0)
        self.shown = False

    def show_selected(self):
        self.draw(self.sel_row, self.sel_col, self.board[at(self.sel_row, self.sel_col)])
        self.shown = True

    def on_blink_timer(self):
        if self.shown:
            self.hide_selected()
        else:
            self.show_selected()

    def on_right_click(self):
        if self.selected:
            self.stop_timer()
            self.show_selected()
            self.selected = False

    def on_click(self, x, y):
        if x < 10 or x > 297 or y < 50 or y > 337:
            return
        col = (x - 10) // 32 + 1
        row = (y - 50) // 32 + 1
        if self.board[at(row, col)] != CELL_EMPTY:
            if self.selected:
                self.stop_timer()
                self.show_selected()
            self.sel_row, self.sel_col, self.selected = row, col, True
            self.hide_selected()
            self.start_timer()
            return
        if not self.selected:
            return
        if not self.find_path(row, col):
            return
        self.stop_timer()
        self.show_selected()
        self.selected = False
        self.animate_move()
        removed = self.place_ball(self.sel_row, self.sel_col,
                                  self.board[at(self.sel_row, self.sel_col)])
        if removed and self.count != 0:
            return
        self.spawn_balls()

    def animate_move(self):
        colour = self.board[at(self.sel_row, self.sel_col)]
        for step in self.path[1:]:
            self.hide_selected()
            self.board[at(self.sel_row, self.sel_col)] = CELL_EMPTY
            self.sel_row, self.sel_col = step
            self.board[at(self.sel_row, self.sel_col)] = colour
            self.show_selected()
            self.play_effect(WAVE_STEP)
            if not self.sound:
                self.pause(50)

    def state_lines(self):
        lines = ["count %d balls %d score %d next %d %d %d"
                 % (self.count, self.balls, self.score, *self.next)]
        if self.selected:
            lines.append("selected %d %d shown %d"
                         % (self.sel_row, self.sel_col, 1 if self.shown else 0))
        else:
            lines.append("selected none")
        for row in range(1, 10):
            lines.append("row %d %s" % (row, "".join(
                str(self.board[at(row, col)]) for col in range(1, 10))))
        return lines


# ---------------------------------------------------------------- script

class Malformed(Exception):
    pass


def parse_unsigned(word, top):
    if not word.isdigit():
        raise Malformed("not a plain decimal number: %r" % word)
    value = int(word)
    if value > top:
        raise Malformed("number out of range: %r" % word)
    return value


def parse_signed(word):
    body = word[1:] if word.startswith(b"-") else word
    if not body.isdigit():
        raise Malformed("not a plain decimal number: %r" % word)
    value = int(word)
    if not -2**31 <= value < 2**31:
        raise Malformed("number out of range: %r" % word)
    return value


def parse_hex(word):
    if word == b"-":
        return b""
    if len(word) % 2 or any(c not in b"0123456789abcdefABCDEF" for c in word):
        raise Malformed("bad hex bytes: %r" % word)
    return bytes.fromhex(word.decode("ascii"))


ARITY = {
    b"ticks": 1, b"sound": 1, b"new": 0, b"click": 2, b"rclick": 2, b"cell": 2, b"blink": 0,
    b"repaint": 0, b"name": 1, b"cancel": 0, b"profile": 1, b"heroes": 0,
    b"state": 0, b"encode": 3, b"decode": 1, b"snapshot": 1, b"key": 1, b"focus": 0,
}
ARROWS = {b"left": (0, -1), b"right": (0, 1), b"up": (-1, 0), b"down": (1, 0)}
KEYS = set(ARROWS) | {b"space", b"enter", b"backspace", b"delete"}


def parse_line(line):
    """Returns (command, arguments) or None for a line to skip."""
    if line.endswith(b"\r"):
        line = line[:-1]
    if not line.strip(b" \t") or line.startswith(b"#"):
        return None
    words = line.split(b" ")
    if any(not w for w in words):
        raise Malformed("empty word")
    command, args = words[0], words[1:]
    if command not in ARITY:
        raise Malformed("unknown command %r" % command)
    if len(args) != ARITY[command]:
        raise Malformed("wrong number of words")
    if command == b"ticks":
        return command, [parse_unsigned(args[0], 0xFFFFFFFF)]
    if command == b"sound":
        if args[0] not in (b"on", b"off"):
            raise Malformed("sound takes on or off")
        return command, [args[0] == b"on"]
    if command in (b"click", b"rclick"):
        return command, [parse_signed(args[0]), parse_signed(args[1])]
    if command == b"cell":
        row, col = parse_signed(args[0]), parse_signed(args[1])
        if not (1 <= row <= 9 and 1 <= col <= 9):
            raise Malformed("no such cell")
        return command, [row, col]
    if command == b"key" and args[0] not in KEYS:
        raise Malformed("no such key %r" % args[0])
    if command == b"name":
        return command, [parse_hex(args[0])]
    if command == b"encode":
        return command, [parse_hex(args[0]), parse_signed(args[1]), parse_signed(args[2])]
    return command, args


def cell_centre(row, col):
    return 10 + 32 * (col - 1) + 16, 50 + 32 * (row - 1) + 16


class Driver:
    def __init__(self, out, literal_search=False):
        self.events = Events(out)
        self.answers = []
        self.game = Game(self.events, self.answer_dialog, literal_search)
        # The keyboard's focus cell: hidden until a key shows it, at the
        # centre at first; any click hides it again.
        self.focus_shown = False
        self.focus_at = [5, 5]

    def answer_dialog(self):
        if not self.answers:
            return APP_TITLE
        return self.answers.pop(0)

    def run(self, command, args):
        game = self.game
        if command == b"ticks":
            game.ticks = args[0]
        elif command == b"sound":
            game.sound = args[0]
        elif command == b"new":
            game.new_game()
        elif command == b"click":
            self.focus_shown = False
            game.on_click(*args)
        elif command == b"cell":
            self.focus_shown = False
            game.on_click(*cell_centre(*args))
        elif command == b"rclick":
            self.focus_shown = False
            game.on_right_click()
        elif command == b"key":
            self.on_key(args[0])
        elif command == b"focus":
            self.events.emit("focus %d %d" % tuple(self.focus_at) if self.focus_shown
                             else "focus none")
        elif command == b"blink":
            if game.timer:
                game.on_blink_timer()
        elif command == b"repaint":
            self.events.emit("paint")
        elif command == b"name":
            self.answers.append(args[0])
        elif command == b"cancel":
            self.answers.append(None)
        elif command == b"profile":
            game.heroes.profile = Profile(args[0])
            game.heroes.load()
        elif command == b"heroes":
            self.print_heroes()
        elif command == b"state":
            for line in game.state_lines():
                self.events.emit(line)
        elif command == b"encode":
            record = HeroRecord(*args)
            record.encode()
            self.events.emit(b"code " + record.code)
        elif command == b"decode":
            record = HeroRecord(code=args[0])
            if record.decode():
                self.events.emit("decoded %s %d %d"
                                 % (hex_text(record.name), record.balls, record.score))
            else:
                self.events.emit("refused")

    def on_key(self, key):
        game = self.game
        if key in (b"backspace", b"delete"):
            game.on_right_click()
        elif not self.focus_shown:
            # The first arrow, Space or Enter only shows the focus: on the
            # picked-up ball, or where it was.
            self.focus_shown = True
            if game.selected:
                self.focus_at = [game.sel_row, game.sel_col]
        elif key in ARROWS:
            dr, dc = ARROWS[key]
            self.focus_at = [min(9, max(1, self.focus_at[0] + dr)),
                             min(9, max(1, self.focus_at[1] + dc))]
        else:
            game.on_click(*cell_centre(*self.focus_at))

    def print_heroes(self):
        records = self.game.heroes.records
        self.events.emit("heroes %d" % len(records))
        for i, r in enumerate(records, 1):
            self.events.emit(b"hero %d %s %d %d " % (i, hex_text(r.name).encode(),
                                                     r.balls, r.score) + r.code)


def main():
    literal = "--literal-search" in sys.argv[1:]
    out = sys.stdout.buffer
    driver = Driver(out, literal)
    for number, line in enumerate(sys.stdin.buffer.read().split(b"\n"), 1):
        try:
            parsed = parse_line(line)
        except Malformed as error:
            out.flush()
            sys.stderr.write("line %d: %s\n" % (number, error))
            return 2
        if parsed is None:
            continue
        if parsed[0] == b"snapshot":
            out.flush()
            sys.stderr.write("line %d: snapshot is not modelled here\n" % number)
            return 3
        driver.run(*parsed)
    out.flush()
    return 0


if __name__ == "__main__":
    sys.exit(main())
