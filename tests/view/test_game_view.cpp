// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "BoardText.h"
#include "CBitmap.h"
#include "ViewFixture.h"

namespace {

struct CPanelBox {
    const char* name;
    int left, top, right, bottom;  // inclusive
};

const CPanelBox kPanels[] = {
    {"balls", 8, 8, 96, 40},
    {"preview", 104, 8, 203, 40},
    {"score", 211, 8, 299, 40},
    {"board", 8, 48, 299, 339},
};

bool InAnyPanel(int x, int y)
{
    for (const CPanelBox& p : kPanels)
        if (x >= p.left && x <= p.right && y >= p.top && y <= p.bottom)
            return true;
    return false;
}

TEST(GameView, PanelsSitWhereTheLayoutPutsThemOnTheUntouchedBackground)
{
    CViewRig rig;
    const CGame game;
    rig.Paint(game);
    const CSurface& s = rig.Surface();
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (!InAnyPanel(x, y)) {
                ASSERT_EQ(s.Pixel(x, y), COLOR_BTNFACE_RGB) << x << ',' << y;
            }
    for (const CPanelBox& p : kPanels) {
        EXPECT_EQ(s.Pixel(p.left, p.top), COLOR_3DSHADOW_RGB) << p.name;
        EXPECT_EQ(s.Pixel(p.left + 1, p.top + 1), COLOR_3DDKSHADOW_RGB) << p.name;
        EXPECT_EQ(s.Pixel(p.right, p.top), COLOR_3DHILIGHT_RGB) << p.name;
        EXPECT_EQ(s.Pixel(p.right - 1, p.bottom - 1), COLOR_3DLIGHT_RGB) << p.name;
        EXPECT_EQ(s.Pixel(p.left, p.bottom), COLOR_3DHILIGHT_RGB) << p.name;
    }
    EXPECT_EQ(s.Pixel(10, 10), kPanelFill);
    EXPECT_EQ(s.Pixel(297, 38), kPanelFill);
    EXPECT_EQ(s.Pixel(10, 50), COLOR_3DLIGHT_RGB) << "first square's edge";
}

TEST(GameView, PaintCoversWhateverThePanelsShowedBefore)
{
    CViewRig clean, dirty;
    const char* const rows[9] = {"1........", ".2.......", "..3......", "...4.....", "....5....",
                                 ".....6...", "......7..", ".......1.", "........2"};
    CGame game;
    SetBoard(game, rows);
    clean.Paint(game);
    dirty.wnd.Surface().Fill(0x5A5A5A);
    dirty.view.SetScoreValue(888888);
    dirty.view.SetScoreValue(0);
    dirty.Paint(game);
    for (int y = 0; y < 348; ++y)
        for (int x = 0; x < 308; ++x)
            if (InAnyPanel(x, y)) {
                ASSERT_EQ(dirty.Surface().Pixel(x, y), clean.Surface().Pixel(x, y)) << x << ',' << y;
            }
    EXPECT_EQ(dirty.Surface().Pixel(0, 0), 0x5A5A5Au) << "the background is not the view's";
}

TEST(GameView, PaintDrawsEveryBallInItsCellAndThePreviewFromTheGame)
{
    CViewRig painted, expected;
    const char* const rows[9] = {"7.......1", ".........", ".........", ".........", "....4....",
                                 ".........", ".........", ".........", "3.......6"};
    CGame game;
    CViewOnlyOutput output(painted.view, game);
    game.SetOutput(&output);
    game.NewGame();  // a preview of three colours and three balls
    SetBoard(game, rows);
    painted.Paint(game);

    expected.Paint(CGame());
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c)
            if (game.Cell(r, c) != 0)
                expected.view.DrawCell(r, c, game.Cell(r, c));
    CDC dc = expected.wnd.GetDC();
    expected.view.PreviewPanel().Draw(dc);
    for (int i = 0; i < 3; ++i)
        expected.view.PreviewPanel().DrawBall(dc, CPreviewPanel::SlotX(i), CPreviewPanel::kSlotY,
                                              game.Next(i));
    EXPECT_EQ(FirstDifference(painted.Surface(), expected.Surface()), "");
}

