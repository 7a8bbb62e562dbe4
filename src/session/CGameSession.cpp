// SPDX-License-Identifier: MIT
#include "CGameSession.h"

#include "CEffectSound.h"
#include "CSoundPlayer.h"

// The base keeps only references to the view and the game; nothing is drawn
// before the members exist.
CGameSession::CGameSession()
    : CViewOutput(m_view, m_game), m_view(CGameView::LoadBallStrip())
{
    m_game.SetOutput(this);
    m_heroes.SetPrompt(this);
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
    if (m_pPlayer && m_game.IsSoundOn())
        PlayEffectSound(*m_pPlayer, id);
}

void CGameSession::OnSoundSwitchedOn()
{
    if (m_pPlayer)
        m_pPlayer->Reset();
}
