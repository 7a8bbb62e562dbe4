// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "BoardText.h"
#include "CGame.h"
#include "CRecordingOutput.h"
#include "NamedCase.h"
#include "ReferenceFindPath.h"

namespace {

Walk WalkOf(const CGame& game)
{
    Walk walk;
    for (int i = 0; i <= game.PathLen(); ++i)
        walk.emplace_back(game.PathRow(i), game.PathCol(i));
    return walk;
}

}  // namespace

struct PathCase {
    const char* name;
    const char* rows[9];  // 'B' marks the selected ball
    int targetRow, targetCol;
    Walk walk;            // steps after the ball's own cell; empty: no walk
};


class FindPathCases : public ::testing::TestWithParam<PathCase> {};

TEST_P(FindPathCases, FindsTheWalkTheNeighbourOrderDecides)
{
    const PathCase& tc = GetParam();
    CGame game;
    CRecordingOutput out;
    game.SetOutput(&out);
    const char* rows[9];
    std::string copies[9];
    int ballRow = 0, ballCol = 0;
    for (int r = 0; r < 9; ++r) {
        copies[r] = tc.rows[r];
        const auto at = copies[r].find('B');
        if (at != std::string::npos) {
            copies[r][at] = '1';
            ballRow = r + 1;
            ballCol = static_cast<int>(at) + 1;
        }
        rows[r] = copies[r].c_str();
    }
    SetBoard(game, rows);
    game.SetSelection(ballRow, ballCol);
    const std::string before = BoardText(game);

    const bool found = game.FindPath(tc.targetRow, tc.targetCol);

    EXPECT_EQ(BoardText(game), before) << "no visited mark may stay behind";
    if (tc.walk.empty()) {
        EXPECT_FALSE(found);
        EXPECT_EQ(out.calls, std::vector<std::string>{"effect 134"});
        return;
    }
    ASSERT_TRUE(found);
    Walk expected{{ballRow, ballCol}};
    expected.insert(expected.end(), tc.walk.begin(), tc.walk.end());
    EXPECT_EQ(WalkOf(game), expected);
    EXPECT_TRUE(out.calls.empty());
}

#define EMPTY_ROW "........."
const PathCase kPathCases[] = {
    {"next_to_ball", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "....B....", EMPTY_ROW,
                      EMPTY_ROW, EMPTY_ROW, EMPTY_ROW}, 5, 6, {{5, 6}}},
    {"up_left", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "....B....", EMPTY_ROW, EMPTY_ROW,
                 EMPTY_ROW, EMPTY_ROW}, 3, 3, {{4, 5}, {3, 5}, {3, 4}, {3, 3}}},
    {"up_right", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "....B....", EMPTY_ROW, EMPTY_ROW,
                  EMPTY_ROW, EMPTY_ROW}, 3, 7, {{4, 5}, {3, 5}, {3, 6}, {3, 7}}},
    {"down_right", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "....B....", EMPTY_ROW,
                    EMPTY_ROW, EMPTY_ROW, EMPTY_ROW}, 7, 7, {{5, 6}, {5, 7}, {6, 7}, {7, 7}}},
    {"down_left", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "....B....", EMPTY_ROW,
                   EMPTY_ROW, EMPTY_ROW, EMPTY_ROW}, 7, 3, {{6, 5}, {7, 5}, {7, 4}, {7, 3}}},
    {"same_row", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "....B....", EMPTY_ROW, EMPTY_ROW,
                  EMPTY_ROW, EMPTY_ROW}, 5, 9, {{5, 6}, {5, 7}, {5, 8}, {5, 9}}},
    {"over_the_top", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "....B2...", EMPTY_ROW,
                      EMPTY_ROW, EMPTY_ROW, EMPTY_ROW}, 5, 7, {{4, 5}, {4, 6}, {4, 7}, {5, 7}}},
    {"around_the_right", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "....2....", "....B....", EMPTY_ROW,
                          EMPTY_ROW, EMPTY_ROW, EMPTY_ROW}, 3, 5, {{5, 6}, {4, 6}, {3, 6}, {3, 5}}},
    {"around_below", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "....B....", "....2....",
                      EMPTY_ROW, EMPTY_ROW, EMPTY_ROW}, 7, 5, {{5, 6}, {6, 6}, {7, 6}, {7, 5}}},
    {"around_the_left", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "...2B....", EMPTY_ROW,
                         EMPTY_ROW, EMPTY_ROW, EMPTY_ROW}, 5, 3, {{4, 5}, {4, 4}, {4, 3}, {5, 3}}},
    {"walled_target", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "....3....", "...3.3...", "....3....",
                       EMPTY_ROW, EMPTY_ROW, "B........"}, 5, 5, {}},
    {"walled_target_next_to_ball", {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "....3....", "...3.B...",
                                    "....3....", EMPTY_ROW, EMPTY_ROW, EMPTY_ROW}, 5, 5, {{5, 5}}},
    {"ball_walled_in_corner", {"B2.......", "2........", EMPTY_ROW, EMPTY_ROW, EMPTY_ROW,
                               EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW}, 1, 9, {}},
};
#undef EMPTY_ROW

