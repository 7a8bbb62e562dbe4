// SPDX-License-Identifier: MIT
#pragma once

#include "CProfile.h"

#include <memory>
#include <string>

// The settings file on disk, through POSIX file calls. Every read checks
// whether the file is still the one last read, so changes made by another
// game are seen, yet the dozen reads of a start cost one read of the file.
//
// A write replaces the file atomically (a fixed temporary beside it, fsync,
// rename), keeping a link at the path: the file at the end of the chain is
// the one replaced. Writers take turns through an open-file-description
// lock on a lock file beside the settings file (".orvo.ini.lock" for
// orvo.ini), which also excludes the Windows program writing the same file
// through Wine, whose locks are the same kind of record lock underneath.
// A write fails without touching the file when the folder or the file
// cannot be written (a file without any write permission bit counts as
// read-only even for root), when the existing file cannot be read or is
// over the size limit, when the lock stays taken, or when an edit holds text
// the file cannot carry.
class CIniProfile : public CProfile {
public:
    explicit CIniProfile(std::string strPath);
    ~CIniProfile() override;

protected:
    const SReading& Current() const override;
    CProfileError LockedUpdate(const CProfileDecision& decide) override;

private:
    struct SLoaded;
    std::string m_strPath;
    mutable std::unique_ptr<SLoaded> m_pLoaded;
};
