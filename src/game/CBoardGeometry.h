// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Where the 9 x 9 playing squares lie in the client area, in client pixels.
// The engine's hit test, the board panel and the tests all measure from
// here, so that a click and the square drawn under it can never disagree.
struct CBoardGeometry {
    static constexpr std::int32_t kCells = 9;    // squares per side
    static constexpr std::int32_t kSquare = 32;  // pixels per square side
    static constexpr std::int32_t kLeft = 10;
    static constexpr std::int32_t kTop = 50;
    static constexpr std::int32_t kRight = kLeft + kCells * kSquare - 1;  // inclusive
    static constexpr std::int32_t kBottom = kTop + kCells * kSquare - 1;

    // Cell to pixel: the top-left pixel of the square of a cell (1..9).
    static constexpr std::int32_t SquareLeft(std::int32_t col) { return kLeft + kSquare * (col - 1); }
    static constexpr std::int32_t SquareTop(std::int32_t row) { return kTop + kSquare * (row - 1); }
    // The middle of a square, where a click on that cell lands.
    static constexpr std::int32_t CentreX(std::int32_t col) { return SquareLeft(col) + kSquare / 2; }
    static constexpr std::int32_t CentreY(std::int32_t row) { return SquareTop(row) + kSquare / 2; }

    // Pixel to cell: false, leaving row and col alone, outside the squares.
    static constexpr bool CellAt(std::int32_t x, std::int32_t y, std::int32_t& row, std::int32_t& col)
    {
        if (x < kLeft || x > kRight || y < kTop || y > kBottom)
            return false;
        col = (x - kLeft) / kSquare + 1;
        row = (y - kTop) / kSquare + 1;
        return true;
    }
};
