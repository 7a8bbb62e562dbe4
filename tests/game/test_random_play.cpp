// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <random>

#include "CGame.h"
#include "CRecordingOutput.h"

namespace {

// Plays by random clicks, blink ticks and right clicks, and checks the
// state's invariants after every command: the ring intact, no visited mark
// left, the count equal to the balls on the board, counters never falling,
// the timer running exactly while a ball is selected.
class InvariantOutput : public CRecordingOutput {
public:
    void DrawCell(int, int, std::uint8_t) override {}
    void Pause(std::uint32_t) override {}
    void PlayEffect(std::uint16_t) override {}
    void Push(std::uint8_t) override {}
    void SetBallsValue(int) override {}
    void SetScoreValue(int) override {}
    bool TryEnter(int, int) override
    {
        ++ended;
        return false;
    }
    void ShowGameOver() override {}
    int ended = 0;
};

::testing::AssertionResult Invariants(const CGame& game, bool timerRunning, int lastBalls,
                                      int lastScore)
{
    int balls = 0;
    for (int r = 0; r < 11; ++r)
        for (int c = 0; c < 11; ++c) {
            const int v = game.Cell(r, c);
            const bool ring = r == 0 || c == 0 || r == 10 || c == 10;
            if (ring && v != CELL_WALL)
                return ::testing::AssertionFailure() << "ring broken at " << r << ',' << c;
            if (!ring && v > 7)
                return ::testing::AssertionFailure() << "cell " << r << ',' << c << " holds " << v;
            balls += !ring && v != 0;
        }
    if (balls != game.Count())
        return ::testing::AssertionFailure() << "count " << game.Count() << " but " << balls
                                             << " balls on the board";
    if (game.Balls() < lastBalls || game.Score() < lastScore)
        return ::testing::AssertionFailure() << "a counter fell";
    if (timerRunning != game.IsSelected())
        return ::testing::AssertionFailure() << "timer and selection disagree";
    if (game.IsSelected() && game.Cell(game.SelRow(), game.SelCol()) == 0)
        return ::testing::AssertionFailure() << "the selection is an empty cell";
    for (int i = 0; i < 3; ++i)
        if (game.Next(i) < 1 || game.Next(i) > 7)
            return ::testing::AssertionFailure() << "bad preview colour";
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(RandomPlay, InvariantsHoldAfterEveryCommand)
{
    std::mt19937 rng(7);
    InvariantOutput out;
    int games = 0, moves = 0;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        CGame game;
        game.SetOutput(&out);
        out.timerRunning = false;
        out.ticks = seed * 2654435761u;
        game.NewGame();
        int lastBalls = 0, lastScore = 0;
        const int endedBefore = out.ended;
        for (int step = 0; step < 4000 && out.ended == endedBefore; ++step) {
            const int kind = static_cast<int>(rng() % 10);
            const int count = game.Count();
            if (kind < 8) {
                // Mostly on the board, sometimes just outside it.
                const int x = static_cast<int>(rng() % 310) - 1;
                const int y = static_cast<int>(rng() % 300) + 45;
                game.OnClick(x, y);
            } else if (kind == 8 && out.timerRunning) {
                game.OnBlinkTimer();
            } else {
                game.OnRightClick();
            }
            moves += game.Count() != count;
            ASSERT_TRUE(Invariants(game, out.timerRunning, lastBalls, lastScore))
                << "seed " << seed << " step " << step;
            lastBalls = game.Balls();
            lastScore = game.Score();
        }
        games += out.ended > endedBefore;
    }
    EXPECT_GT(games, 30) << "random play must reach the end of most games";
    EXPECT_GT(moves, 1000);
}
