// SPDX-License-Identifier: MIT
#include "CGameSession.h"

#include <algorithm>

#include "CBoardGeometry.h"
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

void CGameSession::OnKey(CKey key)
{
    switch (key) {
    case CKey::Left:
        MoveFocus(0, -1);
        return;
    case CKey::Right:
        MoveFocus(0, 1);
        return;
    case CKey::Up:
        MoveFocus(-1, 0);
        return;
    case CKey::Down:
        MoveFocus(1, 0);
        return;
    case CKey::Space:
    case CKey::Enter:
        // A player who cannot see the focus does not know what the key
        // would act on: the first press shows it.
        if (!m_bFocusShown)
            MoveFocus(0, 0);
        else
            m_game.OnClick(CBoardGeometry::CentreX(m_focusCol), CBoardGeometry::CentreY(m_focusRow));
        return;
    case CKey::Backspace:
    case CKey::Delete:
        // Putting a ball down needs no cell.
        m_game.OnRightClick();
        return;
    }
}

void CGameSession::MoveFocus(int dRow, int dCol)
{
    if (!m_bFocusShown) {
        m_bFocusShown = true;
        if (m_game.IsSelected()) {
            m_focusRow = m_game.SelRow();
            m_focusCol = m_game.SelCol();
        }
    } else {
        m_focusRow = std::clamp(m_focusRow + dRow, 1, CBoardGeometry::kCells);
        m_focusCol = std::clamp(m_focusCol + dCol, 1, CBoardGeometry::kCells);
    }
    m_view.SetFocus(m_focusRow, m_focusCol);
}

void CGameSession::OnMouse()
{
    m_bFocusShown = false;
    m_view.SetFocus(0, 0);
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
