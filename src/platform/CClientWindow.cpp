// SPDX-License-Identifier: MIT
#include "CClientWindow.h"

#include <cassert>

CClientWindow::CClientWindow(int width, int height)
    : m_surface(width, height, COLOR_BTNFACE_RGB)
{
}

void CClientWindow::ReleaseDC(CDC& dc)
{
    assert(&dc.Surface() == &m_surface);
    if (dc.HasTouched())
        OnDrawn(dc.Touched());
    dc.ResetTouched();
}

void CClientWindow::OnDrawn(const RECT&)
{
}
