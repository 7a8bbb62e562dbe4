#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""A screen reader's view of the game, over AT-SPI, for the end-to-end
tests: finds the running game on the session bus it is started on, then
answers each line on standard input with one line of JSON.

  read    {"cells": 81 names row by row, "balls", "preview", "score",
           "outcome": the status line, "focused": the focused cell or null}
  events  the events seen since the last "events": [[kind, source name], ...]
          for name changes and cells gaining the focus

It needs pyatspi, which only the system's Python has; the tests start it
with that one and skip when it is missing. It prints "ready" once it has
found the game's board."""

import json
import sys
import time

import pyatspi
from gi.repository import GLib

EVENTS = []


def find(accessible, role):
    if accessible is None:
        return None
    if accessible.getRole() == role:
        return accessible
    for child in accessible:
        found = find(child, role)
        if found is not None:
            return found
    return None


def the_board():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "orvo":
            return find(app, pyatspi.ROLE_TABLE)
    return None


def read(board):
    table = board.queryTable()
    cells = [table.getAccessibleAt(r, c).name for r in range(table.nRows)
             for c in range(table.nColumns)]
    focused = [table.getAccessibleAt(r, c).name for r in range(table.nRows)
               for c in range(table.nColumns)
               if table.getAccessibleAt(r, c).getState().contains(pyatspi.STATE_FOCUSED)]
    client = board.parent
    parts = {client.getChildAtIndex(i).getRole(): [] for i in range(client.childCount)}
    for i in range(client.childCount):
        part = client.getChildAtIndex(i)
        parts[part.getRole()].append(part.name)
    labels = parts.get(pyatspi.ROLE_LABEL, [])
    return {"cells": cells, "focused": focused[0] if focused else None,
            "balls": labels[0] if labels else None,
            "preview": labels[1] if len(labels) > 1 else None,
            "score": labels[2] if len(labels) > 2 else None,
            "outcome": (parts.get(pyatspi.ROLE_STATUS_BAR) or [None])[0]}


def on_event(event):
    try:
        name = event.source.name
    except Exception:  # the source may be gone already
        return
    if event.type.startswith("object:property-change:accessible-name"):
        EVENTS.append(["name", name])
    elif event.type.startswith("object:state-changed:focused") and event.detail1:
        EVENTS.append(["focus", name])


def main():
    deadline = time.monotonic() + 30
    board = the_board()
    while board is None:
        if time.monotonic() > deadline:
            print("no board")
            return 1
        time.sleep(0.2)
        board = the_board()
    pyatspi.Registry.registerEventListener(on_event, "object:property-change:accessible-name",
                                           "object:state-changed:focused")

    def on_line(source, _condition):
        line = sys.stdin.readline()
        if not line:
            pyatspi.Registry.stop()
            return False
        command = line.strip()
        if command == "read":
            answer = read(board)
        elif command == "events":
            answer = list(EVENTS)
            EVENTS.clear()
        else:
            answer = {"error": "unknown command " + command}
        print(json.dumps(answer, ensure_ascii=False), flush=True)
        return True

    GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, on_line)
    print("ready", flush=True)
    pyatspi.Registry.start()
    return 0


if __name__ == "__main__":
    sys.exit(main())
