// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

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
// entry above. Kept in section TOPTEN of the settings file, which other
// games may share: the list is read afresh wherever it counts, and a new
// entry is merged into the list the file holds under the file's lock, so
// that no entry another game wrote meanwhile is lost.
class CHeroList {
public:
    static constexpr int kMaxRecords = 10;
    // The name dialog opens with the game's title, ready to be typed over:
    // in GBK bytes, as every name the list keeps.
    static std::string PresetName();

    CHeroList() = default;
    virtual ~CHeroList() = default;
    CHeroList(const CHeroList&) = delete;
    CHeroList& operator=(const CHeroList&) = delete;

    // Either may be null: without a profile the list loads nothing and saves
    // nothing; without a prompt no name can be given and nothing qualifies.
    // Another file starts another list.
    void SetProfile(CProfile* pProfile);
    void SetPrompt(CHeroPrompt* pPrompt) { m_pPrompt = pPrompt; }

    // The list as the settings file holds it now, with the entries of this
    // run that could not be saved. When the file is there but cannot be
    // read, the list stays as it was and false is returned.
    bool Load();
    // Writes the whole list over whatever the file holds.
    bool Save();
    void Insert(std::unique_ptr<CHeroRecord> record);
    // The end of a game: a result that ranks against the file's list, named
    // by the player, is merged into that list and written. True when a new
    // entry was added (and shown, even if it could not be saved).
    bool TryEnter(std::int32_t balls, std::int32_t score);

    int GetCount() const { return static_cast<int>(m_records.size()); }
    const std::list<std::unique_ptr<CHeroRecord>>& Records() const { return m_records; }

    static std::string KeyOf(int position) { return "Hero" + std::to_string(position); }

private:
    bool Ranks(std::int32_t balls) const;
    // Puts a copy of record in its place if it ranks; false if it does not.
    bool Merge(const CHeroRecord& record);
    // The file's list, then the unsaved entries that still rank in it.
    void ReadFrom(const CIniText& file);
    std::vector<CProfileEdit> Edits() const;

    std::list<std::unique_ptr<CHeroRecord>> m_records;
    // Entries whose save failed: shown for the rest of the run, and written
    // with the next save that works.
    std::vector<CHeroRecord> m_unsaved;
    CProfile* m_pProfile = nullptr;
    CHeroPrompt* m_pPrompt = nullptr;
};
