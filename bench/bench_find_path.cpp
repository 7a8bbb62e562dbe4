// SPDX-License-Identifier: MIT
// Path search on the boards that cost the most: nearly empty ones, where the
// search spreads over the whole board before it reaches the ball or gives up.
#include <benchmark/benchmark.h>

#include "CGame.h"
#include "ReferenceFindPath.h"

namespace {

void Setup(CGame& game, std::initializer_list<int> balls, int selRow, int selCol)
{
    std::uint8_t cells[81] = {};
    for (int i : balls)
        cells[i] = 3;
    game.SetPosition(cells);
    game.SetSelection(selRow, selCol);
}

// Only the ball, at row 9 column 1; target row 1 column 9: a 16-step walk.
void BM_FindPathAcrossEmptyBoard(benchmark::State& state)
{
    CGame game;
    Setup(game, {72}, 9, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(game.FindPath(1, 9));
}
BENCHMARK(BM_FindPathAcrossEmptyBoard);

// The ball walled into its corner: the search visits every other cell and fails.
void BM_FindPathNoWalk(benchmark::State& state)
{
    CGame game;
    Setup(game, {0, 1, 9}, 1, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(game.FindPath(1, 9));
}
BENCHMARK(BM_FindPathNoWalk);

}  // namespace

namespace {

// The same two searches with one heap record per queued cell and marks set
// on expansion, for comparison.
void Board(std::uint8_t board[11][11], std::initializer_list<std::pair<int, int>> balls)
{
    for (int r = 0; r < 11; ++r)
        for (int c = 0; c < 11; ++c)
            board[r][c] = (r == 0 || c == 0 || r == 10 || c == 10) ? 8 : 0;
    for (const auto& [r, c] : balls)
        board[r][c] = 3;
}

void BM_RecordPerCellAcrossEmptyBoard(benchmark::State& state)
{
    std::uint8_t board[11][11];
    Board(board, {{9, 1}});
    Walk walk;
    long records = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReferenceFindPath(board, 9, 1, 1, 9, walk, records));
}
BENCHMARK(BM_RecordPerCellAcrossEmptyBoard);

void BM_RecordPerCellNoWalk(benchmark::State& state)
{
    std::uint8_t board[11][11];
    Board(board, {{1, 1}, {1, 2}, {2, 1}});
    Walk walk;
    long records = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReferenceFindPath(board, 1, 1, 1, 9, walk, records));
}
BENCHMARK(BM_RecordPerCellNoWalk);

}  // namespace
