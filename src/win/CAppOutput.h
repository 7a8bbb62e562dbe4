// SPDX-License-Identifier: MIT
#pragma once

#include "CHeroList.h"
#include "CTickClock.h"
#include "CViewOutput.h"

class CGame;
class CGameView;
class CMainFrame;

// The engine's and the top-ten list's way out on Windows: the panels on the
// main window, PlaySound on the program's WAVE resources, the tick clock,
// the blink timer, the game-over box and the name dialog.
class CAppOutput final : public CViewOutput, public CHeroPrompt {
public:
    CAppOutput(CGame& game, CHeroList& heroes, CGameView& view);

    // The timer and the dialogs belong to this window; null while there is none.
    void SetFrame(CMainFrame* pFrame) { m_pFrame = pFrame; }

    void PlayEffect(std::uint16_t id) override;
    void Pause(std::uint32_t ms) override;
    std::uint32_t GetTickCount() override;
    void StartBlinkTimer() override;
    void StopBlinkTimer() override;
    void ShowGameOver() override;
    bool TryEnter(int balls, int score) override;

    bool AskName(std::string& name) override;
    void ReportSaveFailure(CProfileError why) override;

private:
    CGame& m_game;
    CHeroList& m_heroes;
    CMainFrame* m_pFrame = nullptr;
    CTickClock m_clock;
};
