// SPDX-License-Identifier: MIT
#include "CViewOutput.h"

#include "CGameView.h"

void CViewOutput::DrawCell(int row, int col, std::uint8_t value)
{
    m_view.DrawCell(row, col, value);
}

void CViewOutput::Push(std::uint8_t colour)
{
    m_view.Push(colour);
}

void CViewOutput::SetBallsValue(int value)
{
    m_view.SetBallsValue(value);
}

void CViewOutput::SetScoreValue(int value)
{
    m_view.SetScoreValue(value);
}

void CViewOutput::Paint()
{
    m_view.PaintNow(m_game);
}
