// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "CClientWindow.h"
#include "CDC.h"
#include "CSurface.h"

// Sprite strip IDB_BALLS: eight 28 x 28 frames side by side, frame 0 the
// mask (black disc on white), frame k the ball of colour k on black.
constexpr std::int32_t kBallSize = 28;

// Grey of the counter and preview interiors.
constexpr std::uint32_t kPanelFill = 0x808080;

// A rectangle of the client area with a sunken frame. Every drawing call
// moves the context's origin to the panel's corner and leaves it there, so
// that a caller can go on drawing in the panel's coordinates.
class CPanel {
public:
    CPanel() = default;
    virtual ~CPanel() = default;

    // Corners are inclusive. Draws nothing.
    void Init(CClientWindow* pWnd, std::int32_t left, std::int32_t top, std::int32_t right,
              std::int32_t bottom, bool fill);
    // The strip DrawBall takes its frames from; not owned. Without one no
    // ball shows.
    void SetBallStrip(const CSurface* pStrip) { m_pBalls = pStrip; }

    void DrawFrame(CDC& dc) const;
    // Frame colour (1..7) of the strip with its corner at (x, y), in the
    // context's current coordinates; outside the disc nothing changes.
    void DrawBall(CDC& dc, std::int32_t x, std::int32_t y, std::uint8_t colour) const;

    std::int32_t Left() const { return m_x; }
    std::int32_t Top() const { return m_y; }
    std::int32_t Width() const { return m_nWidth; }
    std::int32_t Height() const { return m_nHeight; }

protected:
    // Draws at once on the window, in panel coordinates, and lets the window
    // show it before returning. Nothing happens before Init.
    template <typename TDraw>
    void DrawNow(TDraw draw) const
    {
        if (!m_pWnd)
            return;
        CDC dc = m_pWnd->GetDC();
        dc.SetViewportOrg(m_x, m_y);
        draw(dc);
        m_pWnd->ReleaseDC(dc);
    }

    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
    std::int32_t m_nWidth = 0;
    std::int32_t m_nHeight = 0;
    bool m_bFill = false;
    CClientWindow* m_pWnd = nullptr;
    const CSurface* m_pBalls = nullptr;
};
