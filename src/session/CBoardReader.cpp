// SPDX-License-Identifier: MIT
#include "CBoardReader.h"

#include <initializer_list>

#include "CGameSession.h"
#include "Texts.h"

namespace {

// text with %1, %2... replaced by args in order.
std::string Fill(std::string text, std::initializer_list<std::string> args)
{
    int n = 1;
    for (const std::string& arg : args) {
        const std::string mark = "%" + std::to_string(n++);
        const std::size_t at = text.find(mark);
        if (at != std::string::npos)
            text.replace(at, mark.size(), arg);
    }
    return text;
}

std::string Num(int n)
{
    return std::to_string(n);
}

}  // namespace

CBoardReader::CBoardReader(const CGameSession& session) : m_session(session)
{
}

std::string CBoardReader::BallName(std::uint8_t colour)
{
    static const char* const kNames[] = {"",          TXT_READ_BALL_1, TXT_READ_BALL_2,
                                         TXT_READ_BALL_3, TXT_READ_BALL_4, TXT_READ_BALL_5,
                                         TXT_READ_BALL_6, TXT_READ_BALL_7};
    return colour < sizeof kNames / sizeof kNames[0] ? kNames[colour] : "";
}

std::string CBoardReader::CellName(int row, int col) const
{
    const CGame& game = m_session.Game();
    const std::uint8_t colour = game.Cell(row, col);
    std::string content = colour == 0 ? std::string(TXT_READ_EMPTY) : BallName(colour);
    if (game.IsSelected() && game.SelRow() == row && game.SelCol() == col)
        content = Fill(TXT_READ_PICKED_UP, {content});
    return Fill(TXT_READ_CELL, {Num(row), Num(col), content});
}

std::string CBoardReader::BallsName() const
{
    return Fill(TXT_READ_BALLS, {Num(m_session.Game().Balls())});
}

std::string CBoardReader::ScoreName() const
{
    return Fill(TXT_READ_SCORE, {Num(m_session.Game().Score())});
}

std::string CBoardReader::PreviewName() const
{
    const CGame& game = m_session.Game();
    return Fill(TXT_READ_PREVIEW, {BallName(game.Next(0)) + TXT_READ_LIST_SEPARATOR +
                                   BallName(game.Next(1)) + TXT_READ_LIST_SEPARATOR +
                                   BallName(game.Next(2))});
}

int CBoardReader::FocusRow() const
{
    return m_session.IsFocusShown() ? m_session.FocusRow() : 0;
}

int CBoardReader::FocusCol() const
{
    return m_session.IsFocusShown() ? m_session.FocusCol() : 0;
}

CBoardReader::CState CBoardReader::Now() const
{
    const CGame& game = m_session.Game();
    CState state{};
    for (int row = 1; row <= CBoardGeometry::kCells; ++row)
        for (int col = 1; col <= CBoardGeometry::kCells; ++col)
            state.cells[row - 1][col - 1] = game.Cell(row, col);
    state.balls = game.Balls();
    state.score = game.Score();
    state.count = game.Count();
    state.selected = game.IsSelected();
    state.selRow = game.SelRow();
    state.selCol = game.SelCol();
    return state;
}

void CBoardReader::Begin(int row, int col)
{
    m_before = Now();
    m_targetRow = row;
    m_targetCol = col;
}

std::string CBoardReader::End()
{
    const CState& before = m_before;
    const CState after = Now();
    std::string said;

    // The ball that was picked up, and an empty cell the input aimed at:
    // a move ends the selection, no way there keeps it. (A new ball may
    // fall on the cell the ball left.)
    bool bMoved = false;
    if (before.selected && m_targetRow != 0 && before.At(m_targetRow, m_targetCol) == 0) {
        const std::uint8_t colour = before.At(before.selRow, before.selCol);
        if (!after.selected) {
            bMoved = true;
            said += Fill(TXT_READ_SAID_MOVED, {BallName(colour), Num(before.selRow), Num(before.selCol),
                                               Num(m_targetRow), Num(m_targetCol)});
        } else if (after.selected) {
            said += Fill(TXT_READ_SAID_NO_PATH, {Num(m_targetRow), Num(m_targetCol)});
        }
    }
    if (after.selected &&
        (!before.selected || after.selRow != before.selRow || after.selCol != before.selCol))
        said += Fill(TXT_READ_SAID_PICKED_UP, {Num(after.selRow), Num(after.selCol),
                                               BallName(after.At(after.selRow, after.selCol))});
    else if (before.selected && !after.selected && !bMoved)
        said += Fill(TXT_READ_SAID_PUT_DOWN, {Num(before.selRow), Num(before.selCol),
                                              BallName(before.At(before.selRow, before.selCol))});

    if (after.balls > before.balls)
        said += Fill(TXT_READ_SAID_REMOVED, {Num(after.balls - before.balls),
                                             Num(after.score - before.score)});

    // New balls: cells that were empty (or the moved ball's) and hold a
    // ball now, besides where the moved ball came to rest.
    std::string fell;
    for (int row = 1; row <= CBoardGeometry::kCells; ++row) {
        for (int col = 1; col <= CBoardGeometry::kCells; ++col) {
            const bool bLeft = bMoved && row == before.selRow && col == before.selCol;
            if ((before.At(row, col) != 0 && !bLeft) || after.At(row, col) == 0 ||
                (bMoved && row == m_targetRow && col == m_targetCol))
                continue;
            if (!fell.empty())
                fell += TXT_READ_LIST_SEPARATOR;
            fell += Fill(TXT_READ_SAID_FELL_ONE, {Num(row), Num(col), BallName(after.At(row, col))});
        }
    }
    if (!fell.empty())
        said += Fill(TXT_READ_SAID_FELL, {fell});

    if (after.count == CBoardGeometry::kCells * CBoardGeometry::kCells &&
        before.count != after.count)
        said += Fill(TXT_READ_SAID_GAME_OVER, {Num(after.balls), Num(after.score)});

    m_before = after;
    m_targetRow = m_targetCol = 0;
    if (!said.empty()) {
        m_outcome = said;
        ++m_nOutcomes;
    }
    return said;
}
