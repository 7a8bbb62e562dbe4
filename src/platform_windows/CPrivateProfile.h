// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "CProfile.h"

// The settings file through Win32 file calls, read and edited by the same
// rules as on every system (CIniText), so that a file shared with the Linux
// program reads alike. A write applies its edits to the file's bytes and
// moves a copy with the result over the file in one step, so a crash or a
// full disk leaves the old file whole and a batch lands all together or not
// at all. Writers take turns through a byte-range lock on a hidden lock
// file beside the settings file (".orvo.ini.lock"), the same file the Linux
// program locks; under Wine both locks are record locks on that one file, so
// the two programs exclude each other there too.
// Paths are wide, so a folder outside the system's code page still works.
class CPrivateProfile : public CProfile {
public:
    explicit CPrivateProfile(std::wstring strPath) : m_strPath(std::move(strPath)) {}

    // The settings file for the program at programPath, by CProfilePlace's
    // rule; the player's folder is Orvo in the application-data folder.
    // Empty only for an empty path.
    static std::wstring Locate(const std::wstring& programPath);
    static bool CanWriteIn(const std::wstring& folder);

protected:
    const SReading& Current() const override;
    CProfileError LockedUpdate(const CProfileDecision& decide) override;

private:
    std::wstring m_strPath;
    mutable SReading m_reading;
    // Which file, in which state, m_reading was read from; empty before.
    mutable std::wstring m_identity;
};
