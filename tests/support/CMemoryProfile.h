// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "CProfile.h"

// A settings file held in memory, for tests of what the game writes. Its
// text is made from values whenever it is read.
class CMemoryProfile : public CProfile {
public:
    std::map<std::pair<std::string, std::string>, std::string> values;
    int writes = 0;
    bool failWrites = false;
    // Why a failed write failed.
    CProfileError failure = CProfileError::Other;
    // Why the file cannot be read (None: it can).
    CProfileError readError = CProfileError::None;
    // Another game's turn, just before this one's update reads the file.
    std::function<void()> beforeUpdate;

protected:
    const SReading& Current() const override
    {
        m_reading.error = readError;
        m_reading.text = readError == CProfileError::None ? MakeText() : CIniText();
        return m_reading;
    }
    CProfileError LockedUpdate(const CProfileDecision& decide) override
    {
        if (beforeUpdate)
            beforeUpdate();
        if (readError != CProfileError::None)
            return readError;
        const auto edits = decide(MakeText());
        if (!edits)
            return CProfileError::None;
        if (failWrites)
            return failure;
        ++writes;
        for (const auto& edit : *edits) {
            if (edit.value)
                values[{edit.section, edit.key}] = *edit.value;
            else
                values.erase({edit.section, edit.key});
        }
        return CProfileError::None;
    }

private:
    CIniText MakeText() const
    {
        std::string text;
        for (const auto& [name, value] : values)
            text += "[" + name.first + "]\n" + name.second + "=" + value + "\n";
        return CIniText(text);
    }
    mutable SReading m_reading;
};
