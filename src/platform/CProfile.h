// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

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

// Why a write failed, in terms the player can act on.
enum class CProfileError {
    None,
    NoPermission,  // the folder or the file may not be written
    ReadOnly,      // the file or the file system is read-only
    DiskFull,
    NotAFile,      // a folder, a pipe or a device stands at the path
    Damaged,       // the file is too big to be a settings file
    Unstorable,    // an edit holds text the file cannot carry
    Other,
};

// The settings file as the game sees it: the old private-profile functions.
// Section and key names compare case-insensitively. Reads never fail: a
// missing file, section or key gives the default. Writes go through Write,
// which applies a batch of edits all together or not at all.
class CProfile {
public:
    virtual ~CProfile() = default;

    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& def) const = 0;
    // Optional sign and the leading decimal digits of the value; no digits
    // read as 0, a missing key as def.
    virtual int GetInt(const std::string& section, const std::string& key, int def) const = 0;
    // Applies every edit and replaces the file in one step; false (and the
    // file untouched) when it cannot be written.
    virtual bool Write(const std::vector<CProfileEdit>& edits) = 0;
    // Why the last Write failed; meaningful only after a failure.
    virtual CProfileError GetLastWriteError() const { return CProfileError::Other; }

    // A bigger file is damaged, not settings, on every system: it reads as
    // empty and no write replaces it (Write fails with Damaged).
    static constexpr std::size_t MAX_FILE_BYTES = 1 << 20;
    // Whether the file at the path is such a file now.
    virtual bool IsOversized() const { return false; }

    bool WriteString(const std::string& section, const std::string& key, const std::string& value)
    {
        return Write({CProfileEdit{section, key, value}});
    }
    bool WriteInt(const std::string& section, const std::string& key, int value)
    {
        return Write({CProfileEdit{section, key, std::to_string(value)}});
    }
};
