// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "CGameOutput.h"
#include "CRandom.h"

// Cell values of the 11 x 11 board.
constexpr std::uint8_t CELL_EMPTY = 0;
constexpr std::uint8_t CELL_WALL = 8;
constexpr std::uint8_t CELL_VISITED = 0x80;

// How long each phase of a selected ball's blink lasts.
constexpr unsigned BLINK_INTERVAL_MS = 500;

// The one game: board with its wall ring, counters, preview queue, selection
// and the move in progress. All drawing, sound, timing and the top-ten list
// are reached through a CGameOutput; with none attached the rules still run.
class CGame {
public:
    static constexpr int kSide = 11;            // board side, wall ring included
    static constexpr int kCells = kSide * kSide;
    static constexpr int kPathRoom = 82;

    CGame() = default;
    virtual ~CGame() = default;
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    void SetOutput(CGameOutput* pOut) { m_pOut = pOut; }

    // Turns and commands.
    void NewGame();
    // A left click at (x, y) in client pixels; outside the squares it does nothing.
    void OnClick(std::int32_t x, std::int32_t y);
    // A right click anywhere drops the selection.
    void OnRightClick();
    void OnBlinkTimer();

    // Sound switch.
    bool IsSoundOn() const { return m_bSound; }
    void SetSound(bool on) { m_bSound = on; }

    // Rules, public so that they can be exercised one by one.
    void AddBalls(bool add, std::int32_t n);
    void AddScore(bool add, std::int32_t n);
    bool PlaceBall(std::int32_t row, std::int32_t col, std::uint8_t colour);
    bool PickEmptyCell(std::int32_t& row, std::int32_t& col);
    void SpawnBalls();
    bool FindPath(std::int32_t row, std::int32_t col);
    void PlayEffect(std::uint16_t id);

    // Read access for the view, the driver and the tests.
    std::uint8_t Cell(int row, int col) const { return m_board[row * kSide + col]; }
    std::uint8_t Next(int i) const { return m_next[i]; }
    std::int32_t Count() const { return m_nCount; }
    std::int32_t Balls() const { return m_nBalls; }
    std::int32_t Score() const { return m_nScore; }
    bool IsSelected() const { return m_bSelected; }
    bool IsShown() const { return m_bShown; }
    std::int32_t SelRow() const { return m_selRow; }
    std::int32_t SelCol() const { return m_selCol; }
    std::int32_t PathLen() const { return m_nPathLen; }
    std::uint8_t PathRow(int i) const { return m_path[i][0]; }
    std::uint8_t PathCol(int i) const { return m_path[i][1]; }
    CRandom& Random() { return m_random; }

    // Puts a position on the board, as a saved game or a test would: the nine
    // rows top to bottom, one value per cell; the wall ring is rebuilt and
    // m_nCount recounted. The selection is dropped without drawing.
    void SetPosition(const std::uint8_t cells[81]);
    // Selects the ball at (row, col) as a click would, without drawing.
    void SetSelection(std::int32_t row, std::int32_t col);

private:
    void HideSelected();
    void ShowSelected();
    void AnimateMove();
    void ResetBoard();
    void StopBlink();
    CGameOutput& Out();
    std::uint8_t& At(int row, int col) { return m_board[row * kSide + col]; }

    CGameOutput* m_pOut = nullptr;
    CRandom m_random;

    std::int32_t m_nScore = 0;
    std::int32_t m_nBalls = 0;
    std::int32_t m_nCount = 0;
    std::uint8_t m_board[kCells] = {};
    std::uint8_t m_next[3] = {};
    std::uint8_t m_path[kPathRoom][2] = {};
    std::int32_t m_nPathLen = 0;
    std::int32_t m_selRow = 0;
    std::int32_t m_selCol = 0;
    bool m_bSelected = false;
    bool m_bShown = false;
    bool m_bSound = false;
};
