// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>

#include "CAlsaPlayer.h"
#include "CGameSession.h"
#include "CTickClock.h"

class CMainFrame;

// The game session bound to the real thing: ALSA, the tick clock, the
// frame's blink timer, the game-over box and the name dialog. Drawing and
// the top-ten list are the session's own.
class CAppOutput final : public CGameSession {
public:
    CAppOutput() = default;

    // Dialogs and the timer belong to this window; null before it exists.
    void SetFrame(CMainFrame* pFrame);
    // The clock for the pauses and the seed; a test's clock must outlive
    // this object or be replaced first.
    void SetClock(const CTickClock& clock) { m_pClock = &clock; }

    // CGameOutput, beyond the drawing
    // Serves the list's fanfare as well as the game's effects.
    void PlayEffect(std::uint16_t id) override;
    void Pause(std::uint32_t ms) override;
    std::uint32_t GetTickCount() override;
    void StartBlinkTimer() override;
    void StopBlinkTimer() override;
    void ShowGameOver() override;

    // CHeroPrompt
    bool AskName(std::string& name) override;
    void ReportSaveFailure(CProfileError why) override;

    // Switching the sound on gives a device that hung another chance.
    void OnSoundSwitchedOn() { m_player.Reset(); }

private:
    QPointer<CMainFrame> m_pFrame;
    CTickClock m_clock;
    const CTickClock* m_pClock = &m_clock;
    CAlsaPlayer m_player;
};
