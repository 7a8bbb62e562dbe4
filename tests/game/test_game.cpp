// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "BoardText.h"
#include "CBoardGeometry.h"
#include "CGame.h"
#include "CRecordingOutput.h"

using Calls = std::vector<std::string>;

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        game.SetOutput(&out);
        out.ticks = 1;
        game.NewGame();  // a preview to spawn from
        const char* rows[9] = {"1........", ".........", ".........", ".........", "....2....",
                               ".........", ".........", ".........", "........3"};
        SetBoard(game, rows);
        out.Take();
    }
    static int X(int col) { return CBoardGeometry::CentreX(col); }
    static int Y(int row) { return CBoardGeometry::CentreY(row); }

    CGame game;
    CRecordingOutput out;
};

TEST_F(ControllerTest, ReleasePointsMapToCellsOrNothing)
{
    const struct {
        int x, y, row, col;  // row 0: outside the board
    } cases[] = {{10, 50, 1, 1},  {297, 337, 9, 9}, {41, 50, 1, 1}, {42, 50, 1, 2},
                 {9, 50, 0, 0},   {298, 50, 0, 0},  {10, 49, 0, 0}, {10, 338, 0, 0},
                 {-2147483647 - 1, 2147483647, 0, 0}};
    for (const auto& tc : cases) {
        std::uint8_t cells[81];
        std::fill(std::begin(cells), std::end(cells), 4);
        game.SetPosition(cells);
        out.Take();
        game.OnClick(tc.x, tc.y);
        if (tc.row == 0) {
            EXPECT_TRUE(out.calls.empty()) << tc.x << ',' << tc.y;
            EXPECT_FALSE(game.IsSelected());
        } else {
            EXPECT_EQ(game.SelRow(), tc.row) << tc.x << ',' << tc.y;
            EXPECT_EQ(game.SelCol(), tc.col) << tc.x << ',' << tc.y;
        }
    }
}

TEST_F(ControllerTest, SelectionBlinksFromTheHiddenPhase)
{
    game.OnClick(X(5), Y(5));
    EXPECT_EQ(out.Take(), (Calls{"draw 5 5 0", "timer on"}));
    EXPECT_TRUE(game.IsSelected());
    EXPECT_FALSE(game.IsShown());
    game.OnBlinkTimer();
    game.OnBlinkTimer();
    EXPECT_EQ(out.Take(), (Calls{"draw 5 5 2", "draw 5 5 0"}));
    EXPECT_EQ(game.Cell(5, 5), 2) << "the blink never touches the board";
}

TEST_F(ControllerTest, ClickingABallAgainRestartsTheBlinkInEitherPhase)
{
    for (int ticks : {0, 1}) {
        game.OnClick(X(5), Y(5));
        for (int i = 0; i < ticks; ++i)
            game.OnBlinkTimer();
        out.Take();
        game.OnClick(X(5), Y(5));
        EXPECT_EQ(out.Take(), (Calls{"timer off", "draw 5 5 2", "draw 5 5 0", "timer on"}));
        EXPECT_TRUE(game.IsSelected());
        game.OnRightClick();
    }
}

TEST_F(ControllerTest, ClickingAnotherBallLeavesTheFirstDrawn)
{
    game.OnClick(X(1), Y(1));
    out.Take();
    game.OnClick(X(9), Y(9));
    EXPECT_EQ(out.Take(), (Calls{"timer off", "draw 1 1 1", "draw 9 9 0", "timer on"}));
    EXPECT_EQ(game.SelRow(), 9);
}

TEST_F(ControllerTest, RightClickDeselectsOnceAnywhere)
{
    game.OnClick(X(5), Y(5));
    out.Take();
    game.OnRightClick();
    EXPECT_EQ(out.Take(), (Calls{"timer off", "draw 5 5 2"}));
    EXPECT_FALSE(game.IsSelected());
    game.OnRightClick();
    EXPECT_TRUE(out.calls.empty());
}

TEST_F(ControllerTest, EmptyCellWithoutSelectionAndOutsideClicksDoNothing)
{
    game.OnClick(X(3), Y(3));
    game.OnClick(X(5), Y(5));
    out.Take();
    game.OnClick(5, 5);
    EXPECT_TRUE(out.calls.empty());
    EXPECT_TRUE(game.IsSelected());
}

