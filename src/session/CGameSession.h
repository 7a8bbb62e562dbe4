// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "CGame.h"
#include "CGameView.h"
#include "CHeroList.h"
#include "CViewOutput.h"

// One game being played: the engine, the top-ten list and the view of the
// client area, wired to each other. It is the engine's output and the list's
// prompt; the drawing goes to the view and results go to the list. A shell
// derives its binding from it and adds only what is its own: sound, time,
// the blink timer, the game-over notice and the name dialog.
class CGameSession : public CViewOutput, public CHeroPrompt {
public:
    CGameSession();
    ~CGameSession() override;
    CGameSession(const CGameSession&) = delete;
    CGameSession& operator=(const CGameSession&) = delete;

    CGame& Game() { return m_game; }
    const CGame& Game() const { return m_game; }
    CHeroList& Heroes() { return m_heroes; }
    CGameView& View() { return m_view; }

    bool TryEnter(int balls, int score) override;

private:
    CGameView m_view;
    CGame m_game;
    CHeroList m_heroes;
};
