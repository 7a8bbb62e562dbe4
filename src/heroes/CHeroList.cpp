// SPDX-License-Identifier: MIT
#include "CHeroList.h"

#include <algorithm>
#include <utility>

#include "AppIdentity.h"
#include "CGbk.h"
#include "CProfile.h"
#include "resource.h"

namespace {
const std::string kSection = "TOPTEN";
}

void CHeroList::SetProfile(CProfile* pProfile)
{
    if (pProfile != m_pProfile) {
        m_records.clear();
        m_unsaved.clear();
    }
    m_pProfile = pProfile;
}

void CHeroList::ReadFrom(const CIniText& file)
{
    // An entry read before is kept as it is known, down to a name longer
    // than its code holds.
    std::list<std::unique_ptr<CHeroRecord>> known = std::move(m_records);
    m_records.clear();
    for (int i = 0; i < kMaxRecords; ++i) {
        const std::string code = CProfile::ValueIn(file, kSection, KeyOf(i), "");
        if (code.empty())
            continue;
        const auto same = std::find_if(known.begin(), known.end(),
                                       [&](const auto& record) { return record->GetCode() == code; });
        if (same != known.end()) {
            Insert(std::move(*same));
            known.erase(same);
            continue;
        }
        auto record = std::make_unique<CHeroRecord>();
        record->SetCode(code);
        if (record->Decode())
            Insert(std::move(record));
    }
    // One that no longer ranks is lost for good: forget it.
    m_unsaved.erase(std::remove_if(m_unsaved.begin(), m_unsaved.end(),
                                   [this](const CHeroRecord& record) { return !Merge(record); }),
                    m_unsaved.end());
}

bool CHeroList::Load()
{
    // Without a file the list lives in memory alone.
    if (!m_pProfile)
        return true;
    if (m_pProfile->GetReadError() != CProfileError::None)
        return false;
    ReadFrom(m_pProfile->Text());
    return true;
}

// Keys beyond the list are removed, or an older, longer list would come
// back at the next start.
std::vector<CProfileEdit> CHeroList::Edits() const
{
    std::vector<CProfileEdit> edits;
    int i = 0;
    for (const auto& record : m_records)
        edits.push_back({kSection, KeyOf(i++), record->GetCode()});
    for (; i < kMaxRecords; ++i)
        edits.push_back({kSection, KeyOf(i), std::nullopt});
    return edits;
}

bool CHeroList::Save()
{
    return m_pProfile && m_pProfile->Write(Edits());
}

void CHeroList::Insert(std::unique_ptr<CHeroRecord> record)
{
    if (static_cast<int>(m_records.size()) >= kMaxRecords)
        m_records.pop_back();
    auto at = m_records.begin();
    for (; at != m_records.end(); ++at) {
        const CHeroRecord& r = **at;
        if (record->GetBalls() > r.GetBalls() ||
            (record->GetBalls() == r.GetBalls() && record->GetScore() > r.GetScore()))
            break;
    }
    m_records.insert(at, std::move(record));
}

// Only the balls count here: a full list takes a result with more balls
// than its last entry, whatever the scores.
bool CHeroList::Ranks(std::int32_t balls) const
{
    return GetCount() < kMaxRecords || balls > m_records.back()->GetBalls();
}

std::string CHeroList::PresetName()
{
    return CGbk::Utf8ToGbk(ORVO_APP_TITLE).value_or(std::string());
}

bool CHeroList::Merge(const CHeroRecord& record)
{
    if (!Ranks(record.GetBalls()))
        return false;
    Insert(std::make_unique<CHeroRecord>(record));
    return true;
}

bool CHeroList::TryEnter(std::int32_t balls, std::int32_t score)
{
    // Another game may have added to the file since this one read it.
    Load();
    if (!Ranks(balls) || !m_pPrompt)
        return false;
    m_pPrompt->PlayEffect(IDR_WAVE_HERO);
    std::string name = PresetName();
    if (!m_pPrompt->AskName(name))
        return false;
    CHeroRecord record;
    record.SetName(name);
    record.SetBalls(balls);
    record.SetScore(score);
    record.Encode();
    if (!m_pProfile)
        return Merge(record);

    // The dialog may have stood open for minutes: the list is read once
    // more, under the lock, and the entry goes into that list or nowhere.
    bool bRead = false;
    bool bRanks = false;
    const bool bSaved = m_pProfile->Update([&](const CIniText& file) {
        bRead = true;
        ReadFrom(file);
        bRanks = Merge(record);
        std::optional<std::vector<CProfileEdit>> edits;
        if (bRanks || !m_unsaved.empty())
            edits = Edits();
        return edits;
    });
    if (bSaved) {
        m_unsaved.clear();
        return bRanks;
    }
    // Not saved: the entry is shown for the rest of the run, and the player
    // is told that it will then be lost.
    if (!bRead)
        bRanks = Merge(record);
    if (bRanks)
        m_unsaved.push_back(record);
    m_pPrompt->ReportSaveFailure(m_pProfile->GetLastWriteError());
    return bRanks;
}
