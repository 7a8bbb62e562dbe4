// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>
#include <utility>

#include "CProfile.h"

// A settings file held in memory, for tests of what the game writes.
class CMemoryProfile : public CProfile {
public:
    std::map<std::pair<std::string, std::string>, std::string> values;
    int writes = 0;
    bool failWrites = false;
    // Why a failed write failed.
    CProfileError failure = CProfileError::Other;
    bool oversized = false;

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) const override
    {
        const auto it = values.find({section, key});
        return it == values.end() ? def : it->second;
    }
    int GetInt(const std::string& section, const std::string& key, int def) const override
    {
        const auto it = values.find({section, key});
        return it == values.end() ? def : std::stoi(it->second);
    }
    bool Write(const std::vector<CProfileEdit>& edits) override
    {
        if (failWrites)
            return false;
        ++writes;
        for (const auto& edit : edits) {
            if (edit.value)
                values[{edit.section, edit.key}] = *edit.value;
            else
                values.erase({edit.section, edit.key});
        }
        return true;
    }
    CProfileError GetLastWriteError() const override { return failure; }
    bool IsOversized() const override { return oversized; }
};
