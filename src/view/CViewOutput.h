// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

class CGame;
class CGameView;

// The drawing half of the engine's outgoing calls, shown through a view of
// the game. A binding of CGameOutput holds one and hands it the five
// drawing calls; the rest (sound, time, timer, notice, top-ten list) is the
// binding's own.
class CViewOutput {
public:
    // Both must outlive this object.
    CViewOutput(CGameView& view, const CGame& game) : m_view(view), m_game(game) {}

    void DrawCell(int row, int col, std::uint8_t value);
    void Push(std::uint8_t colour);
    void SetBallsValue(int value);
    void SetScoreValue(int value);
    void Paint();

private:
    CGameView& m_view;
    const CGame& m_game;
};
