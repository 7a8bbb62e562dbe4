// SPDX-License-Identifier: MIT
#pragma once

#include "CProfile.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// The settings file on disk, read and written the way the old private-profile
// functions did. Every read checks whether the file is still the one last
// parsed, so changes made by another writer (the game writes CONFIG and TOPTEN
// independently) are never lost, yet many reads cost one parse.
//
// Values are byte strings kept exactly as stored (names are GBK), trimmed of
// surrounding blanks, and at most 4095 bytes long when read. An integer is an
// optional sign and the leading decimal digits; digits beyond 32 bits wrap
// modulo 2^32 as they did in the old function, and an empty value reads as
// the default. Where a key appears twice, the first one is read.
//
// A write changes only the keys it names and is a fixpoint: the same edits
// written again give the same bytes. Setting a twinned key keeps its first
// place and drops the later twins; a header without its closing bracket is
// kept as it stood, and its keys stay as unreachable as they were.
//
// Write replaces the file atomically (one temporary file per settings file,
// locked, fsync, rename), keeping every other section, key and comment and a
// link at the path; it fails without touching the file when the folder or the
// file cannot be written (a file without any write permission bit counts as
// read-only even for root), when the existing file cannot be read or is over
// the size limit, or when an edit holds text the file cannot carry (a line
// break, a NUL, ']' in a section or '=' in a key).
class CIniProfile : public CProfile {
public:
    explicit CIniProfile(std::string strPath);
    ~CIniProfile() override;

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) const override;
    int GetInt(const std::string& section, const std::string& key, int def) const override;
    bool Write(const std::vector<CProfileEdit>& edits) override;
    CProfileError GetLastWriteError() const override { return m_lastError; }

    bool IsOversized() const override;

    // Byte limit of a value as read, inherited from the old API's buffer.
    static constexpr std::size_t MAX_VALUE_BYTES = 4095;

private:
    struct SLoaded;
    const SLoaded& Loaded() const;
    CProfileError WriteFile(const std::vector<CProfileEdit>& edits) const;

    std::string m_strPath;
    mutable std::unique_ptr<SLoaded> m_pLoaded;
    CProfileError m_lastError = CProfileError::None;
};
