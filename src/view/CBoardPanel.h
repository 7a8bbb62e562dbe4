// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "CBoardGeometry.h"
#include "CPanel.h"

// The 9 x 9 board: squares of 32 x 32 pixels in two greys, each with a
// raised edge, and a ball in the middle of each occupied square. The panel
// is the board's squares (CBoardGeometry) ringed by its sunken frame.
class CBoardPanel : public CPanel {
public:
    static constexpr std::int32_t kSquare = CBoardGeometry::kSquare;
    static constexpr std::int32_t kFrame = 2;  // width of the sunken frame
    static constexpr std::uint32_t kEvenSquare = 0x707070;  // row + column even
    static constexpr std::uint32_t kOddSquare = 0x909090;

    ~CBoardPanel() override = default;

    // Frame and empty squares, and the focus frame if one is set; no balls.
    void Draw(CDC& dc) const;
    // Shows one cell (row, col 1..9; value 0 or a colour) on the window at once.
    void DrawCell(std::int32_t row, std::int32_t col, std::uint8_t value);

    // The keyboard's focus: a dotted frame on the pixel ring between a
    // square's raised edge and its ball, which neither DrawCell nor a ball
    // ever touches, so it survives blinks, walks and removals as drawn. It
    // is XORed (kFocusXor) and so visible on both square greys; only Draw
    // repaints the ring, and Draw puts the frame back. Moves it to (row,
    // col), or takes it off with row 0, on the window at once.
    void SetFocus(std::int32_t row, std::int32_t col);
    static constexpr std::uint32_t kFocusXor = 0x808080;
    // The focus frame's rectangle for a cell, in board coordinates.
    static CRect FocusRect(std::int32_t row, std::int32_t col)
    {
        return CRect{SquareX(col) + 1, SquareY(row) + 1, SquareX(col) + kSquare - 1,
                     SquareY(row) + kSquare - 1};
    }

    // Corner of the square and of the ball of a cell, in board coordinates.
    static std::int32_t SquareX(std::int32_t col) { return kFrame + kSquare * (col - 1); }
    static std::int32_t SquareY(std::int32_t row) { return kFrame + kSquare * (row - 1); }
    static std::int32_t BallX(std::int32_t col) { return SquareX(col) + kBallMargin; }
    static std::int32_t BallY(std::int32_t row) { return SquareY(row) + kBallMargin; }
    static std::uint32_t SquareColour(std::int32_t row, std::int32_t col)
    {
        return (row + col) % 2 == 0 ? kEvenSquare : kOddSquare;
    }

private:
    // The ball sits centred in its square.
    static constexpr std::int32_t kBallMargin = (kSquare - kBallSize) / 2;
    static_assert(kBallMargin >= 2, "the focus ring lies between the edge and the ball");

    // XORs the focus frame of a cell on or off; row 0 draws nothing.
    static void XorFocus(CDC& dc, std::int32_t row, std::int32_t col);

    std::int32_t m_focusRow = 0;
    std::int32_t m_focusCol = 0;
};
