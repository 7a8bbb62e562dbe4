// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

class CProfile;

// The settings file of the program that runs, at the place CProfilePlace's
// rule gives on this system. Each system's platform folder brings the
// rest: what counts as installed and where the player's own folder is.
class CProfileLocation {
public:
    CProfileLocation() = delete;

    // The file opened there; null when no place can be had, and the game
    // then plays without one.
    static std::unique_ptr<CProfile> OpenForThisProgram();
};
