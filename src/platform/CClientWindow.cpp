// SPDX-License-Identifier: MIT
#include "CClientWindow.h"

#include <cassert>

CClientWindow::CClientWindow(int width, int height)
    : m_surface(width, height, m_colours.btnFace)
{
}

void CClientWindow::SetSystemColours(const CSystemColours& colours)
{
    m_colours = colours;
    m_surface.Fill(m_colours.btnFace);
}

void CClientWindow::ReleaseDC(CDC& dc)
{
    assert(&dc.Surface() == &m_surface);
    if (dc.HasTouched())
        OnDrawn(dc.Touched());
    dc.ResetTouched();
}

void CClientWindow::OnDrawn(const CRect&)
{
}
