// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "CGame.h"
#include "CGameView.h"
#include "CHeroList.h"
#include "CViewOutput.h"

class CSoundPlayer;

// One game being played: the engine, the top-ten list and the view of the
// client area, wired to each other. It is the engine's output and the list's
// prompt; the drawing goes to the view, results go to the list and effects
// to the shell's sound player. A shell derives its binding from it and adds
// only what is its own: the sound device, time, the blink timer, the
// game-over notice and the name dialog.
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
    // Serves the list's fanfare as well as the game's effects: the sound
    // from the program's resources, while the sound is on.
    void PlayEffect(std::uint16_t id) override;

    // The settings file, kept by the shell for the whole run: the sound
    // switch and the top-ten list are read from it here and written back
    // the moment they change.
    void LoadSettings(CProfile& profile);
    // Flips the sound switch and writes it at once; switching the sound on
    // gives a device that hung another chance. Returns the new state, which
    // holds for this run even when it could not be written.
    bool SwitchSound();

protected:
    // The sound switch could not be written.
    virtual void ReportSoundSaveFailure(CProfileError /*why*/) {}
    // The settings file given to LoadSettings; null before.
    const CProfile* Profile() const { return m_pProfile; }
    // The binding's player, which must outlive the session's use of it;
    // without one (at first) effects are silent.
    void SetSoundPlayer(CSoundPlayer* pPlayer) { m_pPlayer = pPlayer; }

private:
    CGameView m_view;
    CGame m_game;
    CHeroList m_heroes;
    CSoundPlayer* m_pPlayer = nullptr;
    CProfile* m_pProfile = nullptr;
};
