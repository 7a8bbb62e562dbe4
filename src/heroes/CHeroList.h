// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "AppIdentity.h"
#include "CHeroRecord.h"
#include "CProfile.h"

// What the list needs from the user interface when a result qualifies.
class CHeroPrompt {
public:
    virtual ~CHeroPrompt() = default;
    // The new-entry fanfare; returns when it has been played (or at once
    // while the sound is off).
    virtual void PlayEffect(std::uint16_t id) = 0;
    // The modal name-entry dialog, preset with name. True on OK, with name
    // holding the text as entered (GBK bytes); false on Cancel or close.
    virtual bool AskName(std::string& name) = 0;
    // A new entry could not be written: it is shown until the program ends
    // and then lost, which the player has to be told.
    virtual void ReportSaveFailure(CProfileError /*why*/) {}
};

// The top-ten list, best first: by balls, then score; ties keep the older
// entry above. Kept in section TOPTEN of the settings file.
class CHeroList {
public:
    static constexpr int kMaxRecords = 10;
    // The name dialog opens with the game's title, ready to be typed over.
    static constexpr const char* kPresetName = ORVO_APP_TITLE;

    CHeroList() = default;
    virtual ~CHeroList() = default;
    CHeroList(const CHeroList&) = delete;
    CHeroList& operator=(const CHeroList&) = delete;

    // Either may be null: without a profile the list loads nothing and saves
    // nothing; without a prompt no name can be given and nothing qualifies.
    void SetProfile(CProfile* pProfile) { m_pProfile = pProfile; }
    void SetPrompt(CHeroPrompt* pPrompt) { m_pPrompt = pPrompt; }

    void Load();
    bool Save() const;
    void Insert(std::unique_ptr<CHeroRecord> record);
    bool TryEnter(std::int32_t balls, std::int32_t score);

    int GetCount() const { return static_cast<int>(m_records.size()); }
    const std::list<std::unique_ptr<CHeroRecord>>& Records() const { return m_records; }

    static std::string KeyOf(int position) { return "Hero" + std::to_string(position); }

private:
    std::list<std::unique_ptr<CHeroRecord>> m_records;
    CProfile* m_pProfile = nullptr;
    CHeroPrompt* m_pPrompt = nullptr;
};
