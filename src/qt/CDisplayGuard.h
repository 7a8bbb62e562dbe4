// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>
#include <string>

// Watches over the making of the application object, where Qt opens the
// display. Should no window system answer, Qt ends the process with a page
// of advice about reinstalling; the player instead reads one line saying
// which display could not be opened, and the game exits with 1. What Qt says
// meanwhile is held back and, once the display is open, passed on unchanged.
class CDisplayGuard {
public:
    static constexpr int kExitNoDisplay = 1;

    CDisplayGuard();
    ~CDisplayGuard();
    CDisplayGuard(const CDisplayGuard&) = delete;
    CDisplayGuard& operator=(const CDisplayGuard&) = delete;

    // The line for standard error, from the variables that name a display.
    static std::string NoDisplayMessage(const char* pX11, const char* pWayland);
};
