// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <functional>

#include "CClientWindow.h"

// The main window's client area: the panels draw on the shared surface,
// and whatever they drew is copied onto the window before ReleaseDC
// returns, so an immediate update is on the screen at once. Where the
// screen is scaled by a whole factor each surface pixel becomes a block of
// that many screen pixels.
class CClientArea final : public CClientWindow {
public:
    // nScale >= 1; no window (null) shows nothing. A window takes the
    // system's colours for its background and edges.
    void SetWindow(HWND hWnd, int nScale);
    // Again, after the system's colours changed: the picture must then be
    // painted anew.
    void TakeSystemColours();
    int Scale() const { return m_nScale; }

    // WM_PAINT: draws the whole picture on the surface, then shows it.
    void Paint(HDC hPaintDC, const std::function<void(CDC&)>& draw);

protected:
    void OnDrawn(const CRect& rc) override;

private:
    // Copies the surface's pixels inside rc (client pixels) onto hDC.
    void Present(HDC hDC, const CRect& rc) const;

    HWND m_hWnd = nullptr;
    int m_nScale = 1;
};
