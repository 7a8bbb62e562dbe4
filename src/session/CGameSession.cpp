// SPDX-License-Identifier: MIT
#include "CGameSession.h"

#include "CResources.h"
#include "CSoundPlayer.h"
#include "CWaveFile.h"

namespace {

const char* const kConfigSection = "CONFIG";
const char* const kSoundKey = "PlaySound";

}  // namespace

CGameSession::CGameSession(CGameOutput& output, CHeroPrompt& prompt, CSoundPlayer* pPlayer)
    : m_view(CGameView::LoadBallStrip()), m_pPlayer(pPlayer)
{
    m_game.SetOutput(&output);
    m_heroes.SetPrompt(&prompt);
}

// Nothing may reach the binding while it is being torn down.
CGameSession::~CGameSession()
{
    m_game.SetOutput(nullptr);
    m_heroes.SetPrompt(nullptr);
    m_heroes.SetProfile(nullptr);
}

bool CGameSession::TryEnter(int balls, int score)
{
    return m_heroes.TryEnter(balls, score);
}

void CGameSession::PlayEffect(std::uint16_t id)
{
    if (!m_pPlayer || !m_game.IsSoundOn())
        return;
    // Looked up and read afresh every time: the sounds are tiny, and a
    // damaged one then costs only its own effect.
    const auto resource = FindEmbeddedResource(CResourceType::Wave, id);
    if (!resource)
        return;
    CWaveFile wave;
    if (wave.Parse(resource->pData, resource->nSize))
        m_pPlayer->Play(wave);
}

void CGameSession::LoadSettings(CProfile& profile)
{
    m_pProfile = &profile;
    m_game.SetSound(profile.GetInt(kConfigSection, kSoundKey, 0) != 0);
    m_heroes.SetProfile(&profile);
    m_heroes.Load();
}

bool CGameSession::SwitchSound(CProfileError& why)
{
    why = CProfileError::None;
    const bool bOn = !m_game.IsSoundOn();
    m_game.SetSound(bOn);
    if (bOn && m_pPlayer)
        m_pPlayer->Reset();
    if (m_pProfile && !m_pProfile->WriteInt(kConfigSection, kSoundKey, bOn ? 1 : 0))
        why = m_pProfile->GetLastWriteError();
    return bOn;
}
