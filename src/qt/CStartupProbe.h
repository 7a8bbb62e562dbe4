// SPDX-License-Identifier: MIT
#pragma once

// For the start-up benchmark, which runs the game and a bare Qt window the
// same way. With ORVO_STARTUP_PROBE set, the first paint of the client area
// is reported on standard output as "painted NANOSECONDS" (the monotonic
// clock) once that frame has gone to the window system; with the value
// "exit" the program then quits as if its window had been closed. Unset,
// nothing happens.
class CStartupProbe {
public:
    // Call at the end of every paint of the client area.
    static void OnPainted();
};
