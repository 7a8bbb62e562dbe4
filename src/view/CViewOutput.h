// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "CGameOutput.h"

class CGame;
class CGameView;

// The drawing half of the engine's outgoing operations, shown through a
// view of the game; whoever derives from it supplies the rest (sound, time,
// timer, notice, top-ten list).
class CViewOutput : public CGameOutput {
public:
    CViewOutput(CGameView& view, const CGame& game) : m_view(view), m_game(game) {}

    void DrawCell(int row, int col, std::uint8_t value) override;
    void Push(std::uint8_t colour) override;
    void SetBallsValue(int value) override;
    void SetScoreValue(int value) override;
    void Paint() override;

private:
    CGameView& m_view;
    const CGame& m_game;
};
