// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "BoardText.h"
#include "CGame.h"
#include "CRecordingOutput.h"
#include "NamedCase.h"

using Calls = std::vector<std::string>;

class PlaceBallTest : public ::testing::Test {
protected:
    void SetUp() override { game.SetOutput(&out); }
    CGame game;
    CRecordingOutput out;
};

TEST_F(PlaceBallTest, FourInAllIsNoLine)
{
    const char* rows[9] = {".........", ".........", ".........", ".........", "44.4.....",
                           ".........", ".........", ".........", "........."};
    SetBoard(game, rows);
    EXPECT_FALSE(game.PlaceBall(5, 3, 4));
    EXPECT_EQ(out.Take(), (Calls{"draw 5 3 4", "effect 132", "pause 50"}));
    EXPECT_EQ(game.Cell(5, 3), 4);
}

TEST_F(PlaceBallTest, LineVanishesCentreFirstThenForwardThenBackward)
{
    const char* rows[9] = {".........", ".........", ".........", ".........", "44.44....",
                           ".........", ".........", ".........", "........."};
    SetBoard(game, rows);
    const Calls expected = {"draw 5 3 4", "effect 132", "pause 50",   "draw 5 3 0",
                            "draw 5 4 0", "draw 5 5 0", "draw 5 2 0", "draw 5 1 0",
                            "effect 131", "balls 5",    "score 25"};
    EXPECT_TRUE(game.PlaceBall(5, 3, 4));
    EXPECT_EQ(out.Take(), expected);
    EXPECT_EQ(game.Count(), 4 - 5);  // the caller had not raised it for the new ball
    EXPECT_EQ(game.Balls(), 5);
    EXPECT_EQ(game.Score(), 25);
    EXPECT_EQ(game.Cell(5, 1) + game.Cell(5, 5), 0);
}

TEST_F(PlaceBallTest, SoundOnPlaysInsteadOfPausing)
{
    game.SetSound(true);
    const char* rows[9] = {".........", ".........", ".........", ".........", ".........",
                           ".........", ".........", ".........", "........."};
    SetBoard(game, rows);
    EXPECT_FALSE(game.PlaceBall(9, 9, 1));
    EXPECT_EQ(out.Take(), (Calls{"draw 9 9 1", "effect 132"}));
}

struct LineCase {
    const char* name;
    const char* rows[9];
    int row, col, colour;
    int ballsGained, scoreGained, ballsLeaving, lineSounds;
};


class PlaceBallLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(PlaceBallLines, RemovesAndScoresEveryLineThroughTheBall)
{
    const LineCase& tc = GetParam();
    CGame game;
    CRecordingOutput out;
    game.SetOutput(&out);
    SetBoard(game, tc.rows);
    const int before = game.Count();
    // The count already includes the new ball, as a spawn arranges it.
    const bool removed = game.PlaceBall(tc.row, tc.col, static_cast<std::uint8_t>(tc.colour));
    EXPECT_EQ(removed, tc.ballsGained > 0);
    EXPECT_EQ(game.Balls(), tc.ballsGained);
    EXPECT_EQ(game.Score(), tc.scoreGained);
    EXPECT_EQ(game.Count(), before - tc.ballsLeaving)
        << "the count falls by every ball that left, the placed one included";
    int lineSounds = 0, onBoard = 0;
    for (const auto& call : out.calls)
        lineSounds += call == "effect 131";
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c)
            onBoard += game.Cell(r, c) != 0;
    EXPECT_EQ(lineSounds, tc.lineSounds);
    // Before the call the board held `before` balls without the new one.
    EXPECT_EQ(onBoard, before + 1 - tc.ballsLeaving);
}

// Board rows are top to bottom; '.' is empty. Each placed ball lands on a '.'.
const LineCase kLineCases[] = {
    {"run_of_nine",
     {".........", ".........", ".........", "1111.1111", ".........", ".........", ".........",
      ".........", "........."},
     4, 5, 1, 9, 81, 9, 1},
    {"walk_stops_at_a_gap",
     {".........", ".........", ".........", "1.11.1.11", ".........", ".........", ".........",
      ".........", "........."},
     4, 5, 1, 0, 0, 0, 0},
    {"walk_stops_at_another_colour",
     {".........", ".........", ".........", "1211.4111", ".........", ".........", ".........",
      ".........", "........."},
     4, 5, 1, 0, 0, 0, 0},
    {"rising_diagonal_to_wall",
     {"........5", ".......5.", "......5..", ".....5...", ".........", ".........", ".........",
      ".........", "........."},
     5, 5, 5, 5, 25, 5, 1},
    {"falling_diagonal_in_corner",
     {".........", ".........", ".........", ".........", "....3....", ".....3...", "......3..",
      ".......3.", "........."},
     9, 9, 3, 5, 25, 5, 1},
    {"horizontal_and_vertical_cross",
     {".........", "..2......", "..2......", "..2......", "..2......", "22.22....", ".........",
      ".........", "........."},
     6, 3, 2, 10, 50, 9, 2},
    {"all_four_directions",
     {"7...7...7", ".7..7..7.", "..7.7.7..", "...777...", "7777.7777", "...777...", "..7.7.7..",
      ".7..7..7.", "7...7...7"},
     5, 5, 7, 36, 324, 33, 4},
    {"neighbouring_line_of_other_colour_untouched",
     {".........", ".........", ".........", "66666....", ".........", ".........", ".........",
      ".........", "........."},
     5, 3, 6, 0, 0, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Lines, PlaceBallLines, ::testing::ValuesIn(kLineCases), CaseName());
