// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "CProfile.h"

// The settings file through the system's private-profile functions. Reads
// go straight to them. A write applies its edits to a copy beside the file
// and moves the copy over it in one step, so a crash or a full disk leaves
// the old file whole and a batch lands all together or not at all.
// Paths are wide, so a folder outside the system's code page still works.
class CPrivateProfile : public CProfile {
public:
    explicit CPrivateProfile(std::wstring strPath) : m_strPath(std::move(strPath)) {}

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) const override;
    int GetInt(const std::string& section, const std::string& key, int def) const override;
    bool Write(const std::vector<CProfileEdit>& edits) override;
    CProfileError GetLastWriteError() const override { return m_lastError; }
    // Asked before every read and write: the system's functions would read
    // and rewrite a file of any size.
    bool IsOversized() const override;

    // The settings file for the program at programPath, by CProfilePlace's
    // rule; the player's folder is Orvo in the application-data folder.
    // Empty only for an empty path.
    static std::wstring Locate(const std::wstring& programPath);
    static bool CanWriteIn(const std::wstring& folder);

private:
    bool Fail(CProfileError why);
    // Why the system refused the write, read at the point of failure.
    CProfileError SystemError() const;

    std::wstring m_strPath;
    CProfileError m_lastError = CProfileError::None;
};