TEST(GameView, PaintShowsASelectedBallInItsHiddenBlinkPhase)
{
    CViewRig rig;
    CGame game;
    CViewOnlyOutput output(rig.view, game);
    game.SetOutput(&output);
    game.NewGame();
    int row = 0, col = 0;
    for (int r = 1; r <= 9 && !row; ++r)
        for (int c = 1; c <= 9 && !row; ++c)
            if (game.Cell(r, c) != 0)
                row = r, col = c;
    ASSERT_NE(row, 0);
    game.OnClick(CellX(col), CellY(row));
    ASSERT_TRUE(game.IsSelected());
    if (game.IsShown())
        game.OnBlinkTimer();
    ASSERT_FALSE(game.IsShown());
    const int x = CellX(col), y = CellY(row);
    EXPECT_EQ(rig.Surface().Pixel(x, y), CBoardPanel::SquareColour(row, col)) << "hidden";
    output.Paint();
    EXPECT_EQ(rig.Surface().Pixel(x, y), BallPixel(game.Cell(row, col), 14, 14));
    EXPECT_FALSE(game.IsShown()) << "painting is no blink tick";
}

// The window after a stretch of play, drawn only by the engine's immediate
// updates, against a full paint of the state the play ended in.
TEST(GameView, RepaintAfterImmediateUpdatesShowsTheSamePicture)
{
    for (const std::uint32_t seed : {1u, 7u, 2024u}) {
        CViewRig played, repainted;
        CGame game;
        CViewOnlyOutput output(played.view, game);
        output.ticks = seed;
        game.SetOutput(&output);
        game.NewGame();
        // Moves with and without lines: a run of four reds waiting on row 5,
        // then every ball in turn walks towards the board's far corner.
        const char* const rows[9] = {".........", ".........", ".........", ".........", "4444.....",
                                     ".........", ".........", ".........", "....4...."};
        SetBoard(game, rows);
        output.Paint();
        game.OnClick(CellX(5), CellY(9));
        game.OnClick(CellX(5), CellY(5));
        ASSERT_EQ(game.Balls(), 5) << BoardText(game);
        for (int turn = 0; turn < 12 && game.Count() < 81; ++turn) {
            int row = 0, col = 0;
            for (int r = 1; r <= 9 && !row; ++r)
                for (int c = 1; c <= 9 && !row; ++c)
                    if (game.Cell(r, c) != 0)
                        row = r, col = c;
            if (!row)
                break;
            game.OnClick(CellX(col), CellY(row));
            for (int r = 9; r >= 1; --r)
                if (game.Cell(r, 9 - turn % 3) == 0) {
                    game.OnClick(CellX(9 - turn % 3), CellY(r));
                    break;
                }
            if (game.IsSelected())
                game.OnRightClick();
        }
        EXPECT_GT(game.Count(), 12) << "seed " << seed << ": the play spawned balls";
        repainted.view.SetBallsValue(game.Balls());
        repainted.view.SetScoreValue(game.Score());
        repainted.Paint(game);
        EXPECT_EQ(FirstDifference(played.Surface(), repainted.Surface()), "")
            << "seed " << seed << '\n' << BoardText(game);
    }
}

TEST(GameView, LoadsTheShippedStripFromTheResources)
{
    const CSurface strip = CGameView::LoadBallStrip();
    if (strip.IsEmpty())
        GTEST_SKIP() << "no embedded resources in this build";
    const char* root = std::getenv("ORVO_SOURCE_DIR");
    if (!root)
        GTEST_SKIP() << "ORVO_SOURCE_DIR not set";
    std::ifstream file(std::string(root) + "/res/balls.bmp", std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.Decode(bytes));
    EXPECT_TRUE(strip == bitmap.Surface());
}

}  // namespace
