// SPDX-License-Identifier: MIT
#include "CBoardPanel.h"

void CBoardPanel::Draw(CDC& dc) const
{
    DrawFrame(dc);
    for (std::int32_t row = 1; row <= CBoardGeometry::kCells; ++row) {
        for (std::int32_t col = 1; col <= CBoardGeometry::kCells; ++col) {
            const CRect rc{SquareX(col), SquareY(row), SquareX(col) + kSquare, SquareY(row) + kSquare};
            dc.FillRect(rc, SquareColour(row, col));
            dc.DrawEdge(rc, BDR_RAISEDOUTER, BF_RECT);
        }
    }
    XorFocus(dc, m_focusRow, m_focusCol);
}

void CBoardPanel::DrawCell(std::int32_t row, std::int32_t col, std::uint8_t value)
{
    DrawNow([&](CDC& dc) {
        const std::int32_t x = BallX(col), y = BallY(row);
        if (value != 0) {
            DrawBall(dc, x, y, value);
        } else {
            // Only the ball area: the square's edge and margin stay as drawn.
            dc.FillRect(CRect{x, y, x + kBallSize, y + kBallSize}, SquareColour(row, col));
        }
    });
}

void CBoardPanel::XorFocus(CDC& dc, std::int32_t row, std::int32_t col)
{
    if (row != 0)
        dc.DrawFocusRect(FocusRect(row, col), kFocusXor);
}

void CBoardPanel::SetFocus(std::int32_t row, std::int32_t col)
{
    if (row == m_focusRow && col == m_focusCol)
        return;
    DrawNow([&](CDC& dc) {
        XorFocus(dc, m_focusRow, m_focusCol);
        XorFocus(dc, row, col);
    });
    m_focusRow = row;
    m_focusCol = col;
}
