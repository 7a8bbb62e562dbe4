// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>

#include "CAlsaPlayer.h"
#include "CGameSession.h"
#include "CTickClock.h"

class CMainFrame;

// The game session bound to the real thing: ALSA, the tick clock, the
// frame's blink timer, the game-over box and the name dialog. Drawing, the
// top-ten list and the choice of sounds are the session's own.
class CAppOutput final : public CGameSession {
public:
    CAppOutput() { SetSoundPlayer(&m_player); }

    // Dialogs and the timer belong to this window; null before it exists.
    void SetFrame(CMainFrame* pFrame);
    // The clock for the pauses and the seed; a test's clock must outlive
    // this object or be replaced first.
    void SetClock(const CTickClock& clock) { m_pClock = &clock; }

    // CGameOutput, beyond the drawing and the sounds
    void Pause(std::uint32_t ms) override;
    std::uint32_t GetTickCount() override;
    void StartBlinkTimer() override;
    void StopBlinkTimer() override;
    void ShowGameOver() override;

    // CHeroPrompt
    bool AskName(std::string& name) override;
    void ReportSaveFailure(CProfileError why) override;

private:
    QPointer<CMainFrame> m_pFrame;
    CTickClock m_clock;
    const CTickClock* m_pClock = &m_clock;
    CAlsaPlayer m_player;
};
