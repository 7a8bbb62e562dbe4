#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command with a Wine prefix of its own, made once for the run in a
# temporary folder and removed afterwards: no dialogs, no Mono or Gecko, no
# debug chatter. The core suites need no display; the end-to-end test starts
# its own X server.
set -eu
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/orvo-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT INT TERM
wineboot -i >/dev/null 2>&1
# Windows that the suites make need a display driver: X where a test names
# its server, Wine's null driver where none is named.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11,null /f >/dev/null 2>&1
wineserver -w
"$@"
