// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Where the settings file lives on Linux, by CProfilePlace's rule. A game
// counts as installed in the bin or games folder of the prefix it was
// configured for; the player's folder is $XDG_CONFIG_HOME/orvo.
class CLinuxProfileLocation {
public:
    CLinuxProfileLocation() = delete;

    // Whether programPath lies directly in installPrefix's bin or games folder.
    static bool IsInstalled(const std::string& programPath, const std::string& installPrefix);
    // The file for programPath; the configuration folder is created on the
    // way. Empty when no usable place can be had.
    static std::string Locate(const std::string& programPath, const std::string& installPrefix);
    // The same, for the prefix this build was configured with.
    static std::string Locate(const std::string& programPath);
    // orvo.ini in the player's configuration folder, which is created; empty
    // when it cannot be.
    static std::string PlayersFile();
    // The running program's own file, links resolved; empty when unknown.
    static std::string ProgramPath();
};
