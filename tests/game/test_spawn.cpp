// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>

#include "BoardText.h"
#include "CGame.h"
#include "CRandom.h"
#include "CRecordingOutput.h"
#include "NamedCase.h"

using Calls = std::vector<std::string>;

namespace {

int CountOf(const Calls& calls, const std::string& prefix)
{
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
        return c.rfind(prefix, 0) == 0;
    }));
}

// A board with the given cells (row-major, 0-based) empty and every other
// cell a ball, coloured so that no line of 5 exists anywhere.
void FillAllBut(CGame& game, std::initializer_list<int> empty)
{
    std::uint8_t cells[81];
    for (int i = 0; i < 81; ++i)
        cells[i] = static_cast<std::uint8_t>((i / 9 * 3 + i % 9) % 7 + 1);
    for (int i : empty)
        cells[i] = 0;
    game.SetPosition(cells);
}

}  // namespace

TEST(Spawn, PickEmptyCellTakesTheDrawModuloTheEmptyCellsInRowMajorOrder)
{
    CGame game;
    FillAllBut(game, {3, 40, 77});
    CRandom reference;
    reference.SeedRandom(99);
    game.Random().SeedRandom(99);
    const int expected[3][2] = {{1, 4}, {5, 5}, {9, 6}};
    for (int i = 0; i < 5; ++i) {
        int row = 0, col = 0;
        ASSERT_TRUE(game.PickEmptyCell(row, col));
        const auto k = reference.NextRandom() % 3;
        EXPECT_EQ(row, expected[k][0]);
        EXPECT_EQ(col, expected[k][1]);
    }
}

TEST(Spawn, FullBoardPicksNothingAndDrawsNothing)
{
    CGame game;
    FillAllBut(game, {});
    game.Random().SeedRandom(5);
    int row = -1, col = -1;
    EXPECT_FALSE(game.PickEmptyCell(row, col));
    EXPECT_EQ(row, -1);
    EXPECT_EQ(game.Random().State(), 5u);
}

TEST(Spawn, NewGameDropsThePreviewColoursInOrder)
{
    CGame game;
    CRecordingOutput out;
    out.ticks = 12345;
    game.SetOutput(&out);
    CRandom reference;
    reference.SeedRandom(12345);
    std::uint8_t preview[3];
    for (auto& c : preview)
        c = static_cast<std::uint8_t>(reference.NextRandom() % 7 + 1);
    game.NewGame();
    EXPECT_EQ(game.Count(), 3);
    EXPECT_EQ(CountOf(out.calls, "push"), 3);
    // The three landings draw exactly the three colours first shown.
    std::vector<int> landed;
    for (const auto& call : out.calls)
        if (call.rfind("draw", 0) == 0)
            landed.push_back(call.back() - '0');
    EXPECT_EQ(landed, (std::vector<int>{preview[0], preview[1], preview[2]}));
}

struct EndCase {
    const char* name;
    std::initializer_list<int> empty;
    bool entered;
    int landings;
};


class SpawnEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(SpawnEnd, FillingTheLastCellEndsTheGameAfterItsPush)
{
    const EndCase& tc = GetParam();
    CGame game;
    CRecordingOutput out;
    out.enterResult = tc.entered;
    game.SetOutput(&out);
    game.NewGame();
    FillAllBut(game, tc.empty);
    game.AddBalls(false, 12);
    game.AddScore(false, 170);
    out.Take();
    game.SpawnBalls();
    EXPECT_EQ(game.Count(), 81);
    EXPECT_EQ(CountOf(out.calls, "effect 132"), tc.landings);
    EXPECT_EQ(CountOf(out.calls, "push"), tc.landings);
    Calls tail(out.calls.end() - (tc.entered ? 2 : 3), out.calls.end());
    Calls expected = {"push", "enter 12 170"};
    if (!tc.entered)
        expected.push_back("notice");
    tail[0] = tail[0].substr(0, 4);
    EXPECT_EQ(tail, expected);
}

const EndCase kEndCases[] = {
    {"one_empty_notice", {80}, false, 1},
    {"one_empty_entered", {0}, true, 1},
    {"two_empty", {0, 80}, false, 2},
    {"three_empty", {10, 20, 30}, false, 3},
};

INSTANTIATE_TEST_SUITE_P(End, SpawnEnd, ::testing::ValuesIn(kEndCases), CaseName());

TEST(Spawn, BallThatFillsTheBoardButCompletesALineGoesOn)
{
    CGame game;
    CRecordingOutput out;
    game.SetOutput(&out);
    FillAllBut(game, {});
    // Row 1 holds colour 3 in columns 1..4 and one empty cell at column 5;
    // the preview's first colour is 3.
    std::uint8_t cells[81];
    for (int i = 0; i < 81; ++i)
        cells[i] = game.Cell(i / 9 + 1, i % 9 + 1);
    for (int c = 0; c < 4; ++c)
        cells[c] = 3;
    cells[4] = 0;
    game.SetPosition(cells);
    out.ticks = 7;
    game.NewGame();  // only to fill the preview from a known seed
    game.SetPosition(cells);
    while (game.Next(0) != 3) {
        out.ticks++;
        game.NewGame();
        game.SetPosition(cells);
    }
    out.Take();
    game.SpawnBalls();
    EXPECT_EQ(CountOf(out.calls, "effect 131"), 1);
    EXPECT_EQ(CountOf(out.calls, "enter"), 0);
    EXPECT_EQ(CountOf(out.calls, "push"), 3);
    EXPECT_EQ(game.Count(), 81 - 5 + 2);
}
