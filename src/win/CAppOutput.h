// SPDX-License-Identifier: MIT
#pragma once

#include "CGameSession.h"
#include "CTickClock.h"
#include "CWaveOutPlayer.h"

class CMainFrame;

// The game session bound to Windows: waveOut, the tick clock, the frame's
// blink timer, the game-over box and the name dialog. Drawing, the top-ten
// list and the choice of sounds are the session's own.
class CAppOutput final : public CGameSession {
public:
    CAppOutput() { SetSoundPlayer(&m_player); }

    // The timer and the dialogs belong to this window; null while there is none.
    void SetFrame(CMainFrame* pFrame) { m_pFrame = pFrame; }

    void Pause(std::uint32_t ms) override;
    std::uint32_t GetTickCount() override;
    void StartBlinkTimer() override;
    void StopBlinkTimer() override;
    void ShowGameOver() override;

    bool AskName(std::string& name) override;
    void ReportSaveFailure(CProfileError why) override;

private:
    CMainFrame* m_pFrame = nullptr;
    CTickClock m_clock;
    CWaveOutPlayer m_player;
};
