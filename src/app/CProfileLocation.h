#pragma once

#include <QString>

// Where the settings file lives: beside the program, named after it with
// the extension "ini" (build/orvo uses build/orvo.ini). A program installed
// in a folder its player cannot write to keeps orvo.ini in the player's
// configuration folder instead, so the list and the sound switch still last.
class CProfileLocation {
public:
    CProfileLocation() = delete;

    // Empty when programPath is.
    static QString BesideProgram(const QString& programPath);
    // BesideProgram when its folder can be written, else the fallback, whose
    // folder is created on the way; empty when neither can be had.
    static QString Locate(const QString& programPath);
    static QString Fallback();
};
