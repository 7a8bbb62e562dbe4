// SPDX-License-Identifier: MIT
#pragma once

#include "CGameSession.h"
#include "CTickClock.h"

class CMainFrame;

// The game session bound to Windows: PlaySound on the program's WAVE
// resources, the tick clock, the frame's blink timer, the game-over box and
// the name dialog. Drawing and the top-ten list are the session's own.
class CAppOutput final : public CGameSession {
public:
    CAppOutput() = default;

    // The timer and the dialogs belong to this window; null while there is none.
    void SetFrame(CMainFrame* pFrame) { m_pFrame = pFrame; }

    void PlayEffect(std::uint16_t id) override;
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
};
