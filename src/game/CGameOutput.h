// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Everything the engine does to the world outside its rules goes through this
// interface: the screen, the speaker, the clock, the blink timer, the game-over
// notice and the top-ten list. The app binds it to the real panels and
// dialogs, orvo-trace to recorders, the unit tests to small fakes. The engine
// reads nothing back but the tick count and the result of TryEnter.
//
//     class CPrintingOutput : public CGameOutput {
//         void DrawCell(int row, int col, std::uint8_t value) override
//         {
//             std::printf("draw %d %d %d\n", row, col, value);
//         }
//         void StartBlinkTimer() override { m_bBlinking = true; }  // then call OnBlinkTimer
//         bool TryEnter(int, int) override { return false; }      // no top ten
//         // ... the other calls likewise
//     };
//     CPrintingOutput out;
//     CGame game;
//     game.SetOutput(&out);
//     game.NewGame();  // seeds, clears the board, drops three balls: draw, push, ...
//     game.OnClick(CBoardGeometry::CentreX(5), CBoardGeometry::CentreY(5));
class CGameOutput {
public:
    virtual ~CGameOutput() = default;

    // Board panel: show one playable cell (0 empty, 1..7 a ball) at once.
    virtual void DrawCell(int row, int col, std::uint8_t value) = 0;
    // Preview panel: scroll one slot left and show the colour now in next[2].
    virtual void Push(std::uint8_t colour) = 0;
    // Counter panels.
    virtual void SetBallsValue(int value) = 0;
    virtual void SetScoreValue(int value) = 0;
    // Redraw the whole client area from the game state, at once.
    virtual void Paint() = 0;
    // Called for every effect; the binding plays it only while the game's
    // sound switch is on, to its end, before returning.
    virtual void PlayEffect(std::uint16_t id) = 0;
    // Return once more than ms milliseconds have passed.
    virtual void Pause(std::uint32_t ms) = 0;
    virtual std::uint32_t GetTickCount() = 0;
    // The random source has just been seeded; lets a recorder show it.
    virtual void OnSeedRandom(std::uint32_t) {}
    virtual void StartBlinkTimer() = 0;
    virtual void StopBlinkTimer() = 0;
    // Modal "game over" message box.
    virtual void ShowGameOver() = 0;
    // Offer a finished game's result to the top-ten list; true when an entry
    // was recorded.
    virtual bool TryEnter(int balls, int score) = 0;
};
