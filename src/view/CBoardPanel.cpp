#include "CBoardPanel.h"

void CBoardPanel::Draw(CDC& dc) const
{
    DrawFrame(dc);
    for (std::int32_t i = 0; i < 9; ++i) {
        for (std::int32_t j = 0; j < 9; ++j) {
            const RECT rc{2 + kSquare * j, 2 + kSquare * i, 34 + kSquare * j, 34 + kSquare * i};
            dc.FillRect(rc, SquareColour(i, j));
            dc.DrawEdge(rc, BDR_RAISEDOUTER, BF_RECT);
        }
    }
}

void CBoardPanel::DrawCell(std::int32_t row, std::int32_t col, std::uint8_t value)
{
    DrawNow([&](CDC& dc) {
        const std::int32_t x = BallX(col), y = BallY(row);
        if (value != 0) {
            DrawBall(dc, x, y, value);
        } else {
            // Only the ball area: the square's edge and margin stay as drawn.
            dc.FillRect(RECT{x, y, x + kBallSize, y + kBallSize}, SquareColour(row, col));
        }
    });
}
