// SPDX-License-Identifier: MIT
#include "CHeroList.h"

#include <utility>

#include "CProfile.h"
#include "resource.h"

namespace {
const std::string kSection = "TOPTEN";
}

void CHeroList::Load()
{
    m_records.clear();
    if (!m_pProfile)
        return;
    for (int i = 0; i < kMaxRecords; ++i) {
        const std::string code = m_pProfile->GetString(kSection, KeyOf(i), "");
        if (code.empty())
            continue;
        auto record = std::make_unique<CHeroRecord>();
        record->SetCode(code);
        if (record->Decode())
            Insert(std::move(record));
    }
}

// Writes the whole list in one replacement of the file. Keys beyond the list
// are removed, or an older, longer list would come back at the next start.
bool CHeroList::Save() const
{
    if (!m_pProfile)
        return false;
    std::vector<CProfileEdit> edits;
    int i = 0;
    for (const auto& record : m_records)
        edits.push_back({kSection, KeyOf(i++), record->GetCode()});
    for (; i < kMaxRecords; ++i)
        edits.push_back({kSection, KeyOf(i), std::nullopt});
    return m_pProfile->Write(edits);
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

bool CHeroList::TryEnter(std::int32_t balls, std::int32_t score)
{
    if (GetCount() >= kMaxRecords && balls <= m_records.back()->GetBalls())
        return false;
    if (!m_pPrompt)
        return false;
    m_pPrompt->PlayEffect(IDR_WAVE_HERO);
    std::string name = kPresetName;
    if (!m_pPrompt->AskName(name))
        return false;
    auto record = std::make_unique<CHeroRecord>();
    record->SetName(name);
    record->SetBalls(balls);
    record->SetScore(score);
    record->Encode();
    Insert(std::move(record));
    if (m_pProfile && !Save())
        m_pPrompt->ReportSaveFailure(m_pProfile->GetLastWriteError());
    return true;
}
