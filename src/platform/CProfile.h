// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CIniText.h"

// One change to a settings file: set section/key to value, or remove the key
// when value is empty (std::nullopt).
struct CProfileEdit {
    std::string section;
    std::string key;
    std::optional<std::string> value;

    // Whether a settings file can carry the edit so that it reads back as
    // written: anything else would come back as another section, key or
    // comment, or not at all.
    bool IsStorable() const;
};

// Why the file could not be read or written, in terms the player can act on.
enum class CProfileError {
    None,
    NoPermission,  // the folder or the file may not be read or written
    ReadOnly,      // the file or the file system is read-only
    DiskFull,
    NotAFile,      // a folder, a pipe or a device stands at the path
    Damaged,       // the file is too big to be a settings file
    Unstorable,    // an edit holds text the file cannot carry
    TooBig,        // the edits would make the file too big to be read again
    Busy,          // another program kept the file locked too long
    Unreadable,    // the file is there but could not be read just now
    NoPlace,       // there is nowhere to keep a settings file
    Other,
};

// What a locked update decides from the file as it stands: the edits to
// make, or nothing to write nothing.
using CProfileDecision = std::function<std::optional<std::vector<CProfileEdit>>(const CIniText&)>;

// The settings file as the game sees it, on every system the same bytes
// read the same way (CIniText). Reads never fail: a missing or unreadable
// file, section or key gives the default, and GetReadError tells which. Writes
// change the file in one step, all edits of a batch or none, under a lock
// that every game sharing the file takes, whichever system it runs on.
class CProfile {
public:
    virtual ~CProfile() = default;

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) const;
    // Optional sign and the leading decimal digits of the value, wrapping
    // modulo 2^32 beyond 32 bits; no digits read as 0, a missing or empty
    // value as def.
    int GetInt(const std::string& section, const std::string& key, int def) const;
    // The file's text as it stands now; empty when it cannot be read.
    const CIniText& Text() const { return Current().text; }
    // What GetString reads from such a text.
    static std::string ValueIn(const CIniText& text, const std::string& section,
                               const std::string& key, const std::string& def);
    // None when the file was read or is not there yet; otherwise why it
    // reads as empty now.
    CProfileError GetReadError() const { return Current().error; }
    // A bigger file is damaged, not settings, on every system: it reads as
    // empty and no write replaces it (Write fails with Damaged).
    bool IsOversized() const { return GetReadError() == CProfileError::Damaged; }

    // Takes the lock (waiting LOCK_WAIT_MS at most), reads the file afresh,
    // asks decide what to change in it and writes that before letting go.
    // True when the edits were written or there was nothing to write; false,
    // with the file untouched, when the file could not be read or written.
    bool Update(const CProfileDecision& decide);
    bool Write(const std::vector<CProfileEdit>& edits)
    {
        return Update([&](const CIniText&) { return edits; });
    }
    bool WriteString(const std::string& section, const std::string& key, const std::string& value)
    {
        return Write({CProfileEdit{section, key, value}});
    }
    bool WriteInt(const std::string& section, const std::string& key, int value)
    {
        return Write({CProfileEdit{section, key, std::to_string(value)}});
    }
    // Why the last Update failed; None after one that worked.
    CProfileError GetLastWriteError() const { return m_lastError; }

    static constexpr std::size_t MAX_FILE_BYTES = 1 << 20;
    // Byte limit of a value as read: longer values are cut, on both systems.
    static constexpr std::size_t MAX_VALUE_BYTES = 4095;
    // The longest a save waits for another writer: long enough for any
    // save of a settings file, short enough that the window does not seem
    // to hang.
    static constexpr unsigned LOCK_WAIT_MS = 1000;

protected:
    struct SReading {
        CIniText text;
        CProfileError error = CProfileError::None;
    };
    // The file as it stands now (kept while it stays the same file).
    virtual const SReading& Current() const = 0;
    // Update's work on the system: lock, read, decide, write.
    virtual CProfileError LockedUpdate(const CProfileDecision& decide) = 0;

    // The common middle of every LockedUpdate: the edits decided from the
    // text read under the lock applied to it, checked, in out; None with out
    // empty when nothing needs writing.
    static CProfileError Edit(const std::string& text, const CProfileDecision& decide,
                              const std::string& newLine, std::optional<std::string>& out);

private:
    CProfileError m_lastError = CProfileError::None;
};

// The settings of a game whose file has no place at all: nothing to read,
// and every save fails with NoPlace, so that the player is told.
class CNoProfile final : public CProfile {
protected:
    const SReading& Current() const override { return m_empty; }
    CProfileError LockedUpdate(const CProfileDecision&) override { return CProfileError::NoPlace; }

private:
    SReading m_empty;
};
