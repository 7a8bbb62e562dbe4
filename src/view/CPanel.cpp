// SPDX-License-Identifier: MIT
#include "CPanel.h"

#include <cassert>

void CPanel::Init(CClientWindow* pWnd, std::int32_t left, std::int32_t top, std::int32_t right,
                  std::int32_t bottom, bool fill)
{
    m_pWnd = pWnd;
    m_x = left;
    m_y = top;
    m_nWidth = right - left + 1;
    m_nHeight = bottom - top + 1;
    m_bFill = fill;
}

void CPanel::DrawFrame(CDC& dc) const
{
    dc.SetViewportOrg(m_x, m_y);
    CRect rc{0, 0, m_nWidth, m_nHeight};
    dc.DrawEdge(rc, EDGE_SUNKEN, BF_RECT);
    if (m_bFill) {
        InflateRect(rc, -2, -2);
        dc.FillRect(rc, kPanelFill);
    }
}

void CPanel::DrawBall(CDC& dc, std::int32_t x, std::int32_t y, std::uint8_t colour) const
{
    assert(colour >= 1 && colour <= 7);
    if (!m_pBalls)
        return;
    // The mask blackens the disc and leaves the rest; the ball, black
    // outside its disc, then fills it in without touching the rest.
    dc.BitBlt(x, y, kBallSize, kBallSize, *m_pBalls, 0, 0, SRCAND);
    dc.BitBlt(x, y, kBallSize, kBallSize, *m_pBalls, kBallSize * colour, 0, SRCINVERT);
}
