// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

// A board one move from full where no line can form: no two neighbours
// share a colour, and the three empty cells sit at the end of row 9.
// Moving the ball at (9, 6) one cell right lets three balls fall and fill
// the board, which ends the game.
inline std::array<std::uint8_t, 81> OneMoveFromAFullBoard()
{
    std::array<std::uint8_t, 81> cells{};
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c)
            cells[(r - 1) * 9 + (c - 1)] = static_cast<std::uint8_t>((r + 3 * c) % 7 + 1);
    for (int c = 7; c <= 9; ++c)
        cells[8 * 9 + (c - 1)] = 0;
    return cells;
}

// The two clicks of that move, as columns of row 9.
constexpr int kLastMoveRow = 9;
constexpr int kLastMoveColumns[] = {6, 7};
