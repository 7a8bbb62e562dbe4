// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where the settings file lives. A game installed into the prefix it was
// configured for (its bin or games folder) keeps orvo.ini in the player's
// configuration folder, $XDG_CONFIG_HOME/orvo, as installed programs do.
// Anywhere else (a build tree, a copied folder) the file lives beside the
// program, named after it with the extension "ini" (build/orvo uses
// build/orvo.ini), unless that folder cannot be written: then the
// configuration folder serves, so the list and the sound switch still last.
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
