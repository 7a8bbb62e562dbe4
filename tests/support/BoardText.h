// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "CGame.h"

// Builds a position from nine strings of nine digits, top row first; '.' is
// an empty cell. Keeps test boards readable.
inline void SetBoard(CGame& game, const char* const rows[9])
{
    std::uint8_t cells[81];
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) {
            const char ch = rows[r][c];
            cells[r * 9 + c] = static_cast<std::uint8_t>(ch == '.' ? 0 : ch - '0');
        }
    game.SetPosition(cells);
}

inline std::string BoardText(const CGame& game)
{
    std::string text;
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 9; ++c) {
            const std::uint8_t v = game.Cell(r, c);
            text += v == 0 ? '.' : static_cast<char>('0' + v);
        }
        text += '\n';
    }
    return text;
}