INSTANTIATE_TEST_SUITE_P(Walks, FindPathCases, ::testing::ValuesIn(kPathCases), CaseName());

TEST(FindPath, CornerToCornerRunsAlongTheEdges)
{
    const struct {
        int ballRow, ballCol, targetRow, targetCol;
        std::pair<int, int> corner;
    } cases[] = {{1, 1, 9, 9, {1, 9}}, {9, 1, 1, 9, {1, 1}}};
    for (const auto& tc : cases) {
        CGame game;
        std::uint8_t cells[81] = {};
        cells[(tc.ballRow - 1) * 9 + tc.ballCol - 1] = 6;
        game.SetPosition(cells);
        game.SetSelection(tc.ballRow, tc.ballCol);
        ASSERT_TRUE(game.FindPath(tc.targetRow, tc.targetCol));
        ASSERT_EQ(game.PathLen(), 16);
        EXPECT_EQ(std::make_pair(int{game.PathRow(8)}, int{game.PathCol(8)}), tc.corner);
    }
}

TEST(FindPath, FailureKeepsThePreviousWalk)
{
    const char* rows[9] = {"1.......4", ".........", ".........", ".........", ".........",
                           ".........", ".........", ".......4.", "4.....4.4"};
    CGame game;
    SetBoard(game, rows);
    game.SetSelection(1, 1);
    ASSERT_TRUE(game.FindPath(1, 3));
    const Walk first = WalkOf(game);
    EXPECT_FALSE(game.FindPath(9, 8));  // boxed in by the 4s
    EXPECT_EQ(WalkOf(game), first);
}

// Many random boards, ball and target: the engine's search must agree with
// the record-per-queued-cell search on the result, on the walk and on
// leaving the board untouched.
TEST(FindPath, AgreesWithTheRecordPerCellSearch)
{
    std::mt19937 rng(20261210);
    long maxRecords = 0;
    int walks = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        const int density = static_cast<int>(rng() % 70);  // percent of cells holding balls
        std::uint8_t cells[81];
        for (auto& cell : cells)
            cell = static_cast<std::uint8_t>(static_cast<int>(rng() % 100) < density ? rng() % 7 + 1
                                                                                      : 0);
        const int ball = static_cast<int>(rng() % 81);
        int target = static_cast<int>(rng() % 81);
        if (target == ball)
            continue;
        cells[ball] = 5;
        cells[target] = 0;
        CGame game;
        game.SetPosition(cells);
        const int br = ball / 9 + 1, bc = ball % 9 + 1, tr = target / 9 + 1, tc = target % 9 + 1;
        game.SetSelection(br, bc);

        std::uint8_t board[11][11];
        for (int r = 0; r < 11; ++r)
            for (int c = 0; c < 11; ++c)
                board[r][c] = game.Cell(r, c);
        Walk expected;
        long records = 0;
        const bool expectFound = ReferenceFindPath(board, br, bc, tr, tc, expected, records);
        maxRecords = std::max(maxRecords, records);

        const std::string before = BoardText(game);
        ASSERT_EQ(game.FindPath(tr, tc), expectFound) << "trial " << trial;
        ASSERT_EQ(BoardText(game), before) << "trial " << trial;
        if (expectFound) {
            ASSERT_EQ(WalkOf(game), expected) << "trial " << trial << "\n" << before;
            ++walks;
        }
    }
    EXPECT_GT(walks, 1000) << "the boards must give the comparison enough walks to check";
    EXPECT_GT(maxRecords, 1000) << "sparse boards must produce repeated records";
}

// The two sparse boards whose record counts are known: the reference must
// reproduce them, which shows the transcription repeats records as designed.
TEST(FindPath, ReferenceQueuesTheKnownNumberOfRecords)
{
    std::uint8_t board[11][11] = {};
    for (int i = 0; i < 11; ++i)
        board[0][i] = board[10][i] = board[i][0] = board[i][10] = 8;
    Walk walk;
    long records = 0;
    board[9][1] = 3;
    ASSERT_TRUE(ReferenceFindPath(board, 9, 1, 1, 9, walk, records));
    EXPECT_EQ(records, 35749);
    EXPECT_EQ(walk.size(), 17u);

    board[9][1] = 0;
    board[1][1] = 3;
    board[1][2] = board[2][1] = 4;
    EXPECT_FALSE(ReferenceFindPath(board, 1, 1, 1, 9, walk, records));
    EXPECT_EQ(records, 48509);
}
