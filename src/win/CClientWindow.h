// SPDX-License-Identifier: MIT
#pragma once

#include "CDC.h"

// The main window's client area as the panels see it, on Windows: the
// window's own device context, so an immediate update is on the screen
// when ReleaseDC returns. Where the screen is scaled by a whole factor the
// panels draw into a 308 x 348 bitmap instead, which every ReleaseDC and
// paint stretches onto the window pixel for pixel.
class CClientWindow {
public:
    static constexpr int kWidth = 308;
    static constexpr int kHeight = 348;

    CClientWindow() = default;
    virtual ~CClientWindow();
    CClientWindow(const CClientWindow&) = delete;
    CClientWindow& operator=(const CClientWindow&) = delete;

    // nScale >= 1; no window (null) draws nothing anywhere.
    void SetWindow(HWND hWnd, int nScale);
    HWND GetSafeHwnd() const { return m_hWnd; }
    int Scale() const { return m_nScale; }

    CDC GetDC();
    void ReleaseDC(CDC& dc);

    // Runs draw on the paint context of WM_PAINT (through the bitmap when
    // scaled).
    template <typename TDraw>
    void Paint(HDC hPaintDC, TDraw draw)
    {
        if (!m_hBufferDC) {
            CDC dc(hPaintDC);
            draw(dc);
            return;
        }
        {
            CDC dc(m_hBufferDC);
            draw(dc);
        }
        SetViewportOrgEx(m_hBufferDC, 0, 0, nullptr);
        Present(hPaintDC);
    }

private:
    void FreeBuffer();
    void Present(HDC hDC) const;

    HWND m_hWnd = nullptr;
    int m_nScale = 1;
    HDC m_hBufferDC = nullptr;
    HBITMAP m_hBuffer = nullptr;
    HGDIOBJ m_hOldBuffer = nullptr;
};