TEST_F(ControllerTest, UnreachableTargetOnlySounds)
{
    const char* rows[9] = {"1........", ".........", ".........", "....5....", "...5.5...",
                           "....5....", ".........", ".........", "........3"};
    SetBoard(game, rows);
    game.OnClick(X(1), Y(1));
    game.OnBlinkTimer();
    out.Take();
    game.OnClick(X(5), Y(5));
    EXPECT_EQ(out.Take(), Calls{"effect 134"});
    EXPECT_TRUE(game.IsSelected());
    EXPECT_TRUE(game.IsShown());
    EXPECT_TRUE(out.timerRunning);
}

TEST_F(ControllerTest, MoveWalksLandsAndSpawns)
{
    game.OnClick(X(5), Y(5));
    out.Take();
    game.OnClick(X(7), Y(5));  // two steps right
    const Calls walk = {"timer off",  "draw 5 5 2", "draw 5 5 0", "draw 5 6 2", "effect 133",
                        "pause 50",   "draw 5 6 0", "draw 5 7 2", "effect 133", "pause 50",
                        "draw 5 7 2", "effect 132", "pause 50"};
    ASSERT_GE(out.calls.size(), walk.size());
    EXPECT_EQ(Calls(out.calls.begin(), out.calls.begin() + walk.size()), walk);
    int pushes = 0;
    for (const auto& call : out.calls)
        pushes += call.rfind("push", 0) == 0;
    EXPECT_EQ(pushes, 3) << "a move that removes nothing lets three balls fall";
    EXPECT_EQ(game.Count(), 6);
    EXPECT_FALSE(game.IsSelected());
    EXPECT_EQ(game.Cell(5, 7), 2);
    EXPECT_EQ(game.Cell(5, 5), 0);
}

TEST_F(ControllerTest, ScoringMoveSpawnsOnlyWhenTheBoardEmptied)
{
    const struct {
        const char* rows[9];
        int pushes;
    } cases[] = {
        {{"1111.....", ".........", ".........", ".........", ".........", ".........",
          ".........", ".........", "....1...."}, 3},
        {{"1111.....", ".........", ".........", ".........", ".........", ".........",
          ".........", "......2..", "....1...."}, 0},
    };
    for (const auto& tc : cases) {
        SetBoard(game, tc.rows);
        game.OnClick(X(5), Y(9));
        out.Take();
        game.OnClick(X(5), Y(1));
        int pushes = 0;
        for (const auto& call : out.calls)
            pushes += call.rfind("push", 0) == 0;
        EXPECT_EQ(pushes, tc.pushes);
        EXPECT_EQ(game.Balls(), 5);
        game.AddBalls(false, 0);
    }
}

TEST_F(ControllerTest, SoundOnPacesTheWalkWithStepSounds)
{
    game.SetSound(true);
    const char* rows[9] = {"1........", "22222222.", ".........", ".........", ".........",
                           ".........", ".........", ".........", "........."};
    SetBoard(game, rows);
    game.OnClick(X(1), Y(1));
    out.Take();
    game.OnClick(X(2), Y(1));
    const Calls expected = {"timer off",  "draw 1 1 1", "draw 1 1 0", "draw 1 2 1",
                            "effect 133", "draw 1 2 1", "effect 132"};
    EXPECT_EQ(Calls(out.calls.begin(), out.calls.begin() + expected.size()), expected);
    for (const auto& call : out.calls)
        EXPECT_NE(call.rfind("pause", 0), 0u) << "no pause while the sound is on";
}

TEST_F(ControllerTest, NewGameStopsTheBlinkAndStartsFromTheSeed)
{
    game.OnClick(X(5), Y(5));
    out.Take();
    out.ticks = 1;
    game.NewGame();
    const Calls start = {"timer off", "balls 0", "score 0", "seed 1", "paint", "draw 2 5 7",
                         "effect 132", "pause 50", "push 4"};
    EXPECT_EQ(Calls(out.calls.begin(), out.calls.begin() + start.size()), start);
    EXPECT_FALSE(game.IsSelected());
    EXPECT_EQ(game.Count(), 3);
    EXPECT_EQ(game.Cell(0, 0), CELL_WALL);
    EXPECT_EQ(game.Cell(10, 5), CELL_WALL);
}
