// SPDX-License-Identifier: MIT
#include "CGame.h"

#include <cassert>

#include "CBoardGeometry.h"
#include "resource.h"

namespace {

// Stands in while no output is attached: the rules run, nothing is shown.
class CNullOutput final : public CGameOutput {
public:
    void DrawCell(int, int, std::uint8_t) override {}
    void Push(std::uint8_t) override {}
    void SetBallsValue(int) override {}
    void SetScoreValue(int) override {}
    void Paint() override {}
    void PlayEffect(std::uint16_t) override {}
    void Pause(std::uint32_t) override {}
    std::uint32_t GetTickCount() override { return 0; }
    void StartBlinkTimer() override {}
    void StopBlinkTimer() override {}
    void ShowGameOver() override {}
    bool TryEnter(int, int) override { return false; }
};

CNullOutput g_nullOutput;

// Line directions: horizontal, rising right, vertical, rising left.
constexpr int kLineDirs[4][2] = {{0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};

// Path-search neighbour order: right, up, left, down. The order decides
// which of several equally short walks the ball takes.
constexpr int kPathDirs[4] = {1, -CGame::kSide, -1, CGame::kSide};

}  // namespace

CGameOutput& CGame::Out()
{
    return m_pOut ? *m_pOut : g_nullOutput;
}

void CGame::AddBalls(bool add, std::int32_t n)
{
    m_nBalls = add ? m_nBalls + n : n;
    Out().SetBallsValue(m_nBalls);
}

void CGame::AddScore(bool add, std::int32_t n)
{
    m_nScore = add ? m_nScore + n : n;
    Out().SetScoreValue(m_nScore);
}

void CGame::PlayEffect(std::uint16_t id)
{
    Out().PlayEffect(id);
}

void CGame::ResetBoard()
{
    for (int r = 0; r < kSide; ++r)
        for (int c = 0; c < kSide; ++c)
            At(r, c) = (r == 0 || c == 0 || r == kSide - 1 || c == kSide - 1) ? CELL_WALL
                                                                              : CELL_EMPTY;
}

void CGame::StopBlink()
{
    Out().StopBlinkTimer();
    m_bSelected = false;
}

void CGame::NewGame()
{
    if (m_bSelected)
        StopBlink();
    m_nCount = 0;
    AddBalls(false, 0);
    AddScore(false, 0);
    const std::uint32_t seed = Out().GetTickCount();
    m_random.SeedRandom(seed);
    Out().OnSeedRandom(seed);
    for (std::uint8_t& colour : m_next)
        colour = static_cast<std::uint8_t>(m_random.NextRandom() % 7 + 1);
    ResetBoard();
    Out().Paint();
    SpawnBalls();
}

bool CGame::PlaceBall(std::int32_t row, std::int32_t col, std::uint8_t colour)
{
    assert(row >= 1 && row <= 9 && col >= 1 && col <= 9 && colour >= 1 && colour <= 7);
    At(row, col) = colour;
    Out().DrawCell(row, col, colour);
    PlayEffect(IDR_WAVE_PLACE);
    if (!m_bSound)
        Out().Pause(50);

    bool removed = false;
    for (const auto& dir : kLineDirs) {
        const int dr = dir[0], dc = dir[1];
        std::int32_t n = 1;
        for (int r = row + dr, c = col + dc; At(r, c) == colour; r += dr, c += dc)
            ++n;
        for (int r = row - dr, c = col - dc; At(r, c) == colour; r -= dr, c -= dc)
            ++n;
        if (n < 5)
            continue;

        removed = true;
        At(row, col) = CELL_EMPTY;
        Out().DrawCell(row, col, CELL_EMPTY);
        for (int r = row + dr, c = col + dc; At(r, c) == colour; r += dr, c += dc) {
            At(r, c) = CELL_EMPTY;
            Out().DrawCell(r, c, CELL_EMPTY);
        }
        for (int r = row - dr, c = col - dc; At(r, c) == colour; r -= dr, c -= dc) {
            At(r, c) = CELL_EMPTY;
            Out().DrawCell(r, c, CELL_EMPTY);
        }
        PlayEffect(IDR_WAVE_LINE);
        AddBalls(true, n);
        AddScore(true, n * n);
        m_nCount += 1 - n;
    }
    if (removed)
        --m_nCount;
    return removed;
}

bool CGame::PickEmptyCell(std::int32_t& row, std::int32_t& col)
{
    std::uint8_t cells[81][2];
    std::uint32_t count = 0;
    for (int r = 1; r <= 9; ++r)
        for (int c = 1; c <= 9; ++c)
            if (At(r, c) == CELL_EMPTY) {
                cells[count][0] = static_cast<std::uint8_t>(r);
                cells[count][1] = static_cast<std::uint8_t>(c);
                ++count;
            }
    if (count == 0)
        return false;
    const std::uint32_t k = m_random.NextRandom() % count;
    row = cells[k][0];
    col = cells[k][1];
    return true;
}

void CGame::SpawnBalls()
{
    for (int pass = 0; pass < 3; ++pass) {
        std::int32_t row = 0, col = 0;
        if (!PickEmptyCell(row, col))
            return;
        ++m_nCount;
        PlaceBall(row, col, m_next[0]);
        m_next[0] = m_next[1];
        m_next[1] = m_next[2];
        m_next[2] = static_cast<std::uint8_t>(m_random.NextRandom() % 7 + 1);
        Out().Push(m_next[2]);
        if (m_nCount == 81) {
            if (!Out().TryEnter(m_nBalls, m_nScore))
                Out().ShowGameOver();
            return;
        }
    }
}

// Breadth-first from the target towards the ball. Cells are marked as they
// are queued, so each enters the queue once and a fixed queue of 81 suffices;
// this finds the same walk as marking them when they are expanded, since a
// repeated record never stands ahead of its cell's first one.
bool CGame::FindPath(std::int32_t row, std::int32_t col)
{
    assert(m_bSelected && At(row, col) == CELL_EMPTY);
    std::uint8_t queue[81];       // board indices in queue order
    std::uint8_t parent[81];      // queue position of the record that queued each one
    const int ball = m_selRow * kSide + m_selCol;
    int head = 0, tail = 0, found = -1;

    queue[tail++] = static_cast<std::uint8_t>(row * kSide + col);
    m_board[queue[0]] = CELL_VISITED;
    for (; head < tail && found < 0; ++head) {
        for (int step : kPathDirs) {
            const int next = queue[head] + step;
            if (next == ball) {
                found = head;
                break;
            }
            if (m_board[next] == CELL_EMPTY) {
                m_board[next] = CELL_VISITED;
                parent[tail] = static_cast<std::uint8_t>(head);
                queue[tail++] = static_cast<std::uint8_t>(next);
            }
        }
    }

    if (found >= 0) {
        m_path[0][0] = static_cast<std::uint8_t>(m_selRow);
        m_path[0][1] = static_cast<std::uint8_t>(m_selCol);
        m_nPathLen = 0;
        for (int at = found;; at = parent[at]) {
            ++m_nPathLen;
            m_path[m_nPathLen][0] = static_cast<std::uint8_t>(queue[at] / kSide);
            m_path[m_nPathLen][1] = static_cast<std::uint8_t>(queue[at] % kSide);
            if (at == 0)
                break;
        }
    }
    for (int i = 0; i < tail; ++i)
        m_board[queue[i]] = CELL_EMPTY;
    if (found < 0)
        PlayEffect(IDR_WAVE_NOPATH);
    return found >= 0;
}

void CGame::HideSelected()
{
    Out().DrawCell(m_selRow, m_selCol, CELL_EMPTY);
    m_bShown = false;
}

void CGame::ShowSelected()
{
    Out().DrawCell(m_selRow, m_selCol, At(m_selRow, m_selCol));
    m_bShown = true;
}

void CGame::OnBlinkTimer()
{
    if (m_bShown)
        HideSelected();
    else
        ShowSelected();
}

void CGame::OnRightClick()
{
    if (!m_bSelected)
        return;
    Out().StopBlinkTimer();
    ShowSelected();
    m_bSelected = false;
}

void CGame::OnClick(std::int32_t x, std::int32_t y)
{
    std::int32_t row = 0, col = 0;
    if (!CBoardGeometry::CellAt(x, y, row, col))
        return;

    if (At(row, col) != CELL_EMPTY) {
        if (m_bSelected) {
            Out().StopBlinkTimer();
            ShowSelected();
        }
        m_selRow = row;
        m_selCol = col;
        m_bSelected = true;
        HideSelected();
        Out().StartBlinkTimer();
        return;
    }

    if (!m_bSelected || !FindPath(row, col))
        return;
    Out().StopBlinkTimer();
    ShowSelected();
    m_bSelected = false;
    AnimateMove();
    const bool removed = PlaceBall(m_selRow, m_selCol, At(m_selRow, m_selCol));
    if (removed && m_nCount != 0)
        return;
    SpawnBalls();
}

void CGame::AnimateMove()
{
    const std::uint8_t colour = At(m_selRow, m_selCol);
    for (int i = 1; i <= m_nPathLen; ++i) {
        HideSelected();
        At(m_selRow, m_selCol) = CELL_EMPTY;
        m_selRow = m_path[i][0];
        m_selCol = m_path[i][1];
        At(m_selRow, m_selCol) = colour;
        ShowSelected();
        PlayEffect(IDR_WAVE_STEP);
        if (!m_bSound)
            Out().Pause(50);
    }
}

void CGame::SetPosition(const std::uint8_t cells[81])
{
    ResetBoard();
    m_nCount = 0;
    for (int i = 0; i < 81; ++i) {
        assert(cells[i] <= 7);
        At(i / 9 + 1, i % 9 + 1) = cells[i];
        if (cells[i] != CELL_EMPTY)
            ++m_nCount;
    }
    m_bSelected = false;
}

void CGame::SetSelection(std::int32_t row, std::int32_t col)
{
    assert(At(row, col) != CELL_EMPTY && At(row, col) != CELL_WALL);
    m_selRow = row;
    m_selCol = col;
    m_bSelected = true;
    m_bShown = false;
}
