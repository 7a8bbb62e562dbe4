// SPDX-License-Identifier: MIT
#pragma once

#include "CDC.h"
#include "CSurface.h"

// The main window's client area as the panels see it: a surface to draw on,
// reached through GetDC and ReleaseDC. It holds the window background until
// something is drawn. A real window derives from it and shows what was drawn
// in OnDrawn, before ReleaseDC returns.
class CClientWindow {
public:
    static constexpr int kWidth = 308;
    static constexpr int kHeight = 348;

    explicit CClientWindow(int width = kWidth, int height = kHeight);
    virtual ~CClientWindow() = default;
    CClientWindow(const CClientWindow&) = delete;
    CClientWindow& operator=(const CClientWindow&) = delete;

    CSurface& Surface() { return m_surface; }
    const CSurface& Surface() const { return m_surface; }

    // The background and edge colours; setting them clears the client area
    // to the new background.
    const CSystemColours& SystemColours() const { return m_colours; }
    void SetSystemColours(const CSystemColours& colours);

    // A context on the whole client area, origin (0, 0), nothing drawn yet.
    CDC GetDC() { return CDC(m_surface, m_colours); }
    // Hands the rectangle the context drew on to OnDrawn, if it drew at all.
    void ReleaseDC(CDC& dc);

protected:
    // rc is in client pixels, right and bottom exclusive, never empty.
    virtual void OnDrawn(const CRect& rc);

private:
    CSystemColours m_colours;
    CSurface m_surface;
};
