// SPDX-License-Identifier: MIT
#include "CGameView.h"

#include <utility>

#include "CBitmap.h"
#include "CBoardGeometry.h"
#include "CGame.h"
#include "CResources.h"
#include "resource.h"

CGameView::CGameView(CSurface ballStrip) : m_ballStrip(std::move(ballStrip))
{
    m_ballsPanel.SetBallStrip(&m_ballStrip);
    m_previewPanel.SetBallStrip(&m_ballStrip);
    m_scorePanel.SetBallStrip(&m_ballStrip);
    m_boardPanel.SetBallStrip(&m_ballStrip);
}

CSurface CGameView::LoadBallStrip()
{
    const auto resource = FindEmbeddedResource(CResourceType::Bitmap, IDB_BALLS);
    CBitmap bitmap;
    if (resource && bitmap.Decode(resource->pData, resource->nSize))
        return bitmap.TakeSurface();
    return CSurface();
}

void CGameView::Attach(CClientWindow* pWnd)
{
    m_pWnd = pWnd;
    const auto init = [pWnd](CPanel& panel, const CRect& rc) {
        panel.Init(pWnd, rc.left, rc.top, rc.right, rc.bottom, true);
    };
    init(m_ballsPanel, kBallsRect);
    init(m_previewPanel, kPreviewRect);
    init(m_scorePanel, kScoreRect);
    // The board's frame rings the squares.
    constexpr std::int32_t frame = CBoardPanel::kFrame;
    m_boardPanel.Init(pWnd, CBoardGeometry::kLeft - frame, CBoardGeometry::kTop - frame,
                      CBoardGeometry::kRight + frame, CBoardGeometry::kBottom + frame, false);
}

void CGameView::Paint(CDC& dc, const CGame& game) const
{
    m_boardPanel.Draw(dc);
    for (std::int32_t r = 1; r <= 9; ++r) {
        for (std::int32_t c = 1; c <= 9; ++c) {
            const std::uint8_t value = game.Cell(r, c);
            if (value != CELL_EMPTY)
                m_boardPanel.DrawBall(dc, CBoardPanel::BallX(c), CBoardPanel::BallY(r), value);
        }
    }
    m_previewPanel.Draw(dc);
    for (int i = 0; i < 3; ++i) {
        if (game.Next(i) != 0)
            m_previewPanel.DrawBall(dc, CPreviewPanel::SlotX(i), CPreviewPanel::kSlotY, game.Next(i));
    }
    m_ballsPanel.Draw(dc);
    m_scorePanel.Draw(dc);
}

void CGameView::PaintNow(const CGame& game)
{
    if (!m_pWnd)
        return;
    CDC dc = m_pWnd->GetDC();
    Paint(dc, game);
    m_pWnd->ReleaseDC(dc);
}
