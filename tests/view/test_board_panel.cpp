// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "ViewFixture.h"

namespace {

// What a square of the board looks like straight after a full paint, from
// its own top-left pixel: a one-pixel raised edge whose bottom and right
// sides own the far corners, the parity grey inside.
std::uint32_t SquarePixel(int row, int col, int x, int y)
{
    if (x == 31 || y == 31)
        return COLOR_3DDKSHADOW_RGB;
    if (x == 0 || y == 0)
        return COLOR_3DLIGHT_RGB;
    return (row + col) % 2 == 0 ? 0x707070u : 0x909090u;
}

int SquareLeft(int col) { return CBoardGeometry::SquareLeft(col); }
int SquareTop(int row) { return CBoardGeometry::SquareTop(row); }

TEST(BoardPanel, PaintShowsEveryEmptySquareWithItsEdgeAndParityGrey)
{
    CViewRig rig;
    const CGame game;
    rig.Paint(game);
    const CSurface& s = rig.Surface();
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    ASSERT_EQ(s.Pixel(SquareLeft(c) + x, SquareTop(r) + y), SquarePixel(r, c, x, y))
                        << "row " << r << " col " << c << " at " << x << ',' << y;
    // Squares start right inside the frame: client x 10..297, y 50..337.
    EXPECT_EQ(SquareLeft(1), 10);
    EXPECT_EQ(SquareTop(9) + 31, 337);
    EXPECT_EQ(s.Pixel(14, 54), 0x707070u) << "row 1, column 1";
    EXPECT_EQ(s.Pixel(46, 54), 0x909090u) << "row 1, column 2";
}

TEST(BoardPanel, EmptyCellLooksExactlyAsTheFullPaintLeftIt)
{
    CViewRig rig;
    const CGame game;
    rig.Paint(game);
    const CSurface painted = rig.Surface();
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c) {
            rig.view.DrawCell(r, c, static_cast<std::uint8_t>(1 + (r * 9 + c) % 7));
            rig.view.DrawCell(r, c, 0);
            ASSERT_EQ(FirstDifference(rig.Surface(), painted), "") << "row " << r << " col " << c;
        }
}

TEST(BoardPanel, BallChangesOnlyItsDiscAndShowsItsFrame)
{
    const int cells[][2] = {{1, 1}, {1, 9}, {5, 5}, {9, 1}, {9, 9}};
    for (const auto& cell : cells)
        for (int colour = 1; colour <= 7; ++colour) {
            CViewRig rig;
            const CGame game;
            rig.Paint(game);
            const CSurface before = rig.Surface();
            rig.view.DrawCell(cell[0], cell[1], static_cast<std::uint8_t>(colour));
            const int left = SquareLeft(cell[1]) + 2, top = SquareTop(cell[0]) + 2;
            const CSurface& s = rig.Surface();
            for (int y = 0; y < s.Height(); ++y)
                for (int x = 0; x < s.Width(); ++x) {
                    const bool disc = InDisc(x - left, y - top);
                    const std::uint32_t expected =
                        disc ? BallPixel(colour, x - left, y - top) : before.Pixel(x, y);
                    ASSERT_EQ(s.Pixel(x, y), expected) << "cell " << cell[0] << ',' << cell[1]
                                                       << " colour " << colour << " at " << x << ',' << y;
                }
            ASSERT_EQ(rig.wnd.drawn.size(), 1u);
            EXPECT_EQ(rig.wnd.drawn[0], (CRect{left, top, left + 28, top + 28}));
        }
}

TEST(BoardPanel, BallOverAnotherBallReplacesItCompletely)
{
    CViewRig direct, over;
    const CGame game;
    direct.Paint(game);
    over.Paint(game);
    direct.view.DrawCell(4, 7, 2);
    over.view.DrawCell(4, 7, 6);
    over.view.DrawCell(4, 7, 2);
    EXPECT_EQ(FirstDifference(over.Surface(), direct.Surface()), "");
}

TEST(BoardPanel, EmptyingACellReportsOnlyItsBallArea)
{
    CViewRig rig;
    rig.view.DrawCell(2, 3, 0);
    ASSERT_EQ(rig.wnd.drawn.size(), 1u);
    const int left = SquareLeft(3) + 2, top = SquareTop(2) + 2;
    EXPECT_EQ(rig.wnd.drawn[0], (CRect{left, top, left + 28, top + 28}));
}

}  // namespace
