// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where the settings file lives on Linux, by CProfilePlace's rule. A game
// counts as installed in the bin or games folder of the prefix it was
// configured for; the player's folder is $XDG_CONFIG_HOME/orvo.
class CProfileLocation {
public:
    CProfileLocation() = delete;

    // Empty when programPath is.
    static QString BesideProgram(const QString& programPath);
    // Whether programPath lies directly in installPrefix's bin or games folder.
    static bool IsInstalled(const QString& programPath, const QString& installPrefix);
    // The file for programPath; the configuration folder is created on the
    // way. Empty when no usable place can be had.
    static QString Locate(const QString& programPath, const QString& installPrefix);
    // The same, for the prefix this build was configured with.
    static QString Locate(const QString& programPath);
    static QString Fallback();
};
